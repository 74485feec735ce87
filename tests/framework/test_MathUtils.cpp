// Round (halves to even) and MulDiv (64-bit product, halves away from zero,
// -1 for a zero divisor or a result that does not fit).
#include <gtest/gtest.h>

#include <limits>

#include "framework/Exception.h"
#include "framework/MathUtils.h"

namespace {

TEST(MathUtils, RoundHalvesToEven) {
  struct Case {
    double in;
    int64_t out;
  };
  const Case cases[] = {{2.5, 2},
                        {3.5, 4},
                        {-2.5, -2},
                        {-3.5, -4},
                        {0.5, 0},
                        {-0.5, 0},
                        {1.5, 2},
                        {2.4999999999999996, 2},
                        {2.5000000000000004, 3},
                        {-0.49999999999999994, 0},
                        {-1.7, -2},
                        {4503599627370497.0, 4503599627370497},
                        {-9223372036854775808.0, INT64_MIN}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Round(c.in), c.out);
  }
  for (double bad : {9223372036854775808.0, -1e19, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(Round(bad), EConvertError);
  }
}

TEST(MathUtils, MulDivLikeWindows) {
  struct Case {
    int32_t a, b, c, out;
  };
  const Case cases[] = {
      {1, 3, 2, 2},    // 1.5 -> 2
      {-1, 3, 2, -2},  // -1.5 -> -2
      {1, 3, -2, -2},
      {-1, -3, -2, -2},
      {5, 1, 3, 2},                      // 1.67
      {4, 1, 3, 1},                      // 1.33
      {100000, 100000, 1000, 10000000},  // product beyond 32 bits
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
      {INT32_MIN, 1, 1, INT32_MIN},
      {INT32_MIN, -1, 1, -1},  // 2^31 does not fit
      {INT32_MAX, 2, 1, -1},
      {7, 9, 0, -1},  // zero divisor
      {0, 5, 7, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << "*" << c.b << "/" << c.c);
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.out);
  }
}

}  // namespace
