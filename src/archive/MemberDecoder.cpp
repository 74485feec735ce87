// The member decoder: 65536-byte input chunks, 4096-byte output cycles, one
// progress step per cycle. On the end volume input is limited to the
// member's last byte, so the bytes of the following member are never read.
#include "archive/MemberDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "archive/FileHeaders.h"
#include "archive/VrexInternal.h"
#include "archive/ZlibStreams.h"
#include "framework/Format.h"
#include "platform/OsError.h"

namespace {
constexpr size_t kInputChunk = 65536;
constexpr size_t kOutputCycle = 4096;
constexpr int kWindowBits = 15;
// A disk-full handler that keeps returning without freeing space must not
// hold the decoder forever.
constexpr int kMaxWriteAttempts = 4;
constexpr uint32_t kErrorHandleDiskFull = 39;

// Owns the inflate state so it is released on every path.
class Inflater {
 public:
  Inflater() {
    const int result = inflateInit2(&z_, kWindowBits);
    if (result < 0)
      throw EDecompressionError("error", "inflateInit2 returned " + std::to_string(result));
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& z() { return z_; }

 private:
  z_stream z_{};
};

// Writes all `count` bytes, calling the host's disk-full handling when the
// destination takes fewer; a disk-full refusal raised by the file system
// counts as taking nothing.
void WriteAll(TMemberDecoderHost& host, const uint8_t* data, size_t count) {
  size_t done = 0;
  for (int attempt = 1;; ++attempt) {
    size_t wrote = 0;
    try {
      wrote = host.Destination().Write(data + done, count - done);
    } catch (const platform::OsError& e) {
      if (e.Code() != platform::kErrorDiskFull && e.Code() != kErrorHandleDiskFull) throw;
    }
    done += std::min(wrote, count - done);
    if (done == count) return;
    if (attempt == kMaxWriteAttempts) throw EvcDiskFull("The disk is full");
    host.DoFullDisk();
  }
}

// Adds to a 32-bit counter of the statistics record without overflowing:
// a damaged member may decode to more than its stored size.
void AddSaturated(int32_t& counter, size_t amount) {
  const int64_t sum = int64_t(counter) + int64_t(amount);
  counter = sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

[[noreturn]] void Corrupt(TMemberDecoderHost& host, const z_stream& z) {
  std::string text = "The compressed data of " + host.FileStats().FileName + " is corrupt";
  if (z.msg != nullptr) text += std::string(" (") + z.msg + ")";
  throw EVrexCompress(text);
}

// The member inflates to more than its header says: stopped before the
// surplus is written, with the message a wrong size gets.
[[noreturn]] void LargerThanStored(TMemberDecoderHost& host, int64_t stored) {
  throw EArchiveError(Format(vrex::kMsgSizeMismatch, host.FileStats().FileName),
                      Format("the member decodes to more than its stored %d bytes",
                             static_cast<long long>(stored)));
}

[[noreturn]] void Incomplete(TMemberDecoderHost& host) {
  throw EVrexCompress("The compressed data of " + host.FileStats().FileName + " is incomplete");
}
}  // namespace

uint64_t DecodeMember(TMemberDecoderHost& host) {
  Inflater inflater;
  z_stream& z = inflater.z();
  const int endVolume = host.EndVolume();
  int volume = host.CurrentVolume();
  // A member that ends on an earlier volume than the one open cannot be
  // read from here.
  if (endVolume < volume) Incomplete(host);
  const int64_t lastByte = host.Offset() + host.EndPosition();
  const uint64_t storedSize = uint64_t(std::max<int64_t>(host.StoredSize(), 0));

  const auto input = std::make_unique<uint8_t[]>(kInputChunk);
  uint8_t output[kOutputCycle];
  TlzhFileStats& stats = host.FileStats();
  uint64_t written = 0;
  bool ended = false;
  bool exhausted = false;  // the current volume has no more input for us

  // Reads the next input chunk; on the end volume never past lastByte.
  auto readChunk = [&]() -> size_t {
    size_t want = kInputChunk;
    if (volume == endVolume) {
      const int64_t pos = host.VolumeStream().Position();
      if (pos > lastByte) return 0;
      want = static_cast<size_t>(std::min<int64_t>(kInputChunk, lastByte - pos + 1));
    }
    return host.VolumeStream().Read(input.get(), want);
  };

  while (!ended) {
    // One output cycle.
    z.next_out = output;
    z.avail_out = kOutputCycle;
    bool stalled = false;
    while (z.avail_out > 0) {
      if (z.avail_in == 0 && !exhausted) {
        const size_t got = readChunk();
        if (got == 0) {
          exhausted = true;
        } else {
          z.next_in = input.get();
          z.avail_in = static_cast<uInt>(got);
        }
      }
      // Called even without new input: inflate may still hold output.
      const int result = inflate(&z, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        ended = true;
        break;
      }
      if (result == Z_BUF_ERROR && exhausted) {
        stalled = true;
        break;
      }
      if (result == Z_DATA_ERROR || result == Z_NEED_DICT) Corrupt(host, z);
      if (result < 0 && result != Z_BUF_ERROR)
        throw EDecompressionError("error", "inflate returned " + std::to_string(result));
    }
    const size_t produced = kOutputCycle - z.avail_out;

    if (host.Abort()) throw EvcAborted("Operation aborted by user");
    host.ProcessMessages();

    if (produced > 0) {
      if (produced > storedSize - written) LargerThanStored(host, int64_t(storedSize));
      WriteAll(host, output, produced);
      written += produced;
      AddSaturated(stats.FileBytesDone, produced);
      AddSaturated(stats.TotalBytesDone, produced);
      stats.FilePercent = PercentOf(stats.FileBytesDone, stats.FileSize);
      stats.TotalPercent = PercentOf(stats.TotalBytesDone, stats.TotalSize);
      host.Status();
    }

    if (stalled) {
      // This volume's part of the member is used up.
      if (volume >= endVolume) Incomplete(host);
      ++volume;
      host.OpenVolume(volume);
      host.VolumeStream().SetPosition(0);
      exhausted = false;
    }
  }
  // A cancel given while the member's last output was shown still stops
  // the member before anybody puts it in place: a short last member would
  // otherwise offer no moment to cancel at all.
  host.ProcessMessages();
  if (host.Abort()) throw EvcAborted("Operation aborted by user");
  return written;
}
