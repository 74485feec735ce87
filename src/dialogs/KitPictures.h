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

// Each is a complete .bmp file.
Bytes ExtractionPicture();
Bytes TransferPicture();
Bytes StatusIconPicture();
Bytes DiskPicture();
// Two glyphs side by side, each kCancelGlyphSide square: a red cross for
// the enabled button and a grey one for the disabled.
Bytes CancelGlyph();

// Replaces what `picture` holds by the bitmap file `bmp`.
void AssignKitPicture(TPicture& picture, const Bytes& bmp);

// The picture's background, which is the colour of its bottom-left pixel
// (the rule a transparent picture follows), repainted in `face`: the kit
// draws its pictures on the classic grey, and a system whose dialogs are
// lighter would show them as grey tiles. Anything but an uncompressed
// 24-bit bitmap of the size its header gives is returned as it came.
Bytes OnFace(Bytes bmp, TColor face);
