// Tells the real Windows from Wine. Wine announces itself through an ntdll
// export that Windows lacks; tests use it to name the few places where Wine
// answers differently, and logs can say what the program ran on.
#pragma once

#include <optional>
#include <string>

namespace platform::win32 {

// Wine's version ("8.0") when running under Wine; nullopt on Windows.
std::optional<std::string> WineVersion();

}  // namespace platform::win32
