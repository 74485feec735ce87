// An open file over a Win32 handle (see Win32File.h). A failed Write leaves
// the file as it was before the call: bytes appended by a partial write are
// cut off again and the position is restored.
#include "platform/win32/Win32File.h"

#include <algorithm>

#include "platform/win32/Win32Error.h"

namespace platform::win32 {
namespace {

// ReadFile/WriteFile take a DWORD count; larger requests go in pieces.
constexpr size_t kMaxChunk = 1u << 30;

class Win32File final : public File {
 public:
  Win32File(HANDLE handle, std::string path) : h_(handle), path_(std::move(path)) {}
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  ~Win32File() override {
    if (h_ == INVALID_HANDLE_VALUE) return;
    KeepExplicitTime();
    CloseHandle(h_);
  }

  const std::string& Path() const override { return path_; }

  size_t Read(void* buffer, size_t count) override {
    Check("ReadFile");
    auto* out = static_cast<char*>(buffer);
    size_t total = 0;
    while (total < count) {
      const DWORD want = static_cast<DWORD>(std::min(count - total, kMaxChunk));
      DWORD got = 0;
      if (!ReadFile(h_, out + total, want, &got, nullptr)) RaiseLastError("ReadFile", path_);
      total += got;
      if (got < want) break;  // end of file
    }
    return total;
  }

  void Write(const void* data, size_t count) override {
    Check("WriteFile");
    if (count == 0) return;
    const uint64_t oldPos = Position();
    const uint64_t oldSize = Size();
    const auto* in = static_cast<const char*>(data);
    size_t total = 0;
    while (total < count) {
      const DWORD want = static_cast<DWORD>(std::min(count - total, kMaxChunk));
      DWORD put = 0;
      const BOOL ok = WriteFile(h_, in + total, want, &put, nullptr);
      if (!ok || put < want) {
        // A short write without an error is the disk running full.
        const DWORD code = ok ? static_cast<DWORD>(ERROR_DISK_FULL) : GetLastError();
        Undo(oldPos, oldSize);
        Raise("WriteFile", path_, code);
      }
      total += put;
    }
    KeepExplicitTime();
  }

  uint64_t Seek(int64_t offset, SeekOrigin origin) override {
    Check("SetFilePointerEx");
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    if (!SetFilePointerEx(h_, distance, &result, method)) RaiseLastError("SetFilePointerEx", path_);
    return static_cast<uint64_t>(result.QuadPart);
  }

  uint64_t Position() override { return Seek(0, SeekOrigin::Current); }

  uint64_t Size() override {
    Check("GetFileSizeEx");
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h_, &size)) RaiseLastError("GetFileSizeEx", path_);
    return static_cast<uint64_t>(size.QuadPart);
  }

  void SetEndOfFile() override {
    Check("SetEndOfFile");
    if (!::SetEndOfFile(h_)) RaiseLastError("SetEndOfFile", path_);
    KeepExplicitTime();
  }

  FileTime LastWriteTime() override {
    Check("GetFileTime");
    FILETIME written;
    if (!GetFileTime(h_, nullptr, nullptr, &written)) RaiseLastError("GetFileTime", path_);
    return FromFiletime(written);
  }

  void SetLastWriteTime(FileTime time) override {
    Check("SetFileTime");
    const FILETIME ft = ToFiletime(time);
    if (!SetFileTime(h_, nullptr, nullptr, &ft)) RaiseLastError("SetFileTime", path_);
    explicitTime_ = true;
    time_ = time;
  }

  void Close() override {
    Check("CloseHandle");
    KeepExplicitTime();
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) RaiseLastError("CloseHandle", path_);
  }

 private:
  void Check(const char* call) const {
    if (h_ == INVALID_HANDLE_VALUE) Raise(call, path_, ERROR_INVALID_HANDLE);
  }

  // Windows stops updating a time that was set through a handle; a host
  // file system underneath (Wine) may not, so the time is set again after
  // every change. Best effort: the write itself already succeeded.
  void KeepExplicitTime() noexcept {
    if (!explicitTime_) return;
    const FILETIME ft = ToFiletime(time_);
    SetFileTime(h_, nullptr, nullptr, &ft);
  }

  // Takes back a failed write: the size and position it found. Bytes it
  // overwrote inside the old size cannot come back, but a write fails for
  // want of room, which only growing the file needs.
  void Undo(uint64_t oldPos, uint64_t oldSize) noexcept {
    LARGE_INTEGER to, size;
    if (GetFileSizeEx(h_, &size) && static_cast<uint64_t>(size.QuadPart) > oldSize) {
      to.QuadPart = static_cast<LONGLONG>(oldSize);
      if (SetFilePointerEx(h_, to, nullptr, FILE_BEGIN)) ::SetEndOfFile(h_);
    }
    to.QuadPart = static_cast<LONGLONG>(oldPos);
    SetFilePointerEx(h_, to, nullptr, FILE_BEGIN);
  }

  HANDLE h_;
  std::string path_;
  bool explicitTime_ = false;
  FileTime time_ = 0;
};

}  // namespace

std::unique_ptr<File> WrapFileHandle(HANDLE handle, std::string path) {
  return std::make_unique<Win32File>(handle, std::move(path));
}

}  // namespace platform::win32
