// The scripted user: answers modal forms and message boxes from the UI
// script or with their default buttons, acts on idle forms, and writes
// what it saw and did to the transcript. Both widgetsets use it: the
// headless one hands its actions straight to the control model, the Win32
// one does them to the real windows (a real click, real typing), so a
// script steers either the same way and their transcripts compare.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "framework/ControlTypes.h"
#include "platform/headless/Transcript.h"
#include "platform/headless/UiScript.h"

class TControl;
class TCustomForm;
class TWinControl;

namespace platform::headless {

// How the user's actions reach the controls.
class UserHands {
 public:
  virtual ~UserHands() = default;
  virtual void Click(TControl& c) = 0;
  // Replaces the text of an edit, memo or combo box.
  virtual void Type(TWinControl& c, const std::string& text) = 0;
  // Selects item `index` of a radio group, list, combo box, page control
  // (its tab sheets), tree view (its nodes in order) or list view.
  virtual void Select(TControl& c, int index) = 0;
  // The title bar's close button.
  virtual void CloseWindow(TCustomForm& form) = 0;
};

struct UserOptions {
  // The UI script's text (empty: none) and its name for messages.
  std::string script;
  std::string scriptName = "UI script";
  // Receives each transcript line (without a line break); null: none.
  std::function<void(std::string_view line)> transcript;
  // The default error display's output; null: none. Without a transcript
  // it also gets every message box ("<caption>: <text>"), so a run without
  // a transcript still tells its user what it showed.
  std::function<void(std::string_view text)> errors;
  // Answers one modal form may take before the run is declared stuck.
  int maxAnswersPerForm = 1000;
};

class ScriptedUser {
 public:
  // Raises EUIScriptError when the script does not parse.
  ScriptedUser(const UserOptions& options, UserHands& hands, ShownText shown = nullptr);
  // Records the script steps never used ("unused" records).
  ~ScriptedUser();
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  const UiScript& Script() const noexcept { return script_; }
  void Record(const std::string& json);

  // What the widgetset reports: a modeless form shown, a modal loop's start
  // and end, an error the application displays.
  void FormShown(TCustomForm& form);
  void ModalStarted(TCustomForm& form);
  void ModalEnded(TCustomForm& form, TModalResult result);
  void ErrorShown(const std::string& title, const std::string& message);
  // Records the form when its visible texts changed since last time.
  void RecordIfChanged(TCustomForm& form, bool modal);
  // A control was painted at once (the model's Update or Repaint): its
  // form, when that is a showing, modeless top-level form, is recorded if
  // what it shows changed. Costs nothing without a transcript.
  void Repainted(TControl& control);
  // The program let its messages through (a long operation's progress
  // step): an `await` step that is next is checked and, when met, used with
  // the form step after it. True when it was met.
  bool MessagesProcessed();

  // One answer for a modal form still open (script step or default
  // button).
  void AnswerModal(TCustomForm& form);
  // One action on an idle, modeless form; false when it cannot be acted
  // on any more (the run loop then stops waiting).
  bool ActIdle(TCustomForm& form);

  // A message box: the answer the next script step gives (consumed), else
  // the default one; `used` gets the step (line 0: the default).
  int ChooseAnswer(const std::string& caption, uint32_t flags, UiStep& used);
  // Records a message box and its answer; `by` is "script", "default" or
  // "user" (a person answered it on the screen).
  void MessageShown(const std::string& text, const std::string& caption, uint32_t flags, int answer,
                    const UiStep& used, const char* by);

 private:
  bool ApplyFormStep(TCustomForm& form);
  void ApplyStep(TCustomForm& form, const UiStep& step);
  void PressDefault(TCustomForm& form);
  TControl* FindControl(TCustomForm& form, const UiStep& step, bool mustBeEnabled);
  // The showing control `target` names on `form`, or null.
  static TControl* LookUp(TCustomForm& form, const std::string& target);
  // Whether `c` shows what the `await` step waits for.
  bool Shows(const TControl& c, const UiStep& step);
  [[noreturn]] void Fail(const UiStep& step, const std::string& reason);

  UserOptions options_;
  UserHands& hands_;
  ShownText shown_;
  UiScript script_;
  std::map<const TCustomForm*, std::string> lastRecorded_;
  std::map<const TCustomForm*, int> answers_;
  int idleCloses_ = 0;
};

// The headless hands: the model's own guarded entry points.
class ModelHands : public UserHands {
 public:
  void Click(TControl& c) override;
  void Type(TWinControl& c, const std::string& text) override;
  void Select(TControl& c, int index) override;
  void CloseWindow(TCustomForm& form) override;
};

}  // namespace platform::headless
