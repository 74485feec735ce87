// The test machine on Windows (see TestMachine.h): the real system. CTest
// runs test cases in parallel processes on one machine, so the scratch
// directory's name carries the process id, and tests that write the kit's
// shared registry keys take a system-wide mutex for their whole run.
#include <process.h>
#include <windows.h>

#include <atomic>

#include "platform/win32/Win32Host.h"
#include "support/TestMachine.h"

namespace testsupport {

namespace {
std::atomic<unsigned> g_serial{0};
}

bool OnWine() {
  static const bool onWine = platform::win32::WineVersion().has_value();
  return onWine;
}

TestMachine::TestMachine(const TestMachineOptions& options) {
  if (options.guardRegistry) {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Local\\PellmoreKitTests");
    if (mutex == nullptr) throw std::runtime_error("cannot create the kit tests' mutex");
    // WAIT_ABANDONED: a test process died holding it; the mutex is ours now.
    const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      ::CloseHandle(mutex);
      throw std::runtime_error("cannot take the kit tests' mutex");
    }
    lock_ = mutex;
  }
  CreateScratch(options.scratchPrefix + "-" + std::to_string(_getpid()) + "-" +
                std::to_string(g_serial++));
  if (options.guardRegistry) GuardRegistry();
}

void TestMachine::Release() {
  if (released_) return;
  released_ = true;
  ReleaseCommon();
  if (lock_ != nullptr) {
    ::ReleaseMutex(static_cast<HANDLE>(lock_));
    ::CloseHandle(static_cast<HANDLE>(lock_));
    lock_ = nullptr;
  }
}

}  // namespace testsupport
