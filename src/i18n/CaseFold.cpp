// Simple case folding for the translator's text matching (see CaseFold.h).
#include "i18n/CaseFold.h"

#include "framework/Utf8.h"

namespace {

// Letters stored as pairs: upper case on the even code point, lower case on
// the following odd one (or the reverse when `oddUpper`).
char32_t Paired(char32_t c, bool oddUpper) noexcept {
  const bool odd = (c & 1) != 0;
  return odd == oddUpper ? c + 1 : c;
}

}  // namespace

char32_t FoldCodePoint(char32_t c) noexcept {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  // Latin-1: À..Þ except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A
    switch (c) {
      case 0x130:  // İ has no simple folding
      case 0x131:  // ı
      case 0x138:  // ĸ
      case 0x149:  // ŉ
        return c;
      case 0x178:
        return 0xFF;  // Ÿ
      case 0x17F:
        return 's';  // ſ
      default:
        break;
    }
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return Paired(c, oddUpper);
  }
  if (c == 0x1A0 || c == 0x1AF) return c + 1;  // Ơ Ư (Vietnamese)
  if (c >= 0x1E00 && c <= 0x1EFF) {            // Latin Extended Additional
    if (c == 0x1E9E) return 0xDF;              // ẞ
    if (c >= 0x1E96 && c <= 0x1E9F) return c;  // letters without a pair
    return Paired(c, false);
  }
  if (c >= 0x386 && c <= 0x3AB) {  // Greek capitals
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x391 && c != 0x3A2) return c + 0x20;
    return c;
  }
  if (c == 0x3C2) return 0x3C3;                   // final sigma
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;  // Ѐ..Џ
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;  // А..Я
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF)) return Paired(c, false);
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // fullwidth Ａ..Ｚ
  return c;
}

std::string FoldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    char32_t cp = 0;
    const size_t len = Utf8Next(s, pos, &cp);
    const std::string_view unit = s.substr(pos, len);
    if (cp == 0xFFFD && unit != "\xEF\xBF\xBD")
      out += unit;  // an invalid subpart matches only itself
    else
      AppendUtf8(out, FoldCodePoint(cp));
    pos += len;
  }
  return out;
}

bool SameTextFolded(std::string_view a, std::string_view b) {
  return FoldCase(a) == FoldCase(b);
}
