// Printf-style formatting (see Format.h for the item syntax). Numbers are
// rendered from a decimal digit string of our own, so the Linux and Win32
// builds round and print identically whatever their C runtimes do.
#include "framework/Format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "framework/Exception.h"
#include "framework/Utf8.h"

namespace {

constexpr int kMaxWidth = 4096;          // width and precision cap: no giant buffers
constexpr int kFloatDigits = 18;         // significant digits kept before rounding
constexpr int kDefaultFixed = 2;         // %f and %n decimals
constexpr int kDefaultSignificant = 15;  // %e and %g significant digits

[[noreturn]] void Invalid(std::string_view fmt) {
  throw EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

// A decimal number as digits d1 d2 ... dn meaning d1.d2...dn x 10^exp.
// Zero is the single digit "0" with exp 0.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exp = 0;

  bool IsZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

Decimal FromUnsigned(uint64_t v, bool negative) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  Decimal d;
  d.negative = negative;
  d.digits.assign(buf, r.ptr);
  d.exp = static_cast<int>(d.digits.size()) - 1;
  return d;
}

// A finite double, rounded once to kFloatDigits significant digits.
Decimal FromDouble(double v) {
  Decimal d;
  d.negative = std::signbit(v);
  if (v == 0) {
    d.digits = "0";
    return d;
  }
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                               kFloatDigits - 1);
  const std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') d.digits += text[i];
  d.exp = std::atoi(std::string(text.substr(e + 1)).c_str());
  return d;
}

// Rounds to `keep` significant digits, half away from zero. keep may be 0 or
// negative (the value is below the last kept position); the result is then
// zero or a single 1 one position higher.
void RoundTo(Decimal& d, int keep) {
  const int n = static_cast<int>(d.digits.size());
  if (keep >= n) return;
  if (keep < 0) {
    d.digits = "0";
    d.exp = 0;
    return;
  }
  const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    for (; i >= 0 && d.digits[static_cast<size_t>(i)] == '9'; --i)
      d.digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++d.digits[static_cast<size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp;
    }
  }
  if (d.digits.empty() || d.IsZero()) {
    d.digits = "0";
    d.exp = 0;
  }
}

// The digit at 10^power of d (after rounding), '0' outside its digits.
char DigitAt(const Decimal& d, int power) {
  const int index = d.exp - power;
  if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
  return d.digits[static_cast<size_t>(index)];
}

std::string Fixed(Decimal d, int decimals, bool thousands) {
  RoundTo(d, d.exp + 1 + decimals);
  std::string out;
  if (d.negative && !d.IsZero()) out += '-';  // never "-0.00"
  const int top = d.exp > 0 ? d.exp : 0;
  for (int p = top; p >= 0; --p) {
    out += DigitAt(d, p);
    if (thousands && p > 0 && p % 3 == 0) out += ',';
  }
  if (decimals > 0) {
    out += '.';
    for (int p = -1; p >= -decimals; --p) out += DigitAt(d, p);
  }
  return out;
}

std::string Exponent(int exp, int minDigits, bool plusSign) {
  std::string out(1, exp < 0 ? '-' : '+');
  if (exp >= 0 && !plusSign) out.clear();
  std::string digits = std::to_string(exp < 0 ? -exp : exp);
  if (static_cast<int>(digits.size()) < minDigits)
    digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  return out + digits;
}

std::string Scientific(Decimal d, int significant) {
  RoundTo(d, significant);
  std::string out;
  if (d.negative && !d.IsZero()) out += '-';
  d.digits.resize(static_cast<size_t>(significant), '0');
  out += d.digits[0];
  if (significant > 1) {
    out += '.';
    out.append(d.digits, 1);
  }
  return out + "E" + Exponent(d.exp, 3, true);
}

std::string General(Decimal d, int significant) {
  RoundTo(d, significant);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  const int decimals = static_cast<int>(d.digits.size()) - 1 - d.exp;
  if (d.exp >= significant || d.exp < -5) {
    std::string out;
    if (d.negative && !d.IsZero()) out += '-';
    out += d.digits[0];
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    return out + "E" + Exponent(d.exp, 1, false);
  }
  return Fixed(d, decimals > 0 ? decimals : 0, false);
}

std::string Hex(uint64_t v) {
  char buf[20];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
  std::string out(buf, r.ptr);
  for (char& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The unsigned view of an integer argument for %u and %x.
uint64_t UnsignedValue(const FormatArg& a) {
  if (a.kind() == FormatArg::Kind::UInt || a.AsInt() >= 0) return a.AsUInt();
  return a.Narrow() ? static_cast<uint32_t>(a.AsInt()) : a.AsUInt();
}

// Inserts zeros after the sign until there are `digits` digits.
void ZeroPad(std::string& s, int digits) {
  const size_t sign = (!s.empty() && s[0] == '-') ? 1 : 0;
  const size_t have = s.size() - sign;
  if (digits > 0 && have < static_cast<size_t>(digits))
    s.insert(sign, static_cast<size_t>(digits) - have, '0');
}

class Formatter {
 public:
  Formatter(std::string_view fmt, std::span<const FormatArg> args) : fmt_(fmt), args_(args) {}

  std::string Run() {
    while (pos_ < fmt_.size()) {
      const size_t percent = fmt_.find('%', pos_);
      if (percent == std::string_view::npos) {
        out_.append(fmt_.substr(pos_));
        break;
      }
      out_.append(fmt_.substr(pos_, percent - pos_));
      pos_ = percent + 1;
      Item();
    }
    return std::move(out_);
  }

 private:
  bool AtEnd() const { return pos_ >= fmt_.size(); }
  char Peek() const { return AtEnd() ? '\0' : fmt_[pos_]; }

  const FormatArg& NextArg() {
    if (next_ >= args_.size()) Invalid(fmt_);
    return args_[next_++];
  }

  // A decimal number or "*"; -1 when neither is present.
  int Number() {
    if (Peek() == '*') {
      ++pos_;
      const FormatArg& a = NextArg();
      if (a.kind() != FormatArg::Kind::Int && a.kind() != FormatArg::Kind::UInt) Invalid(fmt_);
      if (a.kind() == FormatArg::Kind::UInt ? a.AsUInt() > kMaxWidth
                                            : (a.AsInt() > kMaxWidth || a.AsInt() < -kMaxWidth))
        Invalid(fmt_);
      starNegative_ = a.AsInt() < 0;
      return static_cast<int>(a.AsInt() < 0 ? -a.AsInt() : a.AsInt());
    }
    starNegative_ = false;
    if (Peek() < '0' || Peek() > '9') return -1;
    int v = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      v = v * 10 + (Peek() - '0');
      if (v > kMaxWidth) Invalid(fmt_);
      ++pos_;
    }
    return v;
  }

  void Item() {
    if (Peek() == '%') {
      out_ += '%';
      ++pos_;
      return;
    }
    int first = Number();
    if (Peek() == ':') {  // argument index
      ++pos_;
      if (first < 0 || starNegative_) Invalid(fmt_);
      next_ = static_cast<size_t>(first);
      first = -1;
    }
    bool left = false;
    int width = first;
    if (width < 0) {
      if (Peek() == '-') {
        left = true;
        ++pos_;
      }
      width = Number();
    }
    if (starNegative_) left = true;
    int precision = -1;
    if (Peek() == '.') {
      ++pos_;
      precision = Number();
      if (starNegative_)
        precision = -1;
      else if (precision < 0)
        precision = 0;  // "%.f": an empty precision is zero
    }
    if (AtEnd()) Invalid(fmt_);
    const char type = fmt_[pos_++];
    const FormatArg& a = NextArg();
    std::string text = Convert(type, a, precision);
    const size_t length = (type == 's' || type == 'S') ? Utf8Length(text) : text.size();
    if (width > 0 && length < static_cast<size_t>(width)) {
      const std::string pad(static_cast<size_t>(width) - length, ' ');
      text = left ? text + pad : pad + text;
    }
    out_ += text;
  }

  std::string Convert(char type, const FormatArg& a, int precision) {
    using K = FormatArg::Kind;
    const bool integer = a.kind() == K::Int || a.kind() == K::UInt;
    switch (type) {
      case 'd':
      case 'D': {
        if (!integer) Invalid(fmt_);
        std::string s =
            a.kind() == K::UInt ? std::to_string(a.AsUInt()) : std::to_string(a.AsInt());
        ZeroPad(s, precision);
        return s;
      }
      case 'u':
      case 'U':
      case 'x':
      case 'X': {
        if (!integer) Invalid(fmt_);
        const uint64_t v = UnsignedValue(a);
        std::string s = (type == 'u' || type == 'U') ? std::to_string(v) : Hex(v);
        ZeroPad(s, precision);
        return s;
      }
      case 's':
      case 'S':
        if (a.kind() != K::Text) Invalid(fmt_);
        if (precision >= 0) return Utf8Left(a.AsText(), static_cast<size_t>(precision));
        return std::string(a.AsText());
      case 'f':
      case 'F':
      case 'n':
      case 'N':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
        break;
      default:
        Invalid(fmt_);
    }
    if (a.kind() == K::Text) Invalid(fmt_);
    Decimal d;
    if (a.kind() == K::Float) {
      const double v = a.AsFloat();
      if (std::isnan(v)) return "NAN";
      if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
      d = FromDouble(v);
    } else if (a.kind() == K::UInt || a.AsInt() >= 0) {
      d = FromUnsigned(a.AsUInt(), false);
    } else {
      d = FromUnsigned(0 - static_cast<uint64_t>(a.AsInt()), true);  // exact for INT64_MIN
    }
    switch (type) {
      case 'f':
      case 'F':
        return Fixed(d, precision < 0 ? kDefaultFixed : precision, false);
      case 'n':
      case 'N':
        return Fixed(d, precision < 0 ? kDefaultFixed : precision, true);
      case 'e':
      case 'E': {
        int p = precision < 0 ? kDefaultSignificant : precision;
        return Scientific(d, p < 1 ? 1 : (p > kFloatDigits ? kFloatDigits : p));
      }
      default: {
        int p = precision < 0 ? kDefaultSignificant : precision;
        return General(d, p < 1 ? 1 : (p > kFloatDigits ? kFloatDigits : p));
      }
    }
  }

  std::string_view fmt_;
  std::span<const FormatArg> args_;
  size_t pos_ = 0;
  size_t next_ = 0;
  bool starNegative_ = false;
  std::string out_;
};

}  // namespace

std::string Format(std::string_view fmt, std::span<const FormatArg> args) {
  return Formatter(fmt, args).Run();
}
