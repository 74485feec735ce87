// Raising OsError from Win32 failures (see Win32Error.h).
#include "platform/win32/Win32Error.h"

#include "platform/win32/Win32Api.h"

#include "platform/OsError.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {

void Raise(const char* call, std::string_view what, uint32_t code) {
  throw OsError(call, std::string(what), code);
}

void RaiseLastError(const char* call, std::string_view what) {
  DWORD code = GetLastError();
  // A refusal without a code would read as success to a caller testing
  // Code(); report it as a general failure instead.
  if (code == ERROR_SUCCESS) code = ERROR_GEN_FAILURE;
  Raise(call, what, code);
}

std::wstring WideName(const char* call, std::string_view name) {
  if (name.find('\0') != std::string_view::npos) Raise(call, name, ERROR_INVALID_NAME);
  return Wide(name);
}

}  // namespace platform::win32
