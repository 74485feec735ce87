// The mapping from how the work ended to the process exit code.
#include "app/ExitCodes.h"

int ExitCodeOf(TInstallOutcome outcome) noexcept {
  switch (outcome) {
    case ioFailed:
      return kExitFailed;
    case ioCancelled:
      return kExitCancelled;
    case ioRestartRequired:
      return kExitRestartRequired;
    case ioNone:
    case ioFinished:
      break;
  }
  return kExitFinished;
}
