// The GDI canvas (see Win32Canvas.h).
#include "platform/win32/widgetset/Win32Canvas.h"

#include <cstring>
#include <limits>
#include <vector>

#include "framework/Graphics.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

COLORREF Rgb(TColor c) {
  return static_cast<COLORREF>(ColorToRGB(c) & 0xFFFFFF);
}

int Rop2(TPenMode mode) {
  switch (mode) {
    case pmBlack:
      return R2_BLACK;
    case pmWhite:
      return R2_WHITE;
    case pmNop:
      return R2_NOP;
    case pmNot:
      return R2_NOT;
    case pmCopy:
      return R2_COPYPEN;
    case pmNotCopy:
      return R2_NOTCOPYPEN;
    case pmMergePenNot:
      return R2_MERGEPENNOT;
    case pmMaskPenNot:
      return R2_MASKPENNOT;
    case pmMergeNotPen:
      return R2_MERGENOTPEN;
    case pmMaskNotPen:
      return R2_MASKNOTPEN;
    case pmMerge:
      return R2_MERGEPEN;
    case pmNotMerge:
      return R2_NOTMERGEPEN;
    case pmMask:
      return R2_MASKPEN;
    case pmNotMask:
      return R2_NOTMASKPEN;
    case pmXor:
      return R2_XORPEN;
    case pmNotXor:
      return R2_NOTXORPEN;
  }
  return R2_COPYPEN;
}

// Null for the clear pen (the stock NULL_PEN is selected instead).
HPEN CreatePenFor(const TPenData& p) {
  int style = PS_SOLID;
  switch (p.style) {
    case psSolid:
      break;
    case psDash:
      style = PS_DASH;
      break;
    case psDot:
      style = PS_DOT;
      break;
    case psDashDot:
      style = PS_DASHDOT;
      break;
    case psDashDotDot:
      style = PS_DASHDOTDOT;
      break;
    case psClear:
      return nullptr;
    case psInsideFrame:
      style = PS_INSIDEFRAME;
      break;
  }
  return CreatePen(style, p.width < 0 ? 0 : p.width, Rgb(p.color));
}

// Null for the clear brush (the stock NULL_BRUSH is selected instead).
HBRUSH CreateBrushFor(const TBrushData& b) {
  switch (b.style) {
    case bsSolid:
      return CreateSolidBrush(Rgb(b.color));
    case bsClear:
      return nullptr;
    case bsHorizontal:
      return CreateHatchBrush(HS_HORIZONTAL, Rgb(b.color));
    case bsVertical:
      return CreateHatchBrush(HS_VERTICAL, Rgb(b.color));
    case bsFDiagonal:
      return CreateHatchBrush(HS_FDIAGONAL, Rgb(b.color));
    case bsBDiagonal:
      return CreateHatchBrush(HS_BDIAGONAL, Rgb(b.color));
    case bsCross:
      return CreateHatchBrush(HS_CROSS, Rgb(b.color));
    case bsDiagCross:
      return CreateHatchBrush(HS_DIAGCROSS, Rgb(b.color));
  }
  return CreateSolidBrush(Rgb(b.color));
}

template <class T>
T ReadLe(std::span<const uint8_t> data, size_t at) {
  T v{};
  std::memcpy(&v, data.data() + at, sizeof v);
  return v;
}

}  // namespace

Win32Canvas::Win32Canvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}

Win32Canvas::~Win32Canvas() {
  // Puts back the DC's own objects, so ours are no longer selected.
  if (saved_) RestoreDC(dc_, saved_);
  if (pen_) DeleteObject(pen_);
  if (brush_) DeleteObject(brush_);
  if (font_) DeleteObject(font_);
}

void Win32Canvas::Realize() {
  if (penDirty_) {
    HPEN pen = CreatePenFor(Pen());
    SelectObject(dc_, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
    if (pen_) DeleteObject(pen_);
    pen_ = pen;
    SetROP2(dc_, Rop2(Pen().mode));
    penDirty_ = false;
  }
  if (brushDirty_) {
    HBRUSH brush = CreateBrushFor(Brush());
    SelectObject(dc_, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    if (brush_) DeleteObject(brush_);
    brush_ = brush;
    brushDirty_ = false;
  }
  if (fontDirty_) {
    HFONT font = CreateFontFor(Font());
    if (font) {
      SelectObject(dc_, font);
      if (font_) DeleteObject(font_);
      font_ = font;
    }
    fontDirty_ = false;
  }
}

void Win32Canvas::MoveTo(int x, int y) {
  MoveToEx(dc_, x, y, nullptr);
}

void Win32Canvas::LineTo(int x, int y) {
  Realize();
  ::LineTo(dc_, x, y);
}

void Win32Canvas::FillRect(const TRect& r) {
  Realize();
  if (!brush_) return;  // a clear brush fills nothing
  const RECT rc{r.left, r.top, r.right, r.bottom};
  ::FillRect(dc_, &rc, brush_);
}

void Win32Canvas::Rectangle(const TRect& r) {
  Realize();
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void Win32Canvas::Ellipse(const TRect& r) {
  Realize();
  ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void Win32Canvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2 || points.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    return;
  Realize();
  std::vector<POINT> p;
  p.reserve(points.size());
  for (const TPoint& q : points) p.push_back(POINT{q.x, q.y});
  ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
}

void Win32Canvas::TextOut(int x, int y, std::string_view text) {
  Realize();
  const std::wstring w = Wide(text);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetTextColor(dc_, Rgb(Font().color));
  if (Brush().style == bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, Rgb(Brush().color));
  }
  TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}

TSize Win32Canvas::TextExtent(std::string_view text) {
  Realize();
  const std::wstring w = Wide(text);
  SIZE size{0, 0};
  if (!GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size))
    return Canvas::TextExtent(text);
  if (w.empty()) {
    // One line high even for no text, as the model's fixed metrics are.
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc_, &tm)) size.cy = tm.tmHeight;
  }
  return {size.cx, size.cy};
}

void Win32Canvas::DrawPicture(const TRect& dest, std::string_view format,
                              std::span<const uint8_t> data) {
  if (dest.Width() <= 0 || dest.Height() <= 0) return;
  if (format == "bmp")
    DrawBitmapFile(dest, data);
  else if (format == "ico")
    DrawIconFile(dest, data);
}

// A bitmap file: file header, info header, colour table, pixels. Anything
// that does not hold together (sizes past the end of the data) draws
// nothing rather than letting GDI read beyond the bytes.
void Win32Canvas::DrawBitmapFile(const TRect& dest, std::span<const uint8_t> data) {
  constexpr size_t kFileHeader = 14;
  if (data.size() < kFileHeader + sizeof(BITMAPINFOHEADER)) return;
  if (data[0] != 'B' || data[1] != 'M') return;
  const uint32_t bitsAt = ReadLe<uint32_t>(data, 10);
  const uint32_t infoSize = ReadLe<uint32_t>(data, kFileHeader);
  if (infoSize < sizeof(BITMAPINFOHEADER) || kFileHeader + infoSize > data.size()) return;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data.data() + kFileHeader, sizeof h);
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return;
  const int64_t width = h.biWidth;
  const int64_t height = h.biHeight < 0 ? -int64_t{h.biHeight} : int64_t{h.biHeight};
  const uint32_t bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return;
  // The colour table (and the three masks of BI_BITFIELDS after a plain
  // info header) lie between the header and the pixels.
  uint64_t colors = h.biClrUsed ? h.biClrUsed : (bpp <= 8 ? (1u << bpp) : 0);
  if (h.biCompression == BI_BITFIELDS && infoSize == sizeof(BITMAPINFOHEADER)) colors += 3;
  if (kFileHeader + infoSize + colors * 4 > data.size()) return;
  if (bitsAt < kFileHeader + infoSize || bitsAt >= data.size()) return;
  const uint64_t available = data.size() - bitsAt;
  uint64_t needed = 0;
  if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
    needed = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4 * static_cast<uint64_t>(height);
  else if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4)
    needed = h.biSizeImage;
  else
    return;
  if (needed == 0 || needed > available) return;
  // The info header and colour table, copied so that they are aligned.
  std::vector<uint8_t> info(
      data.begin() + kFileHeader,
      data.begin() + static_cast<std::ptrdiff_t>(kFileHeader + infoSize + colors * 4));
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchDIBits(dc_, dest.left, dest.top, dest.Width(), dest.Height(), 0, 0,
                static_cast<int>(width), static_cast<int>(height), data.data() + bitsAt,
                reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
}

// An icon file: a directory of images; the one nearest the destination's
// width (the deeper one of equal size) is drawn, with its mask.
void Win32Canvas::DrawIconFile(const TRect& dest, std::span<const uint8_t> data) {
  if (data.size() < 6 || ReadLe<uint16_t>(data, 0) != 0 || ReadLe<uint16_t>(data, 2) != 1) return;
  const size_t count = ReadLe<uint16_t>(data, 4);
  if (6 + count * 16 > data.size()) return;
  int best = -1, bestDistance = 0, bestDepth = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t e = 6 + i * 16;
    const int w = data[e] ? data[e] : 256;
    const int depth = ReadLe<uint16_t>(data, e + 6);
    const uint32_t bytes = ReadLe<uint32_t>(data, e + 8);
    const uint32_t at = ReadLe<uint32_t>(data, e + 12);
    if (bytes < sizeof(BITMAPINFOHEADER) || at > data.size() || bytes > data.size() - at) continue;
    const int distance = w > dest.Width() ? w - dest.Width() : dest.Width() - w;
    if (best < 0 || distance < bestDistance || (distance == bestDistance && depth > bestDepth)) {
      best = static_cast<int>(i);
      bestDistance = distance;
      bestDepth = depth;
    }
  }
  if (best < 0) return;
  const size_t e = 6 + static_cast<size_t>(best) * 16;
  const uint32_t bytes = ReadLe<uint32_t>(data, e + 8);
  const uint32_t at = ReadLe<uint32_t>(data, e + 12);
  // CreateIconFromResourceEx takes a writable pointer; it gets a copy.
  std::vector<uint8_t> image(data.begin() + at, data.begin() + at + bytes);
  HICON icon = CreateIconFromResourceEx(image.data(), bytes, TRUE, 0x00030000, dest.Width(),
                                        dest.Height(), LR_DEFAULTCOLOR);
  if (!icon) return;
  DrawIconEx(dc_, dest.left, dest.top, icon, dest.Width(), dest.Height(), 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
}

}  // namespace platform::win32
