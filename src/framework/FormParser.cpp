// Lexer and recursive-descent parser of text form descriptions (see
// FormParser.h). The parser keeps exactly one token of lookahead, so the
// lexer is always just past the current token; binary data is read raw from
// there.
#include "framework/FormParser.h"

#include <charconv>

#include "framework/StrUtils.h"
#include "framework/Utf8.h"

namespace {

enum class Tok { End, Ident, Integer, Float, String, Symbol };

struct Token {
  Tok kind = Tok::End;
  SourcePos pos;
  std::string text;  // Ident name, String value
  int64_t integer = 0;
  double number = 0;
  char symbol = 0;
};

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Describe(const Token& t) {
  switch (t.kind) {
    case Tok::End:
      return "end of file";
    case Tok::Ident:
      return "'" + t.text + "'";
    case Tok::Integer:
    case Tok::Float:
      return "a number";
    case Tok::String:
      return "a string";
    case Tok::Symbol:
      return std::string("'") + t.symbol + "'";
  }
  return "?";
}

class Lexer {
 public:
  Lexer(std::string_view text, const std::string& file) : s_(text), file_(file) {}

  [[noreturn]] void Fail(SourcePos pos, const std::string& reason) const {
    throw EFormError(file_, pos, reason);
  }

  Token Next() {
    SkipBlanks();
    Token t;
    t.pos = Here();
    if (AtEnd()) return t;
    const char c = s_[i_];
    if (IsIdentStart(c)) {
      t.kind = Tok::Ident;
      while (!AtEnd() && IsIdentChar(s_[i_])) t.text += Take();
    } else if (IsDigit(c) || c == '$' || (c == '-' && i_ + 1 < s_.size() && IsDigit(s_[i_ + 1]))) {
      LexNumber(t);
    } else if (c == '\'' || c == '#') {
      t.kind = Tok::String;
      LexString(t);
    } else if (std::string_view("=:.,[](){}<>+").find(c) != std::string_view::npos) {
      t.kind = Tok::Symbol;
      t.symbol = Take();
    } else {
      Fail(t.pos, "Unexpected character " + CharName());
    }
    return t;
  }

  // Reads hexadecimal pairs up to the closing brace; the opening one is the
  // token just read (at `open`). Blanks and line breaks may stand anywhere.
  Bytes ReadBinary(SourcePos open) {
    Bytes out;
    int high = -1;
    SourcePos firstOfPair = open;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail(open, "Unterminated binary data: '}' expected");
      const char c = s_[i_];
      if (c == '}') {
        if (high >= 0) Fail(firstOfPair, "Odd number of hexadecimal digits in binary data");
        Take();
        return out;
      }
      const int d = HexDigit(c);
      if (d < 0) Fail(Here(), "Invalid hexadecimal digit " + CharName() + " in binary data");
      if (high < 0) {
        firstOfPair = Here();
        high = d;
      } else {
        out.push_back(static_cast<uint8_t>(high * 16 + d));
        high = -1;
      }
      Take();
    }
  }

 private:
  bool AtEnd() const { return i_ >= s_.size(); }
  SourcePos Here() const { return {line_, col_}; }

  char Take() {
    const char c = s_[i_++];
    if (c == '\n') {
      ++line_;
      col_ = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++col_;
    }
    return c;
  }

  void SkipBlanks() {
    while (!AtEnd() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n'))
      Take();
  }

  std::string CharName() const {
    const auto b = static_cast<unsigned char>(s_[i_]);
    std::string name(1, '#');  // built by appending: GCC 12 warns falsely on "#" + string
    if (b > ' ' && b < 0x7F) {
      name.assign(1, '\'');
      name += s_[i_];
      name += '\'';
    } else {
      name += std::to_string(b);
    }
    return name;
  }

  void LexNumber(Token& t) {
    const size_t start = i_;
    if (s_[i_] == '-') Take();
    bool isFloat = false;
    if (s_[i_] == '$') {
      Take();
      while (!AtEnd() && HexDigit(s_[i_]) >= 0) Take();
    } else {
      while (!AtEnd() && IsDigit(s_[i_])) Take();
      if (i_ + 1 < s_.size() && s_[i_] == '.' && IsDigit(s_[i_ + 1])) {
        isFloat = true;
        Take();
        while (!AtEnd() && IsDigit(s_[i_])) Take();
      }
      if (!AtEnd() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        size_t k = i_ + 1;
        if (k < s_.size() && (s_[k] == '+' || s_[k] == '-')) ++k;
        if (k < s_.size() && IsDigit(s_[k])) {
          isFloat = true;
          while (i_ < k) Take();
          while (!AtEnd() && IsDigit(s_[i_])) Take();
        }
      }
    }
    const std::string_view text = s_.substr(start, i_ - start);
    if (!AtEnd() && (IsIdentChar(s_[i_]) || s_[i_] == '.' || s_[i_] == '$'))
      Fail(t.pos, "Invalid number " + std::string(text) + s_[i_]);
    if (isFloat) {
      t.kind = Tok::Float;
      const char* first = text.data();
      const auto r = std::from_chars(first, first + text.size(), t.number);
      if (r.ec != std::errc() || r.ptr != first + text.size())
        Fail(t.pos, "Number out of range: " + std::string(text));
    } else {
      t.kind = Tok::Integer;
      if (text == "$" || text == "-" || !TryStrToInt64(text, t.integer))
        Fail(t.pos, text == "$" ? std::string("Invalid number $")
                                : "Number out of range: " + std::string(text));
    }
  }

  // Quoted pieces and #codes standing next to each other form one string.
  void LexString(Token& t) {
    for (;;) {
      if (AtEnd()) return;
      if (s_[i_] == '\'') {
        const SourcePos open = Here();
        Take();
        for (;;) {
          if (AtEnd() || s_[i_] == '\n' || s_[i_] == '\r') Fail(open, "Unterminated string");
          const char c = s_[i_];
          if (c == '\'') {
            Take();
            if (AtEnd() || s_[i_] != '\'') break;
            Take();
            t.text += '\'';
          } else if (static_cast<unsigned char>(c) < 0x80) {
            t.text += Take();
          } else {
            const size_t len = Utf8Next(s_, i_);
            if (!IsValidUtf8(s_.substr(i_, len))) Fail(Here(), "Invalid UTF-8 in string");
            for (size_t k = 0; k < len; ++k) t.text += Take();
          }
        }
      } else if (s_[i_] == '#') {
        const SourcePos at = Here();
        Take();
        const bool hex = !AtEnd() && s_[i_] == '$';
        if (hex) Take();
        uint32_t cp = 0;
        int digits = 0;
        bool tooBig = false;
        while (!AtEnd() && (hex ? HexDigit(s_[i_]) >= 0 : IsDigit(s_[i_]))) {
          const int d = hex ? HexDigit(s_[i_]) : s_[i_] - '0';
          cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
          if (cp > 0x10FFFF) {
            tooBig = true;
            cp = 0x110000;  // keeps the product small however many digits follow
          }
          ++digits;
          Take();
        }
        if (digits == 0 || tooBig || (cp >= 0xD800 && cp <= 0xDFFF))
          Fail(at, "Invalid character code");
        AppendUtf8(t.text, static_cast<char32_t>(cp));
      } else {
        return;
      }
    }
  }

  std::string_view s_;
  const std::string& file_;
  size_t i_ = 0;
  int line_ = 1;
  int col_ = 1;
};

class Parser {
 public:
  Parser(std::string_view text, const std::string& file) : lex_(text, file) { Advance(); }

  FormObject ParseRoot() {
    if (!IsObjectKeyword()) Fail("Expected 'object' but found " + Describe(cur_));
    FormObject root = ParseObject(0);
    if (cur_.kind != Tok::End)
      Fail("Unexpected " + Describe(cur_) + " after the end of the description");
    return root;
  }

 private:
  void Advance() { cur_ = lex_.Next(); }
  [[noreturn]] void Fail(const std::string& reason) const { lex_.Fail(cur_.pos, reason); }
  bool IsSymbol(char c) const { return cur_.kind == Tok::Symbol && cur_.symbol == c; }
  bool IsKeyword(std::string_view k) const {
    return cur_.kind == Tok::Ident && SameText(cur_.text, k);
  }
  bool IsObjectKeyword() const {
    return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline");
  }
  void Expect(char c) {
    if (!IsSymbol(c)) Fail(std::string("Expected '") + c + "' but found " + Describe(cur_));
    Advance();
  }
  std::string ExpectIdent(const char* what) {
    if (cur_.kind != Tok::Ident)
      Fail(std::string("Expected ") + what + " but found " + Describe(cur_));
    std::string s = std::move(cur_.text);
    Advance();
    return s;
  }
  void CheckDepth(int depth) const {
    if (depth > kMaxFormNesting) Fail("Nesting too deep");
  }

  FormObject ParseObject(int depth) {
    CheckDepth(depth);
    FormObject o;
    o.pos = cur_.pos;
    o.inherited = IsKeyword("inherited");
    Advance();
    SourcePos firstPos = cur_.pos;
    std::string first = ExpectIdent("a component name or class");
    if (IsSymbol(':')) {
      Advance();
      o.name = std::move(first);
      o.namePos = firstPos;
      o.classPos = cur_.pos;
      o.className = ExpectIdent("a class name");
    } else {
      o.namePos = firstPos;
      o.classPos = firstPos;
      o.className = std::move(first);
    }
    const std::string title = (o.name.empty() ? "" : o.name + ": ") + o.className;
    for (;;) {
      if (cur_.kind == Tok::End) lex_.Fail(o.pos, "Object " + title + " has no matching 'end'");
      if (IsKeyword("end")) {
        Advance();
        return o;
      }
      if (IsObjectKeyword()) {
        o.children.push_back(ParseObject(depth + 1));
      } else if (cur_.kind == Tok::Ident) {
        o.properties.push_back(ParseProperty(depth));
      } else {
        Fail("Expected a property, an object or 'end' but found " + Describe(cur_));
      }
    }
  }

  FormProperty ParseProperty(int depth) {
    FormProperty p;
    p.pos = cur_.pos;
    p.path = ExpectIdent("a property name");
    while (IsSymbol('.')) {
      Advance();
      p.path += '.';
      p.path += ExpectIdent("a property name");
    }
    Expect('=');
    p.value = ParseValue(depth + 1);
    return p;
  }

  FormValue ParseValue(int depth) {
    CheckDepth(depth);
    FormValue v;
    v.pos = cur_.pos;
    switch (cur_.kind) {
      case Tok::Integer:
        v.kind = FormValue::Kind::Integer;
        v.integer = cur_.integer;
        Advance();
        return v;
      case Tok::Float:
        v.kind = FormValue::Kind::Float;
        v.number = cur_.number;
        Advance();
        return v;
      case Tok::String:
        v.kind = FormValue::Kind::String;
        v.text = std::move(cur_.text);
        Advance();
        while (IsSymbol('+')) {
          Advance();
          if (cur_.kind != Tok::String)
            Fail("Expected a string after '+' but found " + Describe(cur_));
          v.text += cur_.text;
          Advance();
        }
        return v;
      case Tok::Ident:
        v.kind = FormValue::Kind::Ident;
        v.text = std::move(cur_.text);
        Advance();
        while (IsSymbol('.')) {
          Advance();
          v.text += '.';
          v.text += ExpectIdent("a name after '.'");
        }
        return v;
      case Tok::Symbol:
        break;
      case Tok::End:
        Fail("Expected a value but found end of file");
    }
    const SourcePos open = cur_.pos;
    switch (cur_.symbol) {
      case '[':
        v.kind = FormValue::Kind::Set;
        Advance();
        if (!IsSymbol(']')) {
          for (;;) {
            if (cur_.kind == Tok::End) lex_.Fail(open, "Unterminated set: ']' expected");
            const SourcePos at = cur_.pos;
            v.elements.emplace_back(ExpectIdent("a set element"), at);
            if (IsSymbol(']')) break;
            if (cur_.kind == Tok::End) lex_.Fail(open, "Unterminated set: ']' expected");
            Expect(',');
          }
        }
        Advance();
        return v;
      case '(':
        v.kind = FormValue::Kind::List;
        Advance();
        while (!IsSymbol(')')) {
          if (cur_.kind == Tok::End) lex_.Fail(open, "Unterminated list: ')' expected");
          if (cur_.kind == Tok::Symbol) Fail("Expected a list element but found " + Describe(cur_));
          v.items.push_back(ParseValue(depth + 1));
        }
        Advance();
        return v;
      case '{':
        v.kind = FormValue::Kind::Binary;
        v.bytes = lex_.ReadBinary(open);
        Advance();
        return v;
      case '<':
        v.kind = FormValue::Kind::Collection;
        Advance();
        while (!IsSymbol('>')) {
          if (cur_.kind == Tok::End) lex_.Fail(open, "Unterminated collection: '>' expected");
          if (!IsKeyword("item")) Fail("Expected 'item' or '>' but found " + Describe(cur_));
          v.collection.push_back(ParseItem(depth + 1));
        }
        Advance();
        return v;
      default:
        Fail("Expected a value but found " + Describe(cur_));
    }
  }

  FormItem ParseItem(int depth) {
    CheckDepth(depth);
    FormItem item;
    item.pos = cur_.pos;
    Advance();
    for (;;) {
      if (cur_.kind == Tok::End) lex_.Fail(item.pos, "Collection item has no matching 'end'");
      if (IsKeyword("end")) {
        Advance();
        return item;
      }
      if (cur_.kind != Tok::Ident) Fail("Expected a property or 'end' but found " + Describe(cur_));
      item.properties.push_back(ParseProperty(depth));
    }
  }

  Lexer lex_;
  Token cur_;
};

}  // namespace

const char* FormValuePhrase(FormValue::Kind kind) noexcept {
  switch (kind) {
    case FormValue::Kind::Integer:
      return "an integer";
    case FormValue::Kind::Float:
      return "a floating-point number";
    case FormValue::Kind::String:
      return "a string";
    case FormValue::Kind::Ident:
      return "an identifier";
    case FormValue::Kind::Set:
      return "a set";
    case FormValue::Kind::List:
      return "a list";
    case FormValue::Kind::Binary:
      return "binary data";
    case FormValue::Kind::Collection:
      return "a collection";
  }
  return "a value";
}

FormObject ParseFormDescription(std::string_view text, const std::string& fileName) {
  if (text.size() > kMaxFormDescriptionBytes)
    throw EFormError(fileName, {},
                     "The description is larger than the limit of " +
                         std::to_string(kMaxFormDescriptionBytes) + " bytes");
  if (DetectTextEncoding(text) == TextEncoding::Utf16)
    throw EFormError(fileName, {}, "UTF-16 is not supported: save the description as UTF-8");
  // The mark is not part of the text: line 1, column 1 is what follows it.
  Parser parser(WithoutUtf8Bom(text), fileName);
  return parser.ParseRoot();
}
