// UTF-8 <-> UTF-16 at the Win32 boundary: the kit speaks UTF-8, the wide
// APIs speak UTF-16. Invalid input becomes U+FFFD rather than failing.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace platform::win32
