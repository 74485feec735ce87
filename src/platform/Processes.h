// Starting programs: the WinExec-style start the kit uses for programs run
// after the installation, self-registering programs (/REGSERVER) and its
// clean-up batch, and a start that waits for the exit code (what Windows
// does with RunOnce commands after a restart, and tests). A command line is
// the program's Windows path (quoted when it holds blanks) and its
// arguments, split by the shared splitter of CommandLine.h.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The window a started program gets: SW_HIDE or SW_SHOWNORMAL.
enum class ShowMode { Hidden = 0, Normal = 1 };

// WinExec's results below 32 (anything above 31 means "started").
enum : uint32_t {
  kExecOutOfMemory = 0,
  kExecFileNotFound = 2,
  kExecPathNotFound = 3,
  kExecBadFormat = 11,
};

class Processes {
 public:
  virtual ~Processes() = default;

  // WinExec: starts the program named first in `commandLine` and does not
  // wait for it. Returns a value above 31 when the program started, else
  // the WinExec error value (kExec*). Never raises for a program that
  // cannot be started; a ".bat" file runs through the command interpreter.
  virtual uint32_t Start(std::string_view commandLine, ShowMode show) = 0;

  // CreateProcessW and wait: runs the command line to its end and returns
  // the program's exit code. A program that cannot be started raises
  // OsError naming "CreateProcessW" and the command line.
  virtual uint32_t Run(std::string_view commandLine, ShowMode show) = 0;
};

}  // namespace platform
