// Detecting Wine (see Win32Host.h).
#include "platform/win32/Win32Host.h"

#include "platform/win32/Win32Api.h"

namespace platform::win32 {

std::optional<std::string> WineVersion() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return std::nullopt;
  using GetVersionFn = const char*(__cdecl*)();
  const auto get = reinterpret_cast<GetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  if (get == nullptr) return std::nullopt;
  const char* version = get();
  return std::string(version != nullptr ? version : "");
}

}  // namespace platform::win32
