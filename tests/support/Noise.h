// Test data: incompressible bytes from a fixed linear congruential
// sequence, so archive sizes on disk are predictable and runs repeat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testsupport {

inline std::string Noise(size_t n, uint32_t seed) {
  std::string v(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1664525u + 1013904223u;
    v[i] = char(seed >> 24);
  }
  return v;
}

}  // namespace testsupport
