// Host access on a POSIX host (see HostAccess.h): getenv, and files opened
// without blocking (a FIFO without a writer would otherwise wait forever in
// open, one without a reader in an open for writing), then read or written
// with plain read() and write() calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/HostAccess.h"

namespace platform {
namespace {

constexpr size_t kChunk = 64 * 1024;

std::string SystemText(int error) {
  return std::strerror(error);
}

[[noreturn]] void CannotOpen(int error) {
  throw EHostFileError("the file cannot be opened (" + SystemText(error) + ")");
}

// A NUL inside a path would end the name there and open another file, so
// it is refused as a name no file has.
const char* CheckedPath(const std::string& path) {
  if (path.find('\0') != std::string::npos) CannotOpen(EINVAL);
  return path.c_str();
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const noexcept { return fd_; }
  int release() noexcept { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Opens `path` without blocking, refuses a directory, then lets reads and
// writes wait for data again (a pipe's other end may be slow). Returns the
// file's status for the caller's own checks.
struct stat OpenChecked(const Fd& fd) {
  if (fd.get() < 0) CannotOpen(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) CannotOpen(errno);
  if (S_ISDIR(st.st_mode)) throw EHostFileError("the path names a directory");
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  return st;
}

class PosixAppendFile final : public HostAppendFile {
 public:
  explicit PosixAppendFile(Fd& fd) : fd_(fd.release()) {}
  void Append(std::string_view text) override {
    while (!text.empty()) {
      const ssize_t n = ::write(fd_.get(), text.data(), text.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EHostFileError("writing the file failed (" + SystemText(errno) + ")");
      }
      text.remove_prefix(static_cast<size_t>(n));
    }
  }

 private:
  Fd fd_;
};

}  // namespace

std::optional<std::string> HostEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::string ReadHostFile(const std::string& path, size_t limit) {
  const Fd fd(::open(CheckedPath(path), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  // A FIFO that nobody has open for writing reads as empty.
  const struct stat st = OpenChecked(fd);
  const auto tooLarge = [limit] {
    return EHostFileError("the file is larger than the limit of " + ByteLimitText(limit));
  };
  if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > limit) throw tooLarge();
  std::string text;
  char buffer[kChunk];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EHostFileError("reading the file failed (" + SystemText(errno) + ")");
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > limit - text.size()) throw tooLarge();
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

std::unique_ptr<HostAppendFile> OpenHostAppendFile(const std::string& path) {
  // A FIFO without a reader fails (ENXIO) instead of waiting for one. A
  // directory fails in open already.
  Fd fd(::open(CheckedPath(path), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
  if (fd.get() < 0 && errno == EISDIR) throw EHostFileError("the path names a directory");
  OpenChecked(fd);
  return std::make_unique<PosixAppendFile>(fd);
}

}  // namespace platform
