// The simulated Program Manager behind the machine's DDE (see SimDde.h).
// Its state is a small text file rewritten whole under a lock for every
// command, so two processes talking to it never lose each other's groups;
// an execute that fails part way changes nothing.
#include "platform/sim/SimDde.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "framework/StrUtils.h"
#include "platform/HostAccess.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/StateFiles.h"

namespace platform::sim {
namespace {

constexpr const char* kStateFile = "/progman.txt";
constexpr const char* kLogFile = "/progman.log";
constexpr const char* kLockFile = "/progman.lock";

// The server's whole state: its groups, the active one (the last created
// or shown, which ReplaceItem and AddItem work on) and per group the item a
// ReplaceItem marked for the next AddItem.
struct State {
  struct Group {
    SimProgmanGroup data;
    std::string replaceMark;  // item name; empty when none
  };
  std::vector<Group> groups;
  std::string active;

  Group* Find(std::string_view name) {
    for (auto& g : groups)
      if (SameText(g.data.name, name)) return &g;
    return nullptr;
  }
};

State Load(const std::string& hostDir) {
  const std::string file = hostDir + kStateFile;
  State s;
  std::istringstream in(ReadStateFile(file));
  std::string line;
  size_t lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.empty()) continue;
    const auto f = SplitFields(line);
    const auto bad = [&] {
      throw MachineError(file + ", line " + std::to_string(lineNo) +
                         ": not a Program Manager record");
    };
    if (f[0] == "active" && f.size() == 2) {
      s.active = f[1];
    } else if (f[0] == "group" && f.size() == 3) {
      s.groups.push_back({SimProgmanGroup{f[1], {}}, f[2]});
    } else if (f[0] == "item" && f.size() == 7 && !s.groups.empty()) {
      SimProgmanItem item{f[1], f[2], f[3], f[4], f[6], 0};
      const auto [end, ec] =
          std::from_chars(f[5].data(), f[5].data() + f[5].size(), item.iconIndex);
      if (ec != std::errc() || end != f[5].data() + f[5].size()) bad();
      s.groups.back().data.items.push_back(std::move(item));
    } else {
      bad();
    }
  }
  return s;
}

void Save(const std::string& hostDir, const State& s) {
  std::string out;
  if (!s.active.empty()) out += "active\t" + EscapeField(s.active) + "\n";
  for (const auto& g : s.groups) {
    out += "group\t" + EscapeField(g.data.name) + "\t" + EscapeField(g.replaceMark) + "\n";
    for (const auto& i : g.data.items)
      out += "item\t" + EscapeField(i.name) + "\t" + EscapeField(i.command) + "\t" +
             EscapeField(i.directory) + "\t" + EscapeField(i.iconPath) + "\t" +
             std::to_string(i.iconIndex) + "\t" + EscapeField(i.hotKey) + "\n";
  }
  WriteStateFile(hostDir + kStateFile, out);
}

struct Command {
  std::string name;
  std::vector<std::string> args;
};

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

// An argument in double quotes loses them; one with text outside its quotes
// (a quoted program followed by its arguments) is kept as written.
std::string Argument(std::string_view raw) {
  std::string a = Trim(raw);
  if (a.size() >= 2 && a.front() == '"' && a.back() == '"' && a.find('"', 1) == a.size() - 1)
    return a.substr(1, a.size() - 2);
  return a;
}

// "[Name(arg,arg)][Name(...)]": commas inside double quotes belong to the
// argument. nullopt for anything else.
std::optional<std::vector<Command>> Parse(std::string_view text) {
  std::vector<Command> commands;
  size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
      ++i;
  };
  for (;;) {
    skipBlanks();
    if (i == text.size()) break;
    if (text[i] != '[') return std::nullopt;
    const size_t open = text.find('(', i + 1);
    if (open == std::string_view::npos) return std::nullopt;
    Command c{Trim(text.substr(i + 1, open - i - 1)), {}};
    if (c.name.empty()) return std::nullopt;
    bool quoted = false;
    size_t start = open + 1, j = start;
    for (; j < text.size(); ++j) {
      if (text[j] == '"') {
        quoted = !quoted;
      } else if (!quoted && text[j] == ',') {
        c.args.push_back(Argument(text.substr(start, j - start)));
        start = j + 1;
      } else if (!quoted && text[j] == ')') {
        break;
      }
    }
    if (j == text.size()) return std::nullopt;
    const std::string last = Argument(text.substr(start, j - start));
    if (!last.empty() || !c.args.empty()) c.args.push_back(last);
    i = j + 1;
    skipBlanks();
    if (i == text.size() || text[i] != ']') return std::nullopt;
    ++i;
    commands.push_back(std::move(c));
  }
  if (commands.empty()) return std::nullopt;
  return commands;
}

std::string Arg(const Command& c, size_t n) {
  return n < c.args.size() ? c.args[n] : std::string();
}

// The program's name without directory and extension: AddItem's default
// item name.
std::string DefaultName(const std::string& command) {
  std::string program = command;
  if (!program.empty() && program[0] == '"') {
    const size_t close = program.find('"', 1);
    program = program.substr(1, close == std::string::npos ? close : close - 1);
  } else {
    program = program.substr(0, program.find(' '));
  }
  const size_t slash = program.find_last_of("\\/:");
  if (slash != std::string::npos) program = program.substr(slash + 1);
  const size_t dot = program.rfind('.');
  return dot == std::string::npos || dot == 0 ? program : program.substr(0, dot);
}

// Carries out one command on `s`; false when the Program Manager would
// refuse it (then `s` may be half changed: the caller drops it).
bool Apply(State& s, const Command& c) {
  if (SameText(c.name, "CreateGroup")) {
    const std::string name = Arg(c, 0);
    if (name.empty()) return false;
    if (!s.Find(name)) s.groups.push_back({SimProgmanGroup{name, {}}, {}});
    s.active = s.Find(name)->data.name;
    return true;
  }
  if (SameText(c.name, "ShowGroup")) {
    State::Group* g = s.Find(Arg(c, 0));
    if (!g) return false;
    s.active = g->data.name;
    return true;
  }
  State::Group* g = s.Find(s.active);
  if (SameText(c.name, "ReplaceItem")) {
    if (!g) return false;
    const std::string name = Arg(c, 0);
    for (const auto& item : g->data.items) {
      if (SameText(item.name, name)) {
        g->replaceMark = item.name;
        return true;
      }
    }
    return false;
  }
  if (SameText(c.name, "AddItem")) {
    SimProgmanItem item;
    item.command = Arg(c, 0);
    if (!g || item.command.empty()) return false;
    item.name = Arg(c, 1).empty() ? DefaultName(item.command) : Arg(c, 1);
    item.iconPath = Arg(c, 2);
    const std::string index = Arg(c, 3);
    if (!index.empty()) {
      const auto [end, ec] =
          std::from_chars(index.data(), index.data() + index.size(), item.iconIndex);
      if (ec != std::errc() || end != index.data() + index.size()) return false;
    }
    item.directory = Arg(c, 6);
    item.hotKey = Arg(c, 7);
    auto& items = g->data.items;
    auto at = items.end();
    if (!g->replaceMark.empty()) {
      for (auto it = items.begin(); it != items.end(); ++it) {
        if (SameText(it->name, g->replaceMark)) {
          at = items.erase(it);
          break;
        }
      }
      g->replaceMark.clear();
    }
    items.insert(at, std::move(item));
    return true;
  }
  return false;
}

void AppendLog(const std::string& hostDir, const std::string& text, bool accepted) {
  auto file = OpenHostAppendFile(hostDir + kLogFile);
  file->Append(std::string(accepted ? "ok" : "refused") + "\t" + EscapeField(text) + "\n");
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Report(const State::Group& g) {
  std::string out = Quoted(g.data.name) + "," + std::to_string(g.data.items.size()) + "\r\n";
  int i = 0;
  for (const auto& item : g.data.items) {
    const int x = 16 + 72 * (i % 8), y = 16 + 64 * (i / 8);
    ++i;
    out += Quoted(item.name) + "," + Quoted(item.command) + "," + item.directory + "," +
           item.iconPath + "," + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(item.iconIndex) + "," + (item.hotKey.empty() ? "0" : item.hotKey) +
           "\r\n";
  }
  return out;
}

class SimProgman : public DdeConversation {
 public:
  explicit SimProgman(MachineCore& core) : core_(core) {}

  bool Execute(std::string_view command) override {
    const std::string text(command);
    const std::string& dir = core_.HostDir();
    StateFileLock lock(dir + kLockFile);
    bool ok = false;
    try {
      ok = Run(text);
    } catch (const MachineError&) {
      ok = false;  // a damaged state file: the server refuses, as a hung one would
    }
    AppendLog(dir, text, ok);
    return ok;
  }

  std::optional<std::string> Request(std::string_view item) override {
    StateFileLock lock(core_.HostDir() + kLockFile);
    State s;
    try {
      s = Load(core_.HostDir());
    } catch (const MachineError&) {
      return std::nullopt;
    }
    if (SameText(item, "Groups")) {
      std::string out;
      for (const auto& g : s.groups) out += g.data.name + "\r\n";
      return out;
    }
    if (const State::Group* g = s.Find(item)) return Report(*g);
    return std::nullopt;
  }

 private:
  bool Run(const std::string& text) {
    const auto commands = Parse(text);
    if (!commands) return false;
    const std::vector<std::string>& refused = core_.Settings().progmanRefuses;
    for (const auto& c : *commands)
      for (const auto& r : refused)
        if (SameText(r, c.name) || r == "*") return false;
    State s = Load(core_.HostDir());
    for (const auto& c : *commands)
      if (!Apply(s, c)) return false;
    Save(core_.HostDir(), s);
    return true;
  }

  MachineCore& core_;
};

}  // namespace

std::unique_ptr<DdeConversation> SimDde::Connect(std::string_view service, std::string_view topic) {
  if (!SameText(service, "PROGMAN") || !SameText(topic, "PROGMAN")) return nullptr;
  if (!core_.Settings().progman) return nullptr;
  return std::make_unique<SimProgman>(core_);
}

std::vector<SimProgmanGroup> SimDde::Groups() const {
  StateFileLock lock(core_.HostDir() + kLockFile);
  std::vector<SimProgmanGroup> out;
  for (auto& g : Load(core_.HostDir()).groups) out.push_back(std::move(g.data));
  return out;
}

std::vector<SimDdeCommand> SimDde::Commands() const {
  std::vector<SimDdeCommand> out;
  std::istringstream in(ReadStateFile(core_.HostDir() + kLogFile));
  std::string line;
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    out.push_back({UnescapeField(line.substr(tab + 1)), line.substr(0, tab) == "ok"});
  }
  return out;
}

void SimDde::ClearCommands() {
  std::remove((core_.HostDir() + kLogFile).c_str());
}

}  // namespace platform::sim
