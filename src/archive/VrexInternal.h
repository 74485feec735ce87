// Helpers the archive component's units share: fresh files beside a
// destination, quiet clean-up, directories made for a write (and taken back
// when it fails), a buffered writer for decoded data, the error rules of
// the long operations, and the fixed messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/FileStream.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/Format.h"
#include "platform/FileSystem.h"

namespace vrex {

constexpr size_t kCopyBuffer = 8192;
// A disk-full handler that returns without freeing room gets this many
// tries in all before EvcDiskFull.
constexpr int kMaxWriteAttempts = 4;
constexpr int kMaxVolume = 255;  // volume numbers are one byte

extern const char* const kMsgCannotOpenArchive;  // %s
extern const char* const kMsgCannotOpenFile;     // %s
extern const char* const kMsgCannotCreate;       // %s
extern const char* const kMsgAborted;
extern const char* const kMsgDiskFull;
extern const char* const kMsgSizeMismatch;  // %s
extern const char* const kMsgSetDate;
extern const char* const kMsgCompareVersions;

// ERROR_DISK_FULL or ERROR_HANDLE_DISK_FULL.
bool IsDiskFull(const platform::OsError& e);

// A new file opened for writing (others may read) under a name no file
// had: dir\<prefix><hex>.tmp. Raises platform::OsError.
struct NewFile {
  std::string path;
  std::unique_ptr<platform::File> file;
};
NewFile CreateUniqueFile(const std::string& dir, const std::string& prefix);

// Deletes a file, ignoring every failure (clean-up paths).
void DeleteQuietly(const std::string& path) noexcept;

// Creates `dir` with its missing parents and returns those it created,
// deepest first; RemoveQuietly takes them back (if still empty).
std::vector<std::string> MakeDirectories(const std::string& dir);
void RemoveQuietly(const std::vector<std::string>& dirs) noexcept;

// A date that a file time can hold.
bool IsFileDate(TDateTime date);

// Runs a function when the scope ends, whatever way it ends.
class ScopeExit {
 public:
  explicit ScopeExit(std::function<void()> f) : f_(std::move(f)) {}
  ~ScopeExit() {
    if (f_) f_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  std::function<void()> f_;
};

// Collects decoded output into 64 KB writes. A write that the file
// refuses leaves the buffer as it was, so the caller may retry the same
// bytes after freeing room.
class BufferedWriter : public TStream {
 public:
  explicit BufferedWriter(platform::File& file);
  size_t Read(void*, size_t) override { return 0; }
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Writes what is buffered (raises platform::OsError; the buffer stays).
  void Flush();

 private:
  static constexpr size_t kSize = 65536;
  platform::File& file_;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t used_ = 0;
  int64_t written_ = 0;
};

// Swallows what it is given, counting it.
class NullStream : public TStream {
 public:
  size_t Read(void*, size_t) override { return 0; }
  size_t Write(const void*, size_t count) override {
    size_ += int64_t(count);
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return size_; }

 private:
  int64_t size_ = 0;
};

}  // namespace vrex

// The error rules of Compress, Extract and SplitToVolumes.
template <class F>
void TVrexCompress::Guarded(bool quietAbort, F&& body) {
  try {
    body();
  } catch (const EvcAborted&) {
    if (OnAborted) OnAborted(this);
  } catch (const EAbort&) {
    if (!quietAbort) {
      abort_ = true;
      throw;
    }
  } catch (const platform::OsError& e) {
    // A refusal no step turned into its own message.
    abort_ = true;
    throw EArchiveError(e.Message(), e.Message());
  } catch (const EStreamError& e) {
    abort_ = true;
    throw EArchiveError(e.Message(), e.Message());
  } catch (...) {
    abort_ = true;
    throw;
  }
}
