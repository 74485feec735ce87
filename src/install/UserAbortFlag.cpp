// The process-wide user-abort flag (see UserAbortFlag.h).
#include "install/UserAbortFlag.h"

#include "framework/ProcessState.h"

namespace {

bool& Flag() noexcept {
  static bool flag = false;
  static bool registered = false;
  if (!registered) {
    registered = true;
    // RegisterReset may allocate; a flag read before any reset exists is
    // still false, so a failure to register only leaves tests less tidy.
    try {
      ProcessState::RegisterReset("install.UserAbortFlag", [] { flag = false; });
    } catch (...) {
      registered = false;
    }
  }
  return flag;
}

}  // namespace

bool UserAbortFlag() noexcept {
  return Flag();
}

void SetUserAbortFlag(bool value) noexcept {
  Flag() = value;
}
