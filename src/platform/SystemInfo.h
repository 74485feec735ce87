// The system queries: Windows, system and temporary directories, temporary
// and short file names, the current directory, the platform version, the
// user's language, screen metrics, the time zone, the running program and
// its command line. Paths are Windows paths in UTF-8; refusals raise
// platform::OsError naming the Windows call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// GetVersionEx's platform ids.
enum : uint32_t { kPlatformWin32s = 0, kPlatformWindows = 1, kPlatformNT = 2 };

struct WindowsVersion {
  uint32_t platformId = kPlatformNT;
  uint32_t major = 4;
  uint32_t minor = 0;
  uint32_t build = 1381;   // the build number alone (no version in the high word)
  std::string csdVersion;  // "Service Pack 6", may be empty
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // GetWindowsDirectoryW / GetSystemDirectoryW: no trailing backslash
  // (unless the directory is a drive's root, "C:\").
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // GetTempPathW: ends with a backslash, as Windows gives it.
  virtual std::string TempDirectory() = 0;
  // GetTempFileNameW(dir, prefix, 0): creates an empty file named dir + "\"
  // + the first three characters of prefix + a hexadecimal number + ".tmp"
  // that no file bore before, and returns its full path. A missing directory
  // raises (ERROR_PATH_NOT_FOUND or ERROR_DIRECTORY).
  virtual std::string TempFileName(std::string_view dir, std::string_view prefix) = 0;
  // GetShortPathNameW: the 8.3 form of an existing path. A machine gives the
  // same long name the same short name every time. A missing path raises
  // ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND.
  virtual std::string ShortPathName(std::string_view path) = 0;

  // The process's current directory (GetCurrentDirectoryW), and changing it
  // (SetCurrentDirectoryW: the directory must exist).
  virtual std::string CurrentDirectory() = 0;
  virtual void SetCurrentDirectory(std::string_view path) = 0;

  // GetVersionExW.
  virtual WindowsVersion Version() = 0;
  // GetUserDefaultLangID (0x0409 English (US), 0x0804 Chinese (PRC) ...).
  virtual uint16_t UserDefaultLangID() = 0;
  // GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN / SM_CYCAPTION).
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int CaptionHeight() = 0;
  // Local time minus UTC in minutes (480 for UTC+8); the negated bias of
  // GetTimeZoneInformation.
  virtual int TimeZoneOffsetMinutes() = 0;

  // GetModuleFileNameW(NULL): the running program's Windows path.
  virtual std::string ModuleFileName() = 0;
  // GetCommandLineW: the program's whole command line, the program itself
  // first.
  virtual std::string CommandLine() = 0;
  // The command line split into arguments by the shared splitter
  // (CommandLine.h); element 0 is the program.
  std::vector<std::string> Arguments();
  // Tells the backend the host arguments the program's entry point got. The
  // simulated machine builds its command line from them (the program itself
  // replaced by ModuleFileName()); on Windows the command line comes from the
  // system and this does nothing.
  virtual void UseHostArguments(int argc, const char* const* argv) = 0;
};

}  // namespace platform
