// Text and path helpers of the runtime (see StrUtils.h). All routines are
// byte-based: the characters they look for are ASCII, which never occur
// inside a UTF-8 sequence.
#include "framework/StrUtils.h"

#include <limits>

#include "framework/Exception.h"

namespace {
char Up(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Low(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of the directory part including its separator: the position after
// the last backslash, or 2 for "C:name".
size_t DirLength(std::string_view path) {
  const size_t slash = path.rfind('\\');
  if (slash != std::string_view::npos) return slash + 1;
  if (path.size() >= 2 && path[1] == ':' && IsLetter(path[0])) return 2;
  return 0;
}

// The position of the extension's dot in the name part, or npos.
size_t ExtDot(std::string_view path) {
  const size_t dir = DirLength(path);
  const size_t dot = path.rfind('.');
  return dot != std::string_view::npos && dot >= dir ? dot : std::string_view::npos;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Parses into a magnitude no larger than `limit`; false on any fault.
bool ParseInteger(std::string_view s, uint64_t limitPos, uint64_t limitNeg, uint64_t limitHex,
                  bool& negative, uint64_t& magnitude) {
  size_t i = 0;
  negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  const uint64_t base = hex ? 16 : 10;
  const uint64_t limit = negative ? limitNeg : (hex ? limitHex : limitPos);
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    if (v > (limit - static_cast<uint64_t>(d)) / base) return false;  // v*base+d > limit
    v = v * base + static_cast<uint64_t>(d);
  }
  magnitude = v;
  return true;
}

[[noreturn]] void NotAnInteger(std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}
}  // namespace

std::string AsciiUpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Up(c);
  return r;
}

std::string AsciiLowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Low(c);
  return r;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(Up(a[i]));
    const auto y = static_cast<unsigned char>(Up(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

size_t FindText(std::string_view s, std::string_view sub, size_t from) {
  if (from > s.size() || sub.size() > s.size() - from) return std::string_view::npos;
  for (size_t i = from; i + sub.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < sub.size() && Up(s[i + k]) == Up(sub[k])) ++k;
    if (k == sub.size()) return i;
  }
  return std::string_view::npos;
}

bool ContainsText(std::string_view s, std::string_view sub) {
  return FindText(s, sub) != std::string_view::npos;
}

bool StartsText(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

std::string Trim(std::string_view s) {
  return TrimLeft(TrimRight(s));
}

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsTrimmed(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsTrimmed(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to,
                          TReplaceFlags flags) {
  if (from.empty()) return std::string(s);
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  std::string out;
  size_t pos = 0;
  while (pos <= s.size()) {
    const size_t hit = ignoreCase ? FindText(s, from, pos) : s.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
    if ((flags & rfReplaceAll) == 0) break;
  }
  out.append(s.substr(pos));
  return out;
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(DirLength(path)));
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, DirLength(path)));
}

std::string ExtractFileDir(std::string_view path) {
  size_t n = DirLength(path);
  // Drop the separator unless it is a root: "\", "C:\", or a second
  // backslash in a row ("\\" of a UNC name).
  if (n > 1 && path[n - 1] == '\\' && path[n - 2] != '\\' && path[n - 2] != ':') --n;
  return std::string(path.substr(0, n));
}

std::string ExtractFileExt(std::string_view path) {
  const size_t dot = ExtDot(path);
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const size_t dot = ExtDot(path);
  std::string r(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
  r.append(ext);
  return r;
}

std::string ExtractFileDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && IsLetter(path[0]))
    return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // "\\server\share": up to (not including) the backslash after the share.
    const size_t server = path.find('\\', 2);
    if (server == std::string_view::npos) return std::string(path);
    const size_t share = path.find('\\', server + 1);
    return std::string(path.substr(0, share));
  }
  return std::string();
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string r(path);
  if (r.empty() || r.back() != '\\') r += '\\';
  return r;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

bool TryStrToInt(std::string_view s, int32_t& value) {
  bool negative = false;
  uint64_t m = 0;
  if (!ParseInteger(s, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, negative, m)) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(m))
                   : static_cast<int32_t>(static_cast<uint32_t>(m));
  return true;
}

bool TryStrToInt64(std::string_view s, int64_t& value) {
  bool negative = false;
  uint64_t m = 0;
  constexpr uint64_t kMax = std::numeric_limits<int64_t>::max();
  if (!ParseInteger(s, kMax, kMax + 1, std::numeric_limits<uint64_t>::max(), negative, m))
    return false;
  // Two's complement wrap is well defined for unsigned arithmetic; the
  // conversion back to int64 is modular since C++20.
  value = static_cast<int64_t>(negative ? 0 - m : m);
  return true;
}

int32_t StrToInt(std::string_view s) {
  int32_t v = 0;
  if (!TryStrToInt(s, v)) NotAnInteger(s);
  return v;
}

int64_t StrToInt64(std::string_view s) {
  int64_t v = 0;
  if (!TryStrToInt64(s, v)) NotAnInteger(s);
  return v;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  int32_t v = 0;
  return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(std::string_view s, int64_t def) {
  int64_t v = 0;
  return TryStrToInt64(s, v) ? v : def;
}

std::string IntToHexBits(uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string r;
  do {
    r.insert(r.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (digits > 32) digits = 32;  // more than any 64-bit value needs, twice over
  if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<size_t>(digits) - r.size(), '0');
  return r;
}
