// The language table: enumerator names, fonts and the mapping of Windows
// language ids (see LanguageInfo.h).
#include "i18n/LanguageInfo.h"

namespace {

const char* const kStems[kVrexLanguageCount] = {"ChineseSimplified",
                                                "Czech",
                                                "Danish",
                                                "English",
                                                "French",
                                                "German",
                                                "Greek",
                                                "Hebrew",
                                                "Italian",
                                                "Japanese",
                                                "Korean",
                                                "Polish",
                                                "Portugese",
                                                "Russian",
                                                "Spanish",
                                                "User",
                                                "Vietnamese"};

// The Chinese face is the Big5 name 新細明體 without its last byte, as the
// original stored it (B7 73 B2 D3 A9 FA C5). Converted from code page 950
// the dangling lead byte C5 becomes the code page's default character '?',
// so the face is U+65B0 U+7D30 U+660E U+003F: a name no font has, and the
// GB2312 charset picks the face, as on Windows.
constexpr const char kChineseFace[] =
    "\xE6\x96\xB0"
    "\xE7\xB4\xB0"
    "\xE6\x98\x8E"
    "?";
// ＭＳ Ｐゴシック (15 bytes in code page 932).
constexpr const char kJapaneseFace[] =
    "\xEF\xBC\xAD"
    "\xEF\xBC\xB3"
    " "
    "\xEF\xBC\xB0"
    "\xE3\x82\xB4"
    "\xE3\x82\xB7"
    "\xE3\x83\x83"
    "\xE3\x82\xAF";
// 바탕 (4 bytes in code page 949).
constexpr const char kKoreanFace[] =
    "\xEB\xB0\x94"
    "\xED\x83\x95";

const LanguageFontInfo kFonts[kVrexLanguageCount] = {
    {GB2312_CHARSET, kChineseFace, 9},     // vlChineseSimplified
    {EASTEUROPE_CHARSET, "Arial", 8},      // vlCzech
    {ANSI_CHARSET, "Arial", 8},            // vlDanish
    {ANSI_CHARSET, "Arial", 8},            // vlEnglish
    {ANSI_CHARSET, "Arial", 8},            // vlFrench
    {ANSI_CHARSET, "MS Sans Serif", 8},    // vlGerman
    {ANSI_CHARSET, "SGreek", 8},           // vlGreek: ANSI, not the Greek charset
    {HEBREW_CHARSET, nullptr, 0},          // vlHebrew: a charset but no face
    {ANSI_CHARSET, "Arial", 8},            // vlItalian
    {SHIFTJIS_CHARSET, kJapaneseFace, 9},  // vlJapanese
    {HANGEUL_CHARSET, kKoreanFace, 9},     // vlKorean
    {EASTEUROPE_CHARSET, "Arial", 8},      // vlPolish
    {EASTEUROPE_CHARSET, "Arial", 8},      // vlPortugese (as Czech and Polish)
    {RUSSIAN_CHARSET, "Arial", 8},         // vlRussian
    {ANSI_CHARSET, "Arial", 8},            // vlSpanish
    {0, nullptr, 0},                       // vlUser: not a table language
    {VIETNAMESE_CHARSET, "Arial", 8},      // vlVietnamese
};

bool InRange(TVrexLanguage language) noexcept {
  return static_cast<int>(language) < kVrexLanguageCount;
}

}  // namespace

std::string VrexLanguageName(TVrexLanguage language) {
  return InRange(language) ? "vl" + std::string(kStems[language]) : std::string();
}

std::string LanguageStem(TVrexLanguage language) {
  return InRange(language) ? std::string(kStems[language]) : std::string();
}

TVrexLanguage LanguageFromLangId(uint16_t langId) noexcept {
  switch (langId & 0x3FF) {
    case 0x04:
      return vlChineseSimplified;
    case 0x05:
      return vlCzech;
    case 0x06:
      return vlDanish;
    case 0x07:
      return vlGerman;
    case 0x08:
      return vlGreek;
    case 0x0A:
      return vlSpanish;
    case 0x0C:
      return vlFrench;
    case 0x0D:
      return vlHebrew;
    case 0x10:
      return vlItalian;
    case 0x11:
      return vlJapanese;
    case 0x12:
      return vlKorean;
    case 0x15:
      return vlPolish;
    case 0x16:
      return vlPortugese;
    case 0x19:
      return vlRussian;
    case 0x2A:
      return vlVietnamese;
    default:
      return vlEnglish;
  }
}

std::optional<LanguageFontInfo> LanguageFont(TVrexLanguage language) noexcept {
  if (!InRange(language) || language == vlUser) return std::nullopt;
  return kFonts[language];
}
