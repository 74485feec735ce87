// Panels, images, bevels, shapes and radio groups (see ExtCtrls.h).
#include "framework/ExtCtrls.h"

#include <algorithm>

namespace {
// Lines along the four edges of r, `width` deep: top and left in `topLeft`,
// bottom and right in `bottomRight`; r shrinks by the frame.
void Frame3D(TCanvas& c, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    c.Pen()->SetColor(topLeft);
    c.MoveTo(r.left, r.bottom - 1);
    c.LineTo(r.left, r.top);
    c.LineTo(r.right - 1, r.top);
    c.Pen()->SetColor(bottomRight);
    c.LineTo(r.right - 1, r.bottom - 1);
    c.LineTo(r.left - 1, r.bottom - 1);
    ++r.left;
    ++r.top;
    --r.right;
    --r.bottom;
  }
}

void Bevel(TCanvas& c, TRect& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  if (cut == bvSpace) {
    r.left += width;
    r.top += width;
    r.right -= width;
    r.bottom -= width;
    return;
  }
  const bool raised = cut == bvRaised;
  Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
          width);
}

constexpr int kClientEdge = 2;
}  // namespace

// --- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
  if (b == bevelInner_) return;
  bevelInner_ = b;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
  if (b == bevelOuter_) return;
  bevelOuter_ = b;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int w) {
  if (w < 1) w = 1;
  if (w == bevelWidth_) return;
  bevelWidth_ = w;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle s) {
  if (s == borderStyle_) return;
  borderStyle_ = s;
  Realign();
  RecreatePeer();
}

TRect TCustomPanel::ClientRect() const {
  if (borderStyle_ != bsSingle) return TCustomControl::ClientRect();
  return TRect{0, 0, std::max(0, Width() - 2 * kClientEdge),
               std::max(0, Height() - 2 * kClientEdge)};
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  int bevel = 0;
  if (bevelOuter_ != bvNone) bevel += bevelWidth_;
  if (bevelInner_ != bvNone) bevel += bevelWidth_;
  rect.left += bevel;
  rect.top += bevel;
  rect.right -= bevel;
  rect.bottom -= bevel;
}

void TCustomPanel::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  Bevel(c, r, bevelOuter_, bevelWidth_);
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  r.left += BorderWidth();
  r.top += BorderWidth();
  r.right -= BorderWidth();
  r.bottom -= BorderWidth();
  Bevel(c, r, bevelInner_, bevelWidth_);
  if (Caption().empty()) return;
  const std::string text = StripAccelChars(Caption());
  const TSize size = c.TextExtent(text);
  const int x = alignment_ == taLeftJustify    ? r.left
                : alignment_ == taRightJustify ? r.right - size.cx
                                               : r.left + (r.Width() - size.cx) / 2;
  c.Brush()->SetStyle(bsClear);
  c.TextOut(x, r.top + (r.Height() - size.cy) / 2, text);
}

// --- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(new TPicture) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) {
    AdjustSize();
    Invalidate();
  };
}

TImage::~TImage() {
  picture_->Free();
}

void TImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Invalidate();
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

void TImage::AdjustSize() {
  if (!AutoSize() || InState(csLoading) || picture_->Empty()) return;
  SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void TImage::Paint() {
  const TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  TCanvas& c = *Canvas();
  if (stretch_)
    c.StretchDraw(ClientRect(), *g);
  else if (center_)
    c.Draw((Width() - g->Width()) / 2, (Height() - g->Height()) / 2, *g);
  else
    c.Draw(0, 0, *g);
}

// --- TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape s) {
  if (s == shape_) return;
  shape_ = s;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle s) {
  if (s == style_) return;
  style_ = s;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& c = *Canvas();
  const TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  const int w = Width(), h = Height();
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    c.Pen()->SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  };
  switch (shape_) {
    case bsBox:
    case bsFrame: {
      TRect r{0, 0, w, h};
      Frame3D(c, r, first, second, 1);
      if (shape_ == bsFrame) Frame3D(c, r, second, first, 1);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}

// --- TShape

TShape::TShape(TComponent* owner) : TGraphicControl(owner), pen_(new TPen), brush_(new TBrush) {
  SetBounds(0, 0, 65, 65);
  pen_->OnChange = [this](TObject*) { Invalidate(); };
  brush_->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() {
  pen_->Free();
  brush_->Free();
}

void TShape::SetShape(TShapeType s) {
  if (s == shape_) return;
  shape_ = s;
  Invalidate();
}

void TShape::Paint() {
  TCanvas& c = *Canvas();
  c.Pen()->Assign(pen_);
  c.Brush()->Assign(brush_);
  int w = Width(), h = Height();
  int x = 0, y = 0;
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    const int side = std::min(w, h);
    x = (w - side) / 2;
    y = (h - side) / 2;
    w = h = side;
  }
  const TRect r = Bounds(x, y, w, h);
  if (shape_ == stEllipse || shape_ == stCircle)
    c.Ellipse(r);
  else
    c.Rectangle(r);
}

// --- radio groups

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TRadioButton(nullptr), group_(group) {
  SetParent(group);
}

void TGroupButton::Click() {
  TRadioButton::Click();
  if (Checked()) group_->ButtonClicked(this);
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(new TStringList) {
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  items_->Free();
}

TGroupButton* TCustomRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw EInvalidOperation("Button index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<size_t>(index)];
}

void TCustomRadioGroup::ControlRemoved(TControl* c) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), c), buttons_.end());
}

void TCustomRadioGroup::ItemsChanged() {
  updating_ = true;
  try {
    while (ButtonCount() < items_->Count()) buttons_.push_back(new TGroupButton(this));
    while (ButtonCount() > items_->Count()) buttons_.back()->Free();  // leaves the list
    for (int i = 0; i < ButtonCount(); ++i) {
      buttons_[static_cast<size_t>(i)]->SetCaption(items_->Strings(i));
      buttons_[static_cast<size_t>(i)]->SetChecked(i == itemIndex_);
    }
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
  if (!InState(csLoading) && itemIndex_ >= items_->Count()) itemIndex_ = -1;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int count = ButtonCount();
  const int perColumn = (count + columns_ - 1) / columns_;
  const int buttonWidth = (Width() - 10) / columns_;
  const int textHeight = MeasureText("0").cy;
  const int space = Height() - textHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = textHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i)
    buttons_[static_cast<size_t>(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                                (i % perColumn) * buttonHeight + topMargin,
                                                buttonWidth, buttonHeight);
}

void TCustomRadioGroup::SetItemIndex(int index) {
  if (InState(csLoading)) {
    itemIndex_ = index;  // checked once the items are there
    return;
  }
  index = std::clamp(index, -1, items_->Count() - 1);
  if (index == itemIndex_) return;
  if (itemIndex_ >= 0 && itemIndex_ < ButtonCount())
    buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
  itemIndex_ = index;
  if (index >= 0 && index < ButtonCount()) buttons_[static_cast<size_t>(index)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (columns == columns_) return;
  columns_ = columns;
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TGroupButton* b) {
  if (updating_) return;
  const auto it = std::find(buttons_.begin(), buttons_.end(), b);
  if (it == buttons_.end()) return;
  itemIndex_ = static_cast<int>(it - buttons_.begin());
  Click();
}

void TCustomRadioGroup::WidgetSelect(int index) noexcept {
  GuardCallback(this, [&] {
    if (index < 0 || index >= ButtonCount()) return;
    buttons_[static_cast<size_t>(index)]->SetChecked(true);
  });
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  updating_ = true;
  itemIndex_ = std::clamp(itemIndex_, -1, items_->Count() - 1);
  for (int i = 0; i < ButtonCount(); ++i)
    buttons_[static_cast<size_t>(i)]->SetChecked(i == itemIndex_);
  updating_ = false;
  ArrangeButtons();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}
