// The Win32 widgetset's metrics, message loop, system dialogs and the one
// window procedure of forms and containers; the families are in
// Win32Families.cpp.
#include "platform/win32/widgetset/Win32Widgetset.h"

#include <cwchar>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/StrUtils.h"
#include "framework/WidgetsetSlot.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"
#include "platform/win32/widgetset/Win32Notify.h"
#include "platform/win32/widgetset/Win32Paint.h"

namespace platform::win32 {
namespace {

// The first visible, enabled button marked Cancel among `parent`'s
// controls (depth first), or null.
TButton* FindCancelButton(TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Is<TButton>() && static_cast<TButton*>(c)->Cancel()) return static_cast<TButton*>(c);
    if (c->Is<TWinControl>())
      if (TButton* b = FindCancelButton(static_cast<TWinControl&>(*c))) return b;
  }
  return nullptr;
}

// The label whose marked character is `key` (lower case), below `parent`
// and showing, that names a control to focus; null when none does.
TCustomLabel* LabelForKey(TWinControl& parent, const std::string& key) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Is<TCustomLabel>()) {
      auto* label = static_cast<TCustomLabel*>(c);
      const size_t at =
          label->ShowAccelChar() ? AccelCharOffset(label->Caption()) : std::string::npos;
      if (at == std::string::npos || !label->FocusControl()) continue;
      const std::string shown = StripAccelChars(label->Caption());
      if (LowerCase(shown.substr(at, key.size())) == key) return label;
    } else if (c->Is<TWinControl>()) {
      if (TCustomLabel* l = LabelForKey(static_cast<TWinControl&>(*c), key)) return l;
    }
  }
  return nullptr;
}

// What Windows tells a form or a container. Everything that reaches the
// model goes through its guarded entry points; this function adds its own
// catch-all because converting text can throw too, and nothing may cross
// back into Windows.
LRESULT HandleControlMessage(TControl& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT painted = 0; HandlePaintMessage(c, hwnd, msg, wp, lp, painted)) return painted;
  Win32Peer* own = PeerOfWindow(hwnd);
  if (LRESULT r = 0; HandleNotify(hwnd, msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      // Esc in a form (the dialog manager's IDCANCEL): its cancel button.
      if (LOWORD(wp) == IDCANCEL && !child && c.Is<TWinControl>()) {
        if (TButton* cancel = FindCancelButton(static_cast<TWinControl&>(c))) cancel->WidgetClick();
        return 0;
      }
      TControl* target = child ? ControlOfWindow(child) : nullptr;
      Win32Peer* peer = target ? dynamic_cast<Win32Peer*>(target->Peer()) : nullptr;
      if (target && peer && !peer->pushing) {
        const UINT code = HIWORD(wp);
        if (code == BN_CLICKED) {
          target->WidgetClick();
        } else if (code == EN_CHANGE && target->Is<TWinControl>()) {
          static_cast<TWinControl*>(target)->WidgetText(WindowText(child));
        }
      }
      return 0;
    }
    case WM_SETCURSOR:
      // Busy: the hourglass over every window of ours, children included
      // (their default handling asks the parent first).
      if (Screen().Cursor() == crHourGlass && LOWORD(lp) == HTCLIENT) {
        ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      if (own && own->brush) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(own->brush));
        return 1;
      }
      break;
    default:
      break;
  }
  if (!c.Is<TCustomForm>()) return DefWindowProcW(hwnd, msg, wp, lp);
  auto& form = static_cast<TCustomForm&>(c);
  switch (msg) {
    case WM_CLOSE:
      // The model decides (its close query); it hides or frees the form.
      form.WidgetClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        form.WidgetDeactivate();
      } else if (own && !own->shown) {
        // Windows activates a window while it is still being shown, before
        // the model has finished showing the form; what the activation
        // starts (a setup starts its whole run there) waits until then, as
        // on the headless widgetset, instead of running inside ShowWindow.
        TCustomForm* f = &form;
        CurrentWidgetset().Post([f, hwnd] {
          // Still there, and still the active window by then.
          for (int i = 0; i < Screen().FormCount(); ++i)
            if (Screen().Forms(i) == f && f->Showing() && GetActiveWindow() == hwnd)
              f->WidgetActivate();
        });
      } else {
        form.WidgetActivate();
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (own && !own->pushing && !IsIconic(hwnd)) {
        RECT r;
        GetWindowRect(hwnd, &r);
        form.WidgetBounds(TRect{r.left, r.top, r.right, r.bottom});
      }
      break;
    case DM_GETDEFID:
      if (own && own->defaultId) return MAKELRESULT(own->defaultId, DC_HASDEFID);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The DC of a screen-compatible memory bitmap, for measuring text.
class MeasureDc {
 public:
  MeasureDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MeasureDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HDC dc_;
};
}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TControl* c = ControlOfWindow(hwnd);
  if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return HandleControlMessage(*c, hwnd, msg, wp, lp);
  } catch (...) {
    HandleCallbackException(c);
    return 0;
  }
}

TControl* ControlOfWindow(HWND hwnd) {
  return reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Win32Peer* PeerOfWindow(HWND hwnd) {
  TControl* c = ControlOfWindow(hwnd);
  return c ? dynamic_cast<Win32Peer*>(c->Peer()) : nullptr;
}

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, w.data(), n + 1);
  w.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Narrow(w);
}

HFONT CreateFontFor(const TFontData& f) {
  LOGFONTW lf{};
  lf.lfHeight = f.height;
  lf.lfEscapement = f.escapement;
  lf.lfOrientation = f.orientation;
  lf.lfWeight = f.style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.style.Contains(fsItalic);
  lf.lfUnderline = f.style.Contains(fsUnderline);
  lf.lfStrikeOut = f.style.Contains(fsStrikeOut);
  lf.lfCharSet = f.charset;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = f.pitch == fpFixed      ? FIXED_PITCH
                        : f.pitch == fpVariable ? VARIABLE_PITCH
                                                : DEFAULT_PITCH;
  const std::wstring face = Wide(f.name);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

Win32Peer::~Win32Peer() {
  HWND h = static_cast<HWND>(hwnd);
  if (h && IsWindow(h)) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);  // no more calls into a dying control
    DestroyWindow(h);
  }
  if (font) DeleteObject(static_cast<HFONT>(font));
  if (brush) DeleteObject(static_cast<HBRUSH>(brush));
}

TSize Win32Widgetset::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32Widgetset::CaptionHeight() {
  return GetSystemMetrics(SM_CYCAPTION);
}

int Win32Widgetset::HorzScrollBarHeight() {
  return GetSystemMetrics(SM_CYHSCROLL);
}

TRect Win32Widgetset::FrameMargins(TFormBorderStyle style) {
  const WindowStyles s = StylesFor(style, TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  RECT r{0, 0, 0, 0};
  if (!AdjustWindowRectEx(&r, s.style, FALSE, s.exStyle)) return Widgetset::FrameMargins(style);
  return TRect{-r.left, -r.top, r.right, r.bottom};
}

TColor Win32Widgetset::SysColor(int index) {
  if (index < 0 || index >= kSystemColorCount) return clBlack;
  return static_cast<TColor>(GetSysColor(index) & 0xFFFFFF);
}

TSize Win32Widgetset::TextExtent(const TFontData& font, std::string_view text) {
  MeasureDc dc;
  HFONT f = CreateFontFor(font);
  if (!dc.get() || !f) {
    if (f) DeleteObject(f);
    return Widgetset::TextExtent(font, text);
  }
  HGDIOBJ old = SelectObject(dc.get(), f);
  const std::wstring w = Wide(text);
  SIZE size{0, 0};
  BOOL ok = GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
  if (ok && w.empty()) {
    // The height of a line even for no text, as the fixed metrics give.
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc.get(), &tm)) size.cy = tm.tmHeight;
  }
  SelectObject(dc.get(), old);
  DeleteObject(f);
  if (!ok) return Widgetset::TextExtent(font, text);
  return {size.cx, size.cy};
}

void Win32Widgetset::Dispatch(void* m) {
  MSG& msg = *static_cast<MSG*>(m);
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  // Alt and a label's marked character: the control the label names gets
  // the focus. Labels have no window, so the dialog manager cannot know.
  if (root && msg.message == WM_SYSCHAR && topLevels_.count(root))
    if (TControl* form = ControlOfWindow(root); form && form->Is<TWinControl>()) {
      const wchar_t typed[2] = {static_cast<wchar_t>(msg.wParam), 0};
      if (TCustomLabel* label =
              LabelForKey(static_cast<TWinControl&>(*form), LowerCase(Narrow(typed)))) {
        if (label->FocusControl()->CanFocus()) label->FocusControl()->SetFocus();
        return;
      }
    }
  // The dialog manager gives forms Tab, the default button on Enter and
  // Esc, as in dialog boxes.
  if (root && topLevels_.count(root) && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Widgetset::CheckFirstPaint() {
  if (!firstPaint_) return;
  bool anyVisible = false;
  for (void* h : topLevels_) anyVisible = anyVisible || IsWindowVisible(static_cast<HWND>(h));
  MSG pending;
  // Painting is the last thing Windows queues: nothing pending means the
  // visible windows are painted.
  if (!anyVisible || PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE)) return;
  FILETIME created, exited, kernel, user, now;
  GetSystemTimeAsFileTime(&now);
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
  auto ticks = [](const FILETIME& f) {
    return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  const auto report = std::move(firstPaint_);
  firstPaint_ = nullptr;
  report((ticks(now) - ticks(created)) / 10000);
}

void Win32Widgetset::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the loop that owns it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(&msg);
  }
  RunPosted();
  if (user_ && scripted_) user_->MessagesProcessed();
  CheckFirstPaint();
}

bool Win32Widgetset::HandleMessage(TCustomForm* modal) {
  // The model's own deferred work first, as one round: the caller looks
  // again whether it still has to wait (that work may have ended the run
  // or the modal form) before the user acts on an idle form.
  if (HasPosted()) {
    RunPosted();
    return true;
  }
  // Without a visible window of ours no input can come: waiting would
  // hang the program.
  bool anyVisible = false;
  for (void* h : topLevels_) anyVisible = anyVisible || IsWindowVisible(static_cast<HWND>(h));
  if (!anyVisible) return false;
  if (modal && !modal->HasPeer()) return false;
  CheckFirstPaint();
  if (const std::optional<bool> acted = ActWhenIdle(modal)) return *acted;
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  if (got == -1) return false;
  Dispatch(&msg);
  RunPosted();
  return true;
}

void Win32Widgetset::SetCursor(TCursor cursor) noexcept {
  // At once, not only when the mouse moves next: the work that follows
  // may not let a message through for a while.
  ::SetCursor(LoadCursorW(nullptr,
                          reinterpret_cast<LPCWSTR>(cursor == crHourGlass ? IDC_WAIT : IDC_ARROW)));
}

void* Win32Widgetset::HandleOf(const TControl& c) {
  auto* p = dynamic_cast<Win32Peer*>(c.Peer());
  return p ? p->hwnd : StandInWindowOf(c);
}

}  // namespace platform::win32
