// Hive file reader (see HiveReader.h). One pass over the text; each section
// header walks the key tree from the root once, so reading is linear in the
// size of the file.
#include "platform/sim/HiveReader.h"

#include "framework/StrUtils.h"
#include "platform/sim/HiveSyntax.h"

namespace platform::sim {
namespace {

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  // The next line without its line break; false at the end of the text.
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == text_.npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  size_t Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t number_ = 0;
};

bool EndsWithBackslash(std::string_view s) {
  return !s.empty() && s.back() == '\\';
}

bool IsHexData(std::string_view data) {
  return data.size() >= 3 && SameText(data.substr(0, 3), "hex");
}

bool ParseGeneration(std::string_view digits, uint64_t& out) {
  digits = TrimBlanks(digits);
  if (digits.empty() || digits.size() > 19) return false;
  out = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

// UTF-16 text (what regedit exports, and what the machine tool's "reg
// export" writes): a byte-order mark, or the NULs every ASCII character has
// beside it.
bool LooksLikeUtf16(std::string_view text) {
  if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") return true;
  return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

}  // namespace

void ReadHiveText(std::string_view text, const std::string& file, Hive& hive) {
  // The two mistakes a hand-made hive most often has get their own words;
  // "header expected" would not say what to do about them.
  if (text.empty()) throw HiveError(file, 1, "empty file (a hive starts with \"REGEDIT4\")");
  if (LooksLikeUtf16(text))
    throw HiveError(file, 1, "UTF-16 text; hive files are UTF-8 text starting with \"REGEDIT4\"");
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Lines lines(text);
  std::string_view line;
  if (!lines.Next(line) || TrimBlanks(line) != "REGEDIT4")
    throw HiveError(file, 1, "\"REGEDIT4\" header expected");

  HiveKey* current = nullptr;
  std::vector<std::string_view> names;
  std::string why;
  std::string name;
  std::string joined;
  RegValue value;
  while (lines.Next(line)) {
    const size_t number = lines.Number();
    const std::string_view t = TrimBlanks(line);
    if (t.empty()) continue;
    if (t.front() == ';') {
      if (!current && t.substr(0, kGenerationComment.size()) == kGenerationComment &&
          !ParseGeneration(t.substr(kGenerationComment.size()), hive.generation))
        throw HiveError(file, number, "bad generation number");
      continue;
    }
    if (t.front() == '[') {
      if (t.back() != ']') throw HiveError(file, number, "section header without closing ']'");
      const std::string_view path = t.substr(1, t.size() - 2);
      if (!path.empty() && path.front() == '-')
        throw HiveError(file, number, "key deletion in a hive file");
      const size_t slash = path.find('\\');
      const std::string_view root = path.substr(0, slash);
      if (!SameText(root, hive.RootName()))
        throw HiveError(file, number, "section is not under " + hive.RootName());
      const std::string_view below = slash == path.npos ? std::string_view() : path.substr(slash);
      // "[ROOT\]" or "[ROOT\a\\b]" would name keys the writer never makes.
      if (below == "\\" || (below.size() > 1 && below.back() == '\\'))
        throw HiveError(file, number, "empty key name");
      if (!SplitKeyPath(below, names, why)) throw HiveError(file, number, why);
      current = &hive.Create(names);
      continue;
    }

    if (!current) throw HiveError(file, number, "value line before the first section");
    size_t pos = 0;
    if (t.front() == '@') {
      name.clear();
      pos = 1;
    } else if (t.front() == '"') {
      if (!ParseQuoted(t, pos, name, why)) throw HiveError(file, number, why);
      why = ValueNameProblem(name);
      if (!why.empty()) throw HiveError(file, number, why);
    } else {
      throw HiveError(file, number, "section header or value line expected");
    }
    while (pos < t.size() && IsBlank(t[pos])) ++pos;
    if (pos >= t.size() || t[pos] != '=') throw HiveError(file, number, "'=' expected");
    std::string_view data = TrimBlanks(t.substr(pos + 1));
    if (data == "-") throw HiveError(file, number, "value deletion in a hive file");
    if (IsHexData(data) && EndsWithBackslash(data)) {
      joined.assign(data.substr(0, data.size() - 1));
      std::string_view more;
      while (true) {
        if (!lines.Next(more))
          throw HiveError(file, number, "continued line at the end of the file");
        more = TrimBlanks(more);
        if (!EndsWithBackslash(more)) {
          joined += more;
          break;
        }
        joined += more.substr(0, more.size() - 1);
      }
      data = joined;
    }
    if (!ParseValueData(data, value, why)) throw HiveError(file, number, why);
    current->SetValue(name, std::move(value));
  }
}

}  // namespace platform::sim
