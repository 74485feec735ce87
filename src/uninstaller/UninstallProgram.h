// The uninstall program's run: the product named on the command line, the
// question, the uninstall, and the report, all through the widgetset (a
// UI script answers them unattended). Exit codes, for scripts:
//   0  uninstalled (files kept on purpose are listed in the report)
//   1  failed: no product name, or no such product installed; nothing done
//   2  cancelled: the user answered No; nothing done
//   3  uninstalled; some files are removed at the next restart
//   4  finished, but something could not be removed or a record was
//      damaged (listed in the report)
#pragma once
#include <string>

#include "uninstaller/Uninstall.h"

namespace uninstaller {

enum : int {
  kUninstallDone = 0,
  kUninstallFailed = 1,
  kUninstallCancelled = 2,
  kUninstallRestart = 3,
  kUninstallIncomplete = 4,
};

inline constexpr const char* kUninstallTitle = "Uninstall";

// The report shown at the end, one line per item.
std::string ReportText(const std::string& product, const UninstallResult& result);
int ExitCodeOf(const UninstallResult& result) noexcept;

// The whole run for `commandLine` (the program followed by the product
// name); the exit code. The report also goes to standard output.
int RunUninstallProgram(const std::string& commandLine);

}  // namespace uninstaller
