// Text and path routines every component of the kit uses: trailing
// backslashes, ";"-separated field lists, the text after a colon and file
// names made safe for the file system. They hold no state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text followed by "\" when it is not empty and does not end in "\";
// an empty text stays empty.
std::string AddBackslash(std::string_view text);

// The text without its last character when that is "\" (exactly one).
std::string RemoveBackslash(std::string_view text);

// The number of fields: separators in the text, plus one when the text is
// not empty and does not end with the separator (a closing separator opens
// no empty last field).
int FieldCount(std::string_view text, char separator);

// Field n, counting from 1; empty when the text has fewer fields or n < 1.
std::string GetField(std::string_view text, int n, char separator);

// Replaces the contents of `list` with fields 1..FieldCount: inner empty
// fields stay, a closing separator adds no empty last item, an empty text
// gives no items. (A TStrings overload joins when the string-list class
// exists.)
void SplitFields(std::string_view text, char separator, std::vector<std::string>& list);

// Sets `result` to the part after the first ":"; leaves it unchanged when
// the text holds no ":".
void TextAfterColon(std::string_view text, std::string& result);

// Each "/" becomes "-"; double quote * : ; < > ? \ | are dropped; every other
// byte (control characters and UTF-8 sequences included) stays in order.
std::string MakeValidFileName(std::string_view text);
