// The Win32 widgetset: every windowed control is a real window (forms,
// panels, group boxes and tab sheets of our own window class, painted by
// the model; the standard controls of the system classes), and graphic
// controls, labels included, are painted by their parent (Win32Paint.h).
// The control model owns the state and pushes it; what Windows
// reports back (clicks, typing, activation, close requests, moves) enters
// the model only through its guarded Widget... entry points, and the one
// window procedure lets no exception through to Windows.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "framework/Widgetset.h"
#include "platform/headless/ScriptedUser.h"

namespace platform::win32 {

// A control's native window. The handle is an opaque pointer so that this
// header does not pull in <windows.h>.
class Win32Peer : public Peer {
 public:
  ~Win32Peer() override;
  void* hwnd = nullptr;
  void* font = nullptr;   // the font pushed last (owned)
  void* brush = nullptr;  // the background brush of forms and containers (owned)
  TColor color = clNone;
  int pushing = 0;     // >0 while we push: what Windows echoes is not the user's
  int defaultId = 0;   // forms: the control id of the default button
  bool shown = false;  // forms: their showing was reported (FormShown)
};

class Win32Widgetset : public Widgetset {
 public:
  // Registers the window class of forms and containers. With a UI script
  // in `user`, the script's user acts on the real windows whenever the
  // program waits for input (and presses the default buttons once the
  // script is used up); with a transcript, what the windows showed and
  // what was done is recorded. Raises EUIScriptError for a bad script.
  explicit Win32Widgetset(headless::UserOptions user = {});
  ~Win32Widgetset() override;

  std::string_view Name() const override { return "win32"; }
  WSControl& Controls() override;
  WSForm& Forms() override;
  WSButton& Buttons() override;
  WSEdit& Edits() override;
  WSCheckBox& CheckBoxes() override;
  WSMemo& Memos() override;
  WSListBox& ListBoxes() override;
  WSProgressBar& ProgressBars() override;
  WSPageControl& PageControls() override;
  WSItemView& ItemViews() override;

  TSize ScreenSize() override;
  int CaptionHeight() override;
  int HorzScrollBarHeight() override;
  TRect FrameMargins(TFormBorderStyle style) override;
  TColor SysColor(int index) override;
  TSize TextExtent(const TFontData& font, std::string_view text) override;

  void ProcessMessages() override;
  bool HandleMessage(TCustomForm* modal) override;
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  void ShowError(const std::string& title, const std::string& message) override;
  void SetCursor(TCursor cursor) noexcept override;
  // The system's browse-for-folder dialog, extended (Win32FolderBrowser.cpp).
  bool BrowseForFolder(const FolderBrowserRequest& request, FolderBrowserClient& client) override;
  // LoadStringW from the library (loaded as data when not loaded yet).
  std::string SystemString(std::string_view library, unsigned id) override;

  // The window of `c` (null without a peer of this widgetset).
  static void* HandleOf(const TControl& c);
  // The class name of the forms' and containers' windows.
  static const wchar_t* FormClassName();

  // Top-level windows alive (used by the form family).
  std::set<void*>& TopLevels() noexcept { return topLevels_; }
  // Calls `report` once, with the milliseconds since the process started,
  // when a window of ours is first on the screen and fully painted (no
  // message pending). For measuring how fast a setup comes up.
  void ReportFirstPaint(std::function<void(long long ms)> report) {
    firstPaint_ = std::move(report);
  }

  // What the form family reports to the transcript.
  void FormShown(TCustomForm& form);
  void ModalStarted(TCustomForm& form);
  void ModalEnded(TCustomForm& form, TModalResult result);
  // What every family reports: `c` was painted at once (its Update).
  void Repainted(TControl& c);

 private:
  struct Families;
  // Hands one message to the dialog manager (Tab, Enter, Esc) or the
  // window procedure.
  void Dispatch(void* msg);
  // Reports the first paint when it is complete (see ReportFirstPaint).
  void CheckFirstPaint();
  // Sets up the user of the UI script and the transcript.
  void StartUser(headless::UserOptions options);
  // With a script and no input pending: one action of the scripted user on
  // the waiting form, and whether the loop goes on waiting. Nothing when
  // input is pending or nobody acts.
  std::optional<bool> ActWhenIdle(TCustomForm* modal);
  // A message box (or the error display) that the scripted user answers
  // with `answer` as soon as it is up.
  int ShowBox(const std::string& text, const std::string& caption, uint32_t flags,
              std::optional<int> answer);
  std::unique_ptr<Families> families_;
  std::set<void*> topLevels_;
  std::unique_ptr<headless::UserHands> hands_;
  std::unique_ptr<headless::ScriptedUser> user_;  // null: nobody records or acts
  bool scripted_ = false;
  std::function<void(long long)> firstPaint_;
};

}  // namespace platform::win32
