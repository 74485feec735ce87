// Round (halves to even) and MulDiv (see MathUtils.h). Neither depends on the
// floating-point rounding mode or on the C runtime of the build.
#include "framework/MathUtils.h"

#include <cmath>

#include "framework/Exception.h"
#include "framework/Format.h"

int64_t Round(double value) {
  // 2^63 exactly; every double below it in magnitude converts without UB.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(value) || value >= kLimit || value < -kLimit)
    throw EConvertError(Format("Cannot round %g to an integer", value));
  // value - trunc(value) is exact: below 1 the truncation is 0, above it the
  // two operands are within a factor of two of each other.
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);
  auto result = static_cast<int64_t>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) result += value < 0 ? -1 : 1;
  return result;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  // Magnitudes fit in uint64: |product| <= 2^62, |c| <= 2^31.
  const uint64_t num =
      product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
  const uint64_t den =
      c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  const uint64_t q = (num + den / 2) / den;
  if (negative ? q > 2147483648u : q > 2147483647u) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}
