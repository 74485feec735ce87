// The engine's configuration files: the "QDENG32.CNF" templates and the
// "qdeng32.cfg" files in use. 8-bit text of comments, "[SECTION]" headers
// and "NAME=VALUE" settings, CRLF or LF line ends. A parsed file keeps
// every line as written, so writing it back changes only the settings that
// were set, and comments stay where they were.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enginesetup {

struct ConfigLine {
  enum class Kind { Comment, Section, Setting };
  Kind kind = Kind::Comment;
  // The line as written, without its line end.
  std::string text;
  // Section: the name between the brackets; Setting: the text before the
  // first "="; both trimmed. Names compare ignoring (ASCII) case.
  std::string name;
  // Setting: the text after the first "=", trimmed (may be empty).
  std::string value;
};

struct ParseResult;

class EngineConfig {
 public:
  // Reads a whole file. Any byte sequence gives a result: a blank line or
  // one whose first non-blank character is ";" is a comment; "[NAME]"
  // starts a section; "NAME=VALUE" is a setting of the current section.
  // Anything else (a setting before the first section, a NUL byte, an
  // unterminated "[", a line that is neither) makes the file damaged.
  static ParseResult Parse(std::string_view bytes);

  const std::vector<ConfigLine>& Lines() const { return lines_; }

  bool HasSection(std::string_view section) const;
  // The value of the first setting `name` of the first section `section`
  // that has one; nullopt when there is none.
  std::optional<std::string> Value(std::string_view section, std::string_view name) const;

  // Sets name=value in the section: the first such setting takes the new
  // value (keeping its name as written); without one the setting is added
  // after the last setting of the section's last block; without the
  // section, the section is added at the end of the file. Texts that would
  // not read back as this one setting (line breaks, NUL, "=" or a leading
  // ";" or "[" in the name, an empty name) raise std::invalid_argument and
  // change nothing. Blanks around the value are not kept.
  void Set(std::string_view section, std::string_view name, std::string_view value);

  // The file's text, every line ended by CRLF.
  std::string Write() const;

  // The template merged into the configuration in use: `existing`'s lines
  // in their order with their values, except the settings the engine owns
  // ([SYSTEM INIT] VERSION), which take the template's value; then every
  // setting of the template that `existing` lacks, after the last setting
  // of its section, and every section `existing` lacks appended whole (with
  // its comments) at the end, in the template's order, after a blank line
  // when the file does not end with one.
  static EngineConfig Merge(const EngineConfig& templ, const EngineConfig& existing);

 private:
  explicit EngineConfig(std::vector<ConfigLine> lines) : lines_(std::move(lines)) {}
  std::vector<ConfigLine> lines_;
};

// What Parse made of the bytes: the configuration, or where and why the
// file is damaged.
struct ParseResult {
  std::optional<EngineConfig> config;
  size_t line = 0;  // damaged: the line's number, from 1
  std::string why;  // damaged: what is wrong with it
  // "damaged at line N: why" (empty when the file parsed).
  std::string Message() const;
};

// Whether `name`/`value` can be written as one setting line that reads
// back with the same name and value (see EngineConfig::Set).
bool IsWritableSettingName(std::string_view name);
bool IsWritableSettingValue(std::string_view value);

// ASCII case-insensitive comparison, as section and setting names compare.
bool SameName(std::string_view a, std::string_view b);

}  // namespace enginesetup
