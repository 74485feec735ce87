// The loading program's reader of "setup.1" (see SetupArchive.h).
#include "loader/SetupArchive.h"

#include <zlib.h>

#include "archive/ArchiveLayout.h"

namespace loader {
namespace {

namespace layout = archive_layout;

// Static: the loader is single-threaded, and the buffers then cost the
// Windows program no size and the stack no 128 KB.
uint8_t gInput[65536];
uint8_t gOutput[65536];

}  // namespace

bool ArchiveDirectory::Open(const char*& why) {
  uint8_t head[layout::kHeadSize];
  if (span_.length < layout::kHeadSize || !file_.ReadAt(span_.start, head, sizeof head)) {
    why = "the setup archive is shorter than its head";
    return false;
  }
  count_ = layout::GetLE32(head + layout::kHeadCount);
  if (head[layout::kHeadLayout] != 0) {
    why = "the setup archive is not a single-file archive";
    return false;
  }
  if (count_ == 0) {
    why = "the setup archive holds no program";
    return false;
  }
  // Every member needs at least its header: a larger count is damage.
  if (count_ > (span_.length - layout::kHeadSize) / layout::kHeaderSize) {
    why = "the setup archive counts more members than it can hold";
    return false;
  }
  nextHeader_ = layout::kHeadSize;
  return true;
}

bool ArchiveDirectory::Next(Member& member, const char*& why) {
  if (read_ >= count_) {
    why = "no member left";
    return false;
  }
  uint8_t h[layout::kHeaderSize];
  if (nextHeader_ > span_.length - layout::kHeaderSize ||
      !file_.ReadAt(span_.start + nextHeader_, h, sizeof h)) {
    why = "a member header lies past the end of the setup archive";
    return false;
  }
  const uint64_t dataStart = layout::GetLE32(h + layout::kDataStart);
  const uint64_t compressed = layout::GetLE32(h + layout::kCompressedSize);
  const uint64_t endPosition = layout::GetLE32(h + layout::kEndPosition);
  const uint64_t next = layout::GetLE32(h + layout::kNextHeader);
  if (dataStart < nextHeader_ + layout::kHeaderSize || compressed == 0 ||
      compressed > span_.length || dataStart > span_.length - compressed) {
    why = "a member's data lies outside the setup archive";
    return false;
  }
  if (endPosition != dataStart + compressed - 1) {
    why = "a member's end position does not match its compressed size";
    return false;
  }
  if (read_ + 1 < count_ && (next <= nextHeader_ || next > span_.length)) {
    why = "a member header points to no following header";
    return false;
  }
  size_t nameLength = h[layout::kName];
  if (nameLength > layout::kMaxNameBytes) nameLength = layout::kMaxNameBytes;
  Text stored;
  stored.Append(reinterpret_cast<const char*>(h + layout::kName + 1), nameLength);
  member.name = Text(FileNameOf(stored.c_str()));
  member.size = layout::GetLE32(h + layout::kSize);
  member.dataStart = uint32_t(dataStart);
  member.compressedSize = uint32_t(compressed);
  nextHeader_ = next;
  ++read_;
  return true;
}

bool SafeMemberName(const Text& name) {
  if (name.empty() || SameAscii(name.c_str(), ".") || SameAscii(name.c_str(), "..")) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
      return false;
  }
  return true;
}

UnpackResult UnpackMemberWith(InputFile& file, ArchiveSpan span, const Member& member,
                              OutputFile& out, const char*& why,
                              void (*progress)(void* context, uint64_t done), void* context) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) {
    why = "the decompressor could not start";
    return UnpackResult::Damaged;
  }
  uint64_t position = span.start + member.dataStart;
  uint64_t left = member.compressedSize;
  uint64_t produced = 0;
  UnpackResult result = UnpackResult::Ok;
  int rc = Z_OK;
  bool outputWasFull = false;  // inflate may hold output back without new input
  while (rc != Z_STREAM_END && result == UnpackResult::Ok) {
    if (z.avail_in == 0 && !outputWasFull) {
      if (left == 0) {
        why = "a member's data ends before its stream does";
        result = UnpackResult::Damaged;
        break;
      }
      const size_t chunk = left < sizeof gInput ? size_t(left) : sizeof gInput;
      if (!file.ReadAt(position, gInput, chunk)) {
        why = "the setup archive is cut short";
        result = UnpackResult::Damaged;
        break;
      }
      position += chunk;
      left -= chunk;
      z.next_in = gInput;
      z.avail_in = uInt(chunk);
    }
    z.next_out = gOutput;
    z.avail_out = sizeof gOutput;
    rc = inflate(&z, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      // Z_DATA_ERROR covers a wrong check value as well as bad data.
      why = rc == Z_MEM_ERROR ? "out of memory" : "a member's data is damaged";
      result = UnpackResult::Damaged;
      break;
    }
    const size_t made = sizeof gOutput - z.avail_out;
    outputWasFull = z.avail_out == 0;
    // A stream that yields more than the stored size is damaged; stop
    // before it can fill the disk.
    if (made > member.size - produced) {
      why = "a member holds more than its stored size";
      result = UnpackResult::Damaged;
      break;
    }
    if (made > 0) {
      const WriteResult w = out.Write(gOutput, made);
      if (w != WriteResult::Ok) {
        result = w == WriteResult::DiskFull ? UnpackResult::DiskFull : UnpackResult::WriteFailed;
        break;
      }
      produced += made;
      progress(context, produced);
    }
  }
  inflateEnd(&z);
  if (result == UnpackResult::Ok && produced != member.size) {
    why = "a member is shorter than its stored size";
    result = UnpackResult::Damaged;
  }
  return result;
}

}  // namespace loader
