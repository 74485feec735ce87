// The recording canvas (see RecordingCanvas.h).
#include "platform/headless/RecordingCanvas.h"

#include <cstdio>

namespace platform::headless {
namespace {
std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
  return buf;
}

std::string PenText(const TPenData& p) {
  std::string s = "pen=" + Hex(p.color) + "/" + std::to_string(p.width);
  if (p.style != psSolid) s += "/style" + std::to_string(static_cast<int>(p.style));
  if (p.mode != pmCopy) s += "/mode" + std::to_string(static_cast<int>(p.mode));
  return s;
}

std::string BrushText(const TBrushData& b) {
  if (b.style == bsClear) return "brush=clear";
  std::string s = "brush=" + Hex(b.color);
  if (b.style != bsSolid) s += "/style" + std::to_string(static_cast<int>(b.style));
  return s;
}

std::string FontText(const TFontData& f) {
  std::string s = "font=\"" + f.name + "\"/" + std::to_string(f.height) + "/" + Hex(f.color);
  std::string style;
  if (f.style.Contains(fsBold)) style += 'b';
  if (f.style.Contains(fsItalic)) style += 'i';
  if (f.style.Contains(fsUnderline)) style += 'u';
  if (f.style.Contains(fsStrikeOut)) style += 's';
  if (!style.empty()) s += "/" + style;
  if (f.charset != DEFAULT_CHARSET) s += "/cs" + std::to_string(f.charset);
  if (f.escapement != 0) s += "/esc=" + std::to_string(f.escapement);
  return s;
}
}  // namespace

std::string CanvasOp::ToString() const {
  std::string s = op;
  for (int a : args) s += " " + std::to_string(a);
  if (op == "TextOut") {
    s += " \"" + text + "\" " + FontText(font) + " " + BrushText(brush);
  } else if (op == "DrawPicture") {
    s += " " + text;
  } else if (op == "LineTo") {
    s += " " + PenText(pen);
  } else if (op == "FillRect") {
    s += " " + BrushText(brush);
  } else if (op != "MoveTo") {
    s += " " + PenText(pen) + " " + BrushText(brush);
  }
  return s;
}

std::string RecordingCanvas::Dump() const {
  std::string out;
  for (const CanvasOp& op : ops_) out += op.ToString() + "\n";
  return out;
}

CanvasOp& RecordingCanvas::Add(const char* op, std::vector<int> args) {
  CanvasOp rec;
  rec.op = op;
  rec.args = std::move(args);
  rec.pen = Pen();
  rec.brush = Brush();
  rec.font = Font();
  ops_.push_back(std::move(rec));
  return ops_.back();
}

void RecordingCanvas::MoveTo(int x, int y) {
  Add("MoveTo", {x, y});
}
void RecordingCanvas::LineTo(int x, int y) {
  Add("LineTo", {x, y});
}
void RecordingCanvas::FillRect(const TRect& r) {
  Add("FillRect", {r.left, r.top, r.right, r.bottom});
}
void RecordingCanvas::Rectangle(const TRect& r) {
  Add("Rectangle", {r.left, r.top, r.right, r.bottom});
}
void RecordingCanvas::Ellipse(const TRect& r) {
  Add("Ellipse", {r.left, r.top, r.right, r.bottom});
}

void RecordingCanvas::Polygon(std::span<const TPoint> points) {
  std::vector<int> args;
  args.reserve(points.size() * 2);
  for (const TPoint& p : points) {
    args.push_back(p.x);
    args.push_back(p.y);
  }
  Add("Polygon", std::move(args));
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
  Add("TextOut", {x, y}).text = std::string(text);
}

void RecordingCanvas::DrawPicture(const TRect& dest, std::string_view format,
                                  std::span<const uint8_t> data) {
  Add("DrawPicture", {dest.left, dest.top, dest.right, dest.bottom}).text =
      std::string(format) + "/" + std::to_string(data.size());
}

}  // namespace platform::headless
