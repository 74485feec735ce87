// The setup program's exit codes, documented for scripts that run it
// unattended:
//   0  finished (also: a build or transfer that succeeded, or a window
//      closed before anything was started)
//   1  failed (an error was shown; nothing or not everything installed)
//   2  cancelled by the user
//   3  a restart is required to finish the installation
#pragma once

#include "install/cmp_TInstall.h"

enum : int { kExitFinished = 0, kExitFailed = 1, kExitCancelled = 2, kExitRestartRequired = 3 };

int ExitCodeOf(TInstallOutcome outcome) noexcept;
