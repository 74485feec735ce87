// The headless widgetset's "user": answers modal forms and message boxes
// from the UI script or with their default buttons, acts on idle forms,
// and writes what it does to the transcript (see HeadlessWidgetset.h).
#include <algorithm>
#include <cctype>

#include "framework/Application.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ListView.h"
#include "framework/StrUtils.h"
#include "framework/TreeView.h"
#include "platform/headless/HeadlessWidgetset.h"
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

void HeadlessWidgetset::Fail(const UiStep& step, const std::string& reason) {
  throw EUIScriptError(script_.Where(step) + reason);
}

bool HeadlessWidgetset::HandleMessage(TCustomForm* modal) {
  if (HasPosted()) {
    RunPosted();
    return true;
  }
  if (modal) {
    if (modal->ModalResult() == mrNone) AnswerModal(*modal);
    return true;
  }
  TCustomForm* form = Screen().ActiveForm();
  if (!form || !form->Showing() || form->Parent()) form = Application().MainForm();
  if (!form || !form->Showing()) return false;
  return ActIdle(*form);
}

void HeadlessWidgetset::AnswerModal(TCustomForm& form) {
  RecordIfChanged(form, true);
  int& answers = answers_[&form];
  if (++answers > options_.maxAnswersPerForm)
    throw EUIScriptError("Form " + ControlId(form) + " is still open after " +
                         std::to_string(options_.maxAnswersPerForm) +
                         " answers: neither the UI script nor its default button closes it");
  if (ApplyFormStep(form)) return;
  PressDefault(form);
}

bool HeadlessWidgetset::ActIdle(TCustomForm& form) {
  RecordIfChanged(form, false);
  const UiStep* next = script_.Next();
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
  form.WidgetClose();
  return true;
}

bool HeadlessWidgetset::ApplyFormStep(TCustomForm& form) {
  for (;;) {
    const UiStep* step = script_.Next();
    if (!step) return false;
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

void HeadlessWidgetset::PressDefault(TCustomForm& form) {
  if (TButton* b = DefaultButton(form)) {
    JsonObject o = Action("press", form);
    o.Str("control", ControlId(*b)).Str("text", b->Caption());
    By(o, nullptr);
    Record(o.Text());
    b->WidgetClick();
    return;
  }
  JsonObject o = Action("close-window", form);
  By(o, nullptr);
  Record(o.Text());
  form.WidgetClose();
}

TControl* HeadlessWidgetset::FindControl(TCustomForm& form, const UiStep& step,
                                         bool mustBeEnabled) {
  std::vector<TControl*> shown;
  for (TControl* c : ControlsInReadingOrder(form))
    if (c->Showing()) shown.push_back(c);
  TControl* found = nullptr;
  for (TControl* c : shown)
    if (!found && SameText(c->Name(), step.target)) found = c;
  for (TControl* c : shown)
    if (!found && !c->Caption().empty() && SameShown(c->Caption(), step.target)) found = c;
  for (TControl* c : shown)
    if (!found && !Bare(c->Caption()).empty() && SameText(Bare(c->Caption()), Bare(step.target)))
      found = c;
  if (!found) Fail(step, "no visible control \"" + step.target + "\" on form " + ControlId(form));
  if (mustBeEnabled && !found->EffectivelyEnabled())
    Fail(step, "control " + ControlId(*found) + " on form " + ControlId(form) + " is disabled");
  return found;
}

void HeadlessWidgetset::ApplyStep(TCustomForm& form, const UiStep& step) {
  JsonObject o = Action(UiScript::VerbName(step.verb), form);
  switch (step.verb) {
    case UiStep::Verb::Press: {
      TControl* c = FindControl(form, step, true);
      o.Str("control", ControlId(*c)).Str("text", c->Caption());
      By(o, &step);
      Record(o.Text());
      c->WidgetClick();
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
      static_cast<TWinControl*>(c)->WidgetText(step.value);
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
        for (int i = 0; i < 3 && box->State() != want; ++i) box->WidgetClick();
      } else if (c->Is<TRadioButton>()) {
        if (!tick) Fail(step, "radio button " + ControlId(*c) + " cannot be unticked");
        Record(o.Text());
        if (!static_cast<TRadioButton*>(c)->Checked()) c->WidgetClick();
      } else {
        Fail(step, "control " + ControlId(*c) + " is not a check box");
      }
      return;
    }
    case UiStep::Verb::Pick: {
      TControl* c = FindControl(form, step, true);
      std::vector<std::string> items;
      int index = -1;
      std::function<void()> select;
      if (c->Is<TCustomRadioGroup>()) {
        auto* g = static_cast<TCustomRadioGroup*>(c);
        items = g->Items()->ToVector();
        index = ItemIndexOf(items, step.value);
        select = [g, &index] { g->WidgetSelect(index); };
      } else if (c->Is<TCustomListBox>()) {
        auto* l = static_cast<TCustomListBox*>(c);
        items = l->Items()->ToVector();
        index = ItemIndexOf(items, step.value);
        select = [l, &index] { l->WidgetSelect(index); };
      } else if (c->Is<TPageControl>()) {
        auto* p = static_cast<TPageControl*>(c);
        const std::vector<TTabSheet*> tabs = p->TabSheets();
        for (const TTabSheet* s : tabs) items.push_back(s->Caption());
        for (size_t i = 0; i < tabs.size() && index < 0; ++i)
          if (SameText(tabs[i]->Name(), step.value)) index = static_cast<int>(i);
        if (index < 0) index = ItemIndexOf(items, step.value);
        select = [p, tabs, &index] { p->WidgetSelectPage(tabs[static_cast<size_t>(index)]); };
      } else if (c->Is<TTreeView>()) {
        auto* t = static_cast<TTreeView*>(c);
        std::vector<TTreeNode*> nodes;
        for (int i = 0; i < t->Items()->Count(); ++i) nodes.push_back(t->Items()->Item(i));
        for (const TTreeNode* n : nodes) items.push_back(n->Text());
        index = ItemIndexOf(items, step.value);
        select = [t, nodes, &index] { t->WidgetSelect(nodes[static_cast<size_t>(index)]); };
      } else if (c->Is<TListView>()) {
        auto* v = static_cast<TListView*>(c);
        for (int i = 0; i < v->Items()->Count(); ++i)
          items.push_back(v->Items()->Item(i)->Caption());
        index = ItemIndexOf(items, step.value);
        select = [v, &index] { v->WidgetSelect(v->Items()->Item(index)); };
      } else {
        Fail(step, "control " + ControlId(*c) + " has no items to pick");
      }
      if (index < 0)
        Fail(step, "control " + ControlId(*c) + " has no item \"" + step.value +
                       "\" (items: " + List(items) + ")");
      o.Str("control", ControlId(*c))
          .Str("item", items[static_cast<size_t>(index)])
          .Int("index", index);
      By(o, &step);
      Record(o.Text());
      select();
      return;
    }
    case UiStep::Verb::Close:
      o = Action("close-window", form);
      By(o, &step);
      Record(o.Text());
      form.WidgetClose();
      return;
    case UiStep::Verb::Form:
    case UiStep::Verb::Answer:
      break;
  }
}

int HeadlessWidgetset::MessageBox(const std::string& text, const std::string& caption,
                                  uint32_t flags) {
  const MessageBoxButtons buttons = ButtonsOfMessageBox(flags);
  std::vector<std::string> names;
  for (int i = 0; i < buttons.count; ++i) names.push_back(MessageBoxAnswerName(buttons.ids[i]));
  int answer = DefaultMessageBoxAnswer(flags);
  const UiStep* step = script_.Next();
  UiStep used;
  if (step && step->verb == UiStep::Verb::Answer) {
    used = *step;
    const int wanted = MessageBoxAnswerFromName(step->target);
    if (std::find(buttons.ids, buttons.ids + buttons.count, wanted) == buttons.ids + buttons.count)
      Fail(*step, "the message box \"" + caption + "\" has no " + step->target +
                      " button (it has " + List(names) + ")");
    answer = wanted;
    script_.Consume();
  }
  JsonObject o;
  o.Str("event", "message").Str("caption", caption).Str("text", text).Strings("buttons", names);
  o.Str("answer", MessageBoxAnswerName(answer));
  By(o, used.line ? &used : nullptr);
  Record(o.Text());
  // Without a transcript the error output is the only place a box can be
  // seen (a build that fails shows its reason in one).
  if (!options_.transcript && options_.errors)
    options_.errors(caption.empty() ? text : caption + ": " + text);
  return answer;
}

}  // namespace platform::headless
