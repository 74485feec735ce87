// The loading program's reader of "setup.1": a single-file archive (head,
// then each member's 172-byte header followed by its zlib data) that may sit
// inside a larger file. Only what unpacking needs is decoded, every field by
// its offset and checked against the archive's extent before it is used;
// member data is inflated with zlib, whose check value and the stored size
// catch a damaged member. Framework-free so the Windows loader stays small.
#pragma once

#include <cstdint>
#include <type_traits>

#include "loader/LoaderHost.h"
#include "loader/LoaderText.h"

namespace loader {

struct ArchiveSpan {
  uint64_t start = 0;   // first byte of the archive in its file
  uint64_t length = 0;  // bytes that belong to it
};

struct Member {
  Text name;  // the file-name part of the stored name
  uint32_t size = 0;
  uint32_t dataStart = 0;  // archive-relative
  uint32_t compressedSize = 0;
};

// One member past the previous: `headerAt` is archive-relative, 0 for the
// first (the head is read then). `count` is set from the head; `next` is
// where the following header starts. False with `why` set when the archive
// cannot hold what the header says.
class ArchiveDirectory {
 public:
  ArchiveDirectory(InputFile& file, ArchiveSpan span) : file_(file), span_(span) {}

  // Reads the head; false (and why) when it is damaged or holds no member.
  bool Open(const char*& why);
  uint32_t Count() const { return count_; }
  // The next member's header, in stored order.
  bool Next(Member& member, const char*& why);

 private:
  InputFile& file_;
  ArchiveSpan span_;
  uint32_t count_ = 0;
  uint32_t read_ = 0;
  uint64_t nextHeader_ = 0;
};

enum class UnpackResult { Ok, Damaged, DiskFull, WriteFailed };

// Inflates `member` into `out`, calling `progress(bytesDone)` after each
// chunk. Damaged (with why) when the data is not one complete zlib stream
// of exactly the stored size within the stored compressed length.
template <class Progress>
UnpackResult UnpackMember(InputFile& file, ArchiveSpan span, const Member& member, OutputFile& out,
                          const char*& why, Progress&& progress);

// The implementation behind the template, with a plain callback.
UnpackResult UnpackMemberWith(InputFile& file, ArchiveSpan span, const Member& member,
                              OutputFile& out, const char*& why,
                              void (*progress)(void* context, uint64_t done), void* context);

template <class Progress>
UnpackResult UnpackMember(InputFile& file, ArchiveSpan span, const Member& member, OutputFile& out,
                          const char*& why, Progress&& progress) {
  return UnpackMemberWith(
      file, span, member, out, why,
      [](void* c, uint64_t done) { (*static_cast<std::remove_reference_t<Progress>*>(c))(done); },
      const_cast<void*>(static_cast<const void*>(&progress)));
}

// Whether a stored name's file-name part may be written into the temporary
// directory: not empty, not "." or "..", no characters Windows refuses.
bool SafeMemberName(const Text& name);

}  // namespace loader
