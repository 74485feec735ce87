// Draws the dialogs' pictures (see KitPictures.h) on a small raster and
// writes them as bottom-up 24-bit .bmp files.
#include "dialogs/KitPictures.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/Pictures.h"

namespace {

// Colours as 0xRRGGBB.
constexpr uint32_t kFace = 0xC0C0C0;  // the dialogs' button face
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDarkGrey = 0x808080;
constexpr uint32_t kNavy = 0x000080;
constexpr uint32_t kBlue = 0x2060D0;
constexpr uint32_t kGreen = 0x20A040;
constexpr uint32_t kCardboard = 0xC89040;
constexpr uint32_t kCardboardDark = 0x8C6020;
constexpr uint32_t kRed = 0xC02020;
constexpr uint32_t kYellow = 0xF0D000;

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

}  // namespace

Bytes ExtractionPicture() {
  Raster r(kExtractionPictureWidth, kExtractionPictureHeight, kFace);
  // An open box in the lower half ...
  r.Fill(4, 20, 32, 35, kCardboard);
  r.Frame(4, 20, 32, 35, kCardboardDark);
  r.Line(4, 20, 0, 16, kCardboardDark);  // the flaps
  r.Line(31, 20, 35, 16, kCardboardDark);
  r.Line(10, 27, 25, 27, kCardboardDark);  // the tape
  // ... with an arrow rising out of it.
  r.Fill(15, 9, 21, 26, kGreen);
  r.ArrowHead(17, 1, 9, -1, kGreen);
  r.ArrowHead(18, 1, 9, -1, kGreen);
  return r.ToBmp();
}

Bytes TransferPicture() {
  Raster r(kTransferPictureWidth, kTransferPictureHeight, kFace);
  // A globe: a blue disc with two meridians, the equator and two green
  // land patches ...
  constexpr int cx = 16, cy = 18, radius = 15;
  r.Disc(cx, cy, radius, kBlue, kNavy);
  r.Line(cx - radius + 1, cy, cx + radius - 1, cy, kNavy);
  for (int y = cy - radius + 2; y <= cy + radius - 2; ++y) {
    const int dy = y - cy;
    int half = 0;
    while ((half + 1) * (half + 1) + dy * dy <= radius * radius) ++half;
    r.Set(cx - half / 2, y, kNavy);
    r.Set(cx + half / 2, y, kNavy);
  }
  r.Disc(10, 12, 4, kGreen, kGreen);
  r.Disc(21, 24, 5, kGreen, kGreen);
  // ... and a downward arrow at its right: the file comes over the wire.
  r.Fill(31, 2, 35, 24, kRed);
  r.ArrowHead(32, 34, 9, 1, kRed);
  r.ArrowHead(33, 34, 9, 1, kRed);
  return r.ToBmp();
}

Bytes StatusIconPicture() {
  Raster r(kStatusIconSide, kStatusIconSide, kFace);
  r.Disc(15, 15, 14, kBlue, kNavy);
  r.Fill(13, 6, 18, 10, kWhite);  // the dot of the "i"
  r.Fill(13, 12, 18, 25, kWhite);
  r.Fill(11, 12, 13, 14, kWhite);  // its serifs
  r.Fill(11, 23, 20, 25, kWhite);
  return r.ToBmp();
}

Bytes DiskPicture() {
  Raster r(kDiskPictureWidth, kDiskPictureHeight, kFace);
  // A floppy disk: dark body with a cut corner, metal shutter, label.
  r.Fill(2, 2, 55, 55, kBlack);
  for (int i = 0; i < 5; ++i) r.Line(55 - 5 + i, 2, 55 - 1, 2 + 4 - i, kFace);
  r.Fill(16, 2, 42, 18, kDarkGrey);  // shutter
  r.Fill(33, 5, 38, 15, kBlack);     // its window
  r.Fill(8, 26, 49, 53, kWhite);     // label
  for (int y = 31; y < 50; y += 5) r.Line(11, y, 46, y, kBlue);
  // A downward arrow into a drive slot below.
  r.Fill(25, 60, 32, 82, kYellow);
  r.ArrowHead(28, 92, 10, 1, kYellow);
  r.Frame(2, 96, 55, 111, kDarkGrey);
  r.Fill(8, 102, 49, 105, kBlack);
  return r.ToBmp();
}

Bytes CancelGlyph() {
  Raster r(2 * kCancelGlyphSide, kCancelGlyphSide, kFace);
  for (int glyph = 0; glyph < 2; ++glyph) {
    const int x0 = glyph * kCancelGlyphSide;
    const uint32_t ink = glyph == 0 ? kRed : kDarkGrey;
    // A cross three pixels thick; the disabled one has a white shadow.
    for (int d = -1; d <= 1; ++d) {
      if (glyph == 1) {
        r.Line(x0 + 4 + d + 1, 4 + 1, x0 + 11 + d + 1, 11 + 1, kWhite);
        r.Line(x0 + 11 + d + 1, 4 + 1, x0 + 4 + d + 1, 11 + 1, kWhite);
      }
    }
    for (int d = -1; d <= 1; ++d) {
      r.Line(x0 + 4 + d, 4, x0 + 11 + d, 11, ink);
      r.Line(x0 + 11 + d, 4, x0 + 4 + d, 11, ink);
    }
  }
  return r.ToBmp();
}

void AssignKitPicture(TPicture& picture, const Bytes& bmp) {
  picture.Bitmap()->LoadFromFile(bmp);
}
