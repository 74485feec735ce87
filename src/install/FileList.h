// "filelist.lst": what a net distribution's build packed, read back by the
// setup before it downloads anything. A 32-bit little-endian count, then
// that many 72-byte records:
//
//   0   4   uncompressed size in bytes
//   4   8   the file's date-time, a little-endian IEEE double
//  12  40   component name, zero-terminated (at most 39 characters)
//  52  20   version text, zero-terminated when shorter than 20 characters
//
// Only bytes are handled here; the build writes them and the run reads them
// through the platform's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/DateTime.h"

struct FileListRecord {
  uint32_t size = 0;
  TDateTime date = 0;
  std::string name;
  std::string version;
};

inline constexpr size_t kFileListRecordSize = 72;
inline constexpr size_t kFileListMaxName = 39;
inline constexpr size_t kFileListMaxVersion = 20;

// The whole file. A name longer than kFileListMaxName raises IEInstall
// naming the component (a cut name would match no file at install time);
// a longer version is cut to kFileListMaxVersion.
std::string EncodeFileList(const std::vector<FileListRecord>& records);

// The records of a whole file; nullopt when it is shorter than its count
// says (a record cut off, or fewer than 4 bytes). Bytes after the last
// record are ignored. A name field without its terminator is taken whole.
std::optional<std::vector<FileListRecord>> DecodeFileList(std::string_view bytes);
