// Printf-style formatting as the kit's messages use it: %s %d %u %x %n %f %e
// %%, with width, precision, '-' and '*'. A format that does not match its
// arguments raises EConvertError instead of printing garbage.
//
// Syntax of one item: "%" [index ":"] ["-"] [width] ["." precision] type.
// index, width and precision are decimal numbers or "*" (taken from the next
// argument, which must be an integer; a negative "*" width left-justifies, a
// negative "*" precision counts as none). An index selects the argument
// (counting from 0); the following items continue after it. The type letter
// is case-insensitive:
//   d  signed decimal; precision = minimum digits, zero-padded after the sign
//   u  unsigned decimal; a negative argument shows its two's complement at
//      the argument's own width (32 bits for int, 64 for long long)
//   x  hexadecimal with upper-case digits, same rules as u
//   f  fixed, precision decimals (default 2)
//   n  like f with "," thousands separators ("%n" of 1234567.891 gives
//      "1,234,567.89", "%.0n" of 1234 gives "1,234")
//   e  scientific "d.ddddE+ddd": precision = significant digits (default 15,
//      at most 18), exponent signed with at least three digits
//   g  shortest of fixed and scientific, precision significant digits
//      (default 15), trailing zeros dropped
//   s  text; precision = maximum characters; width and precision count
//      UTF-8 code points, not bytes
// Width pads with blanks (a leading 0 in the width is just a digit, not a
// zero-fill flag: use a precision for zeros). Floating conversions accept
// integers as well; integer conversions refuse floating values. Decimal
// rounding is half away from zero on the value's first 18 significant
// digits, identical on every build. Infinite and NaN values print as "INF",
// "-INF" and "NAN". Width and precision above 4096 are refused.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class FormatArg {
 public:
  enum class Kind { Int, UInt, Float, Text };

  FormatArg(int v) : kind_(Kind::Int), i_(v), narrow_(true) {}
  FormatArg(long v) : kind_(Kind::Int), i_(v), narrow_(sizeof(long) <= 4) {}
  FormatArg(long long v) : kind_(Kind::Int), i_(v) {}
  FormatArg(unsigned v) : kind_(Kind::UInt), u_(v), narrow_(true) {}
  FormatArg(unsigned long v) : kind_(Kind::UInt), u_(v), narrow_(sizeof(long) <= 4) {}
  FormatArg(unsigned long long v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(double v) : kind_(Kind::Float), f_(v) {}
  FormatArg(const char* v) : kind_(Kind::Text), s_(v ? v : "") {}
  FormatArg(std::string_view v) : kind_(Kind::Text), s_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::Text), s_(v) {}

  Kind kind() const { return kind_; }
  int64_t AsInt() const { return kind_ == Kind::UInt ? static_cast<int64_t>(u_) : i_; }
  uint64_t AsUInt() const { return kind_ == Kind::Int ? static_cast<uint64_t>(i_) : u_; }
  double AsFloat() const { return f_; }
  std::string_view AsText() const { return s_; }
  // True when the integer came from a 32-bit type: %u and %x show a negative
  // value as its 32-bit two's complement then.
  bool Narrow() const { return narrow_; }

 private:
  Kind kind_;
  int64_t i_ = 0;
  uint64_t u_ = 0;
  double f_ = 0;
  std::string_view s_;  // valid for the duration of the Format call
  bool narrow_ = false;
};

// Formats `fmt` with `args`; raises EConvertError on a bad format or a
// missing or mismatched argument.
std::string Format(std::string_view fmt, std::span<const FormatArg> args);

template <class... Args>
std::string Format(std::string_view fmt, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return Format(fmt, std::span<const FormatArg>());
  } else {
    const FormatArg list[] = {FormatArg(args)...};
    return Format(fmt, std::span<const FormatArg>(list, sizeof...(Args)));
  }
}
