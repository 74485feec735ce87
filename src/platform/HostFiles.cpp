// Bounded reading of host files (see HostFiles.h). On POSIX the file is
// opened without blocking (a FIFO without a writer would otherwise wait
// forever in open) and read with plain read() calls; on Windows through
// the wide C runtime call, so any path works.
#include "platform/HostFiles.h"

#include <cerrno>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <cstdio>

#include "framework/Utf8.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

constexpr size_t kChunk = 64 * 1024;

std::string SystemText(int error) {
  return std::strerror(error);
}

[[noreturn]] void TooLarge(size_t limit) {
  throw EHostFileError("the file is larger than the limit of " + ByteLimitText(limit));
}

#ifdef _WIN32
struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
#else
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const noexcept { return fd_; }

 private:
  int fd_;
};
#endif

}  // namespace

std::string ByteLimitText(uint64_t limit) {
  const std::string bytes = std::to_string(limit) + " bytes";
  constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024;
  if (limit >= kMiB && limit % kMiB == 0)
    return std::to_string(limit / kMiB) + " MiB (" + bytes + ")";
  if (limit >= kKiB && limit % kKiB == 0)
    return std::to_string(limit / kKiB) + " KiB (" + bytes + ")";
  return bytes;
}

std::string ReadHostFile(const std::string& path, size_t limit) {
  std::string text;
  char buffer[kChunk];
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(path);
  std::unique_ptr<std::FILE, FileCloser> f(
      _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb"));
  if (!f) throw EHostFileError("the file cannot be opened (" + SystemText(errno) + ")");
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    if (n == 0) break;
    if (n > limit - text.size()) TooLarge(limit);
    text.append(buffer, n);
  }
  if (std::ferror(f.get())) throw EHostFileError("reading the file failed");
#else
  const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) throw EHostFileError("the file cannot be opened (" + SystemText(errno) + ")");
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0)
    throw EHostFileError("the file cannot be opened (" + SystemText(errno) + ")");
  if (S_ISDIR(st.st_mode)) throw EHostFileError("the path names a directory");
  // Reads wait for data again from here on (a pipe's writer may be slow);
  // a FIFO that nobody has open for writing reads as empty.
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > limit) TooLarge(limit);
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EHostFileError("reading the file failed (" + SystemText(errno) + ")");
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > limit - text.size()) TooLarge(limit);
    text.append(buffer, static_cast<size_t>(n));
  }
#endif
  return text;
}

}  // namespace platform
