// What the Win32 widgetset's family files share: the control <-> window
// helpers, the push guard, window creation and the base every family
// derives from, plus the makers of the families defined in their own files.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {
inline constexpr wchar_t kFormClass[] = L"PellmoreForm";

inline HWND Hwnd(const TControl& c) {
  return static_cast<HWND>(Win32Widgetset::HandleOf(c));
}
inline Win32Peer* PeerOf(const TControl& c) {
  return dynamic_cast<Win32Peer*>(c.Peer());
}

// Marks a push, so that what Windows reports about it (EN_CHANGE, moves)
// is not taken for the user's doing.
class Pushing {
 public:
  explicit Pushing(Win32Peer* p) : p_(p) {
    if (p_) ++p_->pushing;
  }
  ~Pushing() {
    if (p_) --p_->pushing;
  }
  Pushing(const Pushing&) = delete;
  Pushing& operator=(const Pushing&) = delete;

 private:
  Win32Peer* p_;
};

// Creates a window for `c` and links it to the control; raises OsError when
// Windows refuses.
inline std::unique_ptr<Peer> MakeWindow(TControl& c, DWORD exStyle, const wchar_t* cls, DWORD style,
                                        HWND parent, int id,
                                        std::unique_ptr<Win32Peer> peer = nullptr) {
  HWND h = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h) RaiseLastError("CreateWindowExW", c.Name());
  if (!peer) peer = std::make_unique<Win32Peer>();
  peer->hwnd = h;
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
  return peer;
}

inline int NextControlId() {
  static int id = 100;  // below are the dialog manager's IDOK, IDCANCEL ...
  return ++id;
}

// The calls every family shares.
template <class F>
class Base : public F {
 public:
  explicit Base(Win32Widgetset& ws) : ws_(ws) {}

  std::unique_ptr<Peer> CreatePeer(TControl& c) override {
    HWND parent = c.Parent() ? Hwnd(*c.Parent()) : nullptr;
    if (!parent) return nullptr;
    return CreateChild(c, parent);
  }
  void DestroyPeer(TControl& c) override {
    Win32Peer* p = PeerOf(c);
    if (!p || !p->hwnd) return;
    HWND h = static_cast<HWND>(p->hwnd);
    ws_.TopLevels().erase(h);
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
    p->hwnd = nullptr;
  }
  void SetBounds(TControl& c, const TRect& r) override {
    Pushing guard(PeerOf(c));
    if (HWND h = Hwnd(c)) MoveWindow(h, r.left, r.top, r.Width(), r.Height(), TRUE);
  }
  void SetVisible(TControl& c, bool v) override {
    if (HWND h = Hwnd(c)) ShowWindow(h, v ? SW_SHOW : SW_HIDE);
  }
  void SetEnabled(TControl& c, bool v) override {
    if (HWND h = Hwnd(c)) EnableWindow(h, v);
  }
  void SetText(TControl& c, const std::string& text) override {
    Pushing guard(PeerOf(c));
    // The same text again must not reset the caret of a window being typed in.
    if (HWND h = Hwnd(c); h && WindowText(h) != text) SetWindowTextW(h, Wide(text).c_str());
  }
  void SetFont(TControl& c, const TFontData& font) override {
    Win32Peer* p = PeerOf(c);
    if (!p || !p->hwnd) return;
    HFONT f = CreateFontFor(font);
    if (!f) return;
    SendMessageW(static_cast<HWND>(p->hwnd), WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    if (p->font) DeleteObject(static_cast<HFONT>(p->font));
    p->font = f;
  }
  void SetColor(TControl& c, TColor color) override {
    Win32Peer* p = PeerOf(c);
    if (!p || !p->hwnd) return;
    p->color = color;
    // Forms and containers erase with it (our window procedure).
    if (GetWindowLongPtrW(static_cast<HWND>(p->hwnd), GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&ControlWindowProc)) {
      HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
      if (p->brush) DeleteObject(static_cast<HBRUSH>(p->brush));
      p->brush = b;
      InvalidateRect(static_cast<HWND>(p->hwnd), nullptr, TRUE);
    }
  }
  void Invalidate(TControl& c) override {
    if (HWND h = Hwnd(c)) InvalidateRect(h, nullptr, TRUE);
  }
  // Paints at once what is waiting to be painted, in the window and in its
  // child windows (a bar or a label that changed on a form), and nothing
  // else.
  void Update(TControl& c) override {
    if (HWND h = Hwnd(c)) RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ws_.Repainted(c);
  }
  void SetFocus(TControl& c) override {
    if (HWND h = Hwnd(c)) ::SetFocus(h);
  }
  void BringToFront(TControl& c) override {
    if (HWND h = Hwnd(c))
      SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

 protected:
  // Windowed controls without a system class are containers of our own
  // class, painted by the model (panels, group boxes, tab sheets); graphic
  // controls have no window (Win32Paint.h).
  virtual std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) {
    if (c.Is<TWinControl>())
      return MakeWindow(c, WS_EX_CONTROLPARENT, kFormClass,
                        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, parent, NextControlId());
    return nullptr;
  }
  Win32Widgetset& ws_;
};

// Bitmap buttons (Win32ButtonFamilies.cpp): an owner-drawn BUTTON that
// shows its glyph next to the caption.
std::unique_ptr<Peer> MakeBitBtnWindow(TControl& c, HWND parent);
void SetBitBtnGlyph(TControl& c, std::span<const uint8_t> bmp, int numGlyphs);
bool IsOwnerDrawn(HWND h);
// Paints an owner-drawn button (WM_DRAWITEM); false if not ours.
bool DrawOwnerButton(const DRAWITEMSTRUCT& item);

// The families of the other files (Win32ButtonFamilies.cpp,
// Win32ListFamilies.cpp, Win32ViewFamilies.cpp).
std::unique_ptr<WSControl> MakeControlFamily(Win32Widgetset& ws);
std::unique_ptr<WSCheckBox> MakeCheckBoxFamily(Win32Widgetset& ws);
std::unique_ptr<WSMemo> MakeMemoFamily(Win32Widgetset& ws);
std::unique_ptr<WSListBox> MakeListBoxFamily(Win32Widgetset& ws);
std::unique_ptr<WSProgressBar> MakeProgressBarFamily(Win32Widgetset& ws);
std::unique_ptr<WSPageControl> MakePageControlFamily(Win32Widgetset& ws);
std::unique_ptr<WSItemView> MakeItemViewFamily(Win32Widgetset& ws);

}  // namespace platform::win32
