// The UI script and the transcript on real windows: the scripted user's
// hands are the real controls' messages (Win32Input.h), the transcript
// reads the texts back from the windows, and message boxes are real ones
// that the script's answer presses.
#include <cstdio>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Input.h"
#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {
namespace {

class WindowHands final : public headless::UserHands {
 public:
  void Click(TControl& c) override { UserClick(c); }
  void Type(TWinControl& c, const std::string& text) override { UserType(c, text); }
  void Select(TControl& c, int index) override {
    if (!UserPick(c, index))
      throw Exception("Cannot select item " + std::to_string(index) + " of " + c.Name() +
                      ": its window has no such item");
  }
  void CloseWindow(TCustomForm& form) override {
    // The title bar's close button: the system command, which sends
    // WM_CLOSE to the form as a click there does.
    if (HWND h = static_cast<HWND>(Win32Widgetset::HandleOf(form)))
      SendMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      form.WidgetClose();
  }
};

// The answer a message box of this thread must take as soon as it is up
// (0: none). A thread timer presses it; nothing here can throw.
thread_local int pendingAnswer = 0;

BOOL CALLBACK PressInBox(HWND hwnd, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  const int id = pendingAnswer;
  pendingAnswer = 0;
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (pendingAnswer) EnumThreadWindows(GetCurrentThreadId(), PressInBox, 0);
}
}  // namespace

void Win32Widgetset::StartUser(headless::UserOptions options) {
  scripted_ = !options.script.empty();
  if (!scripted_ && !options.transcript && !options.errors) return;
  hands_ = std::make_unique<WindowHands>();
  // The transcript shows the text of each control's window, as Windows
  // keeps it, so a text that never reached the screen shows as missing.
  headless::ShownText shown = [](const TControl& c) -> std::optional<std::string> {
    HWND h = static_cast<HWND>(HandleOf(c));
    if (!h) return std::nullopt;
    return WindowText(h);
  };
  user_ = std::make_unique<headless::ScriptedUser>(options, *hands_, std::move(shown));
}

void Win32Widgetset::FormShown(TCustomForm& form) {
  if (auto* peer = dynamic_cast<Win32Peer*>(form.Peer())) peer->shown = true;
  if (user_) user_->FormShown(form);
}

void Win32Widgetset::ModalStarted(TCustomForm& form) {
  if (user_) user_->ModalStarted(form);
}

void Win32Widgetset::ModalEnded(TCustomForm& form, TModalResult result) {
  if (user_) user_->ModalEnded(form, result);
}

void Win32Widgetset::Repainted(TControl& c) {
  if (user_) user_->Repainted(c);
}

std::optional<bool> Win32Widgetset::ActWhenIdle(TCustomForm* modal) {
  if (!scripted_ || !user_) return std::nullopt;
  MSG pending;
  // Painting and every queued message come first: the user acts on what
  // the screen shows.
  if (PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE)) return std::nullopt;
  if (modal) {
    if (modal->ModalResult() == mrNone) user_->AnswerModal(*modal);
    return true;
  }
  TCustomForm* form = Screen().ActiveForm();
  if (!form || !form->Showing() || form->Parent()) form = Application().MainForm();
  if (!form || !form->Showing()) return false;
  return user_->ActIdle(*form);
}

int Win32Widgetset::ShowBox(const std::string& text, const std::string& caption, uint32_t flags,
                            std::optional<int> answer) {
  HWND owner = GetActiveWindow();
  if (owner && !topLevels_.count(owner)) owner = nullptr;
  UINT_PTR timer = 0;
  if (answer) {
    pendingAnswer = *answer;
    timer = SetTimer(nullptr, 0, 20, AnswerTimer);
  }
  const int got = MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
  if (timer) KillTimer(nullptr, timer);
  pendingAnswer = 0;
  return got != 0 ? got : DefaultMessageBoxAnswer(flags);
}

int Win32Widgetset::MessageBox(const std::string& text, const std::string& caption,
                               uint32_t flags) {
  if (!user_) return ShowBox(text, caption, flags, std::nullopt);
  headless::UiStep used;
  std::optional<int> answer;
  if (scripted_) answer = user_->ChooseAnswer(caption, flags, used);
  const int got = ShowBox(text, caption, flags, answer);
  user_->MessageShown(text, caption, flags, got, used,
                      !answer     ? "user"
                      : used.line ? "script"
                                  : "default");
  return got;
}

void Win32Widgetset::ShowError(const std::string& title, const std::string& message) {
  if (user_) user_->ErrorShown(title, message);
  ShowBox(message, title, MB_OK | MB_ICONERROR,
          scripted_ ? std::optional<int>(IDOK) : std::nullopt);
}

}  // namespace platform::win32
