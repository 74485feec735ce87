// Fonts, pens, brushes, the canvas and the fixed text metrics (see
// Graphics.h and GraphicsTypes.h).
#include "framework/Graphics.h"

#include "framework/MathUtils.h"
#include "framework/Pictures.h"
#include "framework/Utf8.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

namespace {
bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}
}  // namespace

TSize FixedTextExtent(const TFontData& font, std::string_view text) {
  int em = font.height < 0 ? -font.height : font.height;
  if (em == 0) em = 11;
  // Heights beyond any screen keep the arithmetic below far from overflow.
  if (em > 10000) em = 10000;
  const int narrow = (em + 1) / 2;
  int64_t width = 0;
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    pos += Utf8Next(text, pos, &cp);
    width += IsWide(cp) ? em : narrow;
  }
  if (width > INT32_MAX) width = INT32_MAX;
  return TSize{static_cast<int>(width), em + (em + 3) / 4};
}

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return CurrentWidgetset().SysColor(color & 0xFF);
  if (color == clNone || color == clDefault) return clBlack;
  return color & 0xFFFFFF;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- TFont

void TFont::SetName(const std::string& name) {
  if (name == data_.name) return;
  data_.name = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == data_.height) return;
  data_.height = height;
  Changed();
}

int TFont::Size() const noexcept {
  return -MulDiv(data_.height, 72, kPixelsPerInch);
}

void TFont::SetSize(int size) {
  SetHeight(-MulDiv(size, kPixelsPerInch, 72));
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == data_.charset) return;
  data_.charset = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == data_.color) return;
  data_.color = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == data_.style) return;
  data_.style = style;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == data_.pitch) return;
  data_.pitch = pitch;
  Changed();
}

void TFont::SetEscapement(int tenths) {
  if (tenths == data_.escapement) return;
  data_.escapement = tenths;
  Changed();
}

void TFont::SetOrientation(int tenths) {
  if (tenths == data_.orientation) return;
  data_.orientation = tenths;
  Changed();
}

void TFont::SetData(const TFontData& data) {
  if (data == data_) return;
  data_ = data;
  Changed();
}

void TFont::Assign(const TPersistent* source) {
  if (source && source->Is<TFont>()) {
    SetData(static_cast<const TFont*>(source)->data_);
    return;
  }
  TPersistent::Assign(source);
}

// --- TPen and TBrush

void TPen::SetColor(TColor color) {
  if (color == data_.color) return;
  data_.color = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width == data_.width) return;
  data_.width = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == data_.style) return;
  data_.style = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == data_.mode) return;
  data_.mode = mode;
  Changed();
}

void TPen::Assign(const TPersistent* source) {
  if (source && source->Is<TPen>()) {
    const TPenData& d = static_cast<const TPen*>(source)->data_;
    if (d == data_) return;
    data_ = d;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color) {
  if (color == data_.color && data_.style != bsClear) return;
  data_.color = color;
  if (data_.style == bsClear) data_.style = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == data_.style) return;
  data_.style = style;
  Changed();
}

void TBrush::Assign(const TPersistent* source) {
  if (source && source->Is<TBrush>()) {
    const TBrushData& d = static_cast<const TBrush*>(source)->data_;
    if (d == data_) return;
    data_ = d;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- TCanvas

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {
  font_->OnChange = [this](TObject*) { fontDirty_ = true; };
  pen_->OnChange = [this](TObject*) { penDirty_ = true; };
  brush_->OnChange = [this](TObject*) { brushDirty_ = true; };
}

TCanvas::~TCanvas() {
  font_->Free();
  pen_->Free();
  brush_->Free();
}

void TCanvas::SetTarget(platform::Canvas* target) {
  target_ = target;
  fontDirty_ = penDirty_ = brushDirty_ = true;
}

void TCanvas::Sync() {
  if (!target_) return;
  if (penDirty_) target_->SetPen(pen_->Data());
  if (brushDirty_) target_->SetBrush(brush_->Data());
  if (fontDirty_) target_->SetFont(font_->Data());
  penDirty_ = brushDirty_ = fontDirty_ = false;
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
  if (!target_) return;
  Sync();
  target_->MoveTo(x, y);
}

void TCanvas::LineTo(int x, int y) {
  penPos_ = {x, y};
  if (!target_) return;
  Sync();
  target_->LineTo(x, y);
}

void TCanvas::FillRect(const TRect& r) {
  if (!target_) return;
  Sync();
  target_->FillRect(r);
}

void TCanvas::Rectangle(const TRect& r) {
  if (!target_) return;
  Sync();
  target_->Rectangle(r);
}

void TCanvas::Ellipse(const TRect& r) {
  if (!target_) return;
  Sync();
  target_->Ellipse(r);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (!target_ || points.empty()) return;
  Sync();
  target_->Polygon(points);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  const TSize size = TextExtent(text);
  penPos_ = {x + size.cx, y};
  if (!target_) return;
  Sync();
  target_->TextOut(x, y, text);
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& dest, const TGraphic& graphic) {
  if (!target_ || graphic.Empty()) return;
  Sync();
  target_->DrawPicture(dest, graphic.Format(), graphic.FileBytes());
}

TSize TCanvas::TextExtent(std::string_view text) const {
  if (target_) {
    if (fontDirty_) {
      target_->SetFont(font_->Data());
      fontDirty_ = false;
    }
    return target_->TextExtent(text);
  }
  return CurrentWidgetset().TextExtent(font_->Data(), text);
}
