// The system queries and the clock over the Win32 API (see Win32SystemInfo.h).
// Calls that fill a caller's buffer are asked for the size first and retried
// while the answer grows, so long paths are never cut.
#include "platform/win32/Win32SystemInfo.h"

#include "platform/win32/Win32Api.h"

#include <functional>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

// Calls `fill(buffer, capacity)` the way the Get*W calls answer: the length
// written (without NUL) when it fitted, the size needed (with NUL) when not,
// 0 on failure. Raises OsError naming `call` on failure.
std::string QueryText(const char* call, std::string_view what,
                      const std::function<DWORD(wchar_t*, DWORD)>& fill) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) RaiseLastError(call, what);
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.assign(n, L'\0');
  }
}

class Win32SystemInfo final : public SystemInfo {
 public:
  std::string WindowsDirectory() override {
    return QueryText("GetWindowsDirectoryW", "",
                     [](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); });
  }

  std::string SystemDirectory() override {
    return QueryText("GetSystemDirectoryW", "",
                     [](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
  }

  std::string TempDirectory() override {
    return QueryText("GetTempPathW", "", [](wchar_t* b, DWORD n) { return GetTempPathW(n, b); });
  }

  std::string TempFileName(std::string_view dir, std::string_view prefix) override {
    // Windows uses at most three characters of the prefix; cut on a
    // character boundary so a wide prefix stays valid text.
    std::wstring wprefix = WideName("GetTempFileNameW", prefix);
    if (wprefix.size() > 3) wprefix.resize(IS_HIGH_SURROGATE(wprefix[2]) ? 2 : 3);
    const std::wstring wdir = WideName("GetTempFileNameW", dir);
    wchar_t name[MAX_PATH + 1];
    if (!GetTempFileNameW(wdir.c_str(), wprefix.c_str(), 0, name))
      RaiseLastError("GetTempFileNameW", dir);
    // A relative directory gives a relative name; the contract is a full one.
    const std::string made = Narrow(name);
    return QueryText("GetFullPathNameW", made,
                     [&](wchar_t* b, DWORD n) { return GetFullPathNameW(name, n, b, nullptr); });
  }

  std::string ShortPathName(std::string_view path) override {
    const std::wstring w = WideName("GetShortPathNameW", path);
    return QueryText("GetShortPathNameW", path,
                     [&](wchar_t* b, DWORD n) { return GetShortPathNameW(w.c_str(), b, n); });
  }

  std::string CurrentDirectory() override {
    return QueryText("GetCurrentDirectoryW", "",
                     [](wchar_t* b, DWORD n) { return GetCurrentDirectoryW(n, b); });
  }

  void SetCurrentDirectory(std::string_view path) override {
    if (!SetCurrentDirectoryW(WideName("SetCurrentDirectoryW", path).c_str()))
      RaiseLastError("SetCurrentDirectoryW", path);
  }

  WindowsVersion Version() override {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) RaiseLastError("GetVersionExW", "");
    WindowsVersion v;
    v.platformId = info.dwPlatformId;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    // The 95 family keeps the version in the build number's high word.
    v.build = info.dwBuildNumber & 0xFFFF;
    v.csdVersion = Narrow(std::wstring_view(info.szCSDVersion, wcsnlen(info.szCSDVersion, 128)));
    return v;
  }

  uint16_t UserDefaultLangID() override { return GetUserDefaultLangID(); }
  int ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
  int CaptionHeight() override { return GetSystemMetrics(SM_CYCAPTION); }
  int TimeZoneOffsetMinutes() override { return CurrentTimeZoneOffsetMinutes(); }

  std::string ModuleFileName() override {
    // GetModuleFileNameW answers a full buffer (truncated) with its size:
    // grow until the name fits with room to spare.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) RaiseLastError("GetModuleFileNameW", "");
      if (n < buffer.size()) {
        buffer.resize(n);
        return Narrow(buffer);
      }
      buffer.assign(buffer.size() * 2, L'\0');
    }
  }

  std::string CommandLine() override { return Narrow(GetCommandLineW()); }

  void UseHostArguments(int, const char* const*) override {}
};

class Win32Clock final : public Clock {
 public:
  FileTime NowUtc() override {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  }

  TDateTime Now() override {
    constexpr int64_t kTicksPerMinute = 600000000LL;
    const int64_t shift = int64_t{CurrentTimeZoneOffsetMinutes()} * kTicksPerMinute;
    return FileTimeToDateTime(static_cast<FileTime>(static_cast<int64_t>(NowUtc()) + shift));
  }
};

}  // namespace

int CurrentTimeZoneOffsetMinutes() {
  TIME_ZONE_INFORMATION tz;
  const DWORD which = GetTimeZoneInformation(&tz);
  LONG bias = tz.Bias;
  if (which == TIME_ZONE_ID_STANDARD) bias += tz.StandardBias;
  if (which == TIME_ZONE_ID_DAYLIGHT) bias += tz.DaylightBias;
  return -static_cast<int>(bias);
}

std::unique_ptr<SystemInfo> CreateWin32SystemInfo() {
  return std::make_unique<Win32SystemInfo>();
}

std::unique_ptr<Clock> CreateWin32Clock() {
  return std::make_unique<Win32Clock>();
}

}  // namespace platform::win32
