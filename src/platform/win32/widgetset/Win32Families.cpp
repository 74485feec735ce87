// The Win32 widgetset's families: each creates its control's window and
// applies what the control model pushes. A peer's window is created
// without size or text; the model's push of all stored state follows.
#include <map>
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"
#include "platform/win32/widgetset/Win32Paint.h"

namespace platform::win32 {
namespace {
constexpr wchar_t kFormClass[] = L"PellmoreForm";

HWND Hwnd(const TControl& c) {
  return static_cast<HWND>(Win32Widgetset::HandleOf(c));
}
Win32Peer* PeerOf(const TControl& c) {
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
std::unique_ptr<Peer> MakeWindow(TControl& c, DWORD exStyle, const wchar_t* cls, DWORD style,
                                 HWND parent, int id) {
  HWND h = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h) RaiseLastError("CreateWindowExW", c.Name());
  auto peer = std::make_unique<Win32Peer>();
  peer->hwnd = h;
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
  return peer;
}

int NextControlId() {
  static int id = 100;  // below are the dialog manager's IDOK, IDCANCEL ...
  return ++id;
}

// A label's STATIC styles: alignment, word wrap (a left-justified label
// that must not wrap is SS_LEFTNOWORDWRAP) and whether '&' marks a
// mnemonic.
DWORD LabelStyle(const TCustomLabel& label) {
  DWORD style = WS_CHILD;
  switch (label.Alignment()) {
    case taRightJustify:
      style |= SS_RIGHT;
      break;
    case taCenter:
      style |= SS_CENTER;
      break;
    default:
      style |= label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
  }
  if (!label.ShowAccelChar()) style |= SS_NOPREFIX;
  return style;
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
    if (HWND h = Hwnd(c)) SetWindowTextW(h, Wide(text).c_str());
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
    HWND h = Hwnd(c);
    if (!h) return;
    // A label's settings have no push of their own: they come with the
    // repaint they ask for.
    if (c.Is<TCustomLabel>()) {
      const LONG_PTR kept = GetWindowLongPtrW(h, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
      SetWindowLongPtrW(h, GWL_STYLE,
                        static_cast<LONG_PTR>(LabelStyle(static_cast<TCustomLabel&>(c))) | kept);
    }
    InvalidateRect(h, nullptr, TRUE);
  }
  void SetFocus(TControl& c) override {
    if (HWND h = Hwnd(c)) ::SetFocus(h);
  }
  void BringToFront(TControl& c) override {
    if (HWND h = Hwnd(c))
      SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

 protected:
  // Labels become STATIC windows, other windowed controls containers of
  // our own class; graphic controls have no window.
  virtual std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) {
    if (c.Is<TCustomLabel>())
      return MakeWindow(c, 0, L"STATIC", LabelStyle(static_cast<TCustomLabel&>(c)), parent,
                        NextControlId());
    if (c.Is<TWinControl>())
      return MakeWindow(c, WS_EX_CONTROLPARENT, kFormClass,
                        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, parent, NextControlId());
    return nullptr;
  }
  Win32Widgetset& ws_;
};

class WForms final : public Base<WSForm> {
 public:
  using Base::Base;
  std::unique_ptr<Peer> CreatePeer(TControl& c) override {
    const WindowStyles s = StylesFor(bsSizeable, TBorderIcons{biSystemMenu});
    auto peer = MakeWindow(c, s.exStyle | WS_EX_CONTROLPARENT, kFormClass, s.style, nullptr, 0);
    ws_.TopLevels().insert(static_cast<Win32Peer&>(*peer).hwnd);
    return peer;
  }
  void SetBorder(TCustomForm& f, TFormBorderStyle style, TBorderIcons icons) override {
    HWND h = Hwnd(f);
    if (!h) return;
    Pushing guard(PeerOf(f));
    const WindowStyles s = StylesFor(style, icons);
    const LONG_PTR kept = GetWindowLongPtrW(h, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
    const LONG_PTR keptEx = GetWindowLongPtrW(h, GWL_EXSTYLE) & (WS_EX_TOPMOST);
    SetWindowLongPtrW(h, GWL_STYLE, static_cast<LONG_PTR>(s.style) | kept);
    SetWindowLongPtrW(h, GWL_EXSTYLE,
                      static_cast<LONG_PTR>(s.exStyle | WS_EX_CONTROLPARENT) | keptEx);
    // The window keeps its outer bounds; the client area follows the frame.
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetFormStyle(TCustomForm& f, TFormStyle style) override {
    if (HWND h = Hwnd(f)) {
      Pushing guard(PeerOf(f));
      SetWindowPos(h, style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  void SetWindowState(TCustomForm& f, TWindowState state) override {
    HWND h = Hwnd(f);
    // A hidden window takes its state when shown (SetVisible).
    if (!h || !IsWindowVisible(h)) return;
    ShowWindow(h, ShowCommand(state));
  }
  void SetVisible(TControl& c, bool v) override {
    HWND h = Hwnd(c);
    if (!h) return;
    ShowWindow(h, v ? ShowCommand(static_cast<TCustomForm&>(c).WindowState()) : SW_HIDE);
  }
  void Activate(TCustomForm& f) override {
    if (HWND h = Hwnd(f)) {
      SetForegroundWindow(h);
      SetActiveWindow(h);
    }
    f.WidgetActivate();
  }
  // The other top-level windows are disabled while the form is modal, and
  // exactly those are enabled again afterwards.
  void BeginModal(TCustomForm& f) override {
    HWND self = Hwnd(f);
    std::vector<HWND>& disabled = disabled_[&f];
    for (void* v : ws_.TopLevels()) {
      HWND h = static_cast<HWND>(v);
      if (h != self && IsWindowEnabled(h)) {
        EnableWindow(h, FALSE);
        disabled.push_back(h);
      }
    }
  }
  void EndModal(TCustomForm& f, TModalResult) override {
    auto it = disabled_.find(&f);
    if (it == disabled_.end()) return;
    for (HWND h : it->second)
      if (ws_.TopLevels().count(h)) EnableWindow(h, TRUE);
    disabled_.erase(it);
  }

 private:
  static int ShowCommand(TWindowState state) {
    return state == wsMaximized   ? SW_SHOWMAXIMIZED
           : state == wsMinimized ? SW_SHOWMINIMIZED
                                  : SW_SHOWNORMAL;
  }
  std::map<const TCustomForm*, std::vector<HWND>> disabled_;
};

class WButtons final : public Base<WSButton> {
 public:
  using Base::Base;
  void SetDefault(TControl& c, bool isDefault) override {
    HWND h = Hwnd(c);
    if (!h) return;
    SendMessageW(h, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    // Enter in the form presses it (the dialog manager asks DM_GETDEFID).
    TCustomForm* form = c.ParentForm();
    Win32Peer* fp = form ? PeerOf(*form) : nullptr;
    if (!fp) return;
    const int id = GetDlgCtrlID(h);
    if (isDefault)
      fp->defaultId = id;
    else if (fp->defaultId == id)
      fp->defaultId = 0;
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    return MakeWindow(c, 0, L"BUTTON", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, parent,
                      NextControlId());
  }
};

class WEdits final : public Base<WSEdit> {
 public:
  using Base::Base;
  void SetReadOnly(TControl& c, bool readOnly) override {
    if (HWND h = Hwnd(c)) SendMessageW(h, EM_SETREADONLY, readOnly, 0);
  }
  void SetMaxLength(TControl& c, int maxLength) override {
    // 0 is "no limit" in the model; Windows takes 0 as its own maximum.
    if (HWND h = Hwnd(c)) SendMessageW(h, EM_SETLIMITTEXT, maxLength > 0 ? maxLength : 0, 0);
  }
  void SetPasswordChar(TControl& c, char32_t ch) override {
    // A character outside the BMP cannot be one UTF-16 unit: use '*'.
    const wchar_t w = ch == 0 ? 0 : ch <= 0xFFFF ? static_cast<wchar_t>(ch) : L'*';
    if (HWND h = Hwnd(c)) {
      SendMessageW(h, EM_SETPASSWORDCHAR, w, 0);
      InvalidateRect(h, nullptr, TRUE);
    }
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    return MakeWindow(c, WS_EX_CLIENTEDGE, L"EDIT", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, parent,
                      NextControlId());
  }
};
}  // namespace

WindowStyles StylesFor(TFormBorderStyle border, TBorderIcons icons) {
  WindowStyles s;
  s.style = WS_CLIPCHILDREN;
  switch (border) {
    case bsNone:
      s.style |= WS_POPUP;
      return s;
    case bsSingle:
      s.style |= WS_CAPTION;
      break;
    case bsSizeable:
      s.style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      s.style |= WS_CAPTION | DS_MODALFRAME;
      s.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      s.style |= WS_CAPTION;
      s.exStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      s.style |= WS_CAPTION | WS_THICKFRAME;
      s.exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (icons.Contains(biSystemMenu)) {
    s.style |= WS_SYSMENU;
    // Dialogs and tool windows have no minimize or maximize box.
    if (border == bsSingle || border == bsSizeable) {
      if (icons.Contains(biMinimize)) s.style |= WS_MINIMIZEBOX;
      if (icons.Contains(biMaximize)) s.style |= WS_MAXIMIZEBOX;
    }
    if (icons.Contains(biHelp) && !(s.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
      s.exStyle |= WS_EX_CONTEXTHELP;
  }
  return s;
}

struct Win32Widgetset::Families {
  explicit Families(Win32Widgetset& ws) : controls(ws), forms(ws), buttons(ws), edits(ws) {}
  Base<WSControl> controls;
  GraphicAwareControls graphics{controls};  // graphic controls, else `controls`
  WForms forms;
  WButtons buttons;
  WEdits edits;
};

const wchar_t* Win32Widgetset::FormClassName() {
  return kFormClass;
}

Win32Widgetset::Win32Widgetset() : families_(std::make_unique<Families>(*this)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  // A second widgetset in the same process finds the class registered.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    RaiseLastError("RegisterClassExW", "the window class of forms");
}

Win32Widgetset::~Win32Widgetset() = default;

WSControl& Win32Widgetset::Controls() {
  return families_->graphics;
}
WSForm& Win32Widgetset::Forms() {
  return families_->forms;
}
WSButton& Win32Widgetset::Buttons() {
  return families_->buttons;
}
WSEdit& Win32Widgetset::Edits() {
  return families_->edits;
}

}  // namespace platform::win32
