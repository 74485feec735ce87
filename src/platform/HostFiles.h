// Reading whole files of the host itself (not of the Windows machine a
// program works on): the UI script, a form description named by a
// variable, the tools' inputs, the simulated machine's own tables. Every
// such read has a size limit and stops there, so a file that never ends
// (/dev/zero, a pipe) or a huge one cannot exhaust memory, and opening a
// FIFO that nobody writes to does not hang.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/Exception.h"

namespace platform {

// A host file that could not be read whole. The message is the reason
// alone, for the caller to put after its own words ("Cannot read the UI
// script x.ui: " + reason).
class EHostFileError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EHostFileError"; }
};

// The whole content of the host file `path` (UTF-8; wide calls on
// Windows). Reads in chunks and gives up as soon as more than `limit`
// bytes arrive; the file's stated size is not trusted (devices and pipes
// state 0). Raises EHostFileError: "the file cannot be opened (<system text>)",
// "the path names a directory", "the file is larger than the limit of
// <ByteLimitText>",
// "reading the file failed (<system text>)".
std::string ReadHostFile(const std::string& path, size_t limit);

// A limit as users read it: "8 MiB (8388608 bytes)", "512 bytes".
std::string ByteLimitText(uint64_t limit);

}  // namespace platform
