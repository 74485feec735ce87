// The headless widgetset's families, metrics and records (see
// HeadlessWidgetset.h); who answers its forms and message boxes is the
// scripted user (ScriptedUser.cpp).
#include "platform/headless/HeadlessWidgetset.h"

#include <cstdio>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Strings.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/headless/Transcript.h"

namespace platform::headless {
namespace {
std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
  return buf;
}

std::string Join(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += (s.empty() ? "" : " ") + std::to_string(v);
  return s;
}

std::string JoinLines(const TStrings& lines) {
  std::string s;
  for (int i = 0; i < lines.Count(); ++i) s += (i ? "\n" : "") + lines.Strings(i);
  return s;
}

void Note(TControl& c, const char* key, std::string value) {
  if (HeadlessPeer* p = HeadlessWidgetset::PeerOf(c)) {
    p->state[key] = std::move(value);
    ++p->pushes;
  }
}

// The calls every family shares: each stores what it was given.
template <class F>
class Rec : public F {
 public:
  explicit Rec(HeadlessWidgetset& ws) : ws_(ws) {}
  std::unique_ptr<Peer> CreatePeer(TControl&) override { return std::make_unique<HeadlessPeer>(); }
  void SetBounds(TControl& c, const TRect& r) override {
    Note(c, "Bounds", Join({r.left, r.top, r.Width(), r.Height()}));
  }
  void SetVisible(TControl& c, bool v) override { Note(c, "Visible", v ? "true" : "false"); }
  void SetEnabled(TControl& c, bool v) override { Note(c, "Enabled", v ? "true" : "false"); }
  void SetText(TControl& c, const std::string& text) override { Note(c, "Text", text); }
  void SetFont(TControl& c, const TFontData& f) override {
    Note(c, "Font",
         f.name + " " + std::to_string(f.height) + " " + std::to_string(f.charset) + " " +
             Hex(f.color) + " " + std::to_string(f.style.Bits()));
  }
  void SetColor(TControl& c, TColor color) override { Note(c, "Color", Hex(color)); }
  void Invalidate(TControl& c) override {
    if (HeadlessPeer* p = HeadlessWidgetset::PeerOf(c)) ++p->invalidations;
  }
  void SetFocus(TControl& c) override {
    if (HeadlessPeer* p = HeadlessWidgetset::PeerOf(c)) p->focused = true;
  }
  void Update(TControl& c) override { ws_.Repainted(c); }

 protected:
  HeadlessWidgetset& ws_;
};

class HForms final : public Rec<WSForm> {
 public:
  using Rec::Rec;
  void SetBorder(TCustomForm& f, TFormBorderStyle style, TBorderIcons icons) override {
    Note(f, "Border", Join({static_cast<int>(style), static_cast<int>(icons.Bits())}));
  }
  void SetWindowState(TCustomForm& f, TWindowState state) override {
    Note(f, "WindowState", std::to_string(static_cast<int>(state)));
  }
  void SetFormStyle(TCustomForm& f, TFormStyle style) override {
    Note(f, "FormStyle", std::to_string(static_cast<int>(style)));
  }
  void Show(TCustomForm& f) override { ws_.FormShown(f); }
  void Activate(TCustomForm& f) override { f.WidgetActivate(); }
  void BeginModal(TCustomForm& f) override { ws_.ModalStarted(f); }
  void EndModal(TCustomForm& f, TModalResult result) override { ws_.ModalEnded(f, result); }
};

class HButtons final : public Rec<WSButton> {
 public:
  using Rec::Rec;
  void SetDefault(TControl& c, bool v) override { Note(c, "Default", v ? "true" : "false"); }
  void SetGlyph(TControl& c, std::span<const uint8_t> bmp, int numGlyphs) override {
    Note(c, "Glyph", Join({static_cast<int>(bmp.size()), numGlyphs}));
  }
};

class HCheckBoxes final : public Rec<WSCheckBox> {
 public:
  using Rec::Rec;
  void SetState(TControl& c, TCheckBoxState s) override {
    Note(c, "State", std::to_string(static_cast<int>(s)));
  }
};

template <class F>
class RecEdit : public Rec<F> {
 public:
  using Rec<F>::Rec;
  void SetReadOnly(TControl& c, bool v) override { Note(c, "ReadOnly", v ? "true" : "false"); }
  void SetMaxLength(TControl& c, int n) override { Note(c, "MaxLength", std::to_string(n)); }
  void SetPasswordChar(TControl& c, char32_t ch) override {
    Note(c, "PasswordChar", std::to_string(static_cast<unsigned>(ch)));
  }
};

class HEdits final : public RecEdit<WSEdit> {
 public:
  using RecEdit::RecEdit;
};

class HMemos final : public RecEdit<WSMemo> {
 public:
  using RecEdit::RecEdit;
  void SetLines(TControl& c, const TStrings& lines) override { Note(c, "Lines", JoinLines(lines)); }
  void SetWordWrap(TControl& c, bool v) override { Note(c, "WordWrap", v ? "true" : "false"); }
  void SetScrollBars(TControl& c, TScrollStyle s) override {
    Note(c, "ScrollBars", std::to_string(static_cast<int>(s)));
  }
};

class HListBoxes final : public Rec<WSListBox> {
 public:
  using Rec::Rec;
  void SetItems(TControl& c, const TStrings& items) override { Note(c, "Items", JoinLines(items)); }
  void SetItemIndex(TControl& c, int index) override {
    Note(c, "ItemIndex", std::to_string(index));
  }
};

class HProgressBars final : public Rec<WSProgressBar> {
 public:
  using Rec::Rec;
  void SetRange(TControl& c, int min, int max) override { Note(c, "Range", Join({min, max})); }
  void SetPosition(TControl& c, int position) override {
    Note(c, "Position", std::to_string(position));
  }
};

class HPageControls final : public Rec<WSPageControl> {
 public:
  using Rec::Rec;
  void SetTabs(TControl& c, const std::vector<std::string>& captions, int tabIndex) override {
    std::string s;
    for (size_t i = 0; i < captions.size(); ++i) s += (i ? "|" : "") + captions[i];
    Note(c, "Tabs", s);
    Note(c, "TabIndex", std::to_string(tabIndex));
  }
};

class HItemViews final : public Rec<WSItemView> {
 public:
  using Rec::Rec;
  void ItemsChanged(TControl& c) override {
    if (HeadlessPeer* p = PeerOf(c)) ++p->pushes, ++p->invalidations;
  }
  void SelectionChanged(TControl& c) override { Note(c, "Selection", "changed"); }

 private:
  static HeadlessPeer* PeerOf(TControl& c) { return HeadlessWidgetset::PeerOf(c); }
};
}  // namespace

struct HeadlessWidgetset::Families {
  explicit Families(HeadlessWidgetset& ws)
      : controls(ws),
        forms(ws),
        buttons(ws),
        checkBoxes(ws),
        edits(ws),
        memos(ws),
        listBoxes(ws),
        progressBars(ws),
        pageControls(ws),
        itemViews(ws) {}
  Rec<WSControl> controls;
  HForms forms;
  HButtons buttons;
  HCheckBoxes checkBoxes;
  HEdits edits;
  HMemos memos;
  HListBoxes listBoxes;
  HProgressBars progressBars;
  HPageControls pageControls;
  HItemViews itemViews;
};

HeadlessWidgetset::HeadlessWidgetset(HeadlessOptions options)
    : options_(std::move(options)),
      user_(options_, hands_),
      families_(std::make_unique<Families>(*this)) {}

HeadlessWidgetset::~HeadlessWidgetset() = default;

WSControl& HeadlessWidgetset::Controls() {
  return families_->controls;
}
WSForm& HeadlessWidgetset::Forms() {
  return families_->forms;
}
WSButton& HeadlessWidgetset::Buttons() {
  return families_->buttons;
}
WSCheckBox& HeadlessWidgetset::CheckBoxes() {
  return families_->checkBoxes;
}
WSEdit& HeadlessWidgetset::Edits() {
  return families_->edits;
}
WSMemo& HeadlessWidgetset::Memos() {
  return families_->memos;
}
WSListBox& HeadlessWidgetset::ListBoxes() {
  return families_->listBoxes;
}
WSProgressBar& HeadlessWidgetset::ProgressBars() {
  return families_->progressBars;
}
WSPageControl& HeadlessWidgetset::PageControls() {
  return families_->pageControls;
}
WSItemView& HeadlessWidgetset::ItemViews() {
  return families_->itemViews;
}

namespace {
// The machine's screen, when a platform backend is (or can be) there.
bool MachineScreen(TSize& size, int& caption) {
  try {
    SystemInfo& sys = platform::system();
    size = {sys.ScreenWidth(), sys.ScreenHeight()};
    caption = sys.CaptionHeight();
    return true;
  } catch (...) {
    return false;
  }
}
}  // namespace

TSize HeadlessWidgetset::ScreenSize() {
  if (options_.screen) return *options_.screen;
  TSize size{800, 600};
  int caption = 0;
  MachineScreen(size, caption);
  return size;
}

int HeadlessWidgetset::CaptionHeight() {
  if (options_.captionHeight) return *options_.captionHeight;
  TSize size;
  int caption = 18;
  if (!MachineScreen(size, caption)) caption = 18;
  return caption;
}

HeadlessPeer* HeadlessWidgetset::PeerOf(const TControl& c) {
  return dynamic_cast<HeadlessPeer*>(c.Peer());
}

RecordingCanvas HeadlessWidgetset::Paint(TControl& c) {
  RecordingCanvas canvas;
  c.WidgetPaint(canvas);
  return canvas;
}

void HeadlessWidgetset::ShowError(const std::string& title, const std::string& message) {
  user_.ErrorShown(title, message);
}

void HeadlessWidgetset::ProcessMessages() {
  RunPosted();
  user_.MessagesProcessed();
}

void HeadlessWidgetset::FormShown(TCustomForm& form) {
  user_.FormShown(form);
  if (form.Parent() || form.Modal()) return;
  TCustomForm* f = &form;
  Post([f] {
    // The form may be gone by the time this runs.
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (Screen().Forms(i) == f && f->Showing()) f->WidgetActivate();
  });
}

bool HeadlessWidgetset::HandleMessage(TCustomForm* modal) {
  if (HasPosted()) {
    RunPosted();
    return true;
  }
  if (modal) {
    if (modal->ModalResult() == mrNone) user_.AnswerModal(*modal);
    return true;
  }
  TCustomForm* form = Screen().ActiveForm();
  if (!form || !form->Showing() || form->Parent()) form = Application().MainForm();
  if (!form || !form->Showing()) return false;
  return user_.ActIdle(*form);
}

int HeadlessWidgetset::MessageBox(const std::string& text, const std::string& caption,
                                  uint32_t flags) {
  UiStep used;
  const int answer = user_.ChooseAnswer(caption, flags, used);
  user_.MessageShown(text, caption, flags, answer, used, used.line ? "script" : "default");
  return answer;
}

}  // namespace platform::headless
