// INI files through the system's profile calls (WritePrivateProfileStringW,
// GetPrivateProfileStringW): sections and keys compare ignoring case; a
// file name without a directory lives in the Windows directory (WININIT.INI).
#pragma once

#include <string>
#include <string_view>

namespace platform {

class IniFiles {
 public:
  virtual ~IniFiles() = default;
  // Writes key=value into [section], creating the file and the section
  // when missing. Raises OsError naming "WritePrivateProfileStringW".
  virtual void WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  // The value of key in [section], or `fallback` when the file, the
  // section or the key is missing.
  virtual std::string ReadString(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view fallback) = 0;
};

}  // namespace platform
