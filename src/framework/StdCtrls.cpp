// The standard controls (see StdCtrls.h).
#include "framework/StdCtrls.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Utf8.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

namespace {
class Flag {
 public:
  explicit Flag(bool& f) : f_(f) { f_ = true; }
  ~Flag() { f_ = false; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& f_;
};

std::vector<std::string_view> SplitParagraphs(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}
}  // namespace

namespace {
// Chinese and Japanese write no blanks between words: a line may break
// between any two ideographs, kana or full-width forms, or between one of
// them and other text.
bool BreaksWithoutBlank(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
         (c >= 0x20000 && c <= 0x3FFFF);
}
// Except before closing punctuation and after opening punctuation, which
// stay with the character they belong to.
bool StaysWithPrevious(char32_t c) {
  return std::u32string_view(
             U"\u3001\u3002\uFF0C\uFF0E\uFF1A\uFF1B\uFF1F\uFF01\uFF09\u300D"
             U"\u300F\u300B\u3009\u3011\u201D\u2019\u30FC\u2026")
             .find(c) != std::u32string_view::npos;
}
bool StaysWithNext(char32_t c) {
  return std::u32string_view(U"\uFF08\u300C\u300E\u300A\u3008\u3010\u201C\u2018").find(c) !=
         std::u32string_view::npos;
}
// `word` (no blanks) cut where a line may break inside it; one piece
// when it has no such place.
std::vector<std::string_view> WordPieces(std::string_view word) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  char32_t prev = 0;
  for (size_t pos = 0; pos < word.size();) {
    char32_t cur = 0;
    const size_t length = Utf8Next(word, pos, &cur);
    if (pos > start && (BreaksWithoutBlank(prev) || BreaksWithoutBlank(cur)) &&
        !StaysWithPrevious(cur) && !StaysWithNext(prev)) {
      pieces.push_back(word.substr(start, pos - start));
      start = pos;
    }
    prev = cur;
    pos += length ? length : 1;
  }
  pieces.push_back(word.substr(start));
  return pieces;
}
}  // namespace

std::vector<std::string> BreakTextLines(std::string_view text, bool wordWrap, int width,
                                        const std::function<int(std::string_view)>& measure) {
  std::vector<std::string> lines;
  for (std::string_view para : SplitParagraphs(text)) {
    if (!wordWrap) {
      lines.emplace_back(para);
      continue;
    }
    std::string line;
    bool any = false;
    size_t pos = 0;
    while (pos <= para.size()) {
      size_t end = para.find(' ', pos);
      if (end == std::string_view::npos) end = para.size();
      const std::string_view word = para.substr(pos, end - pos);
      pos = end + 1;
      if (word.empty() && end < para.size()) continue;  // runs of blanks
      const std::vector<std::string_view> pieces = WordPieces(word);
      for (size_t k = 0; k < pieces.size(); ++k) {
        if (!any) {
          line = std::string(pieces[k]);
          any = true;
          continue;
        }
        // Words are joined by a blank, the pieces of one word by nothing.
        std::string candidate = line + (k == 0 ? " " : "") + std::string(pieces[k]);
        if (measure(candidate) <= width) {
          line = std::move(candidate);
        } else {
          lines.push_back(std::move(line));
          line = std::string(pieces[k]);
        }
      }
      if (end == para.size()) break;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// --- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  StoreAutoSize(true);  // sized when it gets a caption or is loaded
}

void TCustomLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* c) {
  if (c == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = c;
  if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op == opRemove && c == focusControl_) focusControl_ = nullptr;
}

std::string TCustomLabel::DisplayText() const {
  return showAccelChar_ ? StripAccelChars(Caption()) : Caption();
}

std::vector<std::string> TCustomLabel::DisplayLines() const {
  const std::string text = DisplayText();
  return BreakTextLines(text, wordWrap_, Width(),
                        [this](std::string_view s) { return MeasureText(s).cx; });
}

void TCustomLabel::AdjustSize() {
  if (adjusting_ || InState(csLoading) || !AutoSize()) return;
  Flag guard(adjusting_);
  std::string text = DisplayText();
  if (text.empty()) text = " ";  // an empty label keeps one line's height
  const auto measure = [this](std::string_view s) { return MeasureText(s).cx; };
  const std::vector<std::string> lines = BreakTextLines(text, wordWrap_, Width(), measure);
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, measure(line));
  const int width = wordWrap_ ? std::max(Width(), widest) : widest;
  const int height = static_cast<int>(lines.size()) * MeasureText("").cy;
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - width;
  SetBounds(left, Top(), width, height);
}

void TCustomLabel::Resize() {
  TGraphicControl::Resize();
  // A word-wrapped label given another width needs another height.
  if (wordWrap_) AdjustSize();
}

void TCustomLabel::Paint() {
  TCanvas& c = *Canvas();
  const TRect r = ClientRect();
  if (!transparent_) {
    c.Brush()->SetColor(Color());
    c.FillRect(r);
  }
  c.Brush()->SetStyle(bsClear);
  if (!EffectivelyEnabled()) c.Font()->SetColor(clGrayText);
  const std::vector<std::string> lines = DisplayLines();
  const int lineHeight = c.TextHeight("");
  const int total = static_cast<int>(lines.size()) * lineHeight;
  int y = layout_ == tlTop      ? 0
          : layout_ == tlCenter ? (r.Height() - total) / 2
                                : r.Height() - total;
  // The character '&' marks is underlined: the keyboard's way to the
  // control the label names.
  const std::string shown = DisplayText();
  const size_t accel = showAccelChar_ ? AccelCharOffset(Caption()) : std::string::npos;
  size_t from = 0;
  for (const std::string& line : lines) {
    const int w = c.TextWidth(line);
    const int x = alignment_ == taLeftJustify    ? 0
                  : alignment_ == taRightJustify ? r.Width() - w
                                                 : (r.Width() - w) / 2;
    if (!line.empty()) c.TextOut(x, y, line);
    // Lines are the text in order, less the blanks where it wraps.
    const size_t start = line.empty() ? std::string::npos : shown.find(line, from);
    if (start != std::string::npos) {
      if (accel != std::string::npos && accel >= start && accel < start + line.size()) {
        const size_t at = accel - start;
        size_t len = 1;
        while (at + len < line.size() &&
               (static_cast<unsigned char>(line[at + len]) & 0xC0) == 0x80)
          ++len;
        const TFontStyles style = c.Font()->Style();
        TFontStyles underlined = style;
        c.Font()->SetStyle(underlined.Include(fsUnderline));
        c.TextOut(x + c.TextWidth(line.substr(0, at)), y, line.substr(at, len));
        c.Font()->SetStyle(style);
      }
      from = start + line.size();
    }
    y += lineHeight;
  }
}

// --- TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

platform::WSControl& TButton::WS() const {
  return CurrentWidgetset().Buttons();
}

void TButton::PushState() {
  TButtonControl::PushState();
  PeerFamily<platform::WSButton>()->SetDefault(*this, default_);
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (auto* ws = PeerFamily<platform::WSButton>()) ws->SetDefault(*this, v);
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

// --- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

platform::WSControl& TCustomEdit::WS() const {
  return CurrentWidgetset().Edits();
}

void TCustomEdit::PushState() {
  TWinControl::PushState();
  auto* ws = PeerFamily<platform::WSEdit>();
  ws->SetReadOnly(*this, readOnly_);
  ws->SetMaxLength(*this, maxLength_);
  char32_t ch = 0;
  Utf8Next(passwordChar_, 0, &ch);
  ws->SetPasswordChar(*this, passwordChar_.empty() ? 0 : ch);
}

void TCustomEdit::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  if (auto* ws = PeerFamily<platform::WSEdit>()) ws->SetReadOnly(*this, v);
}

void TCustomEdit::SetMaxLength(int v) {
  if (v < 0) v = 0;
  if (v == maxLength_) return;
  maxLength_ = v;
  if (auto* ws = PeerFamily<platform::WSEdit>()) ws->SetMaxLength(*this, v);
}

void TCustomEdit::SetPasswordChar(const std::string& v) {
  const std::string one = Utf8Left(v, 1);
  if (one == passwordChar_) return;
  passwordChar_ = one;
  if (auto* ws = PeerFamily<platform::WSEdit>()) {
    char32_t ch = 0;
    Utf8Next(one, 0, &ch);
    ws->SetPasswordChar(*this, one.empty() ? 0 : ch);
  }
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreatePeer();
}

void TCustomEdit::TextChanged() {
  TWinControl::TextChanged();
  if (!InState(csLoading)) Change();
}

void TCustomEdit::TextTyped(const std::string& text) {
  if (readOnly_) return;
  SetText(maxLength_ > 0 ? Utf8Left(text, static_cast<size_t>(maxLength_)) : text);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

// --- TCustomMemo

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TStringList) {
  SetBounds(0, 0, 185, 89);
  lines_->OnChange = [this](TObject*) { LinesChanged(); };
}

TCustomMemo::~TCustomMemo() {
  lines_->Free();
}

platform::WSControl& TCustomMemo::WS() const {
  return CurrentWidgetset().Memos();
}

void TCustomMemo::PushState() {
  TCustomEdit::PushState();
  auto* ws = PeerFamily<platform::WSMemo>();
  ws->SetLines(*this, *lines_);
  ws->SetWordWrap(*this, wordWrap_);
  ws->SetScrollBars(*this, scrollBars_);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  if (auto* ws = PeerFamily<platform::WSMemo>()) ws->SetScrollBars(*this, v);
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  if (auto* ws = PeerFamily<platform::WSMemo>()) ws->SetWordWrap(*this, v);
}

void TCustomMemo::LinesChanged() {
  if (syncing_) return;
  {
    Flag guard(syncing_);
    std::string joined;
    for (int i = 0; i < lines_->Count(); ++i) {
      if (i) joined += "\r\n";
      joined += lines_->Strings(i);
    }
    SetText(joined);
  }
  if (auto* ws = PeerFamily<platform::WSMemo>()) ws->SetLines(*this, *lines_);
}

void TCustomMemo::TextChanged() {
  if (!syncing_) {
    Flag guard(syncing_);
    lines_->SetText(Text());
  }
  TCustomEdit::TextChanged();
  if (auto* ws = PeerFamily<platform::WSMemo>()) ws->SetLines(*this, *lines_);
}

// --- check boxes and radio buttons

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

platform::WSControl& TCustomCheckBox::WS() const {
  return CurrentWidgetset().CheckBoxes();
}

void TCustomCheckBox::PushState() {
  TButtonControl::PushState();
  PeerFamily<platform::WSCheckBox>()->SetState(*this, state_);
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  if (auto* ws = PeerFamily<platform::WSCheckBox>()) ws->SetState(*this, s);
  if (!InState(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbUnchecked);
      break;
  }
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
}

platform::WSControl& TRadioButton::WS() const {
  return CurrentWidgetset().CheckBoxes();
}

void TRadioButton::PushState() {
  TButtonControl::PushState();
  PeerFamily<platform::WSCheckBox>()->SetState(*this, checked_ ? cbChecked : cbUnchecked);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (auto* ws = PeerFamily<platform::WSCheckBox>())
    ws->SetState(*this, v ? cbChecked : cbUnchecked);
  if (!v) return;
  if (TWinControl* p = Parent()) {
    for (int i = 0; i < p->ControlCount(); ++i) {
      TControl* c = p->Controls(i);
      if (c != this && c->Is<TRadioButton>()) static_cast<TRadioButton*>(c)->SetChecked(false);
    }
  }
  if (!InState(csLoading)) Click();
}

// --- list boxes and combo boxes

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
  items_->Free();
}

platform::WSControl& TCustomListBox::WS() const {
  return CurrentWidgetset().ListBoxes();
}

void TCustomListBox::PushState() {
  TWinControl::PushState();
  auto* ws = PeerFamily<platform::WSListBox>();
  ws->SetItems(*this, *items_);
  ws->SetItemIndex(*this, itemIndex_);
}

void TCustomListBox::SetItemIndex(int index) {
  // A description may set the index before the items; it is checked once
  // the items are there.
  if (!InState(csLoading) && (index < -1 || index >= items_->Count())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (auto* ws = PeerFamily<platform::WSListBox>()) ws->SetItemIndex(*this, index);
}

void TCustomListBox::SetSorted(bool v) {
  items_->SetSorted(v);
}

void TCustomListBox::Loaded() {
  TWinControl::Loaded();
  if (itemIndex_ < -1 || itemIndex_ >= items_->Count()) SetItemIndex(-1);
}

void TCustomListBox::ItemsChanged() {
  if (!InState(csLoading) && itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (auto* ws = PeerFamily<platform::WSListBox>()) {
    ws->SetItems(*this, *items_);
    ws->SetItemIndex(*this, itemIndex_);
  }
}

void TCustomListBox::Selected() {
  Click();
}

void TCustomListBox::WidgetSelect(int index) noexcept {
  GuardCallback(this, [&] {
    SetItemIndex(index);
    Selected();
  });
}

TComboBox::TComboBox(TComponent* owner) : TCustomListBox(owner) {
  SetBounds(0, 0, 145, 21);
}

void TComboBox::Selected() {
  if (ItemIndex() >= 0) SetText(Items()->Strings(ItemIndex()));
  Click();
  if (OnChange) OnChange(this);
}

void TComboBox::TextTyped(const std::string& text) {
  if (style_ == csDropDownList) return;
  SetText(text);
  if (OnChange) OnChange(this);
}

// --- group boxes

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.top += MeasureText("0").cy;
  rect.left += 2;
  rect.top += 2;
  rect.right -= 2;
  rect.bottom -= 2;
}

void TCustomGroupBox::Paint() {
  TCanvas& c = *Canvas();
  const int h = c.TextHeight("0");
  c.Brush()->SetStyle(bsClear);
  c.Pen()->SetColor(clBtnShadow);
  c.Rectangle(TRect{0, h / 2, Width(), Height()});
  if (!Caption().empty()) {
    c.Brush()->SetColor(Color());
    c.TextOut(8, 0, StripAccelChars(Caption()));
  }
}
