// A small reader of the engine's configuration format for tests of the
// sample engine, independent of the engine's setup library: blank and ";"
// lines are comments, "[NAME]" opens a section, "NAME=VALUE" is a setting
// of the current section; anything else (a setting before any section, an
// unterminated "[", a NUL byte) makes the file damaged. Names are kept
// upper-case, since the engine compares them ignoring case.
#pragma once

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

using EngineConfigSections = std::map<std::string, std::map<std::string, std::string>>;

inline std::string ConfigUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

inline std::string_view ConfigTrim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The sections with their settings, or nullopt (with the line and reason
// in `why`) when the file is damaged.
inline std::optional<EngineConfigSections> ReadEngineConfig(std::string_view text,
                                                            std::string* why = nullptr) {
  EngineConfigSections sections;
  std::string current;
  size_t lineNo = 0;
  auto damaged = [&](const char* reason) {
    if (why) *why = "line " + std::to_string(lineNo) + ": " + reason;
    return std::nullopt;
  };
  if (text.find('\0') != std::string_view::npos) return damaged("NUL byte");
  while (!text.empty()) {
    ++lineNo;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = ConfigTrim(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.front() == '[') {
      if (trimmed.back() != ']' || trimmed.size() < 3) return damaged("bad section header");
      current = ConfigUpper(trimmed.substr(1, trimmed.size() - 2));
      sections[current];
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return damaged("neither section nor setting");
    const std::string_view name = ConfigTrim(line.substr(0, eq));
    if (name.empty()) return damaged("setting without a name");
    if (current.empty()) return damaged("setting before the first section");
    sections[current][ConfigUpper(name)] = std::string(line.substr(eq + 1));
  }
  return sections;
}

}  // namespace testsupport
