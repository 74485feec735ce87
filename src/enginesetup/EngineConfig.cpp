// Reading, changing, merging and writing the engine's configuration files
// (see EngineConfig.h). Lines are kept as written; only a setting whose
// value changes is written anew, as its name as written, "=", the value.
#include "enginesetup/EngineConfig.h"

#include <map>
#include <stdexcept>
#include <utility>

namespace enginesetup {
namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kSystemInit = "SYSTEM INIT";

// Settings whose value the engine owns: a merge takes the template's.
constexpr std::pair<std::string_view, std::string_view> kEngineOwned[] = {
    {kSystemInit, "VERSION"},
};

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

std::string UpperKey(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

// A setting's key in a lookup table: section and name, case folded.
std::string SettingKey(std::string_view section, std::string_view name) {
  return UpperKey(section) + '\n' + UpperKey(name);
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsWritableSectionName(std::string_view name) {
  return !Trim(name).empty() && !HasLineBreakOrNul(name) &&
         name.find_first_of("[]") == std::string_view::npos;
}

// One line (without its line end) classified; false with `why` when it is
// none of the three kinds.
bool ClassifyLine(std::string_view text, bool inSection, ConfigLine& line, std::string& why) {
  line.text = std::string(text);
  if (text.find('\0') != std::string_view::npos) {
    why = "a NUL byte";
    return false;
  }
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') {
    line.kind = ConfigLine::Kind::Comment;
    return true;
  }
  if (t.front() == '[') {
    const size_t close = t.find(']');
    if (close == std::string_view::npos) {
      why = "a section header without its closing \"]\"";
      return false;
    }
    if (close + 1 != t.size()) {
      why = "text after the section header's closing \"]\"";
      return false;
    }
    const std::string_view name = Trim(t.substr(1, close - 1));
    if (name.empty()) {
      why = "a section header without a name";
      return false;
    }
    if (name.find('[') != std::string_view::npos) {
      why = "a \"[\" inside a section name";
      return false;
    }
    line.kind = ConfigLine::Kind::Section;
    line.name = std::string(name);
    return true;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) {
    why = "neither a comment, a section header nor a NAME=VALUE setting";
    return false;
  }
  const std::string_view name = Trim(t.substr(0, eq));
  if (name.empty()) {
    why = "a setting without a name";
    return false;
  }
  if (!inSection) {
    why = "a setting before the first section";
    return false;
  }
  line.kind = ConfigLine::Kind::Setting;
  line.name = std::string(name);
  line.value = std::string(Trim(t.substr(eq + 1)));
  return true;
}

ConfigLine SettingLine(std::string_view name, std::string_view value) {
  ConfigLine line;
  line.kind = ConfigLine::Kind::Setting;
  line.name = std::string(Trim(name));
  line.value = std::string(Trim(value));
  line.text = line.name + "=" + line.value;
  return line;
}

ConfigLine SectionLine(std::string_view name) {
  ConfigLine line;
  line.kind = ConfigLine::Kind::Section;
  line.name = std::string(Trim(name));
  line.text = "[" + line.name + "]";
  return line;
}

// A section block: its header's index and the index one past its last line.
struct Block {
  size_t begin = 0, end = 0;
};

std::vector<Block> Blocks(const std::vector<ConfigLine>& lines) {
  std::vector<Block> blocks;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != ConfigLine::Kind::Section) continue;
    if (!blocks.empty()) blocks.back().end = i;
    blocks.push_back({i, lines.size()});
  }
  return blocks;
}

// Where a setting added to a block goes: after its last setting, or right
// after the header when it has none (comments after the last setting stay
// with whatever follows them).
size_t InsertionPoint(const std::vector<ConfigLine>& lines, const Block& b) {
  size_t at = b.begin + 1;
  for (size_t i = b.begin + 1; i < b.end; ++i)
    if (lines[i].kind == ConfigLine::Kind::Setting) at = i + 1;
  return at;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

bool IsWritableSettingName(std::string_view name) {
  const std::string_view t = Trim(name);
  return !t.empty() && !HasLineBreakOrNul(name) && name.find('=') == std::string_view::npos &&
         t.front() != ';' && t.front() != '[';
}

bool IsWritableSettingValue(std::string_view value) {
  return !HasLineBreakOrNul(value);
}

std::string ParseResult::Message() const {
  if (config) return {};
  return "damaged at line " + std::to_string(line) + ": " + why;
}

ParseResult EngineConfig::Parse(std::string_view bytes) {
  std::vector<ConfigLine> lines;
  bool inSection = false;
  size_t pos = 0, number = 0;
  while (pos < bytes.size()) {
    size_t eol = bytes.find('\n', pos);
    if (eol == std::string_view::npos) eol = bytes.size();
    std::string_view text = bytes.substr(pos, eol - pos);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    pos = eol + 1;
    ++number;
    ConfigLine line;
    std::string why;
    if (!ClassifyLine(text, inSection, line, why)) {
      ParseResult damaged;
      damaged.line = number;
      damaged.why = std::move(why);
      return damaged;
    }
    if (line.kind == ConfigLine::Kind::Section) inSection = true;
    lines.push_back(std::move(line));
  }
  ParseResult ok;
  ok.config = EngineConfig(std::move(lines));
  return ok;
}

bool EngineConfig::HasSection(std::string_view section) const {
  for (const ConfigLine& l : lines_)
    if (l.kind == ConfigLine::Kind::Section && SameName(l.name, section)) return true;
  return false;
}

std::optional<std::string> EngineConfig::Value(std::string_view section,
                                               std::string_view name) const {
  bool inIt = false;
  for (const ConfigLine& l : lines_) {
    if (l.kind == ConfigLine::Kind::Section)
      inIt = SameName(l.name, section);
    else if (inIt && l.kind == ConfigLine::Kind::Setting && SameName(l.name, name))
      return l.value;
  }
  return std::nullopt;
}

void EngineConfig::Set(std::string_view section, std::string_view name, std::string_view value) {
  if (!IsWritableSectionName(section)) throw std::invalid_argument("not a section name");
  if (!IsWritableSettingName(name)) throw std::invalid_argument("not a setting name");
  if (!IsWritableSettingValue(value)) throw std::invalid_argument("not a setting value");
  const std::string_view v = Trim(value);
  std::optional<Block> last;
  for (const Block& b : Blocks(lines_)) {
    if (!SameName(lines_[b.begin].name, section)) continue;
    for (size_t i = b.begin + 1; i < b.end; ++i) {
      ConfigLine& l = lines_[i];
      if (l.kind != ConfigLine::Kind::Setting || !SameName(l.name, name)) continue;
      if (l.value == v) return;
      // Keep the name as the file wrote it, blanks and all.
      l.text = l.text.substr(0, l.text.find('=') + 1) + std::string(v);
      l.value = std::string(v);
      return;
    }
    last = b;
  }
  if (last) {
    lines_.insert(lines_.begin() + std::ptrdiff_t(InsertionPoint(lines_, *last)),
                  SettingLine(name, v));
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(ConfigLine{});
  lines_.push_back(SectionLine(section));
  lines_.push_back(SettingLine(name, v));
}

std::string EngineConfig::Write() const {
  std::string out;
  size_t size = 0;
  for (const ConfigLine& l : lines_) size += l.text.size() + 2;
  out.reserve(size);
  for (const ConfigLine& l : lines_) {
    out += l.text;
    out += "\r\n";
  }
  return out;
}

EngineConfig EngineConfig::Merge(const EngineConfig& templ, const EngineConfig& existing) {
  std::vector<ConfigLine> base = existing.lines_;

  // What the configuration in use has: its sections (the last block of
  // each, where additions go) and its settings.
  const std::vector<Block> blocks = Blocks(base);
  std::map<std::string, size_t> lastBlock;
  std::map<std::string, size_t> firstSetting;  // key -> line index
  for (size_t bi = 0; bi < blocks.size(); ++bi) {
    const std::string section = UpperKey(base[blocks[bi].begin].name);
    lastBlock[section] = bi;
    for (size_t i = blocks[bi].begin + 1; i < blocks[bi].end; ++i)
      if (base[i].kind == ConfigLine::Kind::Setting)
        firstSetting.emplace(SettingKey(section, base[i].name), i);
  }

  // The engine's own settings take the template's value where both have
  // them; where only the template has one, it is added below.
  for (const auto& [section, name] : kEngineOwned) {
    const std::optional<std::string> v = templ.Value(section, name);
    auto found = firstSetting.find(SettingKey(section, name));
    if (!v || found == firstSetting.end()) continue;
    ConfigLine& l = base[found->second];
    if (l.value == *v) continue;
    l.text = l.text.substr(0, l.text.find('=') + 1) + *v;
    l.value = *v;
  }

  // What the template adds: settings per existing block, whole blocks at
  // the end.
  std::vector<std::vector<const ConfigLine*>> additions(blocks.size());
  std::vector<Block> appended;
  std::map<std::string, bool> added;  // settings already taken from the template
  for (const Block& tb : Blocks(templ.lines_)) {
    const std::string section = UpperKey(templ.lines_[tb.begin].name);
    auto target = lastBlock.find(section);
    if (target == lastBlock.end()) {
      appended.push_back(tb);
      continue;
    }
    for (size_t i = tb.begin + 1; i < tb.end; ++i) {
      const ConfigLine& l = templ.lines_[i];
      if (l.kind != ConfigLine::Kind::Setting) continue;
      const std::string key = SettingKey(section, l.name);
      if (firstSetting.count(key) || added[key]) continue;
      added[key] = true;
      additions[target->second].push_back(&l);
    }
  }

  std::vector<ConfigLine> out;
  out.reserve(base.size());
  size_t next = 0;  // the next line of `base` to copy
  for (size_t bi = 0; bi < blocks.size(); ++bi) {
    const size_t at = InsertionPoint(base, blocks[bi]);
    while (next < at) out.push_back(std::move(base[next++]));
    for (const ConfigLine* l : additions[bi]) out.push_back(*l);
  }
  while (next < base.size()) out.push_back(std::move(base[next++]));
  for (const Block& tb : appended) {
    if (!out.empty() && !Trim(out.back().text).empty()) out.push_back(ConfigLine{});
    for (size_t i = tb.begin; i < tb.end; ++i) out.push_back(templ.lines_[i]);
  }
  return EngineConfig(std::move(out));
}

}  // namespace enginesetup
