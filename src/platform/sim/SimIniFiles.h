// INI files on the simulated machine, with the profile calls' rules:
// sections and keys compare ignoring case and surrounding blanks, a value
// read loses its blanks and one pair of surrounding quotes, a write
// replaces the first matching key in place (or adds it at the end of its
// section, or adds the section at the end) and keeps every other line. A
// bare file name lives in the Windows directory. Files are replaced
// atomically (written beside, then moved over).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/SystemInfo.h"

namespace platform::sim {

struct IniEntry {
  std::string key;
  std::string value;
};

// Every key=value line of the section's first occurrence, in file order
// (repeated keys included, as WININIT.INI processing reads them).
std::vector<IniEntry> IniSectionEntries(std::string_view text, std::string_view section);
std::optional<std::string> IniRead(std::string_view text, std::string_view section,
                                   std::string_view key);
// The text with key=value written into the section.
std::string IniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value);

class SimIniFiles : public IniFiles {
 public:
  SimIniFiles(FileSystem& files, SystemInfo& system) : files_(files), system_(system) {}

  void WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback) override;

  // The full path a file name given to the profile calls stands for.
  std::string PathOf(std::string_view file);
  // The whole file's text; "" when the file does not exist. Raises OsError
  // when it exists but cannot be read (held, a folder, larger than 16 MiB).
  std::string ReadText(std::string_view path);

 private:
  FileSystem& files_;
  SystemInfo& system_;
};

}  // namespace platform::sim
