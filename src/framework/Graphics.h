// Fonts, pens, brushes and the canvas of the control model. TFont, TPen and
// TBrush are persistent objects with published properties and an OnChange
// event; TCanvas draws with them on a widgetset's canvas (platform::Canvas),
// handing over the pen, brush and font only when they changed.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/GraphicsTypes.h"
#include "framework/Object.h"

namespace platform {
class Canvas;
}
class TGraphic;

// A colour's RGB value: system colours resolved by the current widgetset,
// clNone and clDefault as black.
TColor ColorToRGB(TColor color);

// A persistent whose OnChange fires after every change of a property.
class TGraphicsObject : public TPersistent {
  PELLMORE_CLASS(TGraphicsObject, TPersistent)

 public:
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

// The typeface, size, style and colour of a control's text.
class TFont : public TGraphicsObject {
  PELLMORE_CLASS(TFont, TGraphicsObject)

 public:
  static constexpr int kPixelsPerInch = 96;

  TFont() = default;
  explicit TFont(const TFontData& data) : data_(data) {}

  const std::string& Name() const noexcept { return data_.name; }
  void SetName(const std::string& name);
  // Height: negative = character height in pixels, positive = cell height.
  int Height() const noexcept { return data_.height; }
  void SetHeight(int height);
  // Size in points at 96 DPI: -Height * 72 / 96 rounded; setting it sets
  // Height to -(size * 96 / 72) rounded (a positive Height gives a
  // negative Size, as the classic framework does).
  int Size() const noexcept;
  void SetSize(int size);
  TFontCharset Charset() const noexcept { return data_.charset; }
  void SetCharset(TFontCharset charset);
  TColor Color() const noexcept { return data_.color; }
  void SetColor(TColor color);
  TFontStyles Style() const noexcept { return data_.style; }
  void SetStyle(TFontStyles style);
  TFontPitch Pitch() const noexcept { return data_.pitch; }
  void SetPitch(TFontPitch pitch);
  // Rotation in tenths of a degree (not published: a canvas font setting
  // for rotated text).
  int Escapement() const noexcept { return data_.escapement; }
  void SetEscapement(int tenths);
  int Orientation() const noexcept { return data_.orientation; }
  void SetOrientation(int tenths);

  const TFontData& Data() const noexcept { return data_; }
  // Replaces every value; one OnChange when anything differs.
  void SetData(const TFontData& data);

  void Assign(const TPersistent* source) override;

 private:
  TFontData data_;
};

// The colour, width and style of lines drawn on a canvas, such as a shape's
// outline.
class TPen : public TGraphicsObject {
  PELLMORE_CLASS(TPen, TGraphicsObject)

 public:
  TColor Color() const noexcept { return data_.color; }
  void SetColor(TColor color);
  int Width() const noexcept { return data_.width; }
  void SetWidth(int width);
  TPenStyle Style() const noexcept { return data_.style; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const noexcept { return data_.mode; }
  void SetMode(TPenMode mode);
  const TPenData& Data() const noexcept { return data_; }
  void Assign(const TPersistent* source) override;

 private:
  TPenData data_;
};

// The colour and pattern with which a canvas fills areas, such as a shape's
// inside.
class TBrush : public TGraphicsObject {
  PELLMORE_CLASS(TBrush, TGraphicsObject)

 public:
  TColor Color() const noexcept { return data_.color; }
  // Setting a colour makes a clear brush solid again.
  void SetColor(TColor color);
  TBrushStyle Style() const noexcept { return data_.style; }
  void SetStyle(TBrushStyle style);
  const TBrushData& Data() const noexcept { return data_; }
  void Assign(const TPersistent* source) override;

 private:
  TBrushData data_;
};

// Draws on a widgetset canvas. Without a target (outside painting) drawing
// does nothing and text is measured with the current widgetset's metrics.
// Every primitive first hands a changed pen, brush or font to the target.
class TCanvas : public TPersistent {
  PELLMORE_CLASS(TCanvas, TPersistent)

 public:
  TCanvas();
  ~TCanvas() override;

  TFont* Font() const noexcept { return font_; }
  TPen* Pen() const noexcept { return pen_; }
  TBrush* Brush() const noexcept { return brush_; }
  // Convenience: copies into Font.
  void SetFont(const TFont& font) { font_->Assign(&font); }

  // The target being painted, or null. Binding hands over all three tools.
  platform::Canvas* Target() const noexcept { return target_; }
  void SetTarget(platform::Canvas* target);

  TPoint PenPos() const noexcept { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void FillRect(const TRect& r);
  void Rectangle(const TRect& r);
  void Rectangle(int x1, int y1, int x2, int y2) { Rectangle(TRect{x1, y1, x2, y2}); }
  void Ellipse(const TRect& r);
  void Polygon(std::span<const TPoint> points);
  void TextOut(int x, int y, std::string_view text);
  // Pictures (a bitmap or an icon) at their size, or stretched.
  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const TRect& dest, const TGraphic& graphic);

  TSize TextExtent(std::string_view text) const;
  int TextWidth(std::string_view text) const { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) const { return TextExtent(text).cy; }

 private:
  void Sync();

  TFont* font_;
  TPen* pen_;
  TBrush* brush_;
  platform::Canvas* target_ = nullptr;
  TPoint penPos_;
  mutable bool fontDirty_ = true;
  bool penDirty_ = true;
  bool brushDirty_ = true;
};
