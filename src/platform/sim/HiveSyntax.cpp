// Quoting and value-data notation of the simulated registry's files (see
// HiveSyntax.h for the representation of strings in hex form).
#include "platform/sim/HiveSyntax.h"

#include <cstdint>

#include "framework/StrUtils.h"

namespace platform::sim {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// regedit keeps hex lines within 80 columns.
constexpr size_t kWrapColumn = 76;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendHexBytes(std::string& out, std::string_view bytes, bool wrap, size_t column) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i > 0) {
      out += ',';
      ++column;
      if (wrap && column + 3 > kWrapColumn) {
        out += "\\\n  ";
        column = 2;
      }
    }
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
    column += 2;
  }
}

std::string_view AsChars(const std::vector<uint8_t>& b) {
  return {reinterpret_cast<const char*>(b.data()), b.size()};
}

// Splits "xx,xx, xx" into bytes.
bool ParseHexBytes(std::string_view s, std::string& out, std::string& why) {
  out.clear();
  s = TrimBlanks(s);
  if (s.empty()) return true;
  while (true) {
    const size_t comma = s.find(',');
    const std::string_view token = TrimBlanks(s.substr(0, comma));
    int v = 0;
    bool ok = !token.empty() && token.size() <= 2;
    for (char c : token) {
      const int d = HexDigit(c);
      if (d < 0) ok = false;
      v = v * 16 + d;
    }
    if (!ok) {
      why = "bad hex byte \"" + std::string(token.substr(0, 8)) + "\"";
      return false;
    }
    out += static_cast<char>(v);
    if (comma == s.npos) return true;
    s.remove_prefix(comma + 1);
  }
}

// A string stored as bytes: one trailing NUL terminator is dropped.
std::string TerminatedText(std::string bytes) {
  if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return bytes;
}

std::vector<std::string> MultiItems(std::string bytes) {
  std::vector<std::string> items;
  if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();  // list terminator
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == bytes.npos) end = bytes.size();  // last item without terminator
    items.emplace_back(bytes, start, end - start);
    start = end + 1;
  }
  return items;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendValueData(std::string& out, const RegValue& value, bool wrap, size_t column) {
  switch (value.type) {
    case ValueType::String:
      if (value.text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
        AppendQuoted(out, value.text);
      } else {
        out += "hex(1):";
        AppendHexBytes(out, value.text + '\0', wrap, column + 7);
      }
      return;
    case ValueType::ExpandString:
      out += "hex(2):";
      AppendHexBytes(out, value.text + '\0', wrap, column + 7);
      return;
    case ValueType::Binary:
      out += "hex:";
      AppendHexBytes(out, AsChars(value.binary), wrap, column + 4);
      return;
    case ValueType::DWord: {
      out += "dword:";
      for (int shift = 28; shift >= 0; shift -= 4) out += kHexDigits[(value.dword >> shift) & 15];
      return;
    }
    case ValueType::MultiString: {
      std::string bytes;
      for (const auto& item : value.multi) {
        bytes += item;
        bytes += '\0';
      }
      bytes += '\0';
      out += "hex(7):";
      AppendHexBytes(out, bytes, wrap, column + 7);
      return;
    }
  }
}

bool ParseQuoted(std::string_view s, size_t& pos, std::string& out, std::string& why) {
  out.clear();
  if (pos >= s.size() || s[pos] != '"') {
    why = "'\"' expected";
    return false;
  }
  size_t i = pos + 1;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '"') {
      pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size()) break;
      const char e = s[i + 1];
      if (e != '\\' && e != '"') {
        why = std::string("unknown escape \\") + e + " in a quoted string";
        return false;
      }
      out += e;
      i += 2;
      continue;
    }
    out += c;
    ++i;
  }
  why = "quoted string not closed";
  return false;
}

bool ParseValueData(std::string_view s, RegValue& out, std::string& why) {
  s = TrimBlanks(s);
  out = RegValue();
  if (!s.empty() && s.front() == '"') {
    size_t pos = 0;
    out.type = ValueType::String;
    if (!ParseQuoted(s, pos, out.text, why)) return false;
    if (pos != s.size()) {
      why = "text after the closing quote";
      return false;
    }
    return true;
  }
  if (StartsWithNoCase(s, "dword:")) {
    const std::string_view digits = s.substr(6);
    if (digits.empty() || digits.size() > 8) {
      why = "dword needs 1 to 8 hex digits";
      return false;
    }
    uint32_t v = 0;
    for (char c : digits) {
      const int d = HexDigit(c);
      if (d < 0) {
        why = "dword needs 1 to 8 hex digits";
        return false;
      }
      v = v * 16 + static_cast<uint32_t>(d);
    }
    out.type = ValueType::DWord;
    out.dword = v;
    return true;
  }
  if (!StartsWithNoCase(s, "hex")) {
    why = "value data expected (\"text\", dword: or hex:)";
    return false;
  }
  uint32_t kind = 3;  // plain hex: is binary
  size_t pos = 3;
  if (pos < s.size() && s[pos] == '(') {
    const size_t close = s.find(')', pos);
    if (close == s.npos || close == pos + 1 || close - pos > 9) {
      why = "bad hex(type) notation";
      return false;
    }
    kind = 0;
    for (size_t i = pos + 1; i < close; ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0) {
        why = "bad hex(type) notation";
        return false;
      }
      kind = kind * 16 + static_cast<uint32_t>(d);
    }
    pos = close + 1;
  }
  if (pos >= s.size() || s[pos] != ':') {
    why = "':' expected after hex";
    return false;
  }
  std::string bytes;
  if (!ParseHexBytes(s.substr(pos + 1), bytes, why)) return false;
  switch (kind) {
    case 1:
      out.type = ValueType::String;
      out.text = TerminatedText(std::move(bytes));
      return true;
    case 2:
      out.type = ValueType::ExpandString;
      out.text = TerminatedText(std::move(bytes));
      return true;
    case 3:
      out.type = ValueType::Binary;
      out.binary.assign(bytes.begin(), bytes.end());
      return true;
    case 4:
      if (bytes.size() != 4) {
        why = "hex(4) needs exactly 4 bytes";
        return false;
      }
      out.type = ValueType::DWord;
      for (int i = 3; i >= 0; --i)
        out.dword = (out.dword << 8) | static_cast<unsigned char>(bytes[i]);
      return true;
    case 7:
      out.type = ValueType::MultiString;
      out.multi = MultiItems(std::move(bytes));
      return true;
    default:
      why = "unsupported value type " + std::string(s.substr(0, pos));
      return false;
  }
}

}  // namespace platform::sim
