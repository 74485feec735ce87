// The Win32 widgetset's families: each creates its control's window and
// applies what the control model pushes. A peer's window is created
// without size or text; the model's push of all stored state follows.
#include <map>
#include <vector>

#include "framework/Buttons.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "platform/win32/widgetset/Win32FamilyBase.h"
#include "platform/win32/widgetset/Win32Paint.h"

namespace platform::win32 {
namespace {
class WForms final : public Base<WSForm> {
 public:
  using Base::Base;
  std::unique_ptr<Peer> CreatePeer(TControl& c) override {
    // A form placed in another control (a wizard page inside its frame) is
    // a child window of it: it moves with the frame, and a modal frame
    // does not disable it with the program's other windows.
    if (HWND parent = c.Parent() ? Hwnd(*c.Parent()) : nullptr)
      return MakeWindow(c, WS_EX_CONTROLPARENT, kFormClass,
                        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent, 0);
    const WindowStyles s = StylesFor(bsSizeable, TBorderIcons{biSystemMenu});
    auto peer = MakeWindow(c, s.exStyle | WS_EX_CONTROLPARENT, kFormClass, s.style, nullptr, 0);
    ws_.TopLevels().insert(static_cast<Win32Peer&>(*peer).hwnd);
    return peer;
  }
  static bool IsChildForm(HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) != 0; }
  void SetBorder(TCustomForm& f, TFormBorderStyle style, TBorderIcons icons) override {
    HWND h = Hwnd(f);
    if (!h || IsChildForm(h)) return;
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
    if (HWND h = Hwnd(f); h && !IsChildForm(h)) {
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
  void Show(TCustomForm& f) override { ws_.FormShown(f); }
  void Activate(TCustomForm& f) override {
    if (HWND h = Hwnd(f); h && !IsChildForm(h)) {
      SetForegroundWindow(h);
      SetActiveWindow(h);
    }
    f.WidgetActivate();
  }
  // The other top-level windows are disabled while the form is modal, and
  // exactly those are enabled again afterwards.
  void BeginModal(TCustomForm& f) override {
    ws_.ModalStarted(f);
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
  void EndModal(TCustomForm& f, TModalResult result) override {
    ws_.ModalEnded(f, result);
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
    if (!IsOwnerDrawn(h))
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
  void SetGlyph(TControl& c, std::span<const uint8_t> bmp, int numGlyphs) override {
    SetBitBtnGlyph(c, bmp, numGlyphs);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    if (c.Is<TBitBtn>()) return MakeBitBtnWindow(c, parent);
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
  explicit Families(Win32Widgetset& ws)
      : controls(MakeControlFamily(ws)),
        forms(ws),
        buttons(ws),
        edits(ws),
        checkBoxes(MakeCheckBoxFamily(ws)),
        memos(MakeMemoFamily(ws)),
        listBoxes(MakeListBoxFamily(ws)),
        progressBars(MakeProgressBarFamily(ws)),
        pageControls(MakePageControlFamily(ws)),
        itemViews(MakeItemViewFamily(ws)) {}
  std::unique_ptr<WSControl> controls;
  GraphicAwareControls graphics{*controls};  // graphic controls, else `controls`
  WForms forms;
  WButtons buttons;
  WEdits edits;
  std::unique_ptr<WSCheckBox> checkBoxes;
  std::unique_ptr<WSMemo> memos;
  std::unique_ptr<WSListBox> listBoxes;
  std::unique_ptr<WSProgressBar> progressBars;
  std::unique_ptr<WSPageControl> pageControls;
  std::unique_ptr<WSItemView> itemViews;
};

const wchar_t* Win32Widgetset::FormClassName() {
  return kFormClass;
}

Win32Widgetset::Win32Widgetset(headless::UserOptions user)
    : families_(std::make_unique<Families>(*this)) {
  StartUser(std::move(user));
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
WSCheckBox& Win32Widgetset::CheckBoxes() {
  return *families_->checkBoxes;
}
WSMemo& Win32Widgetset::Memos() {
  return *families_->memos;
}
WSListBox& Win32Widgetset::ListBoxes() {
  return *families_->listBoxes;
}
WSProgressBar& Win32Widgetset::ProgressBars() {
  return *families_->progressBars;
}
WSPageControl& Win32Widgetset::PageControls() {
  return *families_->pageControls;
}
WSItemView& Win32Widgetset::ItemViews() {
  return *families_->itemViews;
}

}  // namespace platform::win32
