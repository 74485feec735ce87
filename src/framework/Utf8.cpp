// UTF-8 decoding by units and the UTF-8/UTF-16 conversions (see Utf8.h).
// The decoder follows the "maximal subpart" rule, so every byte of the input
// belongs to exactly one unit and the units cover the input in order.
#include "framework/Utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

size_t Utf8Next(std::string_view s, size_t pos, char32_t* cp) {
  if (pos >= s.size()) return 0;
  const auto b0 = static_cast<unsigned char>(s[pos]);
  char32_t dummy = 0;
  char32_t& out = cp ? *cp : dummy;
  if (b0 < 0x80) {
    out = b0;
    return 1;
  }
  // The sequence length and the allowed range of the second byte, which is
  // where overlongs, surrogates and values above U+10FFFF are excluded.
  size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  char32_t value = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    value = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    value = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    out = kReplacement;  // stray continuation byte or impossible lead byte
    return 1;
  }
  size_t i = 1;
  for (; i < len; ++i) {
    if (pos + i >= s.size()) break;
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if (i == 1 ? (b < lo || b > hi) : !IsContinuation(b)) break;
    value = (value << 6) | (b & 0x3F);
  }
  out = i == len ? value : kReplacement;
  return i;
}

bool IsValidUtf8(std::string_view s) {
  char32_t cp = 0;
  for (size_t pos = 0; pos < s.size();) {
    const size_t n = Utf8Next(s, pos, &cp);
    // A genuine U+FFFD is three bytes; an invalid unit reports it with a
    // different length or from a lead byte other than EF.
    if (cp == kReplacement && !(n == 3 && static_cast<unsigned char>(s[pos]) == 0xEF)) return false;
    pos += n;
  }
  return true;
}

size_t Utf8Length(std::string_view s) {
  size_t count = 0;
  for (size_t pos = 0; pos < s.size(); pos += Utf8Next(s, pos)) ++count;
  return count;
}

std::string Utf8Left(std::string_view s, size_t n) {
  size_t pos = 0;
  for (size_t k = 0; k < n && pos < s.size(); ++k) pos += Utf8Next(s, pos);
  return std::string(s.substr(0, pos));
}

std::string Utf8TruncateBytes(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return std::string(s);
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t n = Utf8Next(s, pos);
    if (n > maxBytes - pos) break;  // pos <= maxBytes holds, so no underflow
    pos += n;
  }
  return std::string(s.substr(0, pos));
}

void AppendUtf8(std::string& out, char32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  char32_t cp = 0;
  for (size_t pos = 0; pos < s.size();) {
    pos += Utf8Next(s, pos, &cp);
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 3 / 2);
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, u);  // an unpaired surrogate becomes U+FFFD there
    }
  }
  return out;
}

TextEncoding DetectTextEncoding(std::string_view text) noexcept {
  if (text.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8WithBom;
  if (text.size() < 2) return TextEncoding::Utf8;
  const auto b0 = static_cast<unsigned char>(text[0]);
  const auto b1 = static_cast<unsigned char>(text[1]);
  if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return TextEncoding::Utf16;
  if ((b0 == 0) != (b1 == 0)) return TextEncoding::Utf16;
  return TextEncoding::Utf8;
}

std::string_view WithoutUtf8Bom(std::string_view text) noexcept {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return text;
}
