// The headless widgetset: no windows, the same behaviour on both builds.
// Peers record what the control model pushes to them; painting goes to a
// recording canvas; text is measured with the fixed metrics. Modal forms
// and message boxes are answered at once, from the UI script (UiScript.h)
// or, without one or when it is used up, by their default button; every
// form shown, every answer and every message box is written to the
// transcript (Transcript.h). Errors the application displays go to the
// error output and the transcript; message boxes go to the error output
// too when there is no transcript.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Widgetset.h"
#include "platform/headless/RecordingCanvas.h"
#include "platform/headless/ScriptedUser.h"
#include "platform/headless/UiScript.h"

class TWinControl;

namespace platform::headless {

// What the control model pushed to one control's peer: the last value of
// each property (as text: "Bounds" -> "0 0 75 25", "Text" -> "OK" ...),
// how many pushes there were, and how often the control was invalidated.
class HeadlessPeer : public Peer {
 public:
  std::map<std::string, std::string> state;
  int pushes = 0;
  int invalidations = 0;
  bool focused = false;
};

struct HeadlessOptions : UserOptions {
  // Screen metrics; by default those of the platform backend's machine
  // (800 x 600 with an 18-pixel caption when there is none).
  std::optional<TSize> screen;
  std::optional<int> captionHeight;
};

class HeadlessWidgetset : public Widgetset {
 public:
  // Raises EUIScriptError when the script does not parse.
  explicit HeadlessWidgetset(HeadlessOptions options = {});
  ~HeadlessWidgetset() override;

  std::string_view Name() const override { return "headless"; }
  WSControl& Controls() override;
  WSForm& Forms() override;
  WSButton& Buttons() override;
  WSCheckBox& CheckBoxes() override;
  WSEdit& Edits() override;
  WSMemo& Memos() override;
  WSListBox& ListBoxes() override;
  WSProgressBar& ProgressBars() override;
  WSPageControl& PageControls() override;
  WSItemView& ItemViews() override;

  TSize ScreenSize() override;
  int CaptionHeight() override;

  // Posted work, then an `await` step that is next is checked.
  void ProcessMessages() override;
  // Posted work first; then, for a modal form still open, one answer;
  // for the run loop, one scripted action on the active form, or closing
  // it when the script has none. False when nothing is left to act on.
  bool HandleMessage(TCustomForm* modal) override;
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  // A modal form "FolderBrowser" (HeadlessFolderBrowser.cpp).
  bool BrowseForFolder(const FolderBrowserRequest& request, FolderBrowserClient& client) override;
  void ShowError(const std::string& title, const std::string& message) override;

  // Paints `c` now and returns what it drew.
  RecordingCanvas Paint(TControl& c);
  // The peer of `c` (null without one).
  static HeadlessPeer* PeerOf(const TControl& c);

  // Writes one transcript line.
  void Record(const std::string& json) { user_.Record(json); }
  const UiScript& Script() const noexcept { return user_.Script(); }

  // Used by the form family.
  void FormShown(TCustomForm& form);
  void ModalStarted(TCustomForm& form) { user_.ModalStarted(form); }
  void ModalEnded(TCustomForm& form, TModalResult result) { user_.ModalEnded(form, result); }
  // Used by every family: a control painted at once.
  void Repainted(TControl& c) { user_.Repainted(c); }

 private:
  struct Families;
  HeadlessOptions options_;
  ModelHands hands_;
  ScriptedUser user_;
  std::unique_ptr<Families> families_;
};

}  // namespace platform::headless
