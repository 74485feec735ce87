// Painting in the Win32 widgetset (see Win32Paint.h).
#include "platform/win32/widgetset/Win32Paint.h"

#include <map>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "platform/win32/widgetset/Win32Canvas.h"

namespace platform::win32 {
namespace {

COLORREF Rgb(TColor c) {
  return static_cast<COLORREF>(ColorToRGB(c) & 0xFFFFFF);
}

// The peer of a graphic control: no window, only the area it covered
// last, which must be repainted when it moves, hides or goes.
class WindowlessPeer final : public Win32Peer {
 public:
  TRect shown;
};

WindowlessPeer* WindowlessOf(const TControl& c) {
  return dynamic_cast<WindowlessPeer*>(c.Peer());
}

// Asks the parent to repaint what `c` covered and what it covers now.
void RepaintArea(TControl& c, WindowlessPeer& p) {
  HWND parent = c.Parent() ? static_cast<HWND>(Win32Widgetset::HandleOf(*c.Parent())) : nullptr;
  auto invalidate = [parent](const TRect& r) {
    if (!parent || r.Width() <= 0 || r.Height() <= 0) return;
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(parent, &rc, FALSE);
  };
  invalidate(p.shown);
  p.shown = c.BoundsRect();
  invalidate(p.shown);
}

// Brushes for the system controls' backgrounds (WM_CTLCOLOR*), one per
// colour for the life of the process: Windows uses the brush after the
// message returns, and a setup shows a handful of colours.
HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  auto it = brushes.find(color);
  if (it != brushes.end()) return it->second;
  HBRUSH b = CreateSolidBrush(color);
  if (b) brushes.emplace(color, b);
  return b;
}

// A memory bitmap the size of the client area, selected into a DC
// compatible with `like`.
class BackBuffer {
 public:
  BackBuffer(HDC like, int width, int height)
      : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height)) {
    if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  ~BackBuffer() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  bool ok() const noexcept { return old_ != nullptr; }
  HDC dc() const noexcept { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

void PaintClient(TControl& c, HDC dc, const RECT& area) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  {
    HBRUSH back = CreateSolidBrush(Rgb(c.Color()));
    if (back) {
      FillRect(dc, &area, back);
      DeleteObject(back);
    }
  }
  {
    Win32Canvas canvas(dc);
    c.WidgetPaint(canvas);
  }
  if (c.Is<TWinControl>()) {
    auto& parent = static_cast<TWinControl&>(c);
    for (int i = 0; i < parent.ControlCount(); ++i) {
      TControl* child = parent.Controls(i);
      if (child->Is<TWinControl>() || !child->Visible()) continue;
      const TRect b = child->BoundsRect();
      RECT r{b.left, b.top, b.right, b.bottom}, visible;
      if (!IntersectRect(&visible, &r, &area)) continue;
      const int inner = SaveDC(dc);
      IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
      OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
      {
        Win32Canvas canvas(dc);
        child->WidgetPaint(canvas);
      }
      RestoreDC(dc, inner);
    }
  }
  RestoreDC(dc, saved);
}

bool HandlePaintMessage(TControl& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      // WM_PAINT covers every pixel; erasing first is what would flicker.
      result = 1;
      return true;
    case WM_PRINTCLIENT: {
      RECT r;
      GetClientRect(hwnd, &r);
      PaintClient(c, reinterpret_cast<HDC>(wp), r);
      result = 0;
      return true;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (!dc) return false;
      RECT client;
      GetClientRect(hwnd, &client);
      RECT area;
      if (IntersectRect(&area, &ps.rcPaint, &client)) {
        BackBuffer buffer(dc, client.right, client.bottom);
        if (buffer.ok()) {
          PaintClient(c, buffer.dc(), area);
          BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 buffer.dc(), area.left, area.top, SRCCOPY);
        } else {
          PaintClient(c, dc, area);  // out of memory for the bitmap: paint directly
        }
      }
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      // The child's colours are the model's.
      TControl* child = ControlOfWindow(reinterpret_cast<HWND>(lp));
      if (!child) return false;
      HDC dc = reinterpret_cast<HDC>(wp);
      const COLORREF back = Rgb(child->Color());
      SetTextColor(dc, Rgb(child->Font()->Color()));
      SetBkColor(dc, back);
      HBRUSH brush = SolidBrush(back);
      if (!brush) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    default:
      return false;
  }
}

std::unique_ptr<Peer> GraphicAwareControls::CreatePeer(TControl& c) {
  if (c.Is<TWinControl>()) return windowed_.CreatePeer(c);
  // Painted by its parent, which needs a window.
  if (!c.Parent() || !Win32Widgetset::HandleOf(*c.Parent())) return nullptr;
  return std::make_unique<WindowlessPeer>();
}

void GraphicAwareControls::DestroyPeer(TControl& c) {
  if (WindowlessPeer* p = WindowlessOf(c)) {
    // What it covered shows the parent again.
    HWND parent = c.Parent() ? static_cast<HWND>(Win32Widgetset::HandleOf(*c.Parent())) : nullptr;
    if (parent && p->shown.Width() > 0 && p->shown.Height() > 0) {
      const RECT rc{p->shown.left, p->shown.top, p->shown.right, p->shown.bottom};
      InvalidateRect(parent, &rc, FALSE);
    }
    return;
  }
  windowed_.DestroyPeer(c);
}

// Every change of a graphic control shows only through a repaint.
#define PELLMORE_WINDOWLESS_OR(call)         \
  if (WindowlessPeer* p = WindowlessOf(c)) { \
    RepaintArea(c, *p);                      \
    return;                                  \
  }                                          \
  windowed_.call

void GraphicAwareControls::SetBounds(TControl& c, const TRect& bounds) {
  PELLMORE_WINDOWLESS_OR(SetBounds(c, bounds));
}
void GraphicAwareControls::SetVisible(TControl& c, bool visible) {
  PELLMORE_WINDOWLESS_OR(SetVisible(c, visible));
}
void GraphicAwareControls::SetEnabled(TControl& c, bool enabled) {
  PELLMORE_WINDOWLESS_OR(SetEnabled(c, enabled));
}
void GraphicAwareControls::SetText(TControl& c, const std::string& text) {
  PELLMORE_WINDOWLESS_OR(SetText(c, text));
}
void GraphicAwareControls::SetFont(TControl& c, const TFontData& font) {
  PELLMORE_WINDOWLESS_OR(SetFont(c, font));
}
void GraphicAwareControls::SetColor(TControl& c, TColor color) {
  PELLMORE_WINDOWLESS_OR(SetColor(c, color));
}
void GraphicAwareControls::Invalidate(TControl& c) {
  PELLMORE_WINDOWLESS_OR(Invalidate(c));
}
void GraphicAwareControls::BringToFront(TControl& c) {
  PELLMORE_WINDOWLESS_OR(BringToFront(c));
}
#undef PELLMORE_WINDOWLESS_OR

void GraphicAwareControls::Update(TControl& c) {
  if (!WindowlessOf(c)) return windowed_.Update(c);
  // A graphic control is painted by its parent.
  if (c.Parent()) windowed_.Update(*c.Parent());
}

void GraphicAwareControls::SetFocus(TControl& c) {
  if (!WindowlessOf(c)) windowed_.SetFocus(c);
}

}  // namespace platform::win32
