// Machine-wide named locks on Windows (see MachineLocks.h): a named mutex
// in the "Global\" namespace, so that setups of other sessions see it too;
// where that namespace does not exist (before Windows 2000 a backslash is
// not allowed in the name) the plain name. WAIT_ABANDONED counts as taken:
// the holder ended without releasing. A mutex belongs to the thread that
// waited for it, so a lock is released on the thread that acquired it (the
// kit is single-threaded).
#include <algorithm>
#include <mutex>
#include <set>
#include <string>

#include "platform/MachineLocks.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Services.h"

namespace platform::win32 {
namespace {

constexpr DWORD kPollMilliseconds = 20;
// Below INFINITE (0xFFFFFFFF): a wait is always bounded.
constexpr DWORD kLongestWait = 0x7FFFFFFF;

// A mutex is recursive for its owner; the lock is not, on either build, so
// this process keeps the names it holds and a second Acquire waits.
std::mutex& HeldGuard() {
  static std::mutex guard;
  return guard;
}
std::set<std::string>& HeldNames() {
  static std::set<std::string> names;
  return names;
}

void Forget(const std::string& name) noexcept {
  std::lock_guard<std::mutex> g(HeldGuard());
  HeldNames().erase(name);
}

class Win32HeldLock final : public HeldLock {
 public:
  Win32HeldLock(HANDLE mutex, std::string name) : mutex_(mutex), name_(std::move(name)) {}
  ~Win32HeldLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
    Forget(name_);
  }
  Win32HeldLock(const Win32HeldLock&) = delete;
  Win32HeldLock& operator=(const Win32HeldLock&) = delete;

 private:
  HANDLE mutex_;
  std::string name_;
};

// The mutex `name`, created when no process has it yet. Raises OsError
// naming CreateMutexW (or OpenMutexW) when neither works.
HANDLE OpenOrCreate(const std::string& name) {
  const std::wstring global = WideName("CreateMutexW", "Global\\" + name);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, global.c_str());
  if (mutex) return mutex;
  DWORD code = GetLastError();
  if (code == ERROR_ACCESS_DENIED) {
    // Made by a setup of another user: rights to wait on it and release it
    // are all this process needs.
    mutex = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, global.c_str());
    if (mutex) return mutex;
    RaiseLastError("OpenMutexW", name);
  }
  if (code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME || code == ERROR_BAD_PATHNAME) {
    const std::wstring plain = WideName("CreateMutexW", name);
    mutex = CreateMutexW(nullptr, FALSE, plain.c_str());
    if (mutex) return mutex;
    code = GetLastError();
  }
  Raise("CreateMutexW", name, code);
}

class Win32Locks final : public MachineLocks {
 public:
  std::unique_ptr<HeldLock> Acquire(std::string_view name,
                                    std::chrono::milliseconds wait) override {
    if (!IsValidLockName(name)) Raise("CreateMutexW", name, ERROR_INVALID_NAME);
    const std::string key(name);
    const long long requested = wait.count();
    const DWORD total = requested <= 0              ? 0
                        : requested >= kLongestWait ? kLongestWait
                                                    : static_cast<DWORD>(requested);
    const DWORD start = GetTickCount();  // differences stay right across its wrap
    while (true) {
      {
        std::lock_guard<std::mutex> g(HeldGuard());
        if (HeldNames().insert(key).second) break;
      }
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= total) return nullptr;
      Sleep(std::min(kPollMilliseconds, total - elapsed));
    }
    HANDLE mutex = nullptr;
    try {
      mutex = OpenOrCreate(key);
    } catch (...) {
      Forget(key);
      throw;
    }
    const DWORD elapsed = GetTickCount() - start;
    const DWORD result = WaitForSingleObject(mutex, elapsed >= total ? 0 : total - elapsed);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED)
      return std::make_unique<Win32HeldLock>(mutex, key);
    const DWORD code = result == WAIT_FAILED ? GetLastError() : ERROR_SUCCESS;
    CloseHandle(mutex);
    Forget(key);
    if (result == WAIT_TIMEOUT) return nullptr;
    Raise("WaitForSingleObject", name, code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code);
  }
};

}  // namespace

std::unique_ptr<MachineLocks> CreateWin32Locks() {
  return std::make_unique<Win32Locks>();
}

}  // namespace platform::win32
