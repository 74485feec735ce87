// Transcript records and form descriptions (see Transcript.h).
#include "platform/headless/Transcript.h"

#include <algorithm>
#include <cstdio>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"
#include "framework/Utf8.h"

namespace platform::headless {

std::string JsonObject::Quote(std::string_view s) {
  std::string out = "\"";
  for (size_t pos = 0; pos < s.size();) {
    char32_t cp = 0;
    const size_t n = Utf8Next(s, pos, &cp);
    switch (cp) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (cp < 0x20 || cp == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(cp));
          out += buf;
        } else {
          AppendUtf8(out, cp);
        }
    }
    pos += n;
  }
  return out + "\"";
}

void JsonObject::Key(std::string_view key) {
  if (!body_.empty()) body_ += ",";
  body_ += Quote(key) + ":";
}

JsonObject& JsonObject::Str(std::string_view key, std::string_view value) {
  Key(key);
  body_ += Quote(value);
  return *this;
}

JsonObject& JsonObject::Int(std::string_view key, long long value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) {
  Key(key);
  body_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::Strings(std::string_view key, const std::vector<std::string>& values) {
  std::string arr = "[";
  for (size_t i = 0; i < values.size(); ++i) arr += (i ? "," : "") + Quote(values[i]);
  return Raw(key, arr + "]");
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  Key(key);
  body_ += json;
  return *this;
}

std::string ControlId(const TControl& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

namespace {
std::vector<std::string> Lines(const TStrings& s) {
  return s.ToVector();
}

// Adds the fields of `c` to `o`; false when the control has nothing to show.
bool Describe(const TControl& c, JsonObject& o, const ShownText& shown) {
  // What the user reads: the screen's text where the widgetset has one.
  auto text = [&](const std::string& model) {
    std::optional<std::string> s = shown ? shown(c) : std::nullopt;
    return s ? *s : model;
  };
  auto base = [&] {
    o.Str("class", c.ClassName());
    if (!c.Name().empty()) o.Str("name", c.Name());
  };
  auto disabled = [&] {
    if (!c.EffectivelyEnabled()) o.Bool("enabled", false);
  };
  if (c.Is<TGroupButton>() || c.Is<TTabSheet>() || c.Is<TCustomForm>()) return false;
  if (c.Is<TCustomLabel>()) {
    base();
    o.Str("text", text(c.Caption()));
  } else if (c.Is<TButton>()) {
    const auto& b = static_cast<const TButton&>(c);
    base();
    o.Str("text", text(b.Caption()));
    if (b.Default()) o.Bool("default", true);
    if (b.Cancel()) o.Bool("cancel", true);
    disabled();
  } else if (c.Is<TCustomCheckBox>()) {
    const auto& b = static_cast<const TCustomCheckBox&>(c);
    base();
    o.Str("text", text(b.Caption()));
    if (b.State() == cbGrayed)
      o.Str("checked", "grayed");
    else
      o.Bool("checked", b.Checked());
    disabled();
  } else if (c.Is<TRadioButton>()) {
    base();
    o.Str("text", text(c.Caption()));
    o.Bool("checked", static_cast<const TRadioButton&>(c).Checked());
    disabled();
  } else if (c.Is<TCustomRadioGroup>()) {
    const auto& g = static_cast<const TCustomRadioGroup&>(c);
    base();
    o.Str("text", text(g.Caption()));
    o.Strings("items", Lines(*g.Items()));
    o.Int("index", g.ItemIndex());
    disabled();
  } else if (c.Is<TComboBox>()) {
    const auto& b = static_cast<const TComboBox&>(c);
    base();
    o.Str("text", text(b.Text()));
    o.Strings("items", Lines(*b.Items()));
    o.Int("index", b.ItemIndex());
    disabled();
  } else if (c.Is<TCustomListBox>()) {
    const auto& b = static_cast<const TCustomListBox&>(c);
    base();
    o.Strings("items", Lines(*b.Items()));
    o.Int("index", b.ItemIndex());
    disabled();
  } else if (c.Is<TCustomMemo>()) {
    const auto& m = static_cast<const TCustomMemo&>(c);
    base();
    o.Strings("lines", Lines(*m.Lines()));
    if (m.ReadOnly()) o.Bool("readonly", true);
    disabled();
  } else if (c.Is<TCustomEdit>()) {
    const auto& e = static_cast<const TCustomEdit&>(c);
    base();
    o.Str("text", text(e.Text()));
    if (e.ReadOnly()) o.Bool("readonly", true);
    disabled();
  } else if (c.Is<TProgressBar>()) {
    const auto& p = static_cast<const TProgressBar&>(c);
    base();
    o.Int("position", p.Position());
    o.Int("min", p.Min());
    o.Int("max", p.Max());
  } else if (c.Is<TPageControl>()) {
    const auto& p = static_cast<const TPageControl&>(c);
    base();
    std::vector<std::string> tabs;
    for (const TTabSheet* s : p.TabSheets()) tabs.push_back(s->Caption());
    o.Strings("tabs", tabs);
    o.Int("index", p.TabIndex());
  } else if (c.Is<TTreeView>()) {
    const auto& t = static_cast<const TTreeView&>(c);
    base();
    std::vector<std::string> nodes;
    for (const TTreeNode* n : t.VisibleNodes())
      nodes.push_back(std::string(static_cast<size_t>(2 * n->Level()), ' ') + n->Text());
    o.Strings("nodes", nodes);
    if (t.Selected()) o.Str("selected", t.Selected()->Text());
  } else if (c.Is<TListView>()) {
    const auto& v = static_cast<const TListView&>(c);
    base();
    std::vector<std::string> columns;
    for (int i = 0; i < v.Columns()->Count(); ++i)
      columns.push_back(v.Columns()->Items(i)->Caption());
    if (!columns.empty()) o.Strings("columns", columns);
    std::string rows = "[";
    for (int i = 0; i < v.Items()->Count(); ++i) {
      const TListItem* item = v.Items()->Item(i);
      std::vector<std::string> cells{item->Caption()};
      for (int k = 0; k < item->SubItems()->Count(); ++k)
        cells.push_back(item->SubItems()->Strings(k));
      std::string row = "[";
      for (size_t k = 0; k < cells.size(); ++k) row += (k ? "," : "") + JsonObject::Quote(cells[k]);
      rows += (i ? "," : "") + row + "]";
    }
    o.Raw("rows", rows + "]");
  } else if (c.Is<TCustomGroupBox>() || c.Is<TCustomPanel>()) {
    if (c.Caption().empty()) return false;
    base();
    o.Str("text", text(c.Caption()));
  } else {
    return false;
  }
  return true;
}

void Collect(const TWinControl& parent, std::vector<TControl*>& out) {
  std::vector<TControl*> kids;
  for (int i = 0; i < parent.ControlCount(); ++i) kids.push_back(parent.Controls(i));
  std::stable_sort(kids.begin(), kids.end(), [](const TControl* a, const TControl* b) {
    if (a->Top() != b->Top()) return a->Top() < b->Top();
    return a->Left() < b->Left();
  });
  for (TControl* c : kids) {
    if (!c->Visible()) continue;
    out.push_back(c);
    if (c->Is<TWinControl>()) Collect(static_cast<const TWinControl&>(*c), out);
  }
}
}  // namespace

std::vector<TControl*> ControlsInReadingOrder(const TCustomForm& form) {
  std::vector<TControl*> out;
  Collect(form, out);
  return out;
}

std::string DescribeControls(const TCustomForm& form, const ShownText& shown) {
  std::string arr = "[";
  bool first = true;
  for (const TControl* c : ControlsInReadingOrder(form)) {
    JsonObject o;
    if (!Describe(*c, o, shown)) continue;
    arr += (first ? "" : ",") + o.Text();
    first = false;
  }
  return arr + "]";
}

std::string DescribeForm(const TCustomForm& form, bool modal, const ShownText& shown) {
  return JsonObject()
      .Str("event", "form")
      .Str("form", ControlId(form))
      .Str("class", form.ClassName())
      .Str("caption", form.Caption())
      .Bool("modal", modal)
      .Raw("controls", DescribeControls(form, shown))
      .Text();
}

}  // namespace platform::headless
