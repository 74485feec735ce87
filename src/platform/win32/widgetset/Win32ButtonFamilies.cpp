// Check boxes, radio buttons (also those the model creates in radio
// groups) and bitmap buttons as BUTTON windows.
// Check boxes and radio buttons are not automatic: a click only tells the
// model (BN_CLICKED), which decides the new state and pushes it back, so
// the window never shows a state the model refused.
#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "platform/win32/widgetset/Win32FamilyBase.h"

namespace platform::win32 {
namespace {

class WCheckBoxes final : public Base<WSCheckBox> {
 public:
  using Base::Base;
  void SetState(TControl& c, TCheckBoxState state) override {
    Pushing guard(PeerOf(c));
    if (HWND h = Hwnd(c))
      SendMessageW(h, BM_SETCHECK,
                   state == cbChecked  ? BST_CHECKED
                   : state == cbGrayed ? BST_INDETERMINATE
                                       : BST_UNCHECKED,
                   0);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    DWORD style = WS_CHILD | WS_TABSTOP;
    TAlignment align = taRightJustify;
    if (c.Is<TRadioButton>()) {
      style |= BS_RADIOBUTTON;
      align = static_cast<TRadioButton&>(c).Alignment();
    } else {
      // Three states always: a program may set a grayed state even where
      // the user's clicks never reach it.
      style |= BS_3STATE;
      align = static_cast<TCustomCheckBox&>(c).Alignment();
    }
    // The model's alignment is the caption's side of the box.
    if (align == taLeftJustify) style |= BS_LEFTTEXT;
    return MakeWindow(c, 0, L"BUTTON", style, parent, NextControlId());
  }
};

// A bitmap button's window remembers its glyph (a "bmp" file).
class GlyphPeer final : public Win32Peer {
 public:
  std::vector<uint8_t> bmp;
  int numGlyphs = 1;
};

// A DIB of the glyph file, selected into a memory DC for blitting.
class GlyphImage {
 public:
  GlyphImage(HDC target, const std::vector<uint8_t>& file) {
    if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return;
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, file.data(), sizeof fh);
    BITMAPINFOHEADER ih;
    std::memcpy(&ih, file.data() + sizeof fh, sizeof ih);
    if (fh.bfType != 0x4D42 || fh.bfOffBits >= file.size() || ih.biWidth <= 0 || ih.biHeight == 0)
      return;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof fh);
    // Header, colour table and bits must lie inside the file: Windows reads
    // as far as they say.
    const uint64_t colours = ih.biClrUsed         ? ih.biClrUsed
                             : ih.biBitCount <= 8 ? (uint64_t{1} << ih.biBitCount)
                                                  : 0;
    const uint64_t masks = ih.biCompression == BI_BITFIELDS && ih.biSize == sizeof ih ? 12 : 0;
    if (ih.biSize < sizeof ih ||
        sizeof fh + uint64_t{ih.biSize} + masks + colours * 4 > fh.bfOffBits)
      return;
    const uint64_t stride = ((static_cast<uint64_t>(ih.biWidth) * ih.biBitCount + 31) / 32) * 4;
    const uint64_t rows =
        static_cast<uint64_t>(ih.biHeight < 0 ? -int64_t{ih.biHeight} : ih.biHeight);
    const uint64_t bits = ih.biCompression == BI_RGB || ih.biCompression == BI_BITFIELDS
                              ? stride * rows
                              : ih.biSizeImage;
    if (bits == 0 || fh.bfOffBits + bits > file.size()) return;
    bitmap_ =
        CreateDIBitmap(target, &ih, CBM_INIT, file.data() + fh.bfOffBits, info, DIB_RGB_COLORS);
    if (!bitmap_) return;
    dc_ = CreateCompatibleDC(target);
    old_ = SelectObject(dc_, bitmap_);
    width_ = ih.biWidth;
    height_ = static_cast<int>(rows);
  }
  ~GlyphImage() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
  }
  GlyphImage(const GlyphImage&) = delete;
  GlyphImage& operator=(const GlyphImage&) = delete;
  bool ok() const noexcept { return dc_ != nullptr; }
  HDC dc() const noexcept { return dc_; }
  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Draws glyph `index` of `image` at (x, y); the glyph's bottom-left pixel
// is its transparent colour. `emboss` draws a one-glyph button's disabled
// look: the glyph's shape in the shadow colour over the highlight colour.
void DrawGlyph(HDC dc, const GlyphImage& image, int index, int glyphWidth, int x, int y,
               bool emboss) {
  const int sx = index * glyphWidth;
  const COLORREF transparent = GetPixel(image.dc(), sx, image.height() - 1);
  if (!emboss) {
    GdiTransparentBlt(dc, x, y, glyphWidth, image.height(), image.dc(), sx, 0, glyphWidth,
                      image.height(), transparent);
    return;
  }
  for (int pass = 0; pass < 2; ++pass) {
    const COLORREF ink = GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    for (int gy = 0; gy < image.height(); ++gy)
      for (int gx = 0; gx < glyphWidth; ++gx)
        if (GetPixel(image.dc(), sx + gx, gy) != transparent)
          SetPixelV(dc, x + gx + (pass == 0 ? 1 : 0), y + gy + (pass == 0 ? 1 : 0), ink);
  }
}
}  // namespace

std::unique_ptr<WSControl> MakeControlFamily(Win32Widgetset& ws) {
  // Group boxes and radio groups included: the model paints their frame
  // and caption, and the graphic controls inside them, in a window of our
  // class; a system group box would leave those unpainted.
  return std::make_unique<Base<WSControl>>(ws);
}

std::unique_ptr<WSCheckBox> MakeCheckBoxFamily(Win32Widgetset& ws) {
  return std::make_unique<WCheckBoxes>(ws);
}

std::unique_ptr<Peer> MakeBitBtnWindow(TControl& c, HWND parent) {
  return MakeWindow(c, 0, L"BUTTON", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, parent, NextControlId(),
                    std::make_unique<GlyphPeer>());
}

void SetBitBtnGlyph(TControl& c, std::span<const uint8_t> bmp, int numGlyphs) {
  auto* p = dynamic_cast<GlyphPeer*>(c.Peer());
  if (!p) return;
  p->bmp.assign(bmp.begin(), bmp.end());
  p->numGlyphs = std::clamp(numGlyphs, 1, 4);
  if (p->hwnd) InvalidateRect(static_cast<HWND>(p->hwnd), nullptr, TRUE);
}

bool IsOwnerDrawn(HWND h) {
  return (GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

bool DrawOwnerButton(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return false;
  TControl* c = ControlOfWindow(item.hwndItem);
  auto* p = c ? dynamic_cast<GlyphPeer*>(c->Peer()) : nullptr;
  if (!p) return false;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool isDefault = c->Is<TButton>() && static_cast<TButton*>(c)->Default();

  // The frame: a default or focused button has the extra black line.
  if (isDefault || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  if (pressed) OffsetRect(&r, 1, 1);

  HGDIOBJ oldFont = p->font ? SelectObject(dc, static_cast<HFONT>(p->font)) : nullptr;
  const std::wstring text = Wide(c->Caption());
  RECT textSize{0, 0, 0, 0};
  if (!text.empty())
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textSize,
              DT_SINGLELINE | DT_CALCRECT);
  const int tw = textSize.right, th = textSize.bottom;

  GlyphImage image(dc, p->bmp);
  const int glyphs = p->numGlyphs;
  const int gw = image.ok() ? image.width() / glyphs : 0;
  const int gh = image.ok() ? image.height() : 0;
  TButtonLayout layout = blGlyphLeft;
  int spacing = 4, margin = -1;
  if (c->Is<TBitBtn>()) {
    const auto& b = static_cast<const TBitBtn&>(*c);
    layout = b.Layout();
    spacing = b.Spacing();
    margin = b.Margin();
  }
  if (!gw || text.empty()) spacing = 0;
  const bool across = layout == blGlyphLeft || layout == blGlyphRight;
  const int bw = r.right - r.left, bh = r.bottom - r.top;
  // Glyph and caption as one block, centred unless a margin is given.
  const int blockW = across ? gw + spacing + tw : std::max(gw, tw);
  const int blockH = across ? std::max(gh, th) : gh + spacing + th;
  int bx = r.left + (bw - blockW) / 2, by = r.top + (bh - blockH) / 2;
  if (margin >= 0) {
    if (layout == blGlyphLeft) bx = r.left + margin;
    if (layout == blGlyphRight) bx = r.right - margin - blockW;
    if (layout == blGlyphTop) by = r.top + margin;
    if (layout == blGlyphBottom) by = r.bottom - margin - blockH;
  }
  int gx = 0, gy = 0, tx = 0, ty = 0;
  switch (layout) {
    case blGlyphLeft:
      gx = bx, gy = by + (blockH - gh) / 2, tx = bx + gw + spacing, ty = by + (blockH - th) / 2;
      break;
    case blGlyphRight:
      tx = bx, ty = by + (blockH - th) / 2, gx = bx + tw + spacing, gy = by + (blockH - gh) / 2;
      break;
    case blGlyphTop:
      gx = bx + (blockW - gw) / 2, gy = by, tx = bx + (blockW - tw) / 2, ty = by + gh + spacing;
      break;
    case blGlyphBottom:
      tx = bx + (blockW - tw) / 2, ty = by, gx = bx + (blockW - gw) / 2, gy = by + th + spacing;
      break;
  }
  if (gw > 0) {
    // Two or more glyphs: the second is the disabled one.
    const int index = disabled && glyphs >= 2 ? 1 : 0;
    DrawGlyph(dc, image, index, gw, gx, gy, disabled && glyphs < 2);
  }
  if (!text.empty()) {
    SetBkMode(dc, TRANSPARENT);
    RECT tr{tx, ty, tx + tw, ty + th};
    if (disabled) {
      // The classic etched look: highlight below-right, shadow on top.
      OffsetRect(&tr, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE);
      OffsetRect(&tr, -1, -1);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE);
  }
  if (focused) {
    RECT fr = item.rcItem;
    InflateRect(&fr, -4, -4);
    DrawFocusRect(dc, &fr);
  }
  if (oldFont) SelectObject(dc, oldFont);
  return true;
}

}  // namespace platform::win32
