// pellmore-archive: the archive tool for authors. Lists, builds, extracts,
// splits into volumes and verifies archives on host files, through the
// kit's own archive component. RunArchiveTool is the whole program (main
// only forwards), so tests run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace archive_tool {

// Exit codes.
enum : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Runs one command line (without the program name); output and errors go
// to the given streams.
int RunArchiveTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace archive_tool
