// Painting in the Win32 widgetset. Forms and containers paint themselves
// into a memory bitmap (their colour, their own Paint, then every visible
// graphic control in z-order, each moved to its bounds and clipped to
// them) and show it with one copy, so nothing flickers. Graphic controls
// (labels, images, bevels, shapes, the title label) have no window: their
// peer only asks the parent to repaint the area they covered and cover now.
#pragma once

#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {

// What forms and containers do with WM_PAINT, WM_PRINTCLIENT,
// WM_ERASEBKGND and WM_CTLCOLOR*: true when the message was handled, with
// the window procedure's answer in `result`.
bool HandlePaintMessage(TControl& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Paints `c` (a windowed control) and its graphic controls on `dc`, whose
// origin is the client area's top-left corner; `area` limits the work.
void PaintClient(TControl& c, HDC dc, const RECT& area);

// The family of the controls without a family of their own: graphic
// controls get a windowless peer, windowed ones go to `windowed`.
class GraphicAwareControls final : public WSControl {
 public:
  explicit GraphicAwareControls(WSControl& windowed) : windowed_(windowed) {}

  std::unique_ptr<Peer> CreatePeer(TControl& c) override;
  void DestroyPeer(TControl& c) override;
  void SetBounds(TControl& c, const TRect& bounds) override;
  void SetVisible(TControl& c, bool visible) override;
  void SetEnabled(TControl& c, bool enabled) override;
  void SetText(TControl& c, const std::string& text) override;
  void SetFont(TControl& c, const TFontData& font) override;
  void SetColor(TControl& c, TColor color) override;
  void Invalidate(TControl& c) override;
  void Update(TControl& c) override;
  void SetFocus(TControl& c) override;
  void BringToFront(TControl& c) override;

 private:
  WSControl& windowed_;
};

}  // namespace platform::win32
