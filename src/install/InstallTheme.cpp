// The installer's default wizard picture: a 117 x 290 bitmap in 16 colours
// (a blue gradient in bands), made in memory so the program needs no
// resource file.
#include "install/cmp_TInstall.h"

namespace {

constexpr int kWidth = 117;
constexpr int kHeight = 290;
constexpr int kColours = 16;
constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kPaletteSize = kColours * 4;
constexpr size_t kRowBytes = (kWidth * 4 + 31) / 32 * 4;  // rows end on 32-bit boundaries
constexpr size_t kPixelOffset = kBmpFileHeaderSize + kInfoHeaderSize + kPaletteSize;

void PutLe(Bytes& b, size_t pos, uint32_t v, int width) {
  for (int i = 0; i < width; ++i)
    b[pos + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

Bytes DefaultInstallThemeBitmap() {
  const size_t imageSize = kRowBytes * kHeight;
  Bytes b(kPixelOffset + imageSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, static_cast<uint32_t>(kPixelOffset), 4);
  const size_t info = kBmpFileHeaderSize;
  PutLe(b, info + 0, kInfoHeaderSize, 4);
  PutLe(b, info + 4, kWidth, 4);
  PutLe(b, info + 8, kHeight, 4);  // bottom-up rows
  PutLe(b, info + 12, 1, 2);       // planes
  PutLe(b, info + 14, 4, 2);       // bits per pixel
  PutLe(b, info + 20, static_cast<uint32_t>(imageSize), 4);
  PutLe(b, info + 32, kColours, 4);
  for (int i = 0; i < kColours; ++i) {
    const size_t entry = kBmpFileHeaderSize + kInfoHeaderSize + static_cast<size_t>(i) * 4;
    b[entry + 0] = static_cast<uint8_t>(0x60 + i * 9);  // blue
    b[entry + 1] = static_cast<uint8_t>(i * 8);         // green
    b[entry + 2] = static_cast<uint8_t>(i * 4);         // red
  }
  for (int y = 0; y < kHeight; ++y) {
    // Row 0 of the file is the bottom of the picture: light at the bottom.
    const uint8_t index = static_cast<uint8_t>(kColours - 1 - y * kColours / kHeight);
    const uint8_t pair = static_cast<uint8_t>(index << 4 | index);
    const size_t row = kPixelOffset + static_cast<size_t>(y) * kRowBytes;
    for (size_t x = 0; x < kRowBytes; ++x) b[row + x] = pair;
  }
  return b;
}
