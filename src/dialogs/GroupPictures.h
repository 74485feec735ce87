// The pictures of the file group page's drive list, drawn in code as
// 16 x 16 24-bit bitmaps: a hard drive (each row's image) and a warning
// mark (the state image of a drive without enough free space).
#pragma once

#include "framework/TypeInfo.h"

class TCustomImageList;

inline constexpr int kDriveImageSide = 16;

// Each is a complete .bmp file.
Bytes DriveImage();
Bytes DriveWarningImage();

// Replaces what `list` holds by the two pictures, 16 x 16: image 0 the
// drive, image 1 the warning mark.
void FillDriveImages(TCustomImageList& list);
