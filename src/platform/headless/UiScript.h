// The UI script: the answers a headless run gives to its forms and message
// boxes, one step per line (docs/ui-script.md):
//   form NAME          the next waiting form must be NAME (name, class or
//                      caption); a check, not an action
//   press CONTROL      click a button (or any control) by name or caption
//   type CONTROL TEXT  type TEXT into an edit (replacing its text)
//   tick CONTROL       check a check box or radio button
//   untick CONTROL     uncheck a check box
//   pick CONTROL ITEM  select ITEM (text, else index) of a radio group,
//                      list, combo box, page control, tree or list view
//   close              close the waiting form by its title bar
//   answer BUTTON      answer a message box: OK, Cancel, Yes, No, Abort,
//                      Retry or Ignore
//   await CONTROL VALUE  wait until CONTROL on a showing modeless form
//                      shows VALUE (a progress bar: at least VALUE
//                      percent; else its text); the next form step then
//                      acts on that form at once
// Blank lines and lines starting with '#' are skipped; an empty script
// answers nothing (every form gets its default answer). An argument is a
// word, or a double-quoted text ("" inside stands for one quote); the last
// argument of type and pick may also be the rest of the line, unquoted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Exception.h"

namespace platform::headless {

// A script that cannot be read, or that does not fit what the program
// shows. The message names the script and the line.
class EUIScriptError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EUIScriptError"; }
};

struct UiStep {
  enum class Verb { Form, Press, Type, Tick, Untick, Pick, Close, Answer, Await };
  Verb verb = Verb::Press;
  std::string target;  // form, control or answer
  std::string value;   // the text typed, the item picked or the value awaited
  int line = 0;        // 1-based
  std::string source;  // the line as written, trimmed
};

class UiScript {
 public:
  UiScript() = default;
  // Parses the whole script; EUIScriptError "<name>, line <n>: <reason>"
  // for the first bad line. The text is UTF-8, a leading byte-order mark
  // skipped; UTF-16 raises "<name>: UTF-16 is not supported ...".
  static UiScript Parse(std::string_view text, const std::string& name);

  const std::string& Name() const noexcept { return name_; }
  // The next step, or null when the script is used up.
  const UiStep* Next() const noexcept { return pos_ < steps_.size() ? &steps_[pos_] : nullptr; }
  void Consume() noexcept {
    if (pos_ < steps_.size()) ++pos_;
  }
  // The steps not consumed yet.
  std::vector<UiStep> Remaining() const;
  // "<name>, line <n>: <reason>" for errors about a step.
  std::string Where(const UiStep& step) const;

  static const char* VerbName(UiStep::Verb verb) noexcept;

 private:
  std::string name_;
  std::vector<UiStep> steps_;
  size_t pos_ = 0;
};

}  // namespace platform::headless
