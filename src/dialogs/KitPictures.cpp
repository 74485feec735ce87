// Draws the dialogs' pictures (see KitPictures.h) on a small raster and
// writes them as bottom-up 24-bit .bmp files.
#include "dialogs/KitPictures.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dialogs/KitRaster.h"
#include "framework/Graphics.h"
#include "framework/Pictures.h"

namespace {

using kitpictures::Raster;

// Colours as 0xRRGGBB.
constexpr uint32_t kFace = 0xC0C0C0;  // the classic button face, for the glyph
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

// `face` as 0xRRGGBB, the raster's colour order.
uint32_t RasterColour(TColor face) {
  const uint32_t bgr = uint32_t(ColorToRGB(face));  // 0x00BBGGRR
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

}  // namespace

Bytes ExtractionPicture(TColor face) {
  Raster r(kExtractionPictureWidth, kExtractionPictureHeight, RasterColour(face));
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

Bytes TransferPicture(TColor face) {
  Raster r(kTransferPictureWidth, kTransferPictureHeight, RasterColour(face));
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

Bytes StatusIconPicture(TColor face) {
  Raster r(kStatusIconSide, kStatusIconSide, RasterColour(face));
  r.Disc(15, 15, 14, kBlue, kNavy);
  r.Fill(13, 6, 18, 10, kWhite);  // the dot of the "i"
  r.Fill(13, 12, 18, 25, kWhite);
  r.Fill(11, 12, 13, 14, kWhite);  // its serifs
  r.Fill(11, 23, 20, 25, kWhite);
  return r.ToBmp();
}

Bytes DiskPicture(TColor face) {
  const uint32_t background = RasterColour(face);
  Raster r(kDiskPictureWidth, kDiskPictureHeight, background);
  // A floppy disk: dark body with a cut corner, metal shutter, label.
  r.Fill(2, 2, 55, 55, kBlack);
  for (int i = 0; i < 5; ++i) r.Line(55 - 5 + i, 2, 55 - 1, 2 + 4 - i, background);
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
