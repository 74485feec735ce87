// The headless canvas: records every drawing call with its arguments and
// the pen, brush and font it was drawn with, so painting is testable
// exactly. Text measurement (TextExtent) uses the fixed metrics and is not
// recorded.
#pragma once

#include <string>
#include <vector>

#include "framework/Widgetset.h"

namespace platform::headless {

struct CanvasOp {
  // "MoveTo", "LineTo", "FillRect", "Rectangle", "Ellipse", "Polygon",
  // "TextOut" or "DrawPicture".
  std::string op;
  // Coordinates: x y (MoveTo, LineTo, TextOut), left top right bottom
  // (rectangles, DrawPicture), x1 y1 x2 y2 ... (Polygon).
  std::vector<int> args;
  // TextOut: the text; DrawPicture: the picture format and its size in
  // bytes ("bmp/694").
  std::string text;
  TPenData pen;
  TBrushData brush;
  TFontData font;

  // One line, the state that matters for the call included, e.g.
  //   FillRect 0 0 100 1 brush=$00FF0000
  //   LineTo 5 5 pen=$00000000/1
  //   TextOut 3 4 "Hi" font="Arial"/-11/$0000FFFF/b/esc=900 brush=clear
  // Colours are the raw TColor value in hex; the font's style letters are
  // b, i, u, s; a clear brush shows as "clear".
  std::string ToString() const;
};

class RecordingCanvas : public Canvas {
 public:
  const std::vector<CanvasOp>& Ops() const noexcept { return ops_; }
  void Clear() noexcept { ops_.clear(); }
  // Every op's ToString, one per line.
  std::string Dump() const;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void TextOut(int x, int y, std::string_view text) override;
  void DrawPicture(const TRect& dest, std::string_view format,
                   std::span<const uint8_t> data) override;

 private:
  CanvasOp& Add(const char* op, std::vector<int> args);
  std::vector<CanvasOp> ops_;
};

}  // namespace platform::headless
