// The member decoder against a fake archive of in-memory volumes: members
// that end on a chunk boundary or cross volumes, cancel, disk full, and
// corrupt or truncated data, which must never pass as decoded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <vector>

#include "archive/MemberDecoder.h"
#include "archive/ZlibStreams.h"
#include "platform/OsError.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testing::HasSubstr;
using testing::ThrowsMessage;

Bytes Deflate(const Bytes& data, int level = 9) {
  Bytes out(compressBound(data.size()));
  uLongf len = out.size();
  EXPECT_EQ(compress2(out.data(), &len, data.data(), data.size(), level), Z_OK);
  out.resize(len);
  return out;
}

Bytes Sample(size_t n, uint32_t seed) {
  Bytes v(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1664525u + 1013904223u;
    // Mostly text-like with some noise, so it compresses about 2:1.
    v[i] = (seed >> 28) < 8 ? static_cast<uint8_t>('a' + (i / 7) % 26)
                            : static_cast<uint8_t>(seed >> 20);
  }
  return v;
}

// A volume file that remembers the furthest byte anyone read.
class Volume : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  size_t Read(void* b, size_t n) override {
    const size_t got = TMemoryStream::Read(b, n);
    if (got > 0) furthest = std::max<int64_t>(furthest, Position());
    return got;
  }
  int64_t furthest = 0;  // one past the last byte read
};

// A destination with limited room; writes beyond it come back short, or
// raise ERROR_DISK_FULL like the file service does.
class Disk : public TMemoryStream {
 public:
  size_t room = SIZE_MAX;
  bool raises = false;
  size_t Write(const void* b, size_t n) override {
    const size_t left = room > Bytes().size() ? room - Bytes().size() : 0;
    if (n > left && raises)
      throw platform::OsError("WriteFile", "C:\\dest", platform::kErrorDiskFull);
    return TMemoryStream::Write(b, std::min(n, left));
  }
};

class FakeArchive : public TMemberDecoderHost {
 public:
  std::map<int, std::shared_ptr<Volume>> volumes;
  int current = 0;
  int64_t offset = 0;
  int endVolume = 0;
  int64_t endPosition = 0;
  Disk dest;
  bool abort = false;
  TlzhFileStats stats;
  std::vector<int> opened;
  int statusCalls = 0;
  std::function<void()> onStatus;
  std::function<void()> onFullDisk;  // null: raise like the component does

  TStream& VolumeStream() override { return *volumes.at(current); }
  int CurrentVolume() const override { return current; }
  void OpenVolume(int number) override {
    opened.push_back(number);
    current = number;
    volumes.at(number)->SetPosition(123);  // the decoder must seek to 0 itself
  }
  int64_t Offset() const override { return offset; }
  int EndVolume() const override { return endVolume; }
  int64_t EndPosition() const override { return endPosition; }
  TStream& Destination() override { return dest; }
  bool Abort() const override { return abort; }
  void ProcessMessages() override {}
  TlzhFileStats& FileStats() override { return stats; }
  void Status() override {
    ++statusCalls;
    if (onStatus) onStatus();
  }
  void DoFullDisk() override {
    if (!onFullDisk) throw EvcDiskFull("The disk is full");
    onFullDisk();
  }

  // A single-file archive: `before` bytes of other data, the member, then
  // another member's bytes that must never be read.
  void SingleFile(const Bytes& packed, size_t before, size_t size) {
    Bytes file(before, 0x11);
    file.insert(file.end(), packed.begin(), packed.end());
    const Bytes next = Deflate(Sample(5000, 99));
    file.insert(file.end(), next.begin(), next.end());
    volumes[0] = std::make_shared<Volume>(file);
    volumes[0]->SetPosition(static_cast<int64_t>(before));
    current = 0;
    endVolume = 0;
    offset = 0;
    endPosition = static_cast<int64_t>(before + packed.size()) - 1;
    stats = {};
    stats.FileName = "C:\\SRC\\QDENG32.DLL";
    stats.FileSize = static_cast<int32_t>(size);
    stats.TotalSize = static_cast<int32_t>(size);
  }
};

TEST(MemberDecoder, DecodesAMemberEndingOnAChunkBoundaryWithoutReadingFurther) {
  const Bytes data = Sample(300000, 1);
  const Bytes packed = Deflate(data);
  struct Case {
    const char* what;
    size_t before;
    int64_t archiveOffset;  // the archive sits inside a larger file
  };
  // The member's last byte is the last byte of a 65536-byte input chunk.
  const size_t boundary = (packed.size() / 65536 + 1) * 65536;
  const Case cases[] = {{"ends at a chunk boundary", boundary - packed.size(), 0},
                        {"inside a larger file", boundary - packed.size(), 1000},
                        {"ends mid-chunk", 777, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeArchive a;
    a.SingleFile(packed, c.before, data.size());
    a.offset = c.archiveOffset;
    a.endPosition -= c.archiveOffset;  // stored positions are archive-relative
    EXPECT_EQ(DecodeMember(a), data.size());
    EXPECT_EQ(a.dest.Bytes(), data);
    EXPECT_LE(a.volumes[0]->furthest, int64_t(c.before + packed.size()));
    EXPECT_EQ(a.stats.FileBytesDone, int32_t(data.size()));
    EXPECT_EQ(a.stats.FilePercent, 100);
    EXPECT_EQ(a.stats.TotalPercent, 100);
    EXPECT_EQ(a.statusCalls, int((data.size() + 4095) / 4096));
  }
}

TEST(MemberDecoder, FollowsAMemberAcrossVolumes) {
  const Bytes data = Sample(200000, 2);
  const Bytes packed = Deflate(data);
  const Bytes other = Deflate(Sample(3000, 5));
  struct Case {
    const char* what;
    std::vector<size_t> parts;  // bytes of the member on volumes 1, 2, ...
  };
  const Case cases[] = {{"two volumes", {40000, packed.size() - 40000}},
                        {"volume 2 to 3", {0, 65536, packed.size() - 65536}},
                        {"three volumes, tiny middle", {50000, 7, packed.size() - 50007}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeArchive a;
    size_t at = 0;
    int first = 0;
    for (size_t v = 0; v < c.parts.size(); ++v) {
      Bytes vol(v == 0 ? 500 : 0, 0x22);  // volume 1 holds other data first
      vol.insert(vol.end(), packed.begin() + at, packed.begin() + at + c.parts[v]);
      at += c.parts[v];
      if (v + 1 == c.parts.size()) {
        a.endPosition = static_cast<int64_t>(vol.size()) - 1;
        vol.insert(vol.end(), other.begin(), other.end());  // the next member
      }
      a.volumes[int(v) + 1] = std::make_shared<Volume>(vol);
      if (first == 0 && c.parts[v] > 0) first = int(v) + 1;
    }
    a.current = first;
    a.volumes[first]->SetPosition(first == 1 ? 500 : 0);
    a.endVolume = int(c.parts.size());
    a.stats.FileSize = a.stats.TotalSize = int32_t(data.size());
    EXPECT_EQ(DecodeMember(a), data.size());
    EXPECT_EQ(a.dest.Bytes(), data);
    EXPECT_EQ(a.volumes[a.endVolume]->furthest, a.endPosition + 1);
    std::vector<int> expectedOpens;
    for (int v = first + 1; v <= a.endVolume; ++v) expectedOpens.push_back(v);
    EXPECT_EQ(a.opened, expectedOpens);
  }
}

TEST(MemberDecoder, AbortStopsAfterTheCurrentCycle) {
  const Bytes data = Sample(100000, 3);
  FakeArchive a;
  a.SingleFile(Deflate(data), 0, data.size());
  a.onStatus = [&] {
    if (a.statusCalls == 2) a.abort = true;
  };
  EXPECT_THAT([&] { DecodeMember(a); },
              ThrowsMessage<EvcAborted>(testing::StrEq("Operation aborted by user")));
  EXPECT_EQ(a.dest.Bytes().size(), 2 * 4096u);
  EXPECT_EQ(a.statusCalls, 2);
}

TEST(MemberDecoder, CorruptOrTruncatedMembersFail) {
  const Bytes data = Sample(50000, 4);
  const Bytes packed = Deflate(data);
  constexpr size_t kStart = 100;  // the member's first byte in the volume
  const size_t last = kStart + packed.size() - 1;
  struct Case {
    const char* what;
    std::function<void(FakeArchive&)> damage;  // applied to the laid-out archive
    const char* message;
  };
  auto byteAt = [](FakeArchive& a, size_t at) -> uint8_t& { return a.volumes[0]->Bytes()[at]; };
  const Case cases[] = {
      {"flipped byte in the data",
       [&](FakeArchive& a) { byteAt(a, kStart + packed.size() / 2) ^= 0x10; }, "is corrupt"},
      {"flipped byte in the checksum", [&](FakeArchive& a) { byteAt(a, last - 1) ^= 0x01; },
       "is corrupt (incorrect data check)"},
      {"not a zlib header", [&](FakeArchive& a) { byteAt(a, kStart) = 0x1F; }, "is corrupt"},
      {"end position short by one", [](FakeArchive& a) { a.endPosition -= 1; }, "is incomplete"},
      {"end position before the start", [](FakeArchive& a) { a.endPosition = 3; }, "is incomplete"},
      {"ends on an earlier volume",
       [](FakeArchive& a) {
         a.volumes[1] = a.volumes[0];
         a.current = 1;
       },
       "is incomplete"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeArchive a;
    a.SingleFile(packed, kStart, data.size());
    c.damage(a);
    EXPECT_THAT(
        [&] { DecodeMember(a); },
        ThrowsMessage<EVrexCompress>(HasSubstr("C:\\SRC\\QDENG32.DLL " + std::string(c.message))));
  }
}

TEST(MemberDecoder, EveryTruncationOfAMemberFails) {
  const Bytes data = Sample(3000, 6);
  const Bytes packed = Deflate(data);
  for (size_t keep = 0; keep < packed.size(); ++keep) {
    SCOPED_TRACE(keep);
    FakeArchive a;
    a.SingleFile(packed, 64, data.size());
    a.endPosition = 64 + int64_t(keep) - 1;
    EXPECT_THROW(DecodeMember(a), EVrexCompress);
  }
}

TEST(MemberDecoder, DecodesHighlyCompressibleMembersCompletely) {
  // Hundreds of output cycles come out of one small input chunk.
  for (size_t size : {4096u * 50, 1000000u, 65536u * 3 + 17}) {
    SCOPED_TRACE(size);
    const Bytes data(size, 'Q');
    FakeArchive a;
    a.SingleFile(Deflate(data), 10, data.size());
    EXPECT_EQ(DecodeMember(a), data.size());
    EXPECT_EQ(a.dest.Bytes(), data);
  }
}

TEST(MemberDecoder, DiskFullGoesThroughTheHost) {
  const Bytes data = Sample(40000, 7);
  const Bytes packed = Deflate(data);
  for (bool raises : {false, true}) {
    SCOPED_TRACE(raises ? "write raises ERROR_DISK_FULL" : "write comes back short");
    {
      FakeArchive a;  // no handler: the host raises EvcDiskFull
      a.SingleFile(packed, 0, data.size());
      a.dest.room = 10000;
      a.dest.raises = raises;
      EXPECT_THAT([&] { DecodeMember(a); },
                  ThrowsMessage<EvcDiskFull>(testing::StrEq("The disk is full")));
    }
    {
      FakeArchive a;  // a handler that frees space: nothing is lost
      a.SingleFile(packed, 0, data.size());
      a.dest.room = 10000;
      a.dest.raises = raises;
      int calls = 0;
      a.onFullDisk = [&] { ++calls, a.dest.room = SIZE_MAX; };
      EXPECT_EQ(DecodeMember(a), data.size());
      EXPECT_EQ(a.dest.Bytes(), data);
      EXPECT_EQ(calls, 1);
    }
    {
      FakeArchive a;  // a handler that frees nothing: bounded, then full
      a.SingleFile(packed, 0, data.size());
      a.dest.room = 10000;
      a.dest.raises = raises;
      int calls = 0;
      a.onFullDisk = [&] { ++calls; };
      EXPECT_THROW(DecodeMember(a), EvcDiskFull);
      EXPECT_EQ(calls, 3);
    }
  }
}

}  // namespace
