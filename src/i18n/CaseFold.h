// Case-insensitive text matching for the translator. Comparing a control's
// text with a table entry ignores case the way a neutral-locale comparison
// does for the scripts the tables use: simple case folding of ASCII,
// Latin-1, Latin Extended-A, the Vietnamese letters (Ơ Ư and Latin Extended
// Additional), Greek, Cyrillic and fullwidth Latin letters. Every other
// character, and every byte of invalid UTF-8, must match exactly.
#pragma once

#include <string>
#include <string_view>

// The lower-case partner of a code point under the folding above (the code
// point itself when it has none).
char32_t FoldCodePoint(char32_t c) noexcept;

// `s` with every code point folded; invalid UTF-8 bytes are kept as they
// are, so two texts match ignoring case exactly when their folded forms are
// equal.
std::string FoldCase(std::string_view s);

bool SameTextFolded(std::string_view a, std::string_view b);
