// A small raster the kit's pictures are drawn on in code, written out as a
// bottom-up 24-bit .bmp file. Colours are 0xRRGGBB.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/TypeInfo.h"

namespace kitpictures {

class Raster {
 public:
  Raster(int width, int height, uint32_t background)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), background) {}

  void Set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      pixels_[static_cast<size_t>(y * width_ + x)] = c;
  }
  void Fill(int left, int top, int right, int bottom, uint32_t c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y, c);
  }
  void Frame(int left, int top, int right, int bottom, uint32_t c) {
    for (int x = left; x < right; ++x) {
      Set(x, top, c);
      Set(x, bottom - 1, c);
    }
    for (int y = top; y < bottom; ++y) {
      Set(left, y, c);
      Set(right - 1, y, c);
    }
  }
  void Line(int x0, int y0, int x1, int y1, uint32_t c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Set(x0, y0, c);
      if (x0 == x1 && y0 == y1) return;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }
  // A disc of radius r around (cx, cy), with an outline of `edge`.
  void Disc(int cx, int cy, int r, uint32_t fill, uint32_t edge) {
    for (int y = cy - r; y <= cy + r; ++y)
      for (int x = cx - r; x <= cx + r; ++x) {
        const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= r * r) Set(x, y, d > (r - 1) * (r - 1) ? edge : fill);
      }
  }
  // A solid arrow head pointing up (dir -1) or down (dir 1) with its tip
  // at (x, y) and `size` rows.
  void ArrowHead(int x, int y, int size, int dir, uint32_t c) {
    for (int row = 0; row < size; ++row)
      for (int dx = -row; dx <= row; ++dx) Set(x + dx, y - dir * row, c);
  }

  Bytes ToBmp() const {
    constexpr size_t kFileHeader = 14, kInfoHeader = 40;
    const size_t rowBytes = (static_cast<size_t>(width_) * 3 + 3) / 4 * 4;
    const size_t imageSize = rowBytes * static_cast<size_t>(height_);
    Bytes b(kFileHeader + kInfoHeader + imageSize, 0);
    auto put = [&b](size_t pos, uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i)
        b[pos + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, static_cast<uint32_t>(kFileHeader + kInfoHeader), 4);
    put(kFileHeader + 0, kInfoHeader, 4);
    put(kFileHeader + 4, static_cast<uint32_t>(width_), 4);
    put(kFileHeader + 8, static_cast<uint32_t>(height_), 4);  // positive: bottom-up rows
    put(kFileHeader + 12, 1, 2);                              // planes
    put(kFileHeader + 14, 24, 2);                             // bits per pixel
    put(kFileHeader + 20, static_cast<uint32_t>(imageSize), 4);
    for (int y = 0; y < height_; ++y) {
      size_t pos = kFileHeader + kInfoHeader + static_cast<size_t>(height_ - 1 - y) * rowBytes;
      for (int x = 0; x < width_; ++x) {
        const uint32_t c = pixels_[static_cast<size_t>(y * width_ + x)];
        b[pos++] = static_cast<uint8_t>(c);        // blue
        b[pos++] = static_cast<uint8_t>(c >> 8);   // green
        b[pos++] = static_cast<uint8_t>(c >> 16);  // red
      }
    }
    return b;
  }

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

}  // namespace kitpictures
