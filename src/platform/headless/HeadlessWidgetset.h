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

struct HeadlessOptions {
  // The UI script's text (empty: none) and its name for messages.
  std::string script;
  std::string scriptName = "UI script";
  // Receives each transcript line (without a line break); null: none.
  std::function<void(std::string_view line)> transcript;
  // The default error display's output; null: none. Without a transcript
  // it also gets every message box ("<caption>: <text>"), so a run without
  // a transcript still tells its user what it showed.
  std::function<void(std::string_view text)> errors;
  // Screen metrics; by default those of the platform backend's machine
  // (800 x 600 with an 18-pixel caption when there is none).
  std::optional<TSize> screen;
  std::optional<int> captionHeight;
  // Answers one modal form may take before the run is declared stuck.
  int maxAnswersPerForm = 1000;
};

class HeadlessWidgetset : public Widgetset {
 public:
  // Raises EUIScriptError when the script does not parse.
  explicit HeadlessWidgetset(HeadlessOptions options = {});
  // Records the script steps never used ("unused" records).
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

  void ProcessMessages() override;
  // Posted work first; then, for a modal form still open, one answer;
  // for the run loop, one scripted action on the active form, or closing
  // it when the script has none. False when nothing is left to act on.
  bool HandleMessage(TCustomForm* modal) override;
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  void ShowError(const std::string& title, const std::string& message) override;

  // Paints `c` now and returns what it drew.
  RecordingCanvas Paint(TControl& c);
  // The peer of `c` (null without one).
  static HeadlessPeer* PeerOf(const TControl& c);

  // Writes one transcript line.
  void Record(const std::string& json);
  const UiScript& Script() const noexcept { return script_; }

  // Used by the form family.
  void FormShown(TCustomForm& form);
  void ModalStarted(TCustomForm& form);
  void ModalEnded(TCustomForm& form, TModalResult result);

 private:
  struct Families;
  // One answer for a modal form (script step or default button).
  void AnswerModal(TCustomForm& form);
  // One action on an idle, modeless form; false when it cannot be acted on.
  bool ActIdle(TCustomForm& form);
  // Applies the next script step if it is meant for a form; false when it
  // is not (no step, or a message-box answer).
  bool ApplyFormStep(TCustomForm& form);
  void ApplyStep(TCustomForm& form, const UiStep& step);
  void PressDefault(TCustomForm& form);
  // Records the form when its visible texts changed since last time.
  void RecordIfChanged(TCustomForm& form, bool modal);
  TControl* FindControl(TCustomForm& form, const UiStep& step, bool mustBeEnabled);
  [[noreturn]] void Fail(const UiStep& step, const std::string& reason);

  HeadlessOptions options_;
  UiScript script_;
  std::unique_ptr<Families> families_;
  std::map<const TCustomForm*, std::string> lastRecorded_;
  std::map<const TCustomForm*, int> answers_;
  int idleCloses_ = 0;
};

}  // namespace platform::headless
