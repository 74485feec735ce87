// Reading, writing and changing the machine settings file (see
// MachineSettings.h). The file is small; it is rewritten whole, through a
// temporary file, so a reader never sees half of it.
#include "platform/sim/MachineSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <type_traits>

#include "framework/StrUtils.h"
#include "platform/HostAccess.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/WinPath.h"

namespace platform::sim {
namespace {

const KindPreset kKinds[] = {
    {"win32s", {kPlatformWin32s, 3, 10, 0, ""}, "C:\\WINDOWS", "System"},
    {"95", {kPlatformWindows, 4, 0, 950, ""}, "C:\\WINDOWS", "System"},
    {"98", {kPlatformWindows, 4, 10, 1998, ""}, "C:\\WINDOWS", "System"},
    {"me", {kPlatformWindows, 4, 90, 3000, ""}, "C:\\WINDOWS", "System"},
    {"nt351", {kPlatformNT, 3, 51, 1057, "Service Pack 5"}, "C:\\WINNT", "System32"},
    {"nt4", {kPlatformNT, 4, 0, 1381, "Service Pack 6"}, "C:\\WINNT", "System32"},
    {"2000", {kPlatformNT, 5, 0, 2195, "Service Pack 4"}, "C:\\WINNT", "System32"},
    {"xp", {kPlatformNT, 5, 1, 2600, "Service Pack 3"}, "C:\\WINDOWS", "System32"},
};

[[noreturn]] void Bad(std::string_view key, std::string_view value, std::string_view why) {
  throw MachineError("setting " + std::string(key) + "=" + std::string(value) + ": " +
                     std::string(why));
}

// A whole number, decimal or 0x hex, with nothing before or after it. A
// minus sign is only taken where the range has negative values; a value
// that does not fit is out of range, never wrapped or cut. `whole` is the
// setting's whole value when `text` is only a part of it (the errors quote
// what the user wrote).
template <class T>
T Number(std::string_view key, std::string_view part, T min, T max, std::string_view whole = {}) {
  const std::string_view text = whole.empty() ? part : whole;
  static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(uint64_t));
  std::string_view digits = part;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  // An unsigned parse takes no sign of its own, so "+-5" or "0x-5" stay
  // garbage instead of turning negative.
  uint64_t magnitude = 0;
  const auto [end, ec] =
      std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
  if (digits.empty() || ec == std::errc::invalid_argument || end != digits.data() + digits.size())
    Bad(key, text, "not a number");
  const std::string range = "out of range " + std::to_string(min) + ".." + std::to_string(max);
  if (ec != std::errc()) Bad(key, text, range);
  if (negative && magnitude != 0) {
    if constexpr (std::is_signed_v<T>) {
      // -magnitude >= min, written so that nothing overflows.
      if (min < 0 && magnitude - 1 <= static_cast<uint64_t>(-(static_cast<int64_t>(min) + 1)))
        return static_cast<T>(-static_cast<int64_t>(magnitude - 1) - 1);
      if (min < 0) Bad(key, text, range);
    }
    Bad(key, text, "must not be negative");
  }
  if (magnitude > static_cast<uint64_t>(max) || (min > 0 && magnitude < static_cast<uint64_t>(min)))
    Bad(key, text, range);
  return static_cast<T>(magnitude);
}

std::string FullPath(std::string_view key, std::string_view text) {
  if (!IsFullWindowsPath(text)) Bad(key, text, "not a full Windows path such as C:\\dir");
  try {
    return ParseWindowsPath(text, WinPath{}, "settings").Text();
  } catch (const OsError& e) {
    Bad(key, text, ErrorText(e.Code()));
  }
}

std::string Hex4(uint32_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
  return buf;
}

std::string ClockText(const MachineSettings& s) {
  switch (s.clockMode) {
    case ClockMode::Real:
      return "real";
    case ClockMode::Offset:
      return "offset " + std::to_string(s.clockOffsetSeconds);
    case ClockMode::Fixed:
      break;
  }
  int y, mo, d, h, mi, sec, ms;
  DecodeDateTime(s.clockFixed, y, mo, d, h, mi, sec, ms);
  char buf[32];
  std::snprintf(buf, sizeof buf, "fixed %04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, sec);
  return buf;
}

void SetClock(MachineSettings& s, std::string_view key, std::string_view value) {
  if (value == "real") {
    s.clockMode = ClockMode::Real;
    return;
  }
  if (value.rfind("offset ", 0) == 0) {
    s.clockOffsetSeconds =
        Number<int64_t>(key, value.substr(7), -100LL * 365 * 86400, 100LL * 365 * 86400, value);
    s.clockMode = ClockMode::Offset;
    return;
  }
  int y, mo, d, h, mi, sec;
  char tail;
  std::string text(value);
  if (value.rfind("fixed ", 0) != 0 || std::sscanf(text.c_str() + 6, "%4d-%2d-%2d %2d:%2d:%2d%c",
                                                   &y, &mo, &d, &h, &mi, &sec, &tail) != 6)
    Bad(key, value, "expected real, offset SECONDS or fixed YYYY-MM-DD HH:MM:SS");
  TDateTime date, time;
  if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, sec, 0, time))
    Bad(key, value, "no such date or time");
  s.clockFixed = ComposeDateTime(date, time);
  s.clockMode = ClockMode::Fixed;
}

bool Flag(std::string_view key, std::string_view value) {
  if (value == "1" || SameText(value, "true") || SameText(value, "yes")) return true;
  if (value == "0" || SameText(value, "false") || SameText(value, "no")) return false;
  Bad(key, value, "expected 1 or 0");
}

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : separator) + i;
  return out;
}

// The simulated Program Manager's command names a test can make it refuse.
std::vector<std::string> ProgmanCommands(std::string_view key, std::string_view value) {
  static const char* const kKnown[] = {"CreateGroup", "ShowGroup", "ReplaceItem", "AddItem", "*"};
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= value.size() && !value.empty()) {
    size_t comma = value.find(',', start);
    std::string_view name =
        value.substr(start, comma == std::string_view::npos ? comma : comma - start);
    const char* known = nullptr;
    for (const char* k : kKnown)
      if (SameText(k, name)) known = k;
    if (!known)
      Bad(key, value, "expected command names: CreateGroup, ShowGroup, ReplaceItem, AddItem or *");
    names.emplace_back(known);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return names;
}

// Entry point names, comma separated: each a plain identifier.
std::vector<std::string> EntryPointNames(std::string_view key, std::string_view value) {
  std::vector<std::string> names;
  size_t start = 0;
  while (!value.empty() && start <= value.size()) {
    size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) comma = value.size();
    std::string_view name = value.substr(start, comma - start);
    if (name.empty()) Bad(key, value, "expected entry point names separated by commas");
    for (char c : name)
      if (!std::isalnum((unsigned char)c) && c != '_')
        Bad(key, value, "an entry point name has letters, digits and '_' only");
    names.emplace_back(name);
    start = comma + 1;
  }
  return names;
}

}  // namespace

const KindPreset* FindKind(std::string_view kind) {
  for (const auto& k : kKinds)
    if (SameText(k.name, kind)) return &k;
  return nullptr;
}

std::string KindNames() {
  std::string names;
  for (const auto& k : kKinds) names += std::string(names.empty() ? "" : ", ") + k.name;
  return names;
}

std::vector<std::pair<std::string, std::string>> MachineSettings::Items() const {
  std::vector<std::pair<std::string, std::string>> items = {
      {"kind", kind},
      {"platform-id", std::to_string(version.platformId)},
      {"version", std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                      std::to_string(version.build)},
      {"csd", version.csdVersion},
      {"windows-dir", windowsDir},
      {"system-dir", systemDir},
      {"temp-dir", tempDir},
      {"language", Hex4(language)},
      {"screen", std::to_string(screenWidth) + "x" + std::to_string(screenHeight)},
      {"caption-height", std::to_string(captionHeight)},
      {"timezone", std::to_string(timeZoneMinutes)},
      {"clock", ClockText(*this)},
      {"program", program},
      {"current-dir", currentDir},
      {"delayed-move-refused", delayedMoveRefused ? "1" : "0"},
      {"progman", progman ? "1" : "0"},
      {"progman-refuses", Join(progmanRefuses, ",")},
      {"wininet", wininet ? "1" : "0"},
      {"wininet-lacks", Join(wininetLacks, ",")},
      {"removable", removable},
  };
  for (const auto& [drive, bytes] : capacity)
    items.emplace_back(std::string("capacity.") + drive, std::to_string(bytes));
  if (!fault.empty()) items.emplace_back("fault", fault);
  for (const auto& h : held) items.emplace_back("held", h);
  return items;
}

void MachineSettings::Set(std::string_view key, std::string_view value) {
  MachineSettings next = *this;  // all or nothing
  if (key == "kind") {
    const KindPreset* preset = FindKind(value);
    if (!preset) Bad(key, value, "unknown kind; known: " + KindNames());
    next.kind = preset->name;
    next.version = preset->version;
  } else if (key == "platform-id") {
    next.version.platformId = Number<uint32_t>(key, value, 0, 0xFFFF);
  } else if (key == "version") {
    const size_t dot1 = value.find('.');
    const size_t dot2 = dot1 == std::string_view::npos ? dot1 : value.find('.', dot1 + 1);
    if (dot1 == std::string_view::npos) Bad(key, value, "expected MAJOR.MINOR[.BUILD]");
    const std::string_view minor =
        value.substr(dot1 + 1, dot2 == std::string_view::npos ? dot2 : dot2 - dot1 - 1);
    next.version.major = Number<uint32_t>(key, value.substr(0, dot1), 0, 255, value);
    next.version.minor = Number<uint32_t>(key, minor, 0, 255, value);
    next.version.build = dot2 == std::string_view::npos
                             ? 0
                             : Number<uint32_t>(key, value.substr(dot2 + 1), 0, 0xFFFF, value);
  } else if (key == "csd") {
    next.version.csdVersion = std::string(value);
  } else if (key == "windows-dir") {
    next.windowsDir = FullPath(key, value);
  } else if (key == "system-dir") {
    next.systemDir = FullPath(key, value);
  } else if (key == "temp-dir") {
    next.tempDir = FullPath(key, value);
  } else if (key == "program") {
    next.program = FullPath(key, value);
  } else if (key == "current-dir") {
    next.currentDir = FullPath(key, value);
  } else if (key == "language") {
    next.language = Number<uint16_t>(key, value, 0, 0xFFFF);
  } else if (key == "screen") {
    size_t x = value.find('x');
    if (x == std::string_view::npos) Bad(key, value, "expected WIDTHxHEIGHT");
    next.screenWidth = Number<int>(key, value.substr(0, x), 1, 65535, value);
    next.screenHeight = Number<int>(key, value.substr(x + 1), 1, 65535, value);
  } else if (key == "caption-height") {
    next.captionHeight = Number<int>(key, value, 1, 1000);
  } else if (key == "timezone") {
    next.timeZoneMinutes = Number<int>(key, value, -14 * 60, 14 * 60);
  } else if (key == "clock") {
    SetClock(next, key, value);
  } else if (key == "delayed-move-refused") {
    if (value == "1" || SameText(value, "true") || SameText(value, "yes"))
      next.delayedMoveRefused = true;
    else if (value == "0" || SameText(value, "false") || SameText(value, "no"))
      next.delayedMoveRefused = false;
    else
      Bad(key, value, "expected 1 or 0");
  } else if (key == "progman") {
    next.progman = Flag(key, value);
  } else if (key == "progman-refuses") {
    next.progmanRefuses = ProgmanCommands(key, value);
  } else if (key == "wininet") {
    next.wininet = Flag(key, value);
  } else if (key == "wininet-lacks") {
    next.wininetLacks = EntryPointNames(key, value);
  } else if (key == "removable") {
    std::string letters;
    for (char c : value) {
      const char drive = char(c & ~0x20);
      if (drive < 'A' || drive > 'Z') Bad(key, value, "expected drive letters, e.g. A");
      if (letters.find(drive) == std::string::npos) letters += drive;
    }
    next.removable = letters;
  } else if (key.rfind("capacity.", 0) == 0 && key.size() == 10 &&
             ((key[9] | 0x20) >= 'a' && (key[9] | 0x20) <= 'z')) {
    char drive = char(key[9] & ~0x20);
    if (value.empty() || value == "host")
      next.capacity.erase(drive);
    else
      next.capacity[drive] = Number<uint64_t>(key, value, 0, kMaxByteCount);
  } else if (key == "fault") {
    try {
      const FaultPlan plan = FaultPlan::Parse(value);
      next.fault = plan.rules.empty() ? std::string() : plan.Text();
    } catch (const std::invalid_argument& e) {
      Bad(key, value, e.what());
    }
  } else if (key == "held") {
    std::string path = FullPath(key, value);
    bool present = false;
    for (const auto& h : next.held) present = present || SameText(h, path);
    if (!present) next.held.push_back(path);
  } else {
    throw MachineError("unknown setting '" + std::string(key) + "'");
  }
  *this = std::move(next);
}

std::string MachineSettings::Serialize() const {
  std::string out =
      "; Simulated Windows machine. Change with: pellmore-machine settings DIR key=value\n"
      "[machine]\n";
  std::string capacities, helds;
  for (const auto& [key, value] : Items()) {
    if (key == "held")
      helds += value + "\n";
    else if (key.rfind("capacity.", 0) == 0)
      capacities += key.substr(9) + "=" + value + "\n";
    else
      out += key + "=" + value + "\n";
  }
  out += "[capacity]\n" + capacities + "[held]\n" + helds;
  return out;
}

MachineSettings MachineSettings::Parse(std::string_view text, const std::string& fileName) {
  MachineSettings s;
  std::string section;
  size_t lineNo = 0;
  std::istringstream in{std::string(text)};
  std::string line;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto fail = [&](const std::string& why) -> void {
      throw MachineError(fileName + ", line " + std::to_string(lineNo) + ": " + why);
    };
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']') fail("unterminated section header");
      section = line.substr(1, line.size() - 2);
      if (section != "machine" && section != "capacity" && section != "held")
        fail("unknown section [" + section + "]");
      continue;
    }
    try {
      if (section == "held") {
        s.Set("held", line);
        continue;
      }
      size_t eq = line.find('=');
      if (eq == std::string::npos || section.empty()) fail("expected key=value in a section");
      std::string key = line.substr(0, eq), value = line.substr(eq + 1);
      s.Set(section == "capacity" ? "capacity." + key : key, value);
    } catch (const MachineError& e) {
      if (e.Message().rfind(fileName, 0) == 0) throw;
      fail(e.Message());
    }
  }
  return s;
}

// machine.ini holds a few dozen lines; a larger file is not one.
constexpr size_t kMaxSettingsBytes = 1024 * 1024;

std::string SettingsFile(const std::string& hostDir) {
  return hostDir + "/machine.ini";
}

MachineSettings LoadSettings(const std::string& hostDir) {
  const std::string file = SettingsFile(hostDir);
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0)
    throw MachineError("'" + hostDir + "' is not a simulated machine (no machine.ini there)");
  // A directory opens as an empty stream on the host: it must not pass for
  // a machine with default settings.
  if (!S_ISREG(st.st_mode))
    throw MachineError("'" + hostDir + "' is not a whole simulated machine: " + file +
                       " is not a regular file");
  std::string content;
  try {
    content = ReadHostFile(file, kMaxSettingsBytes);
  } catch (const EHostFileError& e) {
    throw MachineError("cannot read " + file + ": " + e.Message());
  }
  // Every machine.ini the machine writes has the [machine] section; a file
  // without one (empty, cut short, something else) would silently give a
  // default NT 4 machine instead of the one that was made.
  if (content.find("[machine]") == std::string::npos)
    throw MachineError("'" + hostDir + "' is not a whole simulated machine: " + file +
                       (content.empty() ? " is empty" : " has no [machine] section"));
  return MachineSettings::Parse(content, file);
}

uint64_t ByteCount(std::string_view key, std::string_view text) {
  return Number<uint64_t>(key, text, 0, kMaxByteCount);
}

void SaveSettings(const std::string& hostDir, const MachineSettings& settings) {
  std::string file = SettingsFile(hostDir);
  std::string temp = file + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << settings.Serialize();
    out.flush();
    if (!out) throw MachineError("cannot write " + temp);
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    throw MachineError("cannot replace " + file);
  }
}

}  // namespace platform::sim
