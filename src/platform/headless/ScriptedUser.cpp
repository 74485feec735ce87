// The scripted user (see ScriptedUser.h) and the headless hands.
#include "platform/headless/ScriptedUser.h"

#include <algorithm>
#include <cctype>

#include "framework/Application.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListView.h"
#include "framework/StrUtils.h"
#include "framework/TreeView.h"
#include "platform/headless/Transcript.h"

namespace platform::headless {
namespace {
// A caption as the user reads it: accelerator marks gone, blanks trimmed.
std::string Shown(std::string_view caption) {
  return Trim(StripAccelChars(caption));
}

bool SameShown(std::string_view a, std::string_view b) {
  return SameText(Shown(a), Shown(b));
}

// A caption without the decoration around its words ("< Previous",
// "Next >", "Browse..."), for scripts that name a button by its word.
std::string Bare(std::string_view caption) {
  std::string s = Shown(caption);
  auto isWordChar = [](unsigned char c) { return std::isalnum(c) || c >= 0x80; };
  size_t b = 0, e = s.size();
  while (b < e && !isWordChar(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && !isWordChar(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool IsIndex(const std::string& s, int count, int& index) {
  int32_t v = 0;
  if (!TryStrToInt(s, v) || v < 0 || v >= count) return false;
  index = v;
  return true;
}

// The item named `value` (its text, else its index), or -1.
int ItemIndexOf(const std::vector<std::string>& items, const std::string& value) {
  for (size_t i = 0; i < items.size(); ++i)
    if (SameShown(items[i], value)) return static_cast<int>(i);
  int index = -1;
  return IsIndex(value, static_cast<int>(items.size()), index) ? index : -1;
}

std::string List(const std::vector<std::string>& items) {
  std::string s;
  for (const std::string& i : items) s += (s.empty() ? "" : ", ") + ("\"" + i + "\"");
  return s.empty() ? "none" : s;
}

bool FormMatches(const TCustomForm& form, const std::string& target) {
  return SameText(form.Name(), target) || SameText(form.ClassName(), target) ||
         SameShown(form.Caption(), target);
}

TButton* DefaultButton(TCustomForm& form) {
  std::vector<TButton*> buttons;
  for (TControl* c : ControlsInReadingOrder(form))
    if (c->Is<TButton>() && c->Showing() && c->EffectivelyEnabled())
      buttons.push_back(static_cast<TButton*>(c));
  for (TButton* b : buttons)
    if (b->Default()) return b;
  for (TButton* b : buttons)
    if (b->ModalResult() == mrOk || b->ModalResult() == mrYes) return b;
  return nullptr;
}

JsonObject Action(const char* event, const TCustomForm& form) {
  JsonObject o;
  o.Str("event", event).Str("form", ControlId(form));
  return o;
}

void By(JsonObject& o, const UiStep* step) {
  if (step) {
    o.Str("by", "script").Int("line", step->line);
  } else {
    o.Str("by", "default");
  }
}
}  // namespace

void ScriptedUser::Fail(const UiStep& step, const std::string& reason) {
  throw EUIScriptError(script_.Where(step) + reason);
}

void ScriptedUser::AnswerModal(TCustomForm& form) {
  RecordIfChanged(form, true);
  int& answers = answers_[&form];
  if (++answers > options_.maxAnswersPerForm)
    throw EUIScriptError("Form " + ControlId(form) + " is still open after " +
                         std::to_string(options_.maxAnswersPerForm) +
                         " answers: neither the UI script nor its default button closes it");
  if (ApplyFormStep(form)) return;
  PressDefault(form);
}

bool ScriptedUser::ActIdle(TCustomForm& form) {
  RecordIfChanged(form, false);
  const UiStep* next = script_.Next();
  if (next && next->verb == UiStep::Verb::Await) {
    const int line = next->line;
    if (MessagesProcessed()) return true;
    // An idle program changes nothing, so the value can never come: the
    // wait ends (the step stays unused) and the forms stay open.
    Record(Action("stuck", form).Int("line", line).Text());
    return false;
  }
  if (next && next->verb != UiStep::Verb::Answer) {
    if (++answers_[&form] > options_.maxAnswersPerForm) return false;
    return ApplyFormStep(form);
  }
  // Nothing more for it: the user closes the window. A form that refuses
  // again and again ends the wait.
  if (++idleCloses_ > 3) {
    Record(Action("stuck", form).Text());
    return false;
  }
  JsonObject o = Action("close-window", form);
  By(o, nullptr);
  Record(o.Text());
  hands_.CloseWindow(form);
  return true;
}

bool ScriptedUser::ApplyFormStep(TCustomForm& form) {
  for (;;) {
    const UiStep* step = script_.Next();
    // While an `await` waits, whatever else comes up gets its default.
    if (!step || step->verb == UiStep::Verb::Await) return false;
    if (step->verb == UiStep::Verb::Answer)
      Fail(*step, "a message box answer, but form " + ControlId(form) + " (\"" + form.Caption() +
                      "\") is waiting");
    if (step->verb == UiStep::Verb::Form) {
      if (!FormMatches(form, step->target))
        Fail(*step, "expected form \"" + step->target + "\", but form " + ControlId(form) + " (\"" +
                        form.Caption() + "\") is waiting");
      script_.Consume();
      continue;
    }
    const UiStep copy = *step;
    script_.Consume();
    ApplyStep(form, copy);
    return true;
  }
}

void ScriptedUser::PressDefault(TCustomForm& form) {
  if (TButton* b = DefaultButton(form)) {
    JsonObject o = Action("press", form);
    o.Str("control", ControlId(*b)).Str("text", b->Caption());
    By(o, nullptr);
    Record(o.Text());
    hands_.Click(*b);
    return;
  }
  JsonObject o = Action("close-window", form);
  By(o, nullptr);
  Record(o.Text());
  hands_.CloseWindow(form);
}

TControl* ScriptedUser::LookUp(TCustomForm& form, const std::string& target) {
  std::vector<TControl*> shown;
  for (TControl* c : ControlsInReadingOrder(form))
    if (c->Showing()) shown.push_back(c);
  for (TControl* c : shown)
    if (SameText(c->Name(), target)) return c;
  for (TControl* c : shown)
    if (!c->Caption().empty() && SameShown(c->Caption(), target)) return c;
  for (TControl* c : shown)
    if (!Bare(c->Caption()).empty() && SameText(Bare(c->Caption()), Bare(target))) return c;
  return nullptr;
}

TControl* ScriptedUser::FindControl(TCustomForm& form, const UiStep& step, bool mustBeEnabled) {
  TControl* found = LookUp(form, step.target);
  if (!found) Fail(step, "no visible control \"" + step.target + "\" on form " + ControlId(form));
  if (mustBeEnabled && !found->EffectivelyEnabled())
    Fail(step, "control " + ControlId(*found) + " on form " + ControlId(form) + " is disabled");
  return found;
}

void ScriptedUser::ApplyStep(TCustomForm& form, const UiStep& step) {
  JsonObject o = Action(UiScript::VerbName(step.verb), form);
  switch (step.verb) {
    case UiStep::Verb::Press: {
      TControl* c = FindControl(form, step, true);
      o.Str("control", ControlId(*c)).Str("text", c->Caption());
      By(o, &step);
      Record(o.Text());
      hands_.Click(*c);
      return;
    }
    case UiStep::Verb::Type: {
      TControl* c = FindControl(form, step, true);
      if (c->Is<TCustomEdit>()) {
        if (static_cast<TCustomEdit*>(c)->ReadOnly())
          Fail(step, "edit " + ControlId(*c) + " is read-only");
      } else if (!c->Is<TComboBox>() || static_cast<TComboBox*>(c)->Style() == csDropDownList) {
        Fail(step, "control " + ControlId(*c) + " takes no typing");
      }
      o.Str("control", ControlId(*c)).Str("text", step.value);
      By(o, &step);
      Record(o.Text());
      hands_.Type(*static_cast<TWinControl*>(c), step.value);
      return;
    }
    case UiStep::Verb::Tick:
    case UiStep::Verb::Untick: {
      const bool tick = step.verb == UiStep::Verb::Tick;
      TControl* c = FindControl(form, step, true);
      o.Str("control", ControlId(*c)).Str("text", c->Caption());
      By(o, &step);
      if (c->Is<TCustomCheckBox>()) {
        auto* box = static_cast<TCustomCheckBox*>(c);
        Record(o.Text());
        const TCheckBoxState want = tick ? cbChecked : cbUnchecked;
        for (int i = 0; i < 3 && box->State() != want; ++i) hands_.Click(*box);
      } else if (c->Is<TRadioButton>()) {
        if (!tick) Fail(step, "radio button " + ControlId(*c) + " cannot be unticked");
        Record(o.Text());
        if (!static_cast<TRadioButton*>(c)->Checked()) hands_.Click(*c);
      } else {
        Fail(step, "control " + ControlId(*c) + " is not a check box");
      }
      return;
    }
    case UiStep::Verb::Pick: {
      TControl* c = FindControl(form, step, true);
      std::vector<std::string> items;
      int index = -1;
      if (c->Is<TCustomRadioGroup>()) {
        items = static_cast<TCustomRadioGroup*>(c)->Items()->ToVector();
      } else if (c->Is<TCustomListBox>()) {
        items = static_cast<TCustomListBox*>(c)->Items()->ToVector();
      } else if (c->Is<TPageControl>()) {
        const std::vector<TTabSheet*> tabs = static_cast<TPageControl*>(c)->TabSheets();
        for (const TTabSheet* s : tabs) items.push_back(s->Caption());
        for (size_t i = 0; i < tabs.size() && index < 0; ++i)
          if (SameText(tabs[i]->Name(), step.value)) index = static_cast<int>(i);
      } else if (c->Is<TTreeView>()) {
        auto* t = static_cast<TTreeView*>(c);
        for (int i = 0; i < t->Items()->Count(); ++i) items.push_back(t->Items()->Item(i)->Text());
      } else if (c->Is<TListView>()) {
        auto* v = static_cast<TListView*>(c);
        for (int i = 0; i < v->Items()->Count(); ++i)
          items.push_back(v->Items()->Item(i)->Caption());
      } else {
        Fail(step, "control " + ControlId(*c) + " has no items to pick");
      }
      if (index < 0) index = ItemIndexOf(items, step.value);
      if (index < 0)
        Fail(step, "control " + ControlId(*c) + " has no item \"" + step.value +
                       "\" (items: " + List(items) + ")");
      o.Str("control", ControlId(*c))
          .Str("item", items[static_cast<size_t>(index)])
          .Int("index", index);
      By(o, &step);
      Record(o.Text());
      hands_.Select(*c, index);
      return;
    }
    case UiStep::Verb::Close:
      o = Action("close-window", form);
      By(o, &step);
      Record(o.Text());
      hands_.CloseWindow(form);
      return;
    case UiStep::Verb::Form:
    case UiStep::Verb::Answer:
    case UiStep::Verb::Await:
      break;
  }
}

int ScriptedUser::ChooseAnswer(const std::string& caption, uint32_t flags, UiStep& used) {
  used = UiStep{};
  const UiStep* step = script_.Next();
  if (!step || step->verb != UiStep::Verb::Answer) return DefaultMessageBoxAnswer(flags);
  const MessageBoxButtons buttons = ButtonsOfMessageBox(flags);
  const int wanted = MessageBoxAnswerFromName(step->target);
  if (std::find(buttons.ids, buttons.ids + buttons.count, wanted) == buttons.ids + buttons.count) {
    std::vector<std::string> names;
    for (int i = 0; i < buttons.count; ++i) names.push_back(MessageBoxAnswerName(buttons.ids[i]));
    Fail(*step, "the message box \"" + caption + "\" has no " + step->target + " button (it has " +
                    List(names) + ")");
  }
  used = *step;
  script_.Consume();
  return wanted;
}

void ScriptedUser::MessageShown(const std::string& text, const std::string& caption, uint32_t flags,
                                int answer, const UiStep& used, const char* by) {
  const MessageBoxButtons buttons = ButtonsOfMessageBox(flags);
  std::vector<std::string> names;
  for (int i = 0; i < buttons.count; ++i) names.push_back(MessageBoxAnswerName(buttons.ids[i]));
  JsonObject o;
  o.Str("event", "message").Str("caption", caption).Str("text", text).Strings("buttons", names);
  o.Str("answer", MessageBoxAnswerName(answer));
  o.Str("by", by);
  if (used.line) o.Int("line", used.line);
  Record(o.Text());
  // Without a transcript the error output is the only place a box can be
  // seen (a build that fails shows its reason in one).
  if (!options_.transcript && options_.errors)
    options_.errors(caption.empty() ? text : caption + ": " + text);
}

ScriptedUser::ScriptedUser(const UserOptions& options, UserHands& hands, ShownText shown)
    : options_(options),
      hands_(hands),
      shown_(std::move(shown)),
      script_(UiScript::Parse(options_.script, options_.scriptName)) {}

ScriptedUser::~ScriptedUser() {
  try {
    for (const UiStep& step : script_.Remaining())
      Record(JsonObject()
                 .Str("event", "unused")
                 .Int("line", step.line)
                 .Str("step", step.source)
                 .Text());
  } catch (...) {
    // A transcript that cannot be written any more loses these lines.
  }
}

void ScriptedUser::Record(const std::string& json) {
  if (options_.transcript) options_.transcript(json);
}

void ScriptedUser::ErrorShown(const std::string& title, const std::string& message) {
  if (options_.errors) options_.errors((title.empty() ? "" : title + ": ") + message);
  Record(JsonObject().Str("event", "error").Str("title", title).Str("message", message).Text());
}

void ScriptedUser::FormShown(TCustomForm& form) {
  if (form.Parent() || form.Modal()) return;  // modal forms are recorded when answered
  const std::string record = DescribeForm(form, false, shown_);
  lastRecorded_[&form] = record;
  Record(record);
}

void ScriptedUser::ModalStarted(TCustomForm& form) {
  lastRecorded_.erase(&form);
  answers_[&form] = 0;
}

void ScriptedUser::ModalEnded(TCustomForm& form, TModalResult result) {
  if (!lastRecorded_.count(&form)) RecordIfChanged(form, true);
  const char* name = ModalResultName(result);
  JsonObject o;
  o.Str("event", "close").Str("form", ControlId(form));
  if (*name)
    o.Str("result", name);
  else
    o.Int("result", result);
  Record(o.Text());
  lastRecorded_.erase(&form);
  answers_.erase(&form);
}

void ScriptedUser::RecordIfChanged(TCustomForm& form, bool modal) {
  std::string record = DescribeForm(form, modal, shown_);
  auto it = lastRecorded_.find(&form);
  if (it != lastRecorded_.end() && it->second == record) return;
  Record(record);
  lastRecorded_[&form] = std::move(record);
}

void ScriptedUser::Repainted(TControl& control) {
  if (!options_.transcript) return;
  TCustomForm* form = control.ParentForm();
  if (!form || form->Modal() || !form->Showing()) return;
  RecordIfChanged(*form, false);
}

bool ScriptedUser::Shows(const TControl& c, const UiStep& step) {
  if (c.Is<TProgressBar>()) {
    int32_t percent = 0;
    if (!TryStrToInt(Trim(step.value), percent) || percent < 0 || percent > 100)
      Fail(step, "progress bar " + ControlId(c) + " is awaited as a number from 0 to 100, not \"" +
                     step.value + "\"");
    // A share of the bar's range, so bars counting bytes or files await
    // the same way as those counting percent; an empty range is full.
    const auto& bar = static_cast<const TProgressBar&>(c);
    const long long range = static_cast<long long>(bar.Max()) - bar.Min();
    const long long done = static_cast<long long>(bar.Position()) - bar.Min();
    if (range <= 0) return true;
    return done * 100 >= percent * range;
  }
  std::optional<std::string> text = shown_ ? shown_(c) : std::nullopt;
  return SameShown(text ? *text : c.Caption(), step.value);
}

bool ScriptedUser::MessagesProcessed() {
  const UiStep* next = script_.Next();
  if (!next || next->verb != UiStep::Verb::Await) return false;
  const UiStep await = *next;
  TCustomForm* form = nullptr;
  TControl* control = nullptr;
  for (int i = 0; i < Screen().FormCount() && !form; ++i) {
    TCustomForm* f = Screen().Forms(i);
    if (f->Parent() || f->Modal() || !f->Showing()) continue;
    if (TControl* c = LookUp(*f, await.target); c && Shows(*c, await)) {
      form = f;
      control = c;
    }
  }
  if (!form) return false;
  script_.Consume();
  RecordIfChanged(*form, false);
  Record(Action("await", *form)
             .Str("control", ControlId(*control))
             .Str("value", await.value)
             .Int("line", await.line)
             .Text());
  // The step after it acts at that very moment, on that form.
  const UiStep* then = script_.Next();
  if (then && then->verb != UiStep::Verb::Form && then->verb != UiStep::Verb::Close &&
      then->verb != UiStep::Verb::Answer && then->verb != UiStep::Verb::Await) {
    const UiStep step = *then;
    script_.Consume();
    ApplyStep(*form, step);
  }
  return true;
}

void ModelHands::Click(TControl& c) {
  c.WidgetClick();
}

void ModelHands::Type(TWinControl& c, const std::string& text) {
  c.WidgetText(text);
}

void ModelHands::Select(TControl& c, int index) {
  if (c.Is<TCustomRadioGroup>()) {
    static_cast<TCustomRadioGroup&>(c).WidgetSelect(index);
  } else if (c.Is<TCustomListBox>()) {
    static_cast<TCustomListBox&>(c).WidgetSelect(index);
  } else if (c.Is<TPageControl>()) {
    auto& p = static_cast<TPageControl&>(c);
    p.WidgetSelectPage(p.TabSheets().at(static_cast<size_t>(index)));
  } else if (c.Is<TTreeView>()) {
    auto& t = static_cast<TTreeView&>(c);
    t.WidgetSelect(t.Items()->Item(index));
  } else if (c.Is<TListView>()) {
    auto& v = static_cast<TListView&>(c);
    v.WidgetSelect(v.Items()->Item(index));
  }
}

void ModelHands::CloseWindow(TCustomForm& form) {
  form.WidgetClose();
}

}  // namespace platform::headless
