// Helpers of the Win32-only tests: running a system command and capturing
// what it prints, splitting reg.exe's answer into its rows.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Win32Text.h"

namespace win32test {

struct CommandResult {
  int exitCode = -1;
  std::string output;  // stdout as printed (the console code page; ASCII here)
};

// Runs `command` through the command interpreter (as cmd /c does).
inline CommandResult RunCommand(std::string_view command) {
  CommandResult r;
  FILE* pipe = _wpopen(platform::win32::Wide(command).c_str(), L"rb");
  if (pipe == nullptr) return r;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) r.output.append(buffer, n);
  r.exitCode = _pclose(pipe);
  return r;
}

// One value row of `reg query`: "    <name>    <type>    <data>".
struct RegRow {
  std::string name, type, data;
};

inline std::vector<RegRow> ParseRegQuery(const std::string& output) {
  std::vector<RegRow> rows;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;  // key lines start at column 0
    const size_t typeAt = line.find("    REG_", 4);
    if (typeAt == std::string::npos) continue;
    RegRow row;
    row.name = line.substr(4, typeAt - 4);
    const size_t dataAt = line.find("    ", typeAt + 4);
    row.type = line.substr(typeAt + 4,
                           dataAt == std::string::npos ? std::string::npos : dataAt - typeAt - 4);
    if (dataAt != std::string::npos) row.data = line.substr(dataAt + 4);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace win32test
