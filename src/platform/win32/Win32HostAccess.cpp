// Host access on Windows (see HostAccess.h): GetEnvironmentVariableW and the
// wide C runtime calls, with UTF-8 <-> UTF-16 at this seam, so a path or a
// value in any script works whatever the system code page. The C runtime's
// error texts keep the messages the same as on the other build.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/HostAccess.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Text.h"

namespace platform {
namespace {

constexpr size_t kChunk = 64 * 1024;

std::string SystemText(int error) {
  return std::strerror(error);
}

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The C runtime opens a directory as "Permission denied"; say what it is.
void RefuseDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw EHostFileError("the path names a directory");
}

// A wide path for the C runtime; a NUL inside would end the name there and
// open another file, so it is refused as a name no file has.
std::wstring WidePath(const std::string& path) {
  if (path.find('\0') != std::string::npos)
    throw EHostFileError("the file cannot be opened (" + SystemText(EINVAL) + ")");
  return win32::Wide(path);
}

class Win32AppendFile final : public HostAppendFile {
 public:
  explicit Win32AppendFile(File f) : f_(std::move(f)) {}
  void Append(std::string_view text) override {
    if (std::fwrite(text.data(), 1, text.size(), f_.get()) != text.size() ||
        std::fflush(f_.get()) != 0)
      throw EHostFileError("writing the file failed (" + SystemText(errno) + ")");
  }

 private:
  File f_;
};

}  // namespace

std::optional<std::string> HostEnvironment(const std::string& name) {
  const std::wstring wide = win32::Wide(name);
  std::wstring value(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    // Too small: n is the size needed, with the terminating NUL.
    if (n >= value.size()) {
      value.assign(n, L'\0');
      continue;
    }
    value.resize(n);
    return win32::Narrow(value);
  }
}

std::string ReadHostFile(const std::string& path, size_t limit) {
  const std::wstring wide = WidePath(path);
  RefuseDirectory(wide);
  const File f(_wfopen(wide.c_str(), L"rb"));
  if (!f) throw EHostFileError("the file cannot be opened (" + SystemText(errno) + ")");
  std::string text;
  char buffer[kChunk];
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    if (n == 0) break;
    if (n > limit - text.size())
      throw EHostFileError("the file is larger than the limit of " + ByteLimitText(limit));
    text.append(buffer, n);
  }
  if (std::ferror(f.get()))
    throw EHostFileError("reading the file failed (" + SystemText(errno) + ")");
  return text;
}

std::unique_ptr<HostAppendFile> OpenHostAppendFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  RefuseDirectory(wide);
  File f(_wfopen(wide.c_str(), L"ab"));
  if (!f) throw EHostFileError("the file cannot be opened (" + SystemText(errno) + ")");
  return std::make_unique<Win32AppendFile>(std::move(f));
}

}  // namespace platform
