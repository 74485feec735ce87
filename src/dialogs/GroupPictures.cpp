// Draws the drive list's pictures (see GroupPictures.h) on a small raster
// and writes them as bottom-up 24-bit .bmp files.
#include "dialogs/GroupPictures.h"

#include <cstdint>
#include <vector>

#include "dialogs/KitRaster.h"
#include "framework/ImgList.h"
#include "framework/Pictures.h"

namespace {

using kitpictures::Raster;

constexpr uint32_t kBack = 0xC0C0C0;  // the list's button-face background
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kLight = 0xE0E0E0;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kYellow = 0xFFE000;

// Each picture is one image of the list.
Raster Image() {
  return Raster(kDriveImageSide, kDriveImageSide, kBack);
}

}  // namespace

Bytes DriveImage() {
  Raster r = Image();
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
  Raster r = Image();
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
