// The archive's byte layout: the 5-byte head and the 172-byte member
// header, as named offsets, with explicit little-endian access. Nothing here
// overlays a struct on file bytes; callers check that the bytes exist first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "archive/FileStats.h"

namespace archive_layout {

// Head, at archive position 0.
constexpr size_t kHeadSize = 5;
constexpr size_t kHeadCount = 0;   // 4: number of member headers
constexpr size_t kHeadLayout = 4;  // 1: 0 single file, 1 volume set

// Member header fields (offsets into the 172 stored bytes).
constexpr size_t kHeaderSize = kFileHeaderSize;
constexpr size_t kSequenceNumber = 0;    // 4
constexpr size_t kDate = 4;              // 8: IEEE double, local date-time
constexpr size_t kEndVolume = 12;        // 1
constexpr size_t kEndPosition = 16;      // 4: last data byte
constexpr size_t kName = 20;             // 1 + 100: length-prefixed
constexpr size_t kNextHeader = 124;      // 4
constexpr size_t kSize = 128;            // 4: uncompressed
constexpr size_t kDataStart = 132;       // 4
constexpr size_t kCompressedSize = 136;  // 4
constexpr size_t kStartVolume = 140;     // 1
constexpr size_t kUniqueID = 144;        // 4
constexpr size_t kVersion = 148;         // 1 + 20: length-prefixed

constexpr size_t kMaxNameBytes = 100;
constexpr size_t kMaxVersionBytes = 20;

// The UniqueID lookup table covers 0 .. kUniqueIDs - 1.
constexpr int kUniqueIDs = 2000;

// Positions and sizes are 32-bit signed fields: no archive or member can
// reach beyond this.
constexpr int64_t kMaxPosition = INT32_MAX;

inline uint32_t GetLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t GetLEInt32(const uint8_t* p) {
  return static_cast<int32_t>(GetLE32(p));
}
inline void PutLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline double GetLEDouble(const uint8_t* p) {
  uint64_t bits = uint64_t(GetLE32(p)) | uint64_t(GetLE32(p + 4)) << 32;
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
inline void PutLEDouble(uint8_t* p, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  PutLE32(p, uint32_t(bits));
  PutLE32(p + 4, uint32_t(bits >> 32));
}

}  // namespace archive_layout
