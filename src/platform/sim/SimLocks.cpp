// Named locks of the simulated machine (see SimLocks.h).
#include "platform/sim/SimLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/OsError.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {

// How often a waiting Acquire looks again; short against a setup's run.
constexpr std::chrono::milliseconds kPollInterval{20};

class SimHeldLock : public HeldLock {
 public:
  explicit SimHeldLock(int fd) : fd_(fd) {}
  // Closing the description drops the flock with it.
  ~SimHeldLock() override { ::close(fd_); }
  SimHeldLock(const SimHeldLock&) = delete;
  SimHeldLock& operator=(const SimHeldLock&) = delete;

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<HeldLock> SimLocks::Acquire(std::string_view name, std::chrono::milliseconds wait) {
  if (!IsValidLockName(name)) Refuse("CreateMutexW", name, kErrorInvalidName);
  const std::string dir = hostDir_ + "/locks";
  if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) RefuseErrno("CreateMutexW", dir);
  const std::string path = dir + "/" + std::string(name) + ".lock";
  // Close-on-exec: a program the machine starts must not inherit the lock.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) RefuseErrno("CreateMutexW", path);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (true) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<SimHeldLock>(fd);
    const int err = errno;
    if (err != EWOULDBLOCK && err != EINTR) {
      ::close(fd);
      errno = err;
      RefuseErrno("WaitForSingleObject", path);
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) break;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
  }
  ::close(fd);
  return nullptr;
}

}  // namespace platform::sim
