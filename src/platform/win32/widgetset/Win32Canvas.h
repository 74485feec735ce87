// The GDI canvas: the model's painting on a device context. The canvas
// selects its own pen, brush and font into the DC and puts back what was
// there when it goes, so painting leaks no GDI object and leaves the DC as
// it found it.
#pragma once

#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {

class Win32Canvas final : public Canvas {
 public:
  // Draws on `dc` (not owned) in its current coordinates and clipping.
  explicit Win32Canvas(HDC dc);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void TextOut(int x, int y, std::string_view text) override;
  void DrawPicture(const TRect& dest, std::string_view format,
                   std::span<const uint8_t> data) override;
  TSize TextExtent(std::string_view text) override;

 protected:
  void PenChanged() override { penDirty_ = true; }
  void BrushChanged() override { brushDirty_ = true; }
  void FontChanged() override { fontDirty_ = true; }

 private:
  // Selects what changed since the last primitive.
  void Realize();
  void DrawBitmapFile(const TRect& dest, std::span<const uint8_t> data);
  void DrawIconFile(const TRect& dest, std::span<const uint8_t> data);

  HDC dc_;
  int saved_;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HFONT font_ = nullptr;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  bool fontDirty_ = true;
};

}  // namespace platform::win32
