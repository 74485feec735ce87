// What happens at the next restart of Windows: asking for the restart
// itself (ExitWindowsEx, with the shutdown privilege on NT kinds) and
// moving a file into place then (MoveFileExW with
// MOVEFILE_DELAY_UNTIL_REBOOT, which NT keeps in the registry value
// PendingFileRenameOperations). The 95 family's WININIT.INI goes through
// the INI file service.
#pragma once

#include <string_view>

namespace platform {

class RestartService {
 public:
  virtual ~RestartService() = default;

  // ExitWindowsEx(EWX_REBOOT). With `enableShutdownPrivilege` the process
  // first enables "SeShutdownPrivilege" on its token (OpenProcessToken,
  // LookupPrivilegeValueW, AdjustTokenPrivileges). False when any step
  // fails; never raises for that. The simulated machine only records the
  // request (tests and the machine tool perform the restart).
  virtual bool RequestRestart(bool enableShutdownPrivilege) = 0;

  // MoveFileExW(from, to, MOVEFILE_DELAY_UNTIL_REBOOT): at the next restart
  // `from` replaces `to` (an empty `to` deletes `from`). Raises OsError
  // naming "MoveFileExW" when the system refuses (a machine may refuse
  // delayed moves).
  virtual void MoveAtRestart(std::string_view from, std::string_view to) = 0;
};

}  // namespace platform
