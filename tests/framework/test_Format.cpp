// Format: every conversion at its edges, the rounding rules shared by both
// builds, and the refusal of formats that do not match their arguments.
#include <gtest/gtest.h>

#include <limits>

#include "framework/Exception.h"
#include "framework/Format.h"

namespace {

struct Case {
  const char* what;
  std::string got;
  const char* want;
};

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.want);
  }
}

TEST(Format, IntegersTextAndLayout) {
  Check({
      {"plain", Format("%d items in %s", 3, "C:\\Dir"), "3 items in C:\\Dir"},
      {"percent", Format("%d%%", 50), "50%"},
      {"min int64", Format("%d", std::numeric_limits<long long>::min()), "-9223372036854775808"},
      {"max uint64 as %d", Format("%d", std::numeric_limits<unsigned long long>::max()),
       "18446744073709551615"},
      {"precision zero-pads after sign", Format("%.5d", -12), "-00012"},
      {"width pads with blanks", Format("[%6d]", 42), "[    42]"},
      {"leading 0 is not a fill flag", Format("[%05d]", 42), "[   42]"},
      {"left justify", Format("[%-6d]", 42), "[42    ]"},
      {"star width and precision", Format("[%*.*d]", 6, 3, 7), "[   007]"},
      {"negative star width left-justifies", Format("[%*d]", -4, 7), "[7   ]"},
      {"u of 32-bit -1", Format("%u", -1), "4294967295"},
      {"x upper-case, 32-bit pattern", Format("%x", -1), "FFFFFFFF"},
      {"x of 64-bit -1", Format("%x", -1LL), "FFFFFFFFFFFFFFFF"},
      {"x with precision", Format("%.8x", 0xBEEFu), "0000BEEF"},
      {"type letters are case-blind", Format("%X %S %D", 255, "a", 1), "FF a 1"},
      {"index then continue", Format("%1:s %0:s %s", "a", "b"), "b a b"},
      {"s precision cuts", Format("[%.3s]", "abcdef"), "[abc]"},
      {"s width counts code points", Format("[%4s]", "\xE4\xB8\xAD\xE6\x96\x87"),
       "[  \xE4\xB8\xAD\xE6\x96\x87]"},
      {"s precision never splits a character", Format("%.1s", "\xE4\xB8\xAD\xE6\x96\x87"),
       "\xE4\xB8\xAD"},
      {"extra arguments are ignored", Format("x", 1, 2), "x"},
  });
}

TEST(Format, FloatingConversions) {
  Check({
      {"n default", Format("%n", 1234567.891), "1,234,567.89"},
      {"n no decimals", Format("%0.0n", 1234.0), "1,234"},
      {"n of an integer", Format("%0.0n %s", 1234LL, "Bytes"), "1,234 Bytes"},
      {"n below a thousand", Format("%.0n", 999.4), "999"},
      {"n carries into a new group", Format("%.1n", -999999.96), "-1,000,000.0"},
      {"n of int64 min is exact", Format("%.0n", std::numeric_limits<long long>::min()),
       "-9,223,372,036,854,775,808"},
      {"f default two", Format("%f", 3.14159), "3.14"},
      {"f rounds a decimal tie away from zero", Format("%.0f|%.0f", 2.5, -2.5), "3|-3"},
      {"f 0.125", Format("%.2f", 0.125), "0.13"},
      {"f 2.675 is below the tie in binary", Format("%.2f", 2.675), "2.67"},
      {"f carry", Format("%f", 999.999), "1000.00"},
      {"f no negative zero", Format("%.0f|%.2f", -0.4, -0.0), "0|0.00"},
      {"f tiny", Format("%.3f", 1e-300), "0.000"},
      {"e default 15 digits", Format("%e", 1234.5), "1.23450000000000E+003"},
      {"e precision = significant digits", Format("%.3e", -0.00012345), "-1.23E-004"},
      {"e one digit", Format("%.1e", 96.0), "1E+002"},
      {"e of zero", Format("%.2e", 0.0), "0.0E+000"},
      {"g shortest", Format("%g|%g|%g", 0.1, 100.0, 1e20), "0.1|100|1E20"},
      {"g small goes scientific", Format("%g", 1.5e-7), "1.5E-7"},
      {"width on floats", Format("[%8.1f]", -1.25), "[    -1.3]"},
      {"not finite",
       Format("%f %n %e", std::numeric_limits<double>::infinity(),
              -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()),
       "INF -INF NAN"},
  });
}

TEST(Format, BadFormatsRaiseConvertError) {
  struct Bad {
    const char* fmt;
    std::vector<FormatArg> args;
  };
  const Bad cases[] = {
      {"%d", {FormatArg(1.5)}},                 // float for an integer conversion
      {"%d", {FormatArg("12")}},                // text for an integer conversion
      {"%s", {FormatArg(12)}},                  // number for text
      {"%f", {FormatArg("1.5")}},               // text for a float
      {"%s %s", {FormatArg("a")}},              // missing argument
      {"%q", {FormatArg(1)}},                   // unknown conversion
      {"trailing %", {}},                       // cut-off item
      {"%-", {FormatArg(1)}},                   // item without type
      {"%*d", {FormatArg("x"), FormatArg(1)}},  // star takes a non-integer
      {"%5:s", {FormatArg("a")}},               // index past the arguments
      {"%99999d", {FormatArg(1)}},              // absurd width
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fmt);
    try {
      Format(c.fmt, std::span<const FormatArg>(c.args));
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                std::string("Format '") + c.fmt + "' invalid or incompatible with argument");
    }
  }
}

}  // namespace
