// The archive tool's host-directory file service (see HostFileSystem.h).
#include "HostFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/sim/HostFileRules.h"
#include "platform/sim/HostTree.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/WinPath.h"

namespace archive_tool {
namespace {

using platform::OsError;
using platform::sim::Refuse;
using platform::sim::RefuseErrno;

class HostFile : public platform::File {
 public:
  HostFile(int fd, std::string path, uint64_t limit)
      : fd_(fd), path_(std::move(path)), limit_(limit) {}
  ~HostFile() override { CloseNoThrow(); }

  const std::string& Path() const override { return path_; }

  size_t Read(void* buffer, size_t count) override {
    Check("ReadFile");
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::read(fd_, p + done, count - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) RefuseErrno("ReadFile", path_);
      if (n == 0) break;
      done += size_t(n);
    }
    return done;
  }

  void Write(const void* data, size_t count) override {
    Check("WriteFile");
    if (count == 0) return;
    const off_t start = ::lseek(fd_, 0, SEEK_CUR);
    if (limit_ != 0 && uint64_t(start) + count > limit_)
      Refuse("WriteFile", path_, platform::kErrorDiskFull);
    struct stat st;
    if (::fstat(fd_, &st) != 0) RefuseErrno("WriteFile", path_);
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(fd_, p + done, count - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        // All or nothing: take back what went in before the refusal.
        const int err = errno;
        if (::ftruncate(fd_, st.st_size) == 0) ::lseek(fd_, start, SEEK_SET);
        errno = err;
        RefuseErrno("WriteFile", path_);
      }
      done += size_t(n);
    }
    written_ = true;
  }

  uint64_t Seek(int64_t offset, platform::SeekOrigin origin) override {
    Check("SetFilePointerEx");
    const int whence = origin == platform::SeekOrigin::Begin     ? SEEK_SET
                       : origin == platform::SeekOrigin::Current ? SEEK_CUR
                                                                 : SEEK_END;
    const off_t pos = ::lseek(fd_, off_t(offset), whence);
    if (pos < 0) Refuse("SetFilePointerEx", path_, platform::kErrorNegativeSeek);
    return uint64_t(pos);
  }
  uint64_t Position() override { return Seek(0, platform::SeekOrigin::Current); }
  uint64_t Size() override {
    Check("GetFileSizeEx");
    struct stat st;
    if (::fstat(fd_, &st) != 0) RefuseErrno("GetFileSizeEx", path_);
    return uint64_t(st.st_size);
  }
  void SetEndOfFile() override {
    if (::ftruncate(fd_, off_t(Position())) != 0) RefuseErrno("SetEndOfFile", path_);
    written_ = true;
  }
  platform::FileTime LastWriteTime() override {
    Check("GetFileTime");
    struct stat st;
    if (::fstat(fd_, &st) != 0) RefuseErrno("GetFileTime", path_);
    return platform::sim::FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  }
  void SetLastWriteTime(platform::FileTime time) override {
    Check("SetFileTime");
    Stamp(time);
    explicit_ = true;
    time_ = time;
    written_ = false;
  }
  void Close() override {
    Check("CloseHandle");
    // An explicit time outlives later writes through the handle.
    if (explicit_ && written_) Stamp(time_);
    CloseNoThrow();
  }

 private:
  void Check(const char* call) const {
    if (fd_ < 0) Refuse(call, path_, platform::kErrorInvalidHandle);
  }
  void Stamp(platform::FileTime time) {
    int64_t sec, nsec;
    platform::sim::HostTimeOf(time, sec, nsec);
    struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(sec), long(nsec)}};
    if (::futimens(fd_, times) != 0) RefuseErrno("SetFileTime", path_);
  }
  void CloseNoThrow() noexcept {
    if (fd_ < 0) return;
    if (explicit_ && written_) {
      try {
        Stamp(time_);
      } catch (...) {
        // The data is there; the stamp is not worth a failure here.
      }
    }
    ::close(fd_);
    fd_ = -1;
  }

  int fd_;
  std::string path_;
  uint64_t limit_;
  bool written_ = false;
  bool explicit_ = false;
  platform::FileTime time_ = 0;
};

bool IsDir(const std::string& host) {
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadOnly(const std::string& host) {
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && platform::sim::HostReadOnly(st);
}

std::string ParentOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  return slash == 0 ? "/" : host.substr(0, slash);
}

}  // namespace

void HostFileSystem::MapDrive(char letter, std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  roots_[char(letter & ~0x20)] = std::move(root);
}

std::string HostFileSystem::WindowsPath(const std::string& hostPath) const {
  const std::string abs = std::filesystem::absolute(hostPath).lexically_normal().string();
  char best = 0;
  size_t bestLen = 0;
  for (const auto& [letter, root] : roots_) {
    const bool under = root == "/" || abs == root || abs.rfind(root + "/", 0) == 0;
    if (under && (best == 0 || root.size() > bestLen)) {
      best = letter;
      bestLen = root.size();
    }
  }
  if (best == 0) return {};
  std::string rest =
      roots_.at(best) == "/" ? abs.substr(1) : abs.substr(std::min(abs.size(), bestLen + 1));
  while (!rest.empty() && rest.back() == '/') rest.pop_back();
  for (char& c : rest)
    if (c == '/') c = '\\';
  return std::string(1, best) + ":\\" + rest;
}

void HostFileSystem::LimitFileSize(const std::string& dir, uint64_t bytes) {
  limitDir_ = std::filesystem::absolute(dir).lexically_normal().string();
  while (limitDir_.size() > 1 && limitDir_.back() == '/') limitDir_.pop_back();
  limit_ = bytes;
}

std::string HostFileSystem::HostPath(std::string_view path, std::string_view call) const {
  platform::sim::WinPath current;
  current.drive = roots_.empty() ? 'C' : roots_.begin()->first;
  const platform::sim::WinPath p = platform::sim::ParseWindowsPath(path, current, call);
  const auto it = roots_.find(p.drive);
  if (it == roots_.end()) Refuse(call, path, platform::kErrorPathNotFound);
  std::string host = it->second == "/" ? "" : it->second;
  for (const std::string& part : p.parts) host += "/" + part;
  return host.empty() ? "/" : host;
}

std::unique_ptr<platform::File> HostFileSystem::Open(std::string_view path, uint32_t access,
                                                     uint32_t, platform::Disposition disposition) {
  const char* call = "CreateFileW";
  const std::string host = HostPath(path, call);
  if (IsDir(host)) Refuse(call, path, platform::kErrorAccessDenied);
  // The machine's rule: a read-only file is neither written nor truncated
  // (the host would let root do both).
  const bool truncates = disposition == platform::Disposition::CreateAlways ||
                         disposition == platform::Disposition::TruncateExisting;
  if (((access & platform::kAccessWrite) || truncates) && ReadOnly(host))
    Refuse(call, path, platform::kErrorAccessDenied);
  int flags = O_CLOEXEC | ((access & platform::kAccessWrite) ? O_RDWR : O_RDONLY);
  switch (disposition) {
    case platform::Disposition::CreateNew:
      flags |= O_CREAT | O_EXCL;
      break;
    case platform::Disposition::CreateAlways:
      flags |= O_CREAT | O_TRUNC | O_RDWR;
      break;
    case platform::Disposition::OpenExisting:
      break;
    case platform::Disposition::OpenAlways:
      flags |= O_CREAT;
      break;
    case platform::Disposition::TruncateExisting:
      flags |= O_TRUNC;
      break;
  }
  const int fd = platform::sim::OpenRegularFile(host, flags, 0644, call, path);
  if (fd < 0) {
    if (errno == EEXIST) Refuse(call, path, platform::kErrorFileExists);
    if (errno == ENOENT && !IsDir(ParentOf(host))) Refuse(call, path, platform::kErrorPathNotFound);
    RefuseErrno(call, path);
  }
  const uint64_t limit = !limitDir_.empty() && ParentOf(host) == limitDir_ ? limit_ : 0;
  return std::make_unique<HostFile>(fd, std::string(path), limit);
}

std::optional<platform::FileInfo> HostFileSystem::Stat(std::string_view path) {
  std::string host;
  try {
    host = HostPath(path, "GetFileAttributesExW");
  } catch (const OsError&) {
    return std::nullopt;
  }
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return std::nullopt;
  platform::FileInfo info;
  const bool dir = S_ISDIR(st.st_mode);
  info.attributes =
      dir ? platform::kAttrDirectory
          : platform::kAttrArchive |
                (platform::sim::HostReadOnly(st) ? uint32_t(platform::kAttrReadOnly) : 0u);
  info.size = dir ? 0 : uint64_t(st.st_size);
  info.lastWrite = platform::sim::FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return info;
}

void HostFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  const std::string host = HostPath(path, "SetFileAttributesW");
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) RefuseErrno("SetFileAttributesW", path);
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & platform::kAttrReadOnly) ? mode & ~mode_t(0222) : mode | S_IWUSR;
  if (::chmod(host.c_str(), mode) != 0) RefuseErrno("SetFileAttributesW", path);
}

void HostFileSystem::SetLastWriteTime(std::string_view path, platform::FileTime time) {
  const std::string host = HostPath(path, "SetFileTime");
  int64_t sec, nsec;
  platform::sim::HostTimeOf(time, sec, nsec);
  struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(sec), long(nsec)}};
  if (::utimensat(AT_FDCWD, host.c_str(), times, 0) != 0) RefuseErrno("SetFileTime", path);
}

void HostFileSystem::DeleteFile(std::string_view path) {
  const std::string host = HostPath(path, "DeleteFileW");
  if (IsDir(host) || ReadOnly(host)) Refuse("DeleteFileW", path, platform::kErrorAccessDenied);
  if (::unlink(host.c_str()) != 0) RefuseErrno("DeleteFileW", path);
}

void HostFileSystem::MoveFile(std::string_view from, std::string_view to, uint32_t flags) {
  const char* call = "MoveFileExW";
  const std::string src = HostPath(from, call), dst = HostPath(to, call);
  struct stat st;
  if (::lstat(dst.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) Refuse(call, to, platform::kErrorAccessDenied);
    if (!(flags & platform::kMoveReplaceExisting)) Refuse(call, to, platform::kErrorAlreadyExists);
    if (platform::sim::HostReadOnly(st)) Refuse(call, to, platform::kErrorAccessDenied);
  }
  if (::rename(src.c_str(), dst.c_str()) == 0) return;
  if (errno != EXDEV) RefuseErrno(call, from);
  if (!(flags & platform::kMoveCopyAllowed)) Refuse(call, from, platform::kErrorNotSameDevice);
  CopyFile(from, to, false);
  DeleteFile(from);
}

void HostFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  const char* call = "CopyFileW";
  const std::string src = HostPath(from, call), dst = HostPath(to, call);
  if (failIfExists && ::access(dst.c_str(), F_OK) == 0)
    Refuse(call, to, platform::kErrorFileExists);
  if (ReadOnly(dst)) Refuse(call, to, platform::kErrorAccessDenied);
  {
    // Only a regular file is copied (a FIFO would block the copy).
    const int fd = platform::sim::OpenRegularFile(src, O_RDONLY | O_CLOEXEC, 0, call, from);
    if (fd < 0) RefuseErrno(call, from);
    ::close(fd);
  }
  std::error_code ec;
  std::filesystem::copy_file(src, dst, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) Refuse(call, from, platform::sim::WindowsCodeOf(ec.value()));
  struct stat st;
  if (::stat(src.c_str(), &st) == 0) {
    struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    ::utimensat(AT_FDCWD, dst.c_str(), times, 0);
  }
}

void HostFileSystem::CreateDirectory(std::string_view path) {
  const std::string host = HostPath(path, "CreateDirectoryW");
  if (::mkdir(host.c_str(), 0755) == 0) return;
  if (errno == ENOENT) Refuse("CreateDirectoryW", path, platform::kErrorPathNotFound);
  RefuseErrno("CreateDirectoryW", path);
}

void HostFileSystem::RemoveDirectory(std::string_view path) {
  const std::string host = HostPath(path, "RemoveDirectoryW");
  if (!IsDir(host)) Refuse("RemoveDirectoryW", path, platform::kErrorDirectory);
  if (::rmdir(host.c_str()) != 0) RefuseErrno("RemoveDirectoryW", path);
}

std::vector<platform::DirEntry> HostFileSystem::FindFiles(std::string_view pattern) {
  const char* call = "FindFirstFileW";
  const std::string text(pattern);
  const size_t slash = text.find_last_of("\\/");
  const std::string dirPart = slash == std::string::npos ? "." : text.substr(0, slash + 1);
  const std::string mask = slash == std::string::npos ? text : text.substr(slash + 1);
  const std::string host = HostPath(dirPart, call);
  DIR* d = ::opendir(host.c_str());
  if (!d) Refuse(call, pattern, platform::kErrorPathNotFound);
  std::vector<platform::DirEntry> out;
  while (dirent* e = ::readdir(d)) {
    if (!platform::sim::WildcardMatch(mask, e->d_name)) continue;
    struct stat st;
    if (::stat((host + "/" + e->d_name).c_str(), &st) != 0) continue;
    platform::DirEntry entry;
    entry.name = e->d_name;
    entry.attributes = S_ISDIR(st.st_mode) ? platform::kAttrDirectory : platform::kAttrArchive;
    entry.size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
    entry.lastWrite = platform::sim::FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    out.push_back(std::move(entry));
  }
  ::closedir(d);
  return out;
}

platform::DiskSpace HostFileSystem::FreeSpace(std::string_view path) {
  const std::string host = HostPath(path, "GetDiskFreeSpaceExW");
  struct statvfs vfs;
  if (::statvfs(host.c_str(), &vfs) != 0) RefuseErrno("GetDiskFreeSpaceExW", path);
  return {uint64_t(vfs.f_bavail) * vfs.f_frsize, uint64_t(vfs.f_blocks) * vfs.f_frsize};
}

std::string HostFileSystem::FullPathName(std::string_view path) {
  platform::sim::WinPath current;
  current.drive = roots_.empty() ? 'C' : roots_.begin()->first;
  return platform::sim::ParseWindowsPath(path, current, "GetFullPathNameW").Text();
}

}  // namespace archive_tool
