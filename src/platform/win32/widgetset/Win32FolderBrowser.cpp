// The folder browser on real windows: the system's browse-for-folder
// dialog, extended in place when it is initialised (a create-folder button
// left of OK, a path edit below the shrunk tree, the tree always showing
// its selection). The kit's client decides what happens; nothing it raises
// crosses the system's callbacks: the first exception closes the browser
// and is raised again once SHBrowseForFolderW returned.
//
// With a UI script the browser is a modal "form" FolderBrowser for the
// scripted user: a stand-in form whose controls PathEdit, CreateBtn, OK and
// Cancel stand for the real windows (Win32Widgetset::HandleOf gives theirs),
// so `type`, `press` and `close` act on the real browser and the
// transcript reads its real texts.
#include <exception>
#include <map>
#include <utility>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

namespace platform::win32 {
namespace {

// Controls of the model that stand for windows we did not create.
std::map<const TControl*, HWND>& StandIns() {
  static std::map<const TControl*, HWND> table;
  return table;
}

// A model control without a window of its own (its family makes none).
template <class Base>
class StandIn : public Base {
 public:
  using Base::Base;

 protected:
  platform::WSControl& WS() const override {
    static platform::WSForm none;
    return none;
  }
};

constexpr int kCreateId = 0x3A01;
constexpr int kEditId = 0x3A02;
constexpr UINT_PTR kScriptTimer = 0x3A03;

bool ClassStarts(HWND h, const wchar_t* prefix) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  const size_t n = wcslen(prefix);
  return _wcsnicmp(cls, prefix, n) == 0;
}

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class Browser;
thread_local Browser* current = nullptr;

class Browser final : public FolderBrowserHost {
 public:
  Browser(Win32Widgetset& ws, headless::ScriptedUser* user, bool scripted,
          const FolderBrowserRequest& request, FolderBrowserClient& client)
      : ws_(ws), user_(user), scripted_(scripted), request_(request), client_(client) {}

  ~Browser() override {
    for (const TControl* c : {static_cast<TControl*>(form_.get()), static_cast<TControl*>(edit_),
                              static_cast<TControl*>(create_), static_cast<TControl*>(ok_),
                              static_cast<TControl*>(cancel_)})
      StandIns().erase(c);
  }

  bool Run() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring title = Wide(request_.title);
    BROWSEINFOW bi = {};
    HWND owner = GetActiveWindow();
    if (owner && !ws_.TopLevels().count(owner)) owner = nullptr;
    bi.hwndOwner = owner;
    bi.lpszTitle = title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = &Callback;
    bi.lParam = reinterpret_cast<LPARAM>(this);
    Browser* outer = current;
    current = this;
    LPITEMIDLIST pidl = SHBrowseForFolderW(&bi);
    current = outer;
    if (pidl) CoTaskMemFree(pidl);
    if (SUCCEEDED(com)) CoUninitialize();
    const bool confirmed = pidl != nullptr && !error_;
    if (form_ && user_) {
      user_->ModalEnded(*form_, confirmed ? mrOk : mrCancel);
      form_->SetVisible(false);
    }
    if (error_) std::rethrow_exception(error_);
    return confirmed;
  }

  void Select(const std::string& path) override {
    if (!dialog_ || path.empty()) return;
    const std::wstring w = Wide(path);
    const int before = selectionChanges_;
    SendMessageW(dialog_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
    // A folder made after this process first listed its parent may be
    // missing from that first try (Wine's browser remembers the parent as
    // having no subfolders); the second finds it.
    const DWORD attributes = GetFileAttributesW(w.c_str());
    if (selectionChanges_ == before && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
      SendMessageW(dialog_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
  }
  std::string PathText() override { return editWnd_ ? WindowText(editWnd_) : std::string(); }
  void SetPathText(const std::string& text) override {
    if (!editWnd_) return;
    settingText_ = true;
    SetWindowTextW(editWnd_, Wide(text).c_str());
    settingText_ = false;
  }
  void SetCreateVisible(bool visible) override {
    if (createWnd_) ShowWindow(createWnd_, visible ? SW_SHOWNA : SW_HIDE);
  }
  bool OkEnabled() override { return okWnd_ && IsWindowEnabled(okWnd_); }
  void ClickOk() override {
    if (okWnd_) PostMessageW(okWnd_, BM_CLICK, 0, 0);
  }

 private:
  static int CALLBACK Callback(HWND hwnd, UINT msg, LPARAM lp, LPARAM data) {
    auto* self = reinterpret_cast<Browser*>(data);
    if (msg == BFFM_INITIALIZED) {
      self->Guard([&] { self->Initialise(hwnd); });
    } else if (msg == BFFM_SELCHANGED) {
      self->Guard([&] { self->SelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lp)); });
    }
    return 0;
  }

  // Runs a client call from a system callback; the first exception closes
  // the browser (cancelled). Calls made from within a client call (a
  // selection reported while the client selects) hand theirs outwards.
  template <class F>
  void Guard(F&& fn) noexcept {
    if (inClient_) {
      try {
        fn();
      } catch (...) {
        if (!inner_) inner_ = std::current_exception();
      }
      return;
    }
    inClient_ = true;
    try {
      fn();
      if (inner_) std::rethrow_exception(std::exchange(inner_, nullptr));
    } catch (...) {
      if (!error_) error_ = std::current_exception();
      if (dialog_) PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    inClient_ = false;
  }

  void Initialise(HWND hwnd) {
    dialog_ = hwnd;
    HWND tree = nullptr;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (!tree && ClassStarts(c, L"SYSTREE")) tree = c;
      if (ClassStarts(c, L"BUTTON")) {
        if (!okWnd_)
          okWnd_ = c;
        else if (!cancelWnd_)
          cancelWnd_ = c;
      }
    }
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    const HINSTANCE inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));

    // The create button: left of OK on OK's row, 22 pixels higher.
    RECT cr = {20, 140, 230, 253};
    if (okWnd_) {
      const RECT ok = RectInParent(okWnd_);
      const int height = ok.bottom - ok.top;
      const int left = tree ? RectInParent(tree).left : 10;
      cr = {left, ok.top - 22, ok.left - 8, ok.top - 22 + height};
    }
    createWnd_ =
        CreateWindowExW(0, L"BUTTON", Wide(request_.createCaption).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, cr.left, cr.top,
                        cr.right - cr.left, cr.bottom - cr.top, hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCreateId)), inst, nullptr);
    // The path edit 15 pixels below the tree, shrunk by 60, as wide as it.
    if (tree) {
      RECT tr = RectInParent(tree);
      tr.bottom -= 60;
      MoveWindow(tree, tr.left, tr.top, tr.right - tr.left, tr.bottom - tr.top, TRUE);
      SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_SHOWSELALWAYS);
      InvalidateRect(tree, nullptr, TRUE);
      editWnd_ = CreateWindowExW(
          WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
          tr.left, tr.bottom + 15, tr.right - tr.left, 21, hwnd,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), inst, nullptr);
    }
    for (HWND h : {createWnd_, editWnd_})
      if (h && font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (editWnd_)
      editProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    dialogProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogProc)));

    if (user_) StartStandIn();
    client_.Initialized(*this);
    if (scripted_) SetTimer(hwnd, kScriptTimer, 20, nullptr);
  }

  void SelectionChanged(LPCITEMIDLIST pidl) {
    wchar_t buf[MAX_PATH] = {};
    std::string path;
    if (pidl && SHGetPathFromIDListW(pidl, buf)) path = Narrow(buf);
    // OK follows whether the selection is a folder with a path.
    SendMessageW(dialog_, BFFM_ENABLEOK, 0, path.empty() ? 0 : 1);
    ++selectionChanges_;
    client_.SelectionChanged(*this, path);
  }

  // The stand-in form the scripted user and the transcript see.
  void StartStandIn() {
    form_.reset(new StandIn<TForm>(nullptr));
    form_->SetName("FolderBrowser");
    form_->SetCaption(request_.title);
    RECT wr;
    GetWindowRect(dialog_, &wr);
    form_->SetBounds(wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
    auto add = [&](TControl* c, const char* name, HWND h) {
      c->SetName(name);
      c->SetParent(form_.get());
      if (h) {
        const RECT r = RectInParent(h);
        c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      }
      c->SetVisible(h != nullptr);
      StandIns()[c] = h;
    };
    edit_ = new StandIn<TEdit>(form_.get());
    add(edit_, "PathEdit", editWnd_);
    create_ = new StandIn<TButton>(form_.get());
    add(create_, "CreateBtn", createWnd_);
    create_->SetCaption(request_.createCaption);
    ok_ = new StandIn<TButton>(form_.get());
    add(ok_, "OK", okWnd_);
    ok_->SetCaption("OK");
    ok_->SetDefault(true);
    cancel_ = new StandIn<TButton>(form_.get());
    add(cancel_, "Cancel", cancelWnd_);
    cancel_->SetCaption("Cancel");
    cancel_->SetCancel(true);
    StandIns()[form_.get()] = dialog_;
    form_->SetVisible(true);
    user_->ModalStarted(*form_);
  }

  // The stand-ins show what the real windows show.
  void SyncStandIn() {
    if (createWnd_) create_->SetVisible(IsWindowVisible(createWnd_) != 0);
    if (okWnd_) ok_->SetEnabled(IsWindowEnabled(okWnd_) != 0);
    if (editWnd_) edit_->SetText(WindowText(editWnd_));
  }

  // One step of the scripted user when the browser waits for input.
  void ScriptTick() {
    if (acting_ || done_ || !user_ || !form_) return;
    MSG pending;
    if (PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE)) return;
    acting_ = true;
    Guard([&] {
      SyncStandIn();
      user_->AnswerModal(*form_);
    });
    acting_ = false;
  }

  static LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Browser* self = current;
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_COMMAND && LOWORD(wp) == kCreateId && HIWORD(wp) == BN_CLICKED) {
      self->Guard([&] { self->client_.CreateClicked(*self); });
      return 0;
    }
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) self->done_ = true;
    if (msg == WM_TIMER && wp == kScriptTimer) {
      self->ScriptTick();
      return 0;
    }
    if (msg == WM_DESTROY) KillTimer(hwnd, kScriptTimer);
    return CallWindowProcW(self->dialogProc_, hwnd, msg, wp, lp);
  }

  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Browser* self = current;
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT r = CallWindowProcW(self->editProc_, hwnd, msg, wp, lp);
    // A key's release; typing sent as characters alone (the scripted
    // user's) counts as released at each character.
    if ((msg == WM_KEYUP || msg == WM_CHAR) && !self->settingText_)
      self->Guard([&] { self->client_.PathTyped(*self, WindowText(hwnd)); });
    return r;
  }

  Win32Widgetset& ws_;
  headless::ScriptedUser* user_;
  bool scripted_;
  const FolderBrowserRequest& request_;
  FolderBrowserClient& client_;
  HWND dialog_ = nullptr;
  HWND okWnd_ = nullptr;
  HWND cancelWnd_ = nullptr;
  HWND createWnd_ = nullptr;
  HWND editWnd_ = nullptr;
  WNDPROC dialogProc_ = nullptr;
  WNDPROC editProc_ = nullptr;
  Owned<TForm> form_;
  TEdit* edit_ = nullptr;
  TButton* create_ = nullptr;
  TButton* ok_ = nullptr;
  TButton* cancel_ = nullptr;
  int selectionChanges_ = 0;
  bool settingText_ = false;
  bool inClient_ = false;
  bool acting_ = false;
  bool done_ = false;
  std::exception_ptr inner_;
  std::exception_ptr error_;
};

}  // namespace

HWND StandInWindowOf(const TControl& c) {
  auto it = StandIns().find(&c);
  return it == StandIns().end() ? nullptr : it->second;
}

bool Win32Widgetset::BrowseForFolder(const FolderBrowserRequest& request,
                                     FolderBrowserClient& client) {
  Browser browser(*this, user_.get(), scripted_, request, client);
  return browser.Run();
}

std::string Win32Widgetset::SystemString(std::string_view library, unsigned id) {
  const std::wstring name = Wide(library);
  HMODULE module = GetModuleHandleW(name.c_str());
  bool loaded = false;
  if (!module) {
    module = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    loaded = module != nullptr;
  }
  if (!module) return {};
  wchar_t text[512] = {};
  const int n = LoadStringW(module, id, text, 512);
  std::string out = n > 0 ? Narrow(std::wstring_view(text, static_cast<size_t>(n))) : "";
  if (loaded) FreeLibrary(module);
  return out;
}

}  // namespace platform::win32
