// Integer rounding and scaling as the runtime and Windows define them:
// Round with halves to even, MulDiv with a 64-bit intermediate.
#pragma once

#include <cstdint>

// The nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). A value that is not finite or lies outside the int64 range
// raises EConvertError.
int64_t Round(double value);

// a * b / c with a 64-bit product, rounded half away from zero. A zero
// divisor, or a result outside the 32-bit range, gives -1.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
