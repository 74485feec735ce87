// The languages the translator knows: the TVrexLanguage enumeration, the
// font each language is shown with (charset, face name, minimum size), the
// mapping from the system's user language id, and the names the published
// language properties carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/GraphicsTypes.h"

// One byte; the ordinal is what the registry and form descriptions store.
// vlUser is not a table language: it stands for the user's default one.
enum TVrexLanguage : uint8_t {
  vlChineseSimplified,
  vlCzech,
  vlDanish,
  vlEnglish,
  vlFrench,
  vlGerman,
  vlGreek,
  vlHebrew,
  vlItalian,
  vlJapanese,
  vlKorean,
  vlPolish,
  vlPortugese,
  vlRussian,
  vlSpanish,
  vlUser,
  vlVietnamese,
};

inline constexpr int kVrexLanguageCount = vlVietnamese + 1;
// The sixteen table languages are every enumerator but vlUser.
inline constexpr int kTableLanguageCount = kVrexLanguageCount - 1;

// "vlEnglish" ...; empty for a value outside the enumeration.
std::string VrexLanguageName(TVrexLanguage language);
// "English" ... (the enumerator without its prefix), the stem of the
// published property "lgEnglish" and of the table file "English.txt".
std::string LanguageStem(TVrexLanguage language);

// The table language for a Windows language id (LANGID): its primary
// language (low 10 bits) picks the language; every id without a table of
// its own, English included, gives vlEnglish.
TVrexLanguage LanguageFromLangId(uint16_t langId) noexcept;

// What applying a language's font sets when the language's own Font is not
// used. Face names are the Unicode text Windows makes of the names the
// original tables held as bytes of the language's code page.
struct LanguageFontInfo {
  TFontCharset charset;
  const char* face;  // null: the language has no face (Hebrew)
  int minSize;       // points
};

// The font settings of a table language; nothing for vlUser and values
// outside the enumeration.
std::optional<LanguageFontInfo> LanguageFont(TVrexLanguage language) noexcept;
