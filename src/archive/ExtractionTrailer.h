// The 56-byte trailer at the end of a self-extracting "setup.exe": where in
// that file the appended "setup.1" and "files.1" start and end. Integers are
// 32-bit little-endian, offsets counted from the start of "setup.exe":
//
//   0   1   14, the length of the text that follows
//   1  14   "SELFEXTRACTING"
//  15   1   0
//  16   4   first byte of "setup.1" (the size of the loading program)
//  20   4   last byte of "setup.1"
//  24   4   first byte of "files.1"; 0 when none was appended
//  28   4   last byte of "files.1"; 0 when none
//  32  24   zero
//
// Only bytes are handled here (no files), so the installer, the build and
// the loading program share one reading of the layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace extraction_trailer {

constexpr size_t kSize = 56;
using Bytes = std::array<uint8_t, kSize>;

struct Offsets {
  uint32_t setupStart = 0;
  uint32_t setupEnd = 0;
  uint32_t filesStart = 0;  // 0: no "files.1"
  uint32_t filesEnd = 0;
  bool HasFiles() const { return filesStart != 0 || filesEnd != 0; }
};

// The trailer for these offsets, with the length byte and the text.
Bytes Encode(const Offsets& offsets);

// The offsets as stored; the text is not looked at (older builds may
// differ in it).
Offsets Decode(const Bytes& bytes);

// Whether the offsets can describe a file of `fileSize` bytes whose last
// kSize bytes are this trailer: "setup.1" starts after at least one byte of
// loading program and ends before the trailer, "files.1" (when present)
// follows it and ends before the trailer. A damaged or foreign trailer
// fails this; the reason is returned when it does.
std::optional<const char*> Implausible(const Offsets& offsets, uint64_t fileSize);

}  // namespace extraction_trailer
