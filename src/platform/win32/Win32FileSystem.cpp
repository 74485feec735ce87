// The file service over kernel32 (see Win32FileSystem.h). Every call passes
// the caller's path to the wide API unchanged, so Windows decides what a
// name means. Added on top: refusals Windows makes that a host underneath
// may skip (read-only targets, directories replaced), and a replacing copy
// that leaves the destination intact when it fails.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Win32Api.h"

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32File.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

DWORD CreationDisposition(Disposition d) {
  switch (d) {
    case Disposition::CreateNew:
      return CREATE_NEW;
    case Disposition::CreateAlways:
      return CREATE_ALWAYS;
    case Disposition::OpenExisting:
      return OPEN_EXISTING;
    case Disposition::OpenAlways:
      return OPEN_ALWAYS;
    case Disposition::TruncateExisting:
      return TRUNCATE_EXISTING;
  }
  return OPEN_EXISTING;
}

// Closes a find handle on every path out of a listing.
class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// GetFullPathNameW; empty when it fails.
std::wstring FullPathW(const std::wstring& w) {
  DWORD size = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  // The answer can grow between the two calls only by the current
  // directory changing; retry until the buffer was big enough.
  while (size != 0) {
    std::wstring out(size, L'\0');
    const DWORD n = GetFullPathNameW(w.c_str(), size, out.data(), nullptr);
    if (n == 0) break;
    if (n < size) {
      out.resize(n);
      return out;
    }
    size = n;
  }
  return {};
}

std::wstring FullPathOf(const char* call, std::string_view path) {
  std::wstring full = FullPathW(WideName(call, path));
  if (full.empty()) RaiseLastError(call, path);
  return full;
}

// "C:\" or "\\server\share\" of a full path; the path itself when it has
// neither form.
std::wstring RootOf(const std::wstring& full) {
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return full.substr(0, 3);
  if (full.rfind(L"\\\\", 0) == 0) {
    const size_t server = full.find(L'\\', 2);
    if (server == std::wstring::npos) return full + L"\\";
    const size_t share = full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full + L"\\" : full.substr(0, share + 1);
  }
  return full;
}

std::wstring DirectoryOf(const std::wstring& full) {
  const size_t slash = full.rfind(L'\\');
  if (slash == std::wstring::npos) return L".";
  return full.substr(0, slash + 1);
}

// Closes a file handle on every path out of a call.
class HandleCloser {
 public:
  explicit HandleCloser(HANDLE h) : h_(h) {}
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;
  ~HandleCloser() { CloseHandle(h_); }

 private:
  HANDLE h_;
};

bool IsReadOnlyFile(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) &&
         !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows refuses to replace a read-only file, to replace anything by a
// directory or a directory by anything. Those refusals are checked here as
// well, because a host underneath may not make them (Wine run by the
// superuser ignores missing write permission; Wine renames a directory over
// a file). A rename onto the same object under another spelling of the
// name replaces nothing and is left to the system.
void RefuseReplacing(const char* call, const std::wstring& from, const std::wstring& to,
                     std::string_view subject) {
  const DWORD target = GetFileAttributesW(to.c_str());
  if (target == INVALID_FILE_ATTRIBUTES) return;
  DWORD source = 0;
  if (!from.empty()) {
    // A missing source is the system's to report.
    source = GetFileAttributesW(from.c_str());
    if (source == INVALID_FILE_ATTRIBUTES) return;
    const std::wstring a = FullPathW(from), b = FullPathW(to);
    if (!a.empty() && lstrcmpiW(a.c_str(), b.c_str()) == 0) return;
  }
  if ((target & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ||
      (source & FILE_ATTRIBUTE_DIRECTORY))
    Raise(call, subject, ERROR_ACCESS_DENIED);
}

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<File> Open(std::string_view path, uint32_t access, uint32_t share,
                             Disposition disposition) override {
    const std::wstring w = WideName("CreateFileW", path);
    DWORD desired = 0;
    if (access & kAccessRead) desired |= GENERIC_READ;
    if (access & kAccessWrite) desired |= GENERIC_WRITE;
    const DWORD shareMode = share & (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    const bool changes = (desired & GENERIC_WRITE) || disposition == Disposition::CreateAlways ||
                         disposition == Disposition::TruncateExisting;
    if (changes && disposition != Disposition::CreateNew && IsReadOnlyFile(w))
      Raise("CreateFileW", path, ERROR_ACCESS_DENIED);
    const HANDLE h = CreateFileW(w.c_str(), desired, shareMode, nullptr,
                                 CreationDisposition(disposition), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) RaiseLastError("CreateFileW", path);
    std::string full;
    try {
      full = Narrow(FullPathOf("GetFullPathNameW", path));
    } catch (...) {
      CloseHandle(h);
      throw;
    }
    return WrapFileHandle(h, std::move(full));
  }

  std::optional<FileInfo> Stat(std::string_view path) override {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
      return std::nullopt;
    FileInfo info;
    info.attributes = data.dwFileAttributes;
    if (!info.IsDirectory())
      info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.lastWrite = FromFiletime(data.ftLastWriteTime);
    return info;
  }

  void SetAttributes(std::string_view path, uint32_t attributes) override {
    const std::wstring w = WideName("SetFileAttributesW", path);
    // NORMAL is only valid alone; the directory bit is not settable.
    DWORD bits = attributes & ~static_cast<DWORD>(kAttrDirectory | kAttrNormal);
    if (bits == 0) bits = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(w.c_str(), bits)) RaiseLastError("SetFileAttributesW", path);
  }

  void SetLastWriteTime(std::string_view path, FileTime time) override {
    const std::wstring w = WideName("CreateFileW", path);
    const HANDLE h =
        CreateFileW(w.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) RaiseLastError("CreateFileW", path);
    const FILETIME ft = ToFiletime(time);
    const BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
    const DWORD code = GetLastError();
    CloseHandle(h);
    if (!ok) Raise("SetFileTime", path, code);
  }

  void DeleteFile(std::string_view path) override {
    if (!DeleteFileW(WideName("DeleteFileW", path).c_str())) RaiseLastError("DeleteFileW", path);
  }

  void MoveFile(std::string_view from, std::string_view to, uint32_t flags) override {
    const std::wstring wfrom = WideName("MoveFileExW", from);
    const std::wstring wto = WideName("MoveFileExW", to);
    if (flags & kMoveReplaceExisting) RefuseReplacing("MoveFileExW", wfrom, wto, to);
    // Only the two immediate flags: a delayed move is a separate service.
    const DWORD f = flags & (MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    if (!MoveFileExW(wfrom.c_str(), wto.c_str(), f)) RaiseLastError("MoveFileExW", from);
  }

  void CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
    const std::wstring wfrom = WideName("CopyFileW", from);
    const std::wstring wto = WideName("CopyFileW", to);
    // The source stays open for reading, sharing only reading, until the
    // copy is done: a source someone is writing is refused, as is a copy
    // onto the source itself (the destination cannot be opened for writing).
    const HANDLE source = CreateFileW(wfrom.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE) RaiseLastError("CopyFileW", from);
    const HandleCloser closeSource(source);
    const bool replacing =
        !failIfExists && GetFileAttributesW(wto.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!replacing) {
      if (!CopyFileW(wfrom.c_str(), wto.c_str(), failIfExists ? TRUE : FALSE))
        RaiseLastError("CopyFileW", from);
      return;
    }
    RefuseReplacing("CopyFileW", L"", wto, to);
    const HANDLE probe = CreateFileW(wto.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) RaiseLastError("CopyFileW", to);
    CloseHandle(probe);
    ReplaceByCopy(from, to, wfrom, wto);
  }

  void CreateDirectory(std::string_view path) override {
    if (!CreateDirectoryW(WideName("CreateDirectoryW", path).c_str(), nullptr))
      RaiseLastError("CreateDirectoryW", path);
  }

  void RemoveDirectory(std::string_view path) override {
    if (!RemoveDirectoryW(WideName("RemoveDirectoryW", path).c_str()))
      RaiseLastError("RemoveDirectoryW", path);
  }

  std::vector<DirEntry> FindFiles(std::string_view pattern) override {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(WideName("FindFirstFileW", pattern).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return entries;
      Raise("FindFirstFileW", pattern, code);
    }
    do {
      DirEntry e;
      e.name = Narrow(data.cFileName);
      e.attributes = data.dwFileAttributes;
      if (!e.IsDirectory())
        e.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      e.lastWrite = FromFiletime(data.ftLastWriteTime);
      entries.push_back(std::move(e));
    } while (FindNextFileW(find.get(), &data));
    const DWORD code = GetLastError();
    if (code != ERROR_NO_MORE_FILES) Raise("FindNextFileW", pattern, code);
    return entries;
  }

  DiskSpace FreeSpace(std::string_view path) override {
    // Any directory works, but the path may name a file or nothing yet:
    // the drive's root always answers for the drive.
    const std::wstring root = RootOf(FullPathOf("GetDiskFreeSpaceExW", path));
    ULARGE_INTEGER available, total;
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr))
      RaiseLastError("GetDiskFreeSpaceExW", path);
    return {available.QuadPart, total.QuadPart};
  }

  std::string FullPathName(std::string_view path) override {
    return Narrow(FullPathOf("GetFullPathNameW", path));
  }

 private:
  // Replacing copy: the bytes go into a fresh name in the destination's
  // directory, which then replaces the destination in one rename. Until
  // that rename the destination is untouched; after a failure the fresh
  // name is removed again. Errors name CopyFileW, the caller's call.
  static void ReplaceByCopy(std::string_view from, std::string_view to, const std::wstring& wfrom,
                            const std::wstring& wto) {
    const std::wstring dir = DirectoryOf(FullPathOf("CopyFileW", to));
    wchar_t temp[MAX_PATH + 1];
    if (!GetTempFileNameW(dir.c_str(), L"cpy", 0, temp)) RaiseLastError("CopyFileW", to);
    DWORD code = ERROR_SUCCESS;
    if (!CopyFileW(wfrom.c_str(), temp, FALSE))
      code = GetLastError();
    else if (!MoveFileExW(temp, wto.c_str(), MOVEFILE_REPLACE_EXISTING))
      code = GetLastError();
    if (code == ERROR_SUCCESS) return;
    DeleteFileW(temp);
    Raise("CopyFileW", code == ERROR_FILE_NOT_FOUND ? from : to, code);
  }
};

}  // namespace

std::unique_ptr<FileSystem> CreateWin32FileSystem() {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace platform::win32
