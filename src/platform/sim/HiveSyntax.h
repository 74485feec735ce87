// The text forms shared by hive files and their journals: quoted names with
// \\ and \" escapes, and value data in the REGEDIT4 notation ("text",
// dword:0000002a, hex:.., hex(2):.., hex(7):..).

// String data in hex form is UTF-8, the hive files' encoding:
//   hex(2) / hex(1): the UTF-8 bytes followed by one 00 terminator;
//   hex(7): each item's UTF-8 bytes followed by 00, then one final 00, so
//           an empty list is "00" and a list of one empty item "00,00".
// A plain string that holds a line break or NUL is written as hex(1) so
// every value stays on its own logical line.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace platform::sim {

// Appends `s` in double quotes, escaping backslash and double quote.
void AppendQuoted(std::string& out, std::string_view s);

// Appends the data of a value line (the part after '='). With `wrap`, long
// hex data is continued on further lines ("\" at the end, two blanks at the
// start of the next) as regedit does; `column` is where the data starts.
void AppendValueData(std::string& out, const RegValue& value, bool wrap, size_t column);

// Reads a quoted string starting at s[pos] (which must be '"'); on success
// `pos` is just past the closing quote. False with the reason otherwise.
bool ParseQuoted(std::string_view s, size_t& pos, std::string& out, std::string& why);

// Reads the data of a value line (continuations already joined, blanks
// after commas allowed, trailing blanks ignored).
bool ParseValueData(std::string_view s, RegValue& out, std::string& why);

// Blank: space or tab.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
std::string_view TrimBlanks(std::string_view s);

}  // namespace platform::sim
