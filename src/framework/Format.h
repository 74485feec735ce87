// Printf-style formatting as the kit's messages use it: %s %d %u %x %n %f %e
// %%, with width, precision, '-' and '*'. A format that does not match its
// arguments raises EConvertError instead of printing garbage.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class FormatArg {
 public:
  enum class Kind { Int, UInt, Float, Text };

  FormatArg(int v) : kind_(Kind::Int), i_(v) {}
  FormatArg(long v) : kind_(Kind::Int), i_(v) {}
  FormatArg(long long v) : kind_(Kind::Int), i_(v) {}
  FormatArg(unsigned v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::UInt), u_(v) {}
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

 private:
  Kind kind_;
  int64_t i_ = 0;
  uint64_t u_ = 0;
  double f_ = 0;
  std::string_view s_;  // valid for the duration of the Format call
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
