// The simulated machine's command interpreter for batch files: the
// commands the kit writes (ERASE/DEL, DELTREE, RMDIR/RD, MOVE) on the
// machine's file service, with REM, ECHO and labels ignored. Either
// interpreter's dialect: the 95 family's knows DELTREE but not RMDIR /S;
// NT's knows RMDIR /S /Q but not DELTREE. A command that fails or is unknown
// prints what the interpreter would and the batch goes on, as on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace platform::sim {

class BatchInterpreter {
 public:
  using Printer = std::function<void(std::string_view line)>;
  BatchInterpreter(FileSystem& files, bool ntDialect, Printer print)
      : files_(files), nt_(ntDialect), print_(std::move(print)) {}

  // Runs the lines of `text`; %0 is `batchPath`, %1 ... the arguments. The
  // whole text is read before the first command, so a batch may erase
  // itself. Returns 0 when every command succeeded, else 1.
  uint32_t Run(std::string_view text, std::string_view batchPath,
               const std::vector<std::string>& arguments);

 private:
  bool Execute(const std::string& line);
  bool Erase(const std::vector<std::string>& targets);
  bool DelTree(const std::vector<std::string>& targets);
  bool RemoveDir(const std::vector<std::string>& targets, bool tree);
  bool Move(const std::vector<std::string>& operands);
  // Deletes a file or a directory with everything in it, read-only or not.
  void RemoveTree(const std::string& path);
  // The full paths a wildcard names (files and directories), or the path.
  std::vector<std::string> Expand(const std::string& pattern);
  void Fail(const OsError& e);

  FileSystem& files_;
  bool nt_;
  Printer print_;
};

}  // namespace platform::sim
