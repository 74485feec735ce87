// Carrying out an uninstall plan: unregistering ActiveX files, shared-DLL
// counts, help registrations, the files themselves (now, or at the next
// restart when in use), the folders they leave empty, the engine while no
// other program uses it, the uninstall key and the uninstall program's own
// file. Only files the plan names are ever removed.
#pragma once
#include <string>
#include <vector>

#include "uninstaller/UninstallRecords.h"

namespace uninstaller {

struct UninstallResult {
  std::vector<std::string> removed;     // files and folders gone now
  std::vector<std::string> atRestart;   // removed at the next restart
  std::vector<std::string> kept;        // "<path>: <why>", left on purpose
  std::vector<std::string> notRemoved;  // "<path>: <why>", a removal that failed
  std::vector<std::string> damaged;     // records that could not be used, skipped
  std::vector<std::string> notes;       // files already gone: said, but no failure
  // The running uninstall program and the folders only it keeps from being
  // empty: they go at the next restart, which nothing else needs.
  std::vector<std::string> ownAtRestart;
  bool engineRemoved = false;
};

// Carries out `plan` on the current machine. Never raises for what one
// file or value refuses: that is reported in the result and the rest goes
// on.
UninstallResult Uninstall(const UninstallPlan& plan);

// The folders that are never removed: the Windows, system, Program Files
// and common files folders and every shell folder (both the user's and
// the common ones), upper case without trailing backslash.
std::vector<std::string> ProtectedFolders();

}  // namespace uninstaller
