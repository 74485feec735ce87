// Draws the drive list's pictures (see GroupPictures.h) on a small raster
// and writes them as bottom-up 24-bit .bmp files.
#include "dialogs/GroupPictures.h"

#include <cstdint>
#include <vector>

#include "framework/ImgList.h"
#include "framework/Pictures.h"

namespace {

constexpr uint32_t kBack = 0xC0C0C0;  // the list's button-face background
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kLight = 0xE0E0E0;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kYellow = 0xFFE000;

class Raster {
 public:
  Raster() : pixels_(static_cast<size_t>(kDriveImageSide * kDriveImageSide), kBack) {}
  void Set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < kDriveImageSide && y < kDriveImageSide)
      pixels_[static_cast<size_t>(y * kDriveImageSide + x)] = c;
  }
  void Fill(int left, int top, int right, int bottom, uint32_t c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y, c);
  }
  Bytes ToBmp() const {
    constexpr size_t kFileHeader = 14, kInfoHeader = 40;
    constexpr size_t kRowBytes = (kDriveImageSide * 3 + 3) / 4 * 4;
    constexpr size_t kImageSize = kRowBytes * kDriveImageSide;
    Bytes b(kFileHeader + kInfoHeader + kImageSize, 0);
    auto put = [&b](size_t pos, uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i)
        b[pos + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, static_cast<uint32_t>(kFileHeader + kInfoHeader), 4);
    put(kFileHeader + 0, kInfoHeader, 4);
    put(kFileHeader + 4, kDriveImageSide, 4);
    put(kFileHeader + 8, kDriveImageSide, 4);  // positive: bottom-up rows
    put(kFileHeader + 12, 1, 2);
    put(kFileHeader + 14, 24, 2);
    put(kFileHeader + 20, static_cast<uint32_t>(kImageSize), 4);
    for (int y = 0; y < kDriveImageSide; ++y) {
      size_t pos =
          kFileHeader + kInfoHeader + static_cast<size_t>(kDriveImageSide - 1 - y) * kRowBytes;
      for (int x = 0; x < kDriveImageSide; ++x) {
        const uint32_t c = pixels_[static_cast<size_t>(y * kDriveImageSide + x)];
        b[pos++] = static_cast<uint8_t>(c);
        b[pos++] = static_cast<uint8_t>(c >> 8);
        b[pos++] = static_cast<uint8_t>(c >> 16);
      }
    }
    return b;
  }

 private:
  std::vector<uint32_t> pixels_;
};

}  // namespace

Bytes DriveImage() {
  Raster r;
  // A flat drive case seen from the front: light top edge, dark bottom
  // edge and a green activity light.
  r.Fill(1, 5, 15, 12, kLight);
  r.Fill(1, 5, 15, 6, kWhite);
  r.Fill(1, 11, 15, 12, kGrey);
  r.Fill(0, 5, 1, 12, kBlack);
  r.Fill(15, 5, 16, 12, kBlack);
  r.Fill(0, 12, 16, 13, kBlack);
  r.Fill(0, 4, 16, 5, kBlack);
  r.Fill(3, 8, 9, 9, kGrey);
  r.Fill(11, 8, 13, 10, kGreen);
  return r.ToBmp();
}

Bytes DriveWarningImage() {
  Raster r;
  // A yellow triangle with a black rim and an exclamation mark.
  for (int row = 0; row < 14; ++row) {
    const int half = row / 2;
    r.Fill(7 - half, 1 + row, 9 + half, 2 + row, kYellow);
    r.Set(7 - half, 1 + row, kBlack);
    r.Set(8 + half, 1 + row, kBlack);
  }
  r.Fill(1, 14, 15, 15, kBlack);
  r.Fill(7, 5, 9, 10, kBlack);
  r.Fill(7, 11, 9, 13, kBlack);
  return r.ToBmp();
}

void FillDriveImages(TCustomImageList& list) {
  list.Clear();
  list.SetWidth(kDriveImageSide);
  list.SetHeight(kDriveImageSide);
  Owned<TBitmap> picture(new TBitmap);
  picture->LoadFromFile(DriveImage());
  list.Add(*picture);
  picture->LoadFromFile(DriveWarningImage());
  list.Add(*picture);
}
