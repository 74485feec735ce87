// Machine-wide named locks: what a Windows named mutex gives (CreateMutexW
// with a "Global\" name, WaitForSingleObject, ReleaseMutex). One process at
// a time holds a name; a lock whose process ended without releasing it is
// free again (an abandoned mutex). The simulated machine keeps one lock
// file per name in its directory and locks it with flock.
#pragma once

#include <chrono>
#include <memory>
#include <string_view>

namespace platform {

// Whether `name` may name a lock: 1 to 200 letters, digits, '-', '_' and
// '.', and not "." or "..". Both builds refuse others alike (the simulated
// machine makes a file of that name; Windows puts it in a namespace).
bool IsValidLockName(std::string_view name);

// A held lock; destroying it releases the lock. Never throws on release.
class HeldLock {
 public:
  virtual ~HeldLock() = default;
};

class MachineLocks {
 public:
  virtual ~MachineLocks() = default;

  // Takes the lock `name` (letters, digits, '-', '_' and '.'), waiting up to
  // `wait` while another holder has it. Returns nullptr when it is still
  // held after that. Holders are not counted: a second Acquire of a name
  // this process holds waits like any other, on both builds. Raises
  // OsError naming the call when the system refuses the lock itself.
  virtual std::unique_ptr<HeldLock> Acquire(std::string_view name,
                                            std::chrono::milliseconds wait) = 0;
};

}  // namespace platform
