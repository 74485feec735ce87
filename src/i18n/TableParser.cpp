// The string-table parser (see TableParser.h).
#include "i18n/TableParser.h"

#include <string_view>

#include "framework/Format.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"

namespace {

constexpr const char kStrayEndOfMemo[] =
    "Found the end of memo marker # at line %d. Was not in a memo however";
constexpr const char kNotGlidText[] =
    "The %d'th string (%s) does not have the proper format of GLID;Text";
constexpr const char kNotGlidNumber[] =
    "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;";

[[noreturn]] void Fail(const char* message, int line, const std::string& trimmed) {
  throw Exception(Format(message, line, trimmed));
}

// The id in `field`: not empty, and an integer as StrToInt reads it (no
// blanks, optional sign, '$' for hexadecimal).
int32_t ParseId(std::string_view field, int line, const std::string& trimmed) {
  if (field.empty()) Fail(kNotGlidText, line, trimmed);
  int32_t id = 0;
  if (!TryStrToInt(field, id)) Fail(kNotGlidNumber, line, trimmed);
  return id;
}

}  // namespace

ParsedTable ParseStringTable(const TStrings& lines) {
  ParsedTable table;
  bool inMemo = false;
  ParsedTable::Memo memo{};
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string trimmed = Trim(lines.Strings(i));
    if (trimmed.empty()) continue;
    if (trimmed == "#") {
      if (!inMemo) Fail(kStrayEndOfMemo, i, trimmed);
      table.memos.push_back(std::move(memo));
      memo = {};
      inMemo = false;
      continue;
    }
    if (trimmed[0] == '*') continue;
    if (inMemo) {
      memo.lines.push_back(trimmed);
      continue;
    }
    const size_t semicolon = trimmed.find(';');
    const std::string_view field = std::string_view(trimmed).substr(0, semicolon);
    if (trimmed[0] == '#') {
      memo = {ParseId(field.substr(1), i, trimmed), i, {}};
      inMemo = true;
      continue;
    }
    const int32_t id = ParseId(field, i, trimmed);
    std::string_view text;
    if (semicolon != std::string::npos) {
      text = std::string_view(trimmed).substr(semicolon + 1);
      text = text.substr(0, text.find(';'));
    }
    if (Trim(text).empty()) Fail(kNotGlidText, i, trimmed);
    table.strings.push_back({id, i, std::string(text)});
  }
  return table;  // an unfinished memo is dropped
}
