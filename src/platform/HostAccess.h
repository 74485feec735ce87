// Reaching the host itself (not the Windows machine a program works on):
// its environment variables and whole files such as the UI script, a form
// description named by a variable, the UI transcript, the tools' inputs and
// the simulated machine's own tables. Text is UTF-8 on both sides; on
// Windows the wide calls are used, so any name and any path work whatever
// the system code page. One implementation per build (sim/, win32/).
//
// Every read has a size limit and stops there, so a file that never ends
// (/dev/zero, a pipe) or a huge one cannot exhaust memory, and opening a
// FIFO that nobody writes to (or reads from) does not hang.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Exception.h"

namespace platform {

// A host file that could not be read or written. The message is the
// reason alone, for the caller to put after its own words ("Cannot read the
// UI script x.ui: " + reason).
class EHostFileError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EHostFileError"; }
};

// The value of the host's environment variable `name`, or nothing when it
// is not set. A variable set to the empty text is an empty value.
std::optional<std::string> HostEnvironment(const std::string& name);

// The whole content of the host file `path`. Reads in chunks and gives up
// as soon as more than `limit` bytes arrive; the file's stated size is not
// trusted (devices and pipes state 0). Raises EHostFileError: "the file
// cannot be opened (<system text>)", "the path names a directory", "the
// file is larger than the limit of <ByteLimitText>", "reading the file
// failed (<system text>)".
std::string ReadHostFile(const std::string& path, size_t limit);

// A host file open for appending (created when missing). Each Append goes
// to the file at once, so what was written survives a run that ends
// abruptly. Closed when destroyed.
class HostAppendFile {
 public:
  virtual ~HostAppendFile() = default;
  // Raises EHostFileError "writing the file failed (<system text>)"; part
  // of `text` may have been written then.
  virtual void Append(std::string_view text) = 0;
};

// Opens `path` for appending. Raises EHostFileError "the file cannot be
// opened (<system text>)" (also for a FIFO nobody reads from, which would
// otherwise wait) or "the path names a directory".
std::unique_ptr<HostAppendFile> OpenHostAppendFile(const std::string& path);

// A limit as users read it: "8 MiB (8388608 bytes)", "512 bytes".
std::string ByteLimitText(uint64_t limit);

}  // namespace platform
