// One hive on disk with its journal, lock and per-process cache (see
// HiveStore.h).
#include "platform/sim/HiveStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/OsError.h"
#include "platform/sim/HiveReader.h"
#include "platform/sim/HiveWriter.h"

namespace platform::sim {
namespace {

// Where the change count sits in the lock file: 8 bytes, little-endian.
constexpr off_t kChangeCountOffset = 0;
constexpr size_t kChangeCountSize = 8;

uint32_t WindowsCode(int err) {
  switch (err) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kErrorAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kErrorDiskFull;
    case ENAMETOOLONG:
      return kErrorInvalidName;
    default:
      return kErrorAccessDenied;
  }
}

[[noreturn]] void Refused(const char* call, const std::string& what, int err) {
  throw OsError(call, what, WindowsCode(err));
}

void WriteAll(int fd, std::string_view data, const std::string& what) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      Refused("WriteFile", what, errno);
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
}

// Reads [offset, end of file) of `fd`.
std::string ReadFrom(int fd, uint64_t offset, uint64_t size, const std::string& what) {
  std::string text;
  if (size <= offset) return text;
  text.resize(size - offset);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n =
        ::pread(fd, text.data() + done, text.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Refused("ReadFile", what, errno);
    }
    if (n == 0) break;  // shrank meanwhile: read what is there
    done += static_cast<size_t>(n);
  }
  text.resize(done);
  return text;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

class HiveStore::Lock {
 public:
  Lock(int fd, int how, const std::string& what) : fd_(fd) {
    while (::flock(fd_, how) != 0) {
      if (errno != EINTR) Refused("LockFileEx", what, errno);
    }
  }
  ~Lock() { ::flock(fd_, LOCK_UN); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  int fd_;
};

HiveStore::HiveStore(std::string dir, std::string rootName)
    : dir_(std::move(dir)), rootName_(std::move(rootName)) {
  hivePath_ = dir_ + "/" + rootName_ + ".reg";
  journalPath_ = dir_ + "/" + rootName_ + ".journal";
  lockPath_ = dir_ + "/" + rootName_ + ".lock";
}

HiveStore::~HiveStore() {
  CloseFd(lockFd_);
  CloseFd(journalFd_);
  CloseFd(hiveFd_);
}

void HiveStore::OpenLockFile() {
  if (lockFd_ >= 0) return;
  lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lockFd_ < 0) Refused("CreateFileW", lockPath_, errno);
}

uint64_t HiveStore::ReadChangeCount() {
  unsigned char b[kChangeCountSize] = {};
  const ssize_t n = ::pread(lockFd_, b, sizeof b, kChangeCountOffset);
  if (n < 0) Refused("ReadFile", lockPath_, errno);
  if (static_cast<size_t>(n) < sizeof b) return 0;  // new lock file
  uint64_t v = 0;
  for (int i = kChangeCountSize - 1; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

void HiveStore::WriteChangeCount(uint64_t count) {
  unsigned char b[kChangeCountSize];
  for (size_t i = 0; i < kChangeCountSize; ++i) b[i] = static_cast<unsigned char>(count >> (8 * i));
  const ssize_t n = ::pwrite(lockFd_, b, sizeof b, kChangeCountOffset);
  if (n != static_cast<ssize_t>(sizeof b)) Refused("WriteFile", lockPath_, n < 0 ? errno : ENOSPC);
  changeCount_ = count;
}

void HiveStore::Invalidate() {
  hive_.reset();
  CloseFd(hiveFd_);
}

void HiveStore::Refresh() {
  const uint64_t count = ReadChangeCount();
  struct stat st {};
  bool exists = true;
  if (::stat(hivePath_.c_str(), &st) != 0) {
    if (errno != ENOENT) Refused("GetFileAttributesW", hivePath_, errno);
    exists = false;
  }
  const bool sameHive = hive_ && (exists ? hiveFd_ >= 0 && SameFile(st, hiveStat_) : hiveFd_ < 0);
  if (!sameHive) {
    Reload();
  } else if (count != changeCount_) {
    CatchUpJournal();
  }
  changeCount_ = count;
}

void HiveStore::Reload() {
  Invalidate();
  auto hive = std::make_unique<Hive>(rootName_);
  int fd = ::open(hivePath_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) Refused("CreateFileW", hivePath_, errno);
    hiveStat_ = {};
    hiveBytes_ = 0;
  } else {
    try {
      if (::fstat(fd, &hiveStat_) != 0) Refused("GetFileSizeEx", hivePath_, errno);
      const std::string text = ReadFrom(fd, 0, static_cast<uint64_t>(hiveStat_.st_size), hivePath_);
      ReadHiveText(text, hivePath_, *hive);
      hiveBytes_ = text.size();
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  hiveFd_ = fd;
  journalRead_ = 0;
  journalLines_ = 0;
  journalStale_ = false;
  hive_ = std::move(hive);
  try {
    CatchUpJournal();
  } catch (...) {
    Invalidate();
    throw;
  }
}

void HiveStore::CatchUpJournal() {
  if (journalFd_ < 0) {
    journalFd_ = ::open(journalPath_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (journalFd_ < 0) {
      if (errno != ENOENT) Refused("CreateFileW", journalPath_, errno);
      return;  // no journal yet: nothing to replay
    }
  }
  struct stat st {};
  if (::fstat(journalFd_, &st) != 0) Refused("GetFileSizeEx", journalPath_, errno);
  const auto size = static_cast<uint64_t>(st.st_size);
  if (journalStale_) {
    // A writer starts the journal afresh when it finds it stale.
    journalStale_ = false;
    journalRead_ = 0;
    journalLines_ = 0;
  } else if (size < journalRead_) {
    Reload();  // the journal was folded away by a rewrite we missed
    return;
  }
  const std::string text = ReadFrom(journalFd_, journalRead_, size, journalPath_);
  size_t offset = 0;
  if (journalRead_ == 0) {
    const size_t end = text.find('\n');
    if (end == text.npos) return;  // empty, or a torn first append
    uint64_t generation = 0;
    if (!ParseJournalHeader(text.substr(0, end), generation))
      throw HiveError(journalPath_, 1, "journal header expected");
    journalLines_ = 1;
    if (generation != hive_->generation) {
      // Left by a rewrite that put the new hive in place but was stopped
      // before it emptied the journal: its changes are in the hive.
      journalStale_ = true;
      return;
    }
    offset = end + 1;
  }
  offset = ReplayJournal(text, offset, journalLines_, journalPath_, *hive_);
  journalRead_ += offset;
}

void HiveStore::Append(const std::string& line) {
  if (journalFd_ < 0) {
    journalFd_ = ::open(journalPath_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (journalFd_ < 0) Refused("CreateFileW", journalPath_, errno);
  }
  struct stat st {};
  if (::fstat(journalFd_, &st) != 0) Refused("GetFileSizeEx", journalPath_, errno);
  if (journalStale_) {
    journalRead_ = 0;
    journalLines_ = 0;
  }
  // Drop a stale journal or a torn last line before appending.
  if (static_cast<uint64_t>(st.st_size) != journalRead_ &&
      ::ftruncate(journalFd_, static_cast<off_t>(journalRead_)) != 0)
    Refused("SetEndOfFile", journalPath_, errno);
  journalStale_ = false;
  std::string data;
  if (journalRead_ == 0) data = FormatJournalHeader(hive_->generation);
  data += line;
  try {
    WriteAll(journalFd_, data, journalPath_);
  } catch (...) {
    // Leave no partial line behind; a failed cut shows as a torn line, which
    // readers skip and the next writer cuts.
    if (::ftruncate(journalFd_, static_cast<off_t>(journalRead_)) != 0) {
    }
    throw;
  }
  journalLines_ += journalRead_ == 0 ? 2 : 1;
  journalRead_ += data.size();
}

void HiveStore::WriteHive() {
  const std::string tmp = hivePath_ + ".tmp";
  const uint64_t generation = hive_->generation + 1;
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Refused("CreateFileW", tmp, errno);
  const uint64_t oldGeneration = hive_->generation;
  uint64_t bytes = 0;
  try {
    hive_->generation = generation;
    WriteHiveText(*hive_, [&](std::string_view chunk) {
      WriteAll(fd, chunk, tmp);
      bytes += chunk.size();
    });
    if (::fsync(fd) != 0) Refused("FlushFileBuffers", tmp, errno);
    if (::close(fd) != 0) {
      fd = -1;
      Refused("CloseHandle", tmp, errno);
    }
    fd = -1;
    if (::rename(tmp.c_str(), hivePath_.c_str()) != 0) Refused("MoveFileExW", hivePath_, errno);
  } catch (...) {
    hive_->generation = oldGeneration;
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  // Make the rename itself durable (best effort: the data already is).
  if (int dfd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  // The new hive holds every change: the journal, tagged with the old
  // generation, is stale from here on even if emptying it fails.
  CloseFd(hiveFd_);
  hiveFd_ = ::open(hivePath_.c_str(), O_RDONLY | O_CLOEXEC);
  if (hiveFd_ < 0 || ::fstat(hiveFd_, &hiveStat_) != 0) {
    Invalidate();
  }
  hiveBytes_ = bytes;
  journalStale_ = true;
  if (journalFd_ >= 0 && ::ftruncate(journalFd_, 0) == 0) {
    journalStale_ = false;
    journalRead_ = 0;
    journalLines_ = 0;
  }
  WriteChangeCount(changeCount_ + 1);
}

void HiveStore::Read(const std::function<void(const Hive&)>& f) {
  OpenLockFile();
  Lock lock(lockFd_, LOCK_SH, lockPath_);
  Refresh();
  f(*hive_);
}

ApplyResult HiveStore::Change(const JournalOp& op) {
  OpenLockFile();
  Lock lock(lockFd_, LOCK_EX, lockPath_);
  Refresh();
  ApplyResult r = ApplyJournalOp(*hive_, op);
  if (r.code != 0 || !r.changed) return r;
  try {
    Append(FormatJournalOp(op));
  } catch (...) {
    Invalidate();  // the cache holds a change the files do not
    throw;
  }
  WriteChangeCount(changeCount_ + 1);
  if (journalRead_ > std::max(kMinFoldBytes, hiveBytes_)) {
    try {
      WriteHive();
    } catch (const Exception&) {
      // Folding only saves replay time; the change is safe in the journal
      // and the next change tries again.
    }
  }
  return r;
}

void HiveStore::Flush() {
  OpenLockFile();
  Lock lock(lockFd_, LOCK_EX, lockPath_);
  Refresh();
  if (journalRead_ > 0 && !journalStale_) WriteHive();
}

}  // namespace platform::sim
