// Text and path helpers of the runtime: ASCII case folding, trimming,
// file-name parts, integer conversion. Names are Windows paths (backslash,
// drive letters); nothing here touches the file system.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// ASCII case folding: only A-Z/a-z change, so UTF-8 sequences pass through.
std::string AsciiUpperCase(std::string_view s);
std::string AsciiLowerCase(std::string_view s);
inline std::string UpperCase(std::string_view s) {
  return AsciiUpperCase(s);
}
inline std::string LowerCase(std::string_view s) {
  return AsciiLowerCase(s);
}
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, after ASCII upper-casing both sides.
int CompareText(std::string_view a, std::string_view b);

// Position of the first occurrence of `sub` in `s` at or after `from`,
// ignoring ASCII case; npos when absent. An empty `sub` is found at `from`
// (npos when from > size).
size_t FindText(std::string_view s, std::string_view sub, size_t from = 0);
bool ContainsText(std::string_view s, std::string_view sub);
bool StartsText(std::string_view s, std::string_view prefix);
bool EndsText(std::string_view s, std::string_view suffix);

// Trimming removes blanks and every control character (all bytes <= ' ');
// bytes of UTF-8 sequences (>= 0x80) are never removed.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b) {
  return static_cast<TReplaceFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
// Replaces the first (or, with rfReplaceAll, every non-overlapping)
// occurrence of `from` by `to`, scanning left to right; replaced text is not
// searched again. An empty `from` leaves s unchanged.
std::string StringReplace(std::string_view s, std::string_view from, std::string_view to,
                          TReplaceFlags flags = rfNone);

// Path parts. The separator is the backslash; a colon splits only as the
// second character after a drive letter ("C:name"). Always
// ExtractFilePath(p) + ExtractFileName(p) == p.
std::string ExtractFileName(std::string_view path);
// The directory part with its trailing separator ("C:\dir\" or "C:").
std::string ExtractFilePath(std::string_view path);
// The directory part without its trailing backslash, except at a root
// ("C:\dir", "C:\", "\", "C:").
std::string ExtractFileDir(std::string_view path);
// The extension with its dot (".txt"); empty when the name part has no dot.
std::string ExtractFileExt(std::string_view path);
// Replaces (or appends) the name's extension; `ext` includes its dot, an
// empty `ext` removes the extension.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// "C:" for a drive path, "\\server\share" for a UNC path, else empty.
std::string ExtractFileDrive(std::string_view path);
// Adds a backslash unless the text already ends in one (an empty text
// becomes "\"); Exclude removes exactly one trailing backslash.
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// Integer parsing: an optional sign, then decimal digits, or "$" / "0x" and
// hexadecimal digits. No blanks anywhere, at least one digit, and the value
// must fit. An unsigned hex text may use the full 32-bit (or 64-bit) pattern
// ("$FFFFFFFF" is -1), as hexadecimal constants of the runtime do.
// StrToInt raises EConvertError "'<text>' is not a valid integer value".
bool TryStrToInt(std::string_view s, int32_t& value);
bool TryStrToInt64(std::string_view s, int64_t& value);
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
int64_t StrToInt64Def(std::string_view s, int64_t def);

template <std::integral T>
std::string IntToStr(T value) {
  return std::to_string(value);
}

// Upper-case hexadecimal, zero-padded to at least `digits` digits. Signed
// values of 32 bits or less show their 32-bit pattern (IntToHex(-1, 4) is
// "FFFFFFFF"), wider ones their 64-bit pattern.
std::string IntToHexBits(uint64_t value, int digits);
template <std::integral T>
std::string IntToHex(T value, int digits) {
  if constexpr (std::is_signed_v<T> && sizeof(T) <= 4)
    return IntToHexBits(static_cast<uint32_t>(value), digits);
  else
    return IntToHexBits(static_cast<uint64_t>(value), digits);
}
