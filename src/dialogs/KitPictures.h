// The pictures of the progress, status and change-disk dialogs, drawn here
// in code as small 24-bit bitmaps: a box with an arrow (extraction), a
// globe with an arrow (transfer), an information sign (status window) and
// a floppy disk over a drive slot (change-disk form), and the wizard
// pages' cancel glyph.
#pragma once

#include "framework/GraphicsTypes.h"
#include "framework/TypeInfo.h"

class TPicture;

inline constexpr int kExtractionPictureWidth = 36;
inline constexpr int kExtractionPictureHeight = 37;
inline constexpr int kTransferPictureWidth = 37;
inline constexpr int kTransferPictureHeight = 36;
inline constexpr int kStatusIconSide = 32;
inline constexpr int kDiskPictureWidth = 57;
inline constexpr int kDiskPictureHeight = 113;
inline constexpr int kCancelGlyphSide = 16;

// Each is a complete .bmp file drawn on `face`, the colour of the dialog
// that shows it: a system whose dialogs are lighter than the classic grey
// would otherwise show the pictures as grey tiles.
Bytes ExtractionPicture(TColor face = clBtnFace);
Bytes TransferPicture(TColor face = clBtnFace);
Bytes StatusIconPicture(TColor face = clBtnFace);
Bytes DiskPicture(TColor face = clBtnFace);
// Two glyphs side by side, each kCancelGlyphSide square: a red cross for
// the enabled button and a grey one for the disabled.
Bytes CancelGlyph();

// Replaces what `picture` holds by the bitmap file `bmp`.
void AssignKitPicture(TPicture& picture, const Bytes& bmp);
