// File operations of the simulated machine with the Windows rules and
// error codes (see SimFileSystem.h and platform/FileSystem.h).
#include "platform/sim/SimFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "framework/StrUtils.h"
#include "platform/sim/HostFileRules.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFile.h"

namespace platform::sim {
namespace {

constexpr size_t kCopyBuffer = 65536;

// Host names that no Windows path can reach (the machine's own temporary
// files, or files put there by hand) are left out of listings.
bool IsWindowsName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (unsigned char c : name)
    if (c < 0x20 || std::string_view("<>:\"|?*\\").find(char(c)) != std::string_view::npos)
      return false;
  return true;
}

bool Within(const std::string& key, const std::string& dirKey) {
  return key.size() > dirKey.size() && key.compare(0, dirKey.size(), dirKey) == 0 &&
         (dirKey.back() == '\\' || key[dirKey.size()] == '\\');
}

// Closes a host descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Cuts an open file to nothing and stamps it now, as a truncating open
// does. An empty file only gets the stamp: on ext4 a file truncated to zero
// is flushed to disk when it is closed (its "replace by truncate"
// safeguard), which made every download into a reserved temporary name
// wait for its whole write-back.
bool TruncateToEmpty(int fd, const struct stat& st) {
  if (st.st_size > 0) return ::ftruncate(fd, 0) == 0;
  const struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
  return ::futimens(fd, times) == 0;
}

// Replaces the empty file `dst` by `src` by swapping the two names, which
// is as atomic as a rename for `dst`. On ext4 a rename over an existing
// file first flushes the renamed file to disk (the "replace by rename"
// safeguard), which made a finished download wait for its write-back when
// it took the empty name reserved for it; a swap is not flushed. False
// when the swap does not apply or the host cannot swap (nothing changed):
// the caller renames.
bool ReplaceEmptyByExchange(const Resolved& src, const Resolved& dst) {
  if (!dst.exists || dst.isDir || src.isDir || dst.size != 0) return false;
  return ::renameat2(AT_FDCWD, src.host.c_str(), AT_FDCWD, dst.host.c_str(), RENAME_EXCHANGE) == 0;
}

}  // namespace

std::unique_ptr<File> SimFileSystem::Open(std::string_view path, uint32_t access, uint32_t share,
                                          Disposition disposition) {
  const char* call = "CreateFileW";
  if ((access & (kAccessRead | kAccessWrite)) == 0 || (access & ~3u) || (share & ~7u))
    Refuse(call, path, kErrorInvalidParameter);
  Resolved r = core_.Resolve(path, call);
  // The user at a removable drive changes disks around the program's prompt.
  const bool creates = disposition == Disposition::CreateNew ||
                       disposition == Disposition::CreateAlways ||
                       disposition == Disposition::OpenAlways;
  if ((creates && core_.Removable().BeforeCreate(r.path.drive)) ||
      (!r.exists && !creates && core_.Removable().Missing(r)))
    r = core_.Resolve(path, call);
  if (r.path.IsRoot() || (r.exists && r.isDir)) Refuse(call, path, kErrorAccessDenied);
  bool truncate = false;
  switch (disposition) {
    case Disposition::CreateNew:
      if (r.exists) Refuse(call, path, kErrorFileExists);
      break;
    case Disposition::CreateAlways:
      truncate = r.exists;
      break;
    case Disposition::OpenExisting:
      if (!r.exists) Refuse(call, path, kErrorFileNotFound);
      break;
    case Disposition::OpenAlways:
      break;
    case Disposition::TruncateExisting:
      if (!(access & kAccessWrite)) Refuse(call, path, kErrorInvalidParameter);
      if (!r.exists) Refuse(call, path, kErrorFileNotFound);
      truncate = true;
      break;
    default:
      Refuse(call, path, kErrorInvalidParameter);
  }
  if (r.exists) {
    if (r.readOnly && ((access & kAccessWrite) || truncate)) Refuse(call, path, kErrorAccessDenied);
    core_.CheckShare(r, truncate ? access | kAccessWrite : access, share, call, path);
  }

  if (creates) Faults::Before(FaultKind::Create, call, path);
  int flags = O_CLOEXEC | O_NOFOLLOW | ((access & kAccessWrite) || truncate ? O_RDWR : O_RDONLY);
  if (!r.exists) flags |= O_CREAT | O_EXCL;
  int fd = OpenRegularFile(r.host, flags, 0644, call, path);
  if (fd < 0) {
    if (errno == EEXIST) Refuse(call, path, kErrorFileExists);  // created meanwhile
    RefuseErrno(call, path);
  }
  if (!r.exists) core_.Tree().Added(r.hostParent, r.hostName);
  struct stat st;
  if (::fstat(fd, &st) != 0 || (truncate && !TruncateToEmpty(fd, st))) {
    int err = errno;
    ::close(fd);
    errno = err;
    RefuseErrno(call, path);
  }
  if (truncate) core_.Release(r.path.drive, uint64_t(st.st_size));
  OpenHandle handle{st.st_dev, st.st_ino, r.path.Key(), access, share};
  return std::make_unique<SimFile>(core_, fd, r.path.Text(), r.path.drive, handle,
                                   !r.exists || truncate);
}

std::optional<FileInfo> SimFileSystem::Stat(std::string_view path) {
  try {
    Resolved r = core_.Resolve(path, "GetFileAttributesExW");
    if (!r.exists && core_.Removable().Missing(r)) r = core_.Resolve(path, "GetFileAttributesExW");
    if (!r.exists) return std::nullopt;
    FileInfo info;
    info.attributes =
        r.isDir ? kAttrDirectory : kAttrArchive | (r.readOnly ? uint32_t(kAttrReadOnly) : 0u);
    info.size = r.size;
    info.lastWrite = r.lastWrite;
    return info;
  } catch (const OsError&) {
    return std::nullopt;
  }
}

void SimFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  const char* call = "SetFileAttributesW";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  uint32_t wanted = attributes & ~(kAttrNormal | kAttrArchive | kAttrDirectory);
  // The machine keeps the read-only bit of files only (in the host's owner
  // write permission); other bits would be lost, so they are refused.
  if ((wanted & ~kAttrReadOnly) || (r.isDir && wanted)) Refuse(call, path, kErrorInvalidParameter);
  if (r.isDir) return;
  struct stat st;
  if (::lstat(r.host.c_str(), &st) != 0) RefuseErrno(call, path);
  mode_t mode = st.st_mode & 07777;
  mode = (wanted & kAttrReadOnly) ? mode & ~mode_t(S_IWUSR) : mode | S_IWUSR;
  if (::chmod(r.host.c_str(), mode) != 0) RefuseErrno(call, path);
}

void SimFileSystem::SetLastWriteTime(std::string_view path, FileTime time) {
  const char* call = "SetFileTime";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  int64_t sec, nsec;
  HostTimeOf(time, sec, nsec);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = time_t(sec);
  times[1].tv_nsec = long(nsec);
  if (::utimensat(AT_FDCWD, r.host.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
    RefuseErrno(call, path);
}

void SimFileSystem::DeleteFile(std::string_view path) {
  const char* call = "DeleteFileW";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  if (r.isDir || r.readOnly) Refuse(call, path, kErrorAccessDenied);
  core_.CheckDeletable(r, call, path);
  Faults::Before(FaultKind::Delete, call, path);
  if (::unlink(r.host.c_str()) != 0) RefuseErrno(call, path);
  core_.Tree().Removed(r.hostParent, r.hostName);
  core_.Release(r.path.drive, r.size);
}

void SimFileSystem::MoveFile(std::string_view from, std::string_view to, uint32_t flags) {
  const char* call = "MoveFileExW";
  if (flags & ~(kMoveReplaceExisting | kMoveCopyAllowed))
    Refuse(call, from, kErrorInvalidParameter);
  Resolved src = core_.Resolve(from, call);
  if (!src.exists) Refuse(call, from, kErrorFileNotFound);
  WinPath given = core_.Parse(to, call);
  if (src.path.IsRoot() || given.IsRoot()) Refuse(call, from, kErrorAccessDenied);
  Resolved dst = core_.Tree().Resolve(given, call, to);
  const std::string& newName = given.parts.back();
  bool same = dst.exists && dst.device == src.device && dst.inode == src.inode;

  if (src.isDir) {
    core_.CheckTreeFree(src, call, from);
    if (Within(dst.path.Key(), src.path.Key())) Refuse(call, to, kErrorSharingViolation);
  } else {
    core_.CheckDeletable(src, call, from);
  }
  Faults::Before(FaultKind::Move, call, from);
  if (same) {
    // Only the case of the name changes (or nothing at all).
    if (src.hostName == newName) return;
    std::string target = src.hostParent + "/" + newName;
    if (::rename(src.host.c_str(), target.c_str()) != 0) RefuseErrno(call, from);
    core_.Tree().Removed(src.hostParent, src.hostName);
    core_.Tree().Added(src.hostParent, newName);
    if (src.isDir) core_.Tree().Forget(src.host);
    return;
  }
  if (dst.exists) {
    if (!(flags & kMoveReplaceExisting)) Refuse(call, to, kErrorAlreadyExists);
    if (dst.isDir || src.isDir || dst.readOnly) Refuse(call, to, kErrorAccessDenied);
    core_.CheckDeletable(dst, call, to);
  }

  if (src.path.drive != dst.path.drive) {
    if (src.isDir || !(flags & kMoveCopyAllowed)) Refuse(call, to, kErrorNotSameDevice);
    CopyInto(src, dst, newName, call, to);
    // As on Windows, a copied file whose original cannot be deleted still
    // counts as moved; the checks above make that rare.
    if (::unlink(src.host.c_str()) == 0) {
      core_.Tree().Removed(src.hostParent, src.hostName);
      core_.Release(src.path.drive, src.size);
    }
    return;
  }

  // Same drive: one host rename, atomic even when it replaces a file. A
  // replaced name of another case is then given the new case.
  std::string target = dst.exists ? dst.host : dst.hostParent + "/" + newName;
  if (ReplaceEmptyByExchange(src, dst)) {
    // The emptied old file now has the source's name; it goes, and should
    // it stay, it is an empty file under the name that was moved away.
    if (::unlink(src.host.c_str()) == 0) core_.Tree().Removed(src.hostParent, src.hostName);
  } else {
    if (::rename(src.host.c_str(), target.c_str()) != 0) RefuseErrno(call, from);
    core_.Tree().Removed(src.hostParent, src.hostName);
  }
  if (src.isDir) core_.Tree().Forget(src.host);
  if (dst.exists) {
    core_.Release(dst.path.drive, dst.size);
    if (dst.hostName != newName) {
      std::string renamed = dst.hostParent + "/" + newName;
      if (::rename(target.c_str(), renamed.c_str()) == 0) {
        core_.Tree().Removed(dst.hostParent, dst.hostName);
        target = renamed;
      }
    }
  }
  core_.Tree().Added(dst.hostParent, target.substr(dst.hostParent.size() + 1));
}

void SimFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  const char* call = "CopyFileW";
  Resolved src = core_.Resolve(from, call);
  if (!src.exists) Refuse(call, from, kErrorFileNotFound);
  if (src.isDir) Refuse(call, from, kErrorAccessDenied);
  core_.CheckShare(src, kAccessRead, kShareRead | kShareDelete, call, from);
  WinPath given = core_.Parse(to, call);
  if (given.IsRoot()) Refuse(call, to, kErrorAccessDenied);
  Resolved dst = core_.Tree().Resolve(given, call, to);
  if (dst.exists) {
    if (dst.isDir) Refuse(call, to, kErrorAccessDenied);
    if (dst.device == src.device && dst.inode == src.inode)
      Refuse(call, to, kErrorSharingViolation);
    if (failIfExists) Refuse(call, to, kErrorFileExists);
    if (dst.readOnly) Refuse(call, to, kErrorAccessDenied);
    core_.CheckShare(dst, kAccessWrite, kShareNone, call, to);
  }
  Faults::Before(FaultKind::Create, call, to);
  CopyInto(src, dst, given.parts.back(), call, to);
}

void SimFileSystem::CopyInto(const Resolved& src, const Resolved& dst, const std::string& name,
                             std::string_view call, std::string_view subject) {
  uint64_t old = dst.exists ? dst.size : 0;
  uint64_t growth = src.size > old ? src.size - old : 0;
  core_.Reserve(dst.path.drive, growth, call, subject);
  // '?' makes the temporary name one that no Windows path can name.
  std::string temp =
      dst.hostParent + "/?copy-" + std::to_string(::getpid()) + "-" + std::to_string(++copySerial_);
  auto fail = [&](int err) {
    ::unlink(temp.c_str());
    core_.Release(dst.path.drive, growth);
    errno = err;
    RefuseErrno(call, subject);
  };
  {
    Fd in;
    try {
      in.fd = OpenRegularFile(src.host, O_RDONLY | O_CLOEXEC | O_NOFOLLOW, 0, call, subject);
    } catch (...) {
      core_.Release(dst.path.drive, growth);
      throw;
    }
    if (in.fd < 0) fail(errno);
    struct stat st;
    if (::fstat(in.fd, &st) != 0) fail(errno);
    Fd out{::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)};
    if (out.fd < 0) fail(errno);
    std::vector<char> buffer(kCopyBuffer);
    while (true) {
      ssize_t n = ::read(in.fd, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) fail(errno);
      if (n == 0) break;
      for (ssize_t done = 0; done < n;) {
        ssize_t w = ::write(out.fd, buffer.data() + done, size_t(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) fail(w < 0 ? errno : ENOSPC);
        done += w;
      }
    }
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::fchmod(out.fd, st.st_mode & 07777) != 0 || ::futimens(out.fd, times) != 0) fail(errno);
  }
  std::string target = dst.exists ? dst.host : dst.hostParent + "/" + name;
  if (::rename(temp.c_str(), target.c_str()) != 0) fail(errno);
  if (!dst.exists) core_.Tree().Added(dst.hostParent, name);
  if (old > src.size) core_.Release(dst.path.drive, old - src.size);
}

void SimFileSystem::CreateDirectory(std::string_view path) {
  const char* call = "CreateDirectoryW";
  WinPath given = core_.Parse(path, call);
  if (given.IsRoot()) Refuse(call, path, kErrorAccessDenied);
  Resolved r = core_.Tree().Resolve(given, call, path);
  if (r.exists) Refuse(call, path, kErrorAlreadyExists);
  if (::mkdir(r.host.c_str(), 0755) != 0) RefuseErrno(call, path);
  core_.Tree().Added(r.hostParent, r.hostName);
}

void SimFileSystem::RemoveDirectory(std::string_view path) {
  const char* call = "RemoveDirectoryW";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  if (!r.isDir) Refuse(call, path, kErrorDirectory);
  if (r.path.IsRoot()) Refuse(call, path, kErrorAccessDenied);
  core_.CheckTreeFree(r, call, path);
  Faults::Before(FaultKind::Delete, call, path);
  if (::rmdir(r.host.c_str()) != 0) {
    if (errno == ENOTEMPTY || errno == EEXIST) Refuse(call, path, kErrorDirNotEmpty);
    RefuseErrno(call, path);
  }
  core_.Tree().Forget(r.host);
  core_.Tree().Removed(r.hostParent, r.hostName);
}

std::vector<DirEntry> SimFileSystem::FindFiles(std::string_view pattern) {
  const char* call = "FindFirstFileW";
  WinPath full = core_.Parse(pattern, call, true);
  if (full.IsRoot()) return {};
  std::string pat = full.parts.back();
  Resolved dir = core_.Tree().Resolve(full.Parent(), call, pattern);
  if (!dir.exists || !dir.isDir) Refuse(call, pattern, kErrorPathNotFound);

  std::vector<DirEntry> entries;
  auto add = [&](std::string name, const struct stat& st) {
    DirEntry e;
    e.name = std::move(name);
    e.attributes = S_ISDIR(st.st_mode)
                       ? kAttrDirectory
                       : kAttrArchive | ((st.st_mode & S_IWUSR) ? 0u : uint32_t(kAttrReadOnly));
    e.size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
    e.lastWrite = FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    entries.push_back(std::move(e));
  };
  struct stat st;
  if (!HasWildcards(pat)) {
    // A plain name (long or short) names at most one entry.
    Resolved one = core_.Tree().Resolve(full, call, pattern);
    if (one.exists && ::lstat(one.host.c_str(), &st) == 0) add(one.hostName, st);
    return entries;
  }
  if (!dir.path.IsRoot()) {
    std::string parentHost = dir.hostParent.empty() ? dir.host : dir.hostParent;
    if (WildcardMatch(pat, ".") && ::stat(dir.host.c_str(), &st) == 0) add(".", st);
    if (WildcardMatch(pat, "..") && ::stat(parentHost.c_str(), &st) == 0) add("..", st);
  }
  DIR* d = ::opendir(dir.host.c_str());
  if (!d) RefuseErrno(call, pattern);
  std::vector<DirEntry> found;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || !IsWindowsName(name) || !WildcardMatch(pat, name)) continue;
    if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(st.st_mode))
      continue;
    add(std::move(name), st);
  }
  ::closedir(d);
  // Windows' own file system lists by upper-case name; keep that order.
  std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
    bool aDots = a.name == "." || a.name == "..", bDots = b.name == "." || b.name == "..";
    if (aDots != bDots) return aDots;
    return CompareText(a.name, b.name) < 0;
  });
  return entries;
}

DiskSpace SimFileSystem::FreeSpace(std::string_view path) {
  const char* call = "GetDiskFreeSpaceExW";
  WinPath p = core_.Parse(path, call);
  std::string driveDir = core_.Tree().DriveDir(p.drive);
  struct stat st;
  if (::lstat(driveDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    Refuse(call, path, kErrorPathNotFound);
  if (auto capacity = core_.Capacity(p.drive)) {
    uint64_t used = core_.UsedBytes(p.drive);
    return {used >= *capacity ? 0 : *capacity - used, *capacity};
  }
  struct statvfs vfs;
  if (::statvfs(driveDir.c_str(), &vfs) != 0) RefuseErrno(call, path);
  return {uint64_t(vfs.f_bavail) * vfs.f_frsize, uint64_t(vfs.f_blocks) * vfs.f_frsize};
}

std::string SimFileSystem::FullPathName(std::string_view path) {
  WinPath p = core_.Parse(path, "GetFullPathNameW");
  std::string text = p.Text();
  if (!p.IsRoot() && (path.back() == '\\' || path.back() == '/')) text += '\\';
  return text;
}

}  // namespace platform::sim
