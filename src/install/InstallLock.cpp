// One setup at a time on a machine (see cmp_TInstall.h). Two setups that
// run at once both read, change and write the same records (the uninstall
// list's "Entries", shared-DLL counts, the bookkeeping key's number, the
// RunOnce names) and lose each other's changes, so a run holds a
// machine-wide named lock from before its first registry access until the
// machine no longer changes. A second setup waits for the first with a
// status text, as long as an unattended first run takes, then refuses with
// a message that says what to do.
#include "framework/ProcessState.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "platform/OsError.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kSetupLockName = "Pellmore-Setup";
constexpr std::chrono::milliseconds kDefaultWait{60 * 1000};

std::chrono::milliseconds& Wait() {
  static std::chrono::milliseconds wait = kDefaultWait;
  return wait;
}

}  // namespace

void SetSetupLockWait(std::chrono::milliseconds wait) {
  ProcessState::RegisterReset("setup lock wait", [] { Wait() = kDefaultWait; });
  Wait() = wait;
}

std::chrono::milliseconds SetupLockWait() {
  return Wait();
}

void TCustomInstall::TakeSetupLock() {
  if (setupLock_) return;  // this run holds it already
  std::unique_ptr<platform::HeldLock> lock;
  try {
    lock = platform::locks().Acquire(kSetupLockName, std::chrono::milliseconds(0));
    if (!lock) {
      ShowStatus("Waiting for another setup on this computer to finish...");
      try {
        lock = platform::locks().Acquire(kSetupLockName, Wait());
      } catch (...) {
        HideStatus();
        throw;
      }
      HideStatus();
    }
  } catch (const platform::OsError& e) {
    throw WithCause(
        IEInstall("This setup cannot make sure that no other setup is running on this computer"),
        e.Message());
  }
  if (!lock)
    throw IEInstall(
        "Another setup is running on this computer. Let it finish, then start this setup again.");
  setupLock_ = std::move(lock);
}

void TCustomInstall::ReleaseSetupLock() noexcept {
  setupLock_.reset();
}
