// Parses a text form description into a tree (FormObject) without creating
// anything, so syntax errors never leave half-built components behind.
//
//   object Name: TClass            (or "object TClass" for an unnamed one;
//     Prop = value                  "inherited Name: TClass" to change a
//     Sub.Prop = value              component of the ancestor's form)
//     object Child: TChildClass
//     end
//   end
//
// Values: integers (12, -3, $1F), floats (1.5, 2e10), strings ('it''s',
// #13#10 code points, pieces joined by adjacency or by + across lines),
// identifiers (True, itCustom, clYellow, a component name, a handler name),
// sets [a, b], lists ( 'a' 'b' ), binary { 0A1B }, collections
// < item Prop = value end ... >. Keywords ignore case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/FormError.h"
#include "framework/TypeInfo.h"

struct FormItem;

struct FormValue {
  enum class Kind { Integer, Float, String, Ident, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  SourcePos pos;
  int64_t integer = 0;
  double number = 0;
  std::string text;  // String: UTF-8 text; Ident: the (dotted) name
  std::vector<std::pair<std::string, SourcePos>> elements;  // Set
  std::vector<FormValue> items;                             // List
  Bytes bytes;                                              // Binary
  std::vector<FormItem> collection;                         // Collection
};

struct FormProperty {
  std::string path;  // "Caption", "Font.Style"
  SourcePos pos;
  FormValue value;
};

struct FormItem {
  SourcePos pos;
  std::vector<FormProperty> properties;
};

struct FormObject {
  bool inherited = false;
  SourcePos pos;  // of the keyword
  std::string name;
  SourcePos namePos;
  std::string className;
  SourcePos classPos;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
};

// "an integer", "a string", "a set" ... for messages.
const char* FormValuePhrase(FormValue::Kind kind) noexcept;

// Objects, items and lists may nest this deep; deeper input is refused.
inline constexpr int kMaxFormNesting = 100;

// A description is text of a few hundred kilobytes at most; anything larger
// than this is not one, and programs reading a file stop at this size.
inline constexpr size_t kMaxFormDescriptionBytes = 64u * 1024 * 1024;

// Parses one description; raises EFormError naming `fileName`. The text is
// UTF-8, with or without a byte-order mark; UTF-16 and text larger than
// kMaxFormDescriptionBytes are refused.
FormObject ParseFormDescription(std::string_view text, const std::string& fileName);
