// Windows path parsing and wildcard matching (see WinPath.h).
#include "platform/sim/WinPath.h"

#include "framework/StrUtils.h"
#include "framework/Utf8.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {

constexpr size_t kMaxComponentUnits = 255;  // UTF-16 units, as NTFS counts

bool IsDeviceName(std::string_view name) {
  std::string upper = AsciiUpperCase(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* d : kDevices)
    if (upper == d) return true;
  return upper.size() == 4 && (upper.rfind("COM", 0) == 0 || upper.rfind("LPT", 0) == 0) &&
         upper[3] >= '1' && upper[3] <= '9';
}

size_t Utf16Units(std::string_view s) {
  size_t units = 0;
  char32_t cp = 0;
  for (size_t pos = 0, n; (n = Utf8Next(s, pos, &cp)) != 0; pos += n) units += cp > 0xFFFF ? 2 : 1;
  return units;
}

// Checks one component and returns it in the form Windows stores.
std::string CleanComponent(std::string_view raw, bool wildcards, std::string_view call,
                           std::string_view path) {
  std::string name(raw);
  bool hasWild = wildcards && HasWildcards(name);
  if (!hasWild)
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  if (name.empty()) Refuse(call, path, kErrorInvalidName);
  for (unsigned char c : name) {
    bool bad = c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|';
    if (!wildcards) bad = bad || c == '?' || c == '*';
    if (bad) Refuse(call, path, kErrorInvalidName);
  }
  if (IsDeviceName(name)) Refuse(call, path, kErrorInvalidName);
  if (Utf16Units(name) > kMaxComponentUnits) Refuse(call, path, kErrorFilenameExcedRange);
  return name;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::u32string UpperCodePoints(std::string_view s) {
  std::u32string out;
  char32_t cp = 0;
  for (size_t pos = 0, n; (n = Utf8Next(s, pos, &cp)) != 0; pos += n)
    out += (cp >= 'a' && cp <= 'z') ? cp - 'a' + 'A' : cp;
  return out;
}

// Glob matching by dynamic programming over (pattern, name) positions:
// linear memory, no exponential backtracking on patterns like "*a*a*a*b".
bool Glob(const std::u32string& p, const std::u32string& n) {
  // reach[j]: the pattern prefix processed so far can match n[0..j).
  std::vector<char> reach(n.size() + 1, 0), next(n.size() + 1, 0);
  reach[0] = 1;
  for (size_t i = 0; i < p.size(); ++i) {
    std::fill(next.begin(), next.end(), 0);
    char32_t pc = p[i];
    for (size_t j = 0; j <= n.size(); ++j) {
      if (!reach[j]) continue;
      if (pc == U'*') {
        for (size_t k = j; k <= n.size(); ++k) next[k] = 1;
        break;  // every later j is covered already
      }
      if (pc == U'?') {
        // One character, or none at the end of the name or before a dot.
        if (j < n.size()) next[j + 1] = 1;
        if (j == n.size() || n[j] == U'.') next[j] = 1;
      } else if (j < n.size() && n[j] == pc) {
        next[j + 1] = 1;
      }
    }
    reach.swap(next);
  }
  return reach[n.size()] != 0;
}

}  // namespace

std::string WinPath::Text() const {
  std::string s{drive, ':', '\\'};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) s += '\\';
    s += parts[i];
  }
  return s;
}

WinPath WinPath::Parent() const {
  WinPath p = *this;
  if (!p.parts.empty()) p.parts.pop_back();
  return p;
}

std::string WinPath::Key() const {
  return AsciiUpperCase(Text());
}

bool IsFullWindowsPath(std::string_view path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

WinPath ParseWindowsPath(std::string_view path, const WinPath& current, std::string_view call,
                         bool wildcards) {
  std::string p(path);
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.empty()) Refuse(call, path, kErrorPathNotFound);
  if (p.rfind("\\\\?\\", 0) == 0) {
    p.erase(0, 4);
    if (!IsFullWindowsPath(p)) Refuse(call, path, kErrorInvalidName);
  } else if (p.rfind("\\\\", 0) == 0) {
    Refuse(call, path, kErrorBadNetPath);
  }

  WinPath result;
  size_t pos = 0;
  if (p.size() >= 2 && p[1] == ':') {
    if (!IsLetter(p[0])) Refuse(call, path, kErrorInvalidName);
    result.drive = static_cast<char>(p[0] & ~0x20);
    if (p.size() > 2 && p[2] == '\\') {
      pos = 3;
    } else {
      // "D:name" is relative to the drive's current directory; the machine
      // keeps one current directory, so other drives start at their root.
      if (result.drive == current.drive) result = current;
      pos = 2;
    }
  } else if (p[0] == '\\') {
    result.drive = current.drive;
    pos = 1;
  } else {
    result = current;
  }

  std::vector<std::string_view> raw;
  std::string_view rest = std::string_view(p).substr(pos);
  while (!rest.empty()) {
    size_t slash = rest.find('\\');
    std::string_view part = rest.substr(0, slash);
    if (!part.empty()) raw.push_back(part);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  for (size_t i = 0; i < raw.size(); ++i) {
    std::string_view part = raw[i];
    if (part == ".") continue;
    if (part == "..") {
      if (!result.parts.empty()) result.parts.pop_back();
      continue;
    }
    result.parts.push_back(CleanComponent(part, wildcards && i + 1 == raw.size(), call, path));
  }
  return result;
}

bool HasWildcards(std::string_view pattern) {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  std::u32string p = UpperCodePoints(pattern), n = UpperCodePoints(name);
  if (p.size() >= 2 && p.ends_with(U".*") && Glob(p.substr(0, p.size() - 2), n)) return true;
  if (!p.empty() && p.back() == U'.') {
    if (n.find(U'.') != std::u32string::npos) return false;
    return Glob(p.substr(0, p.size() - 1), n);
  }
  return Glob(p, n);
}

}  // namespace platform::sim
