// The archive component's shared helpers (see VrexInternal.h).
#include "archive/VrexInternal.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/StrUtils.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

namespace vrex {

const char* const kMsgCannotOpenArchive = "Cannot open the compressed file %s";
const char* const kMsgCannotOpenFile = "Cannot open the file %s";
const char* const kMsgCannotCreate = "Cannot create the file %s";
const char* const kMsgAborted = "Operation aborted by user";
const char* const kMsgDiskFull = "The disk is full";
const char* const kMsgSizeMismatch =
    "The decompressed file's size does not match with the actual size of the file.  The file is %s";
const char* const kMsgSetDate = "Cannot set the date of the file just extracted.";
const char* const kMsgCompareVersions = "Error comparing file versions in TVrexCompress";

namespace {
constexpr uint32_t kErrorHandleDiskFull = 39;
}  // namespace

bool IsDiskFull(const platform::OsError& e) {
  return e.Code() == platform::kErrorDiskFull || e.Code() == kErrorHandleDiskFull;
}

NewFile CreateUniqueFile(const std::string& dir, const std::string& prefix) {
  // Names start where the clock says, as Windows' unique numbers do, and
  // step on past names that are taken.
  static uint32_t next = 0;
  if (next == 0) next = uint32_t(platform::clock().NowUtc() / 10000) | 1;
  const std::string base = IncludeTrailingBackslash(dir) + prefix;
  for (uint32_t tries = 0;; ++tries) {
    char hex[12];
    std::snprintf(hex, sizeof hex, "%X", (next++ & 0xFFFFF) | 1);
    NewFile f;
    f.path = base + hex + ".tmp";
    try {
      f.file = platform::files().Open(f.path, platform::kAccessRead | platform::kAccessWrite,
                                      platform::kShareRead, platform::Disposition::CreateNew);
      return f;
    } catch (const platform::OsError& e) {
      if (e.Code() != platform::kErrorFileExists && e.Code() != platform::kErrorAlreadyExists)
        throw;
      if (tries >= 0xFFFFF) throw;
    }
  }
}

void DeleteQuietly(const std::string& path) noexcept {
  try {
    platform::files().DeleteFile(path);
  } catch (...) {
    // Clean-up only: the operation's own failure is what matters.
  }
}

std::vector<std::string> MakeDirectories(const std::string& dir) {
  std::vector<std::string> missing;
  platform::FileSystem& fs = platform::files();
  std::string d = ExcludeTrailingBackslash(dir);
  while (!d.empty() && !fs.DirectoryExists(d)) {
    missing.push_back(d);
    const std::string parent = ExtractFileDir(d);
    if (parent == d || parent.empty()) break;
    d = ExcludeTrailingBackslash(parent);
  }
  if (!missing.empty()) {
    try {
      fs.CreateDirectories(dir);
    } catch (...) {
      RemoveQuietly(missing);
      throw;
    }
  }
  return missing;
}

void RemoveQuietly(const std::vector<std::string>& dirs) noexcept {
  for (const std::string& d : dirs) {
    try {
      platform::files().RemoveDirectory(d);
    } catch (...) {
      // Not empty any more, or gone: leave it.
    }
  }
}

bool IsFileDate(TDateTime date) {
  // 1601-01-01 .. 9999-12-31, the range of a FILETIME the kit converts.
  return std::isfinite(date) && date > -109205.0 && date < 2958466.0;
}

BufferedWriter::BufferedWriter(platform::File& file)
    : file_(file), buffer_(std::make_unique<uint8_t[]>(kSize)) {}

size_t BufferedWriter::Write(const void* buffer, size_t count) {
  if (count > kSize - used_) {
    Flush();
    if (count >= kSize) {
      file_.Write(buffer, count);
      written_ += int64_t(count);
      return count;
    }
  }
  std::memcpy(buffer_.get() + used_, buffer, count);
  used_ += count;
  return count;
}

int64_t BufferedWriter::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset != 0 || origin == TSeekOrigin::soBeginning)
    throw EStreamError("Invalid stream operation");
  return written_ + int64_t(used_);
}

void BufferedWriter::Flush() {
  if (used_ == 0) return;
  file_.Write(buffer_.get(), used_);
  written_ += int64_t(used_);
  used_ = 0;
}

}  // namespace vrex
