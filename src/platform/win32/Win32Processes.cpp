// Starting programs on Windows: WinExec's behaviour through CreateProcessW
// (so the command line stays Unicode), with the window shown as asked;
// batch files go through the command interpreter. Run waits for the end
// and returns the exit code.
#include <string>
#include <vector>

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/OsError.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

constexpr const char* kCall = "CreateProcessW";
constexpr uint32_t kStarted = 33;

bool IsBatch(std::string_view commandLine) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty()) return false;
  const std::string upper = AsciiUpperCase(args[0]);
  auto endsWith = [&](const char* ext) {
    return upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ext) == 0;
  };
  return endsWith(".BAT") || endsWith(".CMD");
}

// The command line CreateProcess gets: a batch file runs through the
// command interpreter, whose /c strips one pair of outer quotes.
std::wstring ProcessCommandLine(std::string_view commandLine) {
  if (!IsBatch(commandLine)) return WideName(kCall, commandLine);
  wchar_t comspec[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
  std::wstring shell = (n > 0 && n < MAX_PATH) ? std::wstring(comspec, n) : L"cmd.exe";
  return L"\"" + shell + L"\" /c \"" + WideName(kCall, commandLine) + L"\"";
}

// Creates the process; false (with the thread's last error set) when it
// cannot be started.
bool Create(std::string_view commandLine, ShowMode show, PROCESS_INFORMATION& pi) {
  std::wstring line = ProcessCommandLine(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = show == ShowMode::Hidden ? SW_HIDE : SW_SHOWNORMAL;
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi) != 0;
}

class Win32Processes final : public Processes {
 public:
  uint32_t Start(std::string_view commandLine, ShowMode show) override {
    if (SplitCommandLine(commandLine).empty()) return kExecFileNotFound;
    PROCESS_INFORMATION pi{};
    if (!Create(commandLine, show, pi)) {
      switch (GetLastError()) {
        case ERROR_PATH_NOT_FOUND:
          return kExecPathNotFound;
        case ERROR_BAD_EXE_FORMAT:
          return kExecBadFormat;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
          return kExecOutOfMemory;
        default:
          return kExecFileNotFound;
      }
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return kStarted;
  }

  uint32_t Run(std::string_view commandLine, ShowMode show) override {
    if (SplitCommandLine(commandLine).empty()) Raise(kCall, commandLine, ERROR_FILE_NOT_FOUND);
    PROCESS_INFORMATION pi{};
    if (!Create(commandLine, show, pi)) RaiseLastError(kCall, commandLine);
    CloseHandle(pi.hThread);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    const bool known = GetExitCodeProcess(pi.hProcess, &code) != 0;
    const DWORD error = GetLastError();
    CloseHandle(pi.hProcess);
    if (!known) Raise("GetExitCodeProcess", commandLine, error);
    return code;
  }
};

}  // namespace

std::unique_ptr<Processes> CreateWin32Processes() {
  return std::make_unique<Win32Processes>();
}

}  // namespace platform::win32
