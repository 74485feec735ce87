// INI files on Windows through the profile calls; a bare file name lands in
// the Windows directory, as those calls decide.
#include <vector>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

constexpr const char* kWrite = "WritePrivateProfileStringW";

class Win32IniFiles final : public IniFiles {
 public:
  void WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override {
    const std::wstring f = WideName(kWrite, file), s = WideName(kWrite, section),
                       k = WideName(kWrite, key), v = WideName(kWrite, value);
    if (!WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), f.c_str()))
      RaiseLastError(kWrite, file);
  }

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback) override {
    for (std::string_view part : {file, section, key})
      if (part.find('\0') != std::string_view::npos) return std::string(fallback);
    const std::wstring f = Wide(file), s = Wide(section), k = Wide(key), d = Wide(fallback);
    std::vector<wchar_t> buffer(256);
    for (;;) {
      DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                         DWORD(buffer.size()), f.c_str());
      // A value that filled the buffer may have been cut: read again larger.
      if (n + 1 < buffer.size() || buffer.size() >= (1u << 20))
        return Narrow(std::wstring_view(buffer.data(), n));
      buffer.resize(buffer.size() * 4);
    }
  }
};

}  // namespace

std::unique_ptr<IniFiles> CreateWin32IniFiles() {
  return std::make_unique<Win32IniFiles>();
}

}  // namespace platform::win32
