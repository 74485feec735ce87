// Fuzzes the translator's string-table parser. The input is read as the
// lines of a table. A refusal must name a line of the input (zero-based).
// A table that parses must keep its entries in reading order, each with a
// line of its own holding an id and a non-blank text without ';'. Written
// back as "<id>;<text>;" lines and "#<id>" ... "#" memos, it must parse
// to the same ids, texts and memo lines.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "i18n/TableParser.h"

namespace {

// The line number in a refusal; the messages lead with it (the offending
// line quoted after it may hold anything).
long LineOf(const std::string& message) {
  for (const char* lead : {"Found the end of memo marker # at line ", "The "}) {
    if (message.rfind(lead, 0) != 0) continue;
    return std::strtol(message.c_str() + std::string_view(lead).size(), nullptr, 10);
  }
  return -1;
}

std::string Written(const ParsedTable& t) {
  std::string out = "* written back\n";
  size_t s = 0, m = 0;
  while (s < t.strings.size() || m < t.memos.size()) {
    const bool memoFirst =
        m < t.memos.size() && (s == t.strings.size() || t.memos[m].line < t.strings[s].line);
    if (memoFirst) {
      out += "#" + std::to_string(t.memos[m].glid) + "\n";
      for (const std::string& line : t.memos[m].lines) out += line + "\n";
      out += "#\n";
      ++m;
    } else {
      out += std::to_string(t.strings[s].glid) + ";" + t.strings[s].text + ";\n";
      ++s;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TStringList lines;
  lines.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  ParsedTable table;
  try {
    table = ParseStringTable(lines);
  } catch (const Exception& e) {
    const long line = LineOf(e.Message());
    if (line < 0 || line >= lines.Count()) std::abort();
    return 0;
  }
  int last = -1;
  for (const auto& s : table.strings) {
    if (s.line <= last || s.line >= lines.Count()) std::abort();
    last = s.line;
    if (Trim(s.text).empty() || s.text.find(';') != std::string::npos) std::abort();
  }
  for (const auto& memo : table.memos) {
    if (memo.line < 0 || memo.line >= lines.Count()) std::abort();
    for (const std::string& line : memo.lines)
      if (line.empty() || line == "#" || line[0] == '*' || Trim(line) != line) std::abort();
  }

  TStringList again;
  again.SetText(Written(table));
  const ParsedTable back = ParseStringTable(again);  // throws (and fails) if refused
  if (back.strings.size() != table.strings.size() || back.memos.size() != table.memos.size())
    std::abort();
  for (size_t i = 0; i < table.strings.size(); ++i)
    if (back.strings[i].glid != table.strings[i].glid ||
        back.strings[i].text != table.strings[i].text)
      std::abort();
  for (size_t i = 0; i < table.memos.size(); ++i)
    if (back.memos[i].glid != table.memos[i].glid || back.memos[i].lines != table.memos[i].lines)
      std::abort();
  return 0;
}
