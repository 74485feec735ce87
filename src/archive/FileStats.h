// The progress record the archive passes to its status events, and the
// percentage rule every progress step uses.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

constexpr size_t kFileHeaderSize = 172;

struct TlzhFileStats {
  uint8_t FilePercent = 0;
  int32_t FileBytesDone = 0;
  std::string FileName;
  int32_t CompressedSize = 0;
  uint8_t Ratio = 0;
  int32_t FileSize = 0;
  std::array<uint8_t, kFileHeaderSize> Header{};
  bool Finished = false;
  uint8_t TotalPercent = 0;
  int32_t TotalBytesDone = 0;
  int32_t TotalCompressed = 0;
  uint8_t TotalRatio = 0;
  int32_t TotalSize = 0;
};

// done / total x 100, rounded to the nearest integer (ties to even) and
// kept within 0..100 so a header that understates a size cannot push a
// byte field out of range. Nothing to do (total 0) counts as complete.
inline uint8_t PercentOf(int64_t done, int64_t total) {
  if (total <= 0) return 100;
  const double p = std::nearbyint(static_cast<double>(done) * 100.0 / static_cast<double>(total));
  if (!(p > 0)) return 0;
  if (p >= 100) return 100;
  return static_cast<uint8_t>(p);
}
