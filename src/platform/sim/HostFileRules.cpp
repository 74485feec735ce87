// The shared host-file rules (see HostFileRules.h).
#include "platform/sim/HostFileRules.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sim/SimErrors.h"

namespace platform::sim {

int OpenRegularFile(const std::string& host, int flags, mode_t mode, std::string_view call,
                    std::string_view subject) {
  // Without O_NONBLOCK, opening a FIFO for reading waits for a writer
  // that may never come.
  const int fd = ::open(host.c_str(), flags | O_NONBLOCK, mode);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    Refuse(call, subject, kErrorAccessDenied);
  }
  const int fl = ::fcntl(fd, F_GETFL);
  if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

}  // namespace platform::sim
