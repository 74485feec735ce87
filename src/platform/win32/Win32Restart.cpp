// Restarting Windows (ExitWindowsEx, with the shutdown privilege enabled
// first where the caller asks) and moves at the next restart (MoveFileExW
// with MOVEFILE_DELAY_UNTIL_REBOOT).
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Services.h"

namespace platform::win32 {
namespace {

bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok =
      LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) != 0;
  // AdjustTokenPrivileges succeeds without granting a privilege the token
  // lacks; only the last error tells.
  ok = ok && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) != 0 &&
       GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

class Win32Restart final : public RestartService {
 public:
  bool RequestRestart(bool enableShutdownPrivilege) override {
    if (enableShutdownPrivilege && !EnableShutdownPrivilege()) return false;
    return ExitWindowsEx(EWX_REBOOT, 0) != 0;
  }

  void MoveAtRestart(std::string_view from, std::string_view to) override {
    const std::wstring source = WideName("MoveFileExW", from);
    // The new file is to replace the one in use, so the move replaces.
    if (to.empty()) {
      if (!MoveFileExW(source.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        RaiseLastError("MoveFileExW", from);
      return;
    }
    const std::wstring target = WideName("MoveFileExW", to);
    if (!MoveFileExW(source.c_str(), target.c_str(),
                     MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
      RaiseLastError("MoveFileExW", from);
  }
};

}  // namespace

std::unique_ptr<RestartService> CreateWin32Restart() {
  return std::make_unique<Win32Restart>();
}

}  // namespace platform::win32
