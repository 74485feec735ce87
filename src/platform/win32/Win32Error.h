// Turns a refused Win32 call into platform::OsError (the call's name, what it
// was about, GetLastError()), and checks text before it reaches a wide API:
// a path with an embedded NUL would silently name a different file there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::win32 {

// Raises OsError(call, what, code).
[[noreturn]] void Raise(const char* call, std::string_view what, uint32_t code);
// Raises OsError(call, what, GetLastError()); call it right after the failed
// call, before anything else can change the thread's last error.
[[noreturn]] void RaiseLastError(const char* call, std::string_view what);

// The UTF-16 form of a name passed to `call`; ERROR_INVALID_NAME when it
// holds a NUL, which the wide API would take as its end.
std::wstring WideName(const char* call, std::string_view name);

}  // namespace platform::win32
