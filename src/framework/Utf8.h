// UTF-8 helpers: counting and cutting by code points or by bytes without
// splitting a sequence, and conversion to and from UTF-16 for the wide APIs.
// Invalid input never makes a routine fail: each maximal invalid subpart of a
// sequence counts as one unit and converts to U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The byte length of the unit (one code point, or one invalid subpart) that
// starts at s[pos]; 0 at or past the end. Sets *cp to the code point, or to
// U+FFFD for an invalid subpart, when cp is not null.
size_t Utf8Next(std::string_view s, size_t pos, char32_t* cp = nullptr);

// True when s is well-formed UTF-8 (no overlongs, surrogates or values
// above U+10FFFF).
bool IsValidUtf8(std::string_view s);

// The number of code points (invalid subparts count one each).
size_t Utf8Length(std::string_view s);

// The first n code points of s.
std::string Utf8Left(std::string_view s, size_t n);

// The longest prefix of s of at most maxBytes bytes that ends on a unit
// boundary: a fixed-width stored field never receives half a character.
std::string Utf8TruncateBytes(std::string_view s, size_t maxBytes);

// Appends the UTF-8 form of cp; a surrogate or a value above U+10FFFF
// appends U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-8 to UTF-16; invalid subparts become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

// What the first bytes of a text file say about its encoding. Text files
// the programs read (form descriptions, UI scripts, string tables) are
// UTF-8; editors on Windows often add a UTF-8 byte-order mark, and some
// save UTF-16, which must be refused with a message rather than read as
// garbage.
enum class TextEncoding {
  Utf8,         // no mark (what every reader expects)
  Utf8WithBom,  // EF BB BF: skip the mark, read the rest as UTF-8
  Utf16,        // a UTF-16 mark of either byte order, or, without one, a NUL
                // first or second byte beside a non-NUL one (UTF-16 text
                // starting with an ASCII character); never valid text here
};
TextEncoding DetectTextEncoding(std::string_view text) noexcept;

// `text` without a leading UTF-8 byte-order mark.
std::string_view WithoutUtf8Bom(std::string_view text) noexcept;
