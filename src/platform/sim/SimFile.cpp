// Reading, writing and positioning an open file of the simulated machine
// (see SimFile.h).
#include "platform/sim/SimFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {

SimFile::SimFile(MachineCore& core, int fd, std::string path, char drive, const OpenHandle& handle,
                 bool changed)
    : core_(core),
      fd_(fd),
      path_(std::move(path)),
      drive_(drive),
      access_(handle.access),
      handle_(core.Register(handle)),
      written_(changed) {}

SimFile::~SimFile() {
  CloseNoThrow();
}

void SimFile::CheckOpen(const char* call) const {
  if (fd_ < 0) Refuse(call, path_, kErrorInvalidHandle);
}

size_t SimFile::Read(void* buffer, size_t count) {
  CheckOpen("ReadFile");
  if (!(access_ & kAccessRead)) Refuse("ReadFile", path_, kErrorAccessDenied);
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::pread(fd_, out + done, count - done, off_t(position_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RefuseErrno("ReadFile", path_);
    if (n == 0) break;
    done += size_t(n);
  }
  position_ += done;
  return done;
}

void SimFile::Write(const void* data, size_t count) {
  CheckOpen("WriteFile");
  if (!(access_ & kAccessWrite)) Refuse("WriteFile", path_, kErrorAccessDenied);
  if (count == 0) return;
  if (count > uint64_t(std::numeric_limits<off_t>::max()) - position_)
    Refuse("WriteFile", path_, kErrorDiskFull);
  Faults::BeforeWrite(drive_, count, "WriteFile", path_);
  uint64_t size = Size();
  uint64_t end = position_ + count;
  uint64_t growth = end > size ? end - size : 0;
  core_.Reserve(drive_, growth, "WriteFile", path_);
  const auto* in = static_cast<const char*>(data);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(fd_, in + done, count - done, off_t(position_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // All or nothing: cut what this call added and give the space back.
      int err = n < 0 ? errno : ENOSPC;
      if (growth && ::ftruncate(fd_, off_t(size)) == 0) core_.Release(drive_, growth);
      errno = err;
      RefuseErrno("WriteFile", path_);
    }
    done += size_t(n);
  }
  position_ = end;
  written_ = true;
  KeepExplicitTime();
}

uint64_t SimFile::Seek(int64_t offset, SeekOrigin origin) {
  CheckOpen("SetFilePointerEx");
  int64_t base = 0;
  if (origin == SeekOrigin::Current) base = int64_t(position_);
  if (origin == SeekOrigin::End) base = int64_t(Size());
  if ((offset < 0 && base < -offset) ||
      (offset > 0 && base > std::numeric_limits<off_t>::max() - offset))
    Refuse("SetFilePointerEx", path_,
           offset < 0 ? uint32_t(kErrorNegativeSeek) : uint32_t(kErrorInvalidParameter));
  position_ = uint64_t(base + offset);
  return position_;
}

uint64_t SimFile::Position() {
  CheckOpen("SetFilePointerEx");
  return position_;
}

uint64_t SimFile::Size() {
  CheckOpen("GetFileSizeEx");
  struct stat st;
  if (::fstat(fd_, &st) != 0) RefuseErrno("GetFileSizeEx", path_);
  return uint64_t(st.st_size);
}

void SimFile::SetEndOfFile() {
  CheckOpen("SetEndOfFile");
  if (!(access_ & kAccessWrite)) Refuse("SetEndOfFile", path_, kErrorAccessDenied);
  uint64_t size = Size();
  if (position_ > size) core_.Reserve(drive_, position_ - size, "SetEndOfFile", path_);
  if (::ftruncate(fd_, off_t(position_)) != 0) {
    int err = errno;
    if (position_ > size) core_.Release(drive_, position_ - size);
    errno = err;
    RefuseErrno("SetEndOfFile", path_);
  }
  if (position_ < size) core_.Release(drive_, size - position_);
  written_ = true;
  KeepExplicitTime();
}

void SimFile::KeepExplicitTime() {
  if (timeExplicit_) SetLastWriteTime(explicitTime_);
}

FileTime SimFile::LastWriteTime() {
  CheckOpen("GetFileTime");
  struct stat st;
  if (::fstat(fd_, &st) != 0) RefuseErrno("GetFileTime", path_);
  return FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

void SimFile::SetLastWriteTime(FileTime time) {
  CheckOpen("SetFileTime");
  if (!(access_ & kAccessWrite)) Refuse("SetFileTime", path_, kErrorAccessDenied);
  int64_t sec, nsec;
  HostTimeOf(time, sec, nsec);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = time_t(sec);
  times[1].tv_nsec = long(nsec);
  if (::futimens(fd_, times) != 0) RefuseErrno("SetFileTime", path_);
  timeExplicit_ = true;
  explicitTime_ = time;
}

void SimFile::Close() {
  CheckOpen("CloseHandle");
  // The File interface has no flush of its own: closing is where Windows
  // reports a write it could not finish late (a full or vanished disk), so
  // a written file's close is the flush a fault plan fails. The handle is
  // gone either way, as CloseHandle releases it even when it fails.
  const bool flushes = written_;
  CloseNoThrow();
  if (flushes) Faults::Before(FaultKind::Flush, "CloseHandle", path_);
}

void SimFile::CloseNoThrow() noexcept {
  if (fd_ < 0) return;
  // A machine on a fixed or shifted clock stamps written files with its own
  // time, as Windows stamps them with the system time.
  if (written_ && !timeExplicit_ && core_.Settings().clockMode != ClockMode::Real) {
    try {
      SetLastWriteTime(core_.NowUtc());
    } catch (...) {
      // The data is written; a missed time stamp is not worth a failure here.
    }
  }
  ::close(fd_);
  fd_ = -1;
  core_.Unregister(handle_);
  handle_ = nullptr;
}

}  // namespace platform::sim
