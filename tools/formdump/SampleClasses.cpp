// The sample classes' parent relation, reference clearing and registration
// (see SampleClasses.h).
#include "SampleClasses.h"

#include <algorithm>

namespace sample {

TDemoControl::~TDemoControl() {
  for (TDemoControl* c : children_) c->parent_ = nullptr;
  if (parent_) std::erase(parent_->children_, this);
}

void TDemoControl::SetParentComponent(TComponent* parent) {
  if (parent_) std::erase(parent_->children_, this);
  parent_ = dynamic_cast<TDemoControl*>(parent);
  if (parent_) parent_->children_.push_back(this);
}

TComponent* TDemoControl::GetParentComponent() const noexcept {
  return parent_;
}

void TDemoControl::GetChildren(const std::function<void(TComponent*)>& proc,
                               const TComponent* root) const {
  TComponent::GetChildren(proc, root);  // the root's own components
  if (root == this) return;             // its children are among them
  for (TDemoControl* c : children_)
    if (c->Owner() == root) proc(c);
}

void TDemoLabel::SetFocusControl(TDemoControl* v) {
  if (focus_) focus_->RemoveFreeNotification(this);
  focus_ = v;
  if (focus_) focus_->FreeNotification(this);
}

void TDemoLabel::Notification(TComponent* c, TOperation op) {
  if (op == opRemove && c == focus_) focus_ = nullptr;
  TDemoControl::Notification(c, op);
}

void TDemoComponent::SetLink(TComponent* v) {
  if (link_) link_->RemoveFreeNotification(this);
  link_ = v;
  if (link_) link_->FreeNotification(this);
}

void TDemoComponent::Notification(TComponent* c, TOperation op) {
  if (op == opRemove && c == link_) link_ = nullptr;
  TComponent::Notification(c, op);
}

void RegisterSampleClasses(ClassRegistry& r) {
  r.Enum<TDemoAlign>("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
  r.Enum<TDemoAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  r.Enum<TDemoFontStyle>("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  r.Constants("TColor", {{"clBlack", 0x000000},
                         {"clMaroon", 0x000080},
                         {"clGreen", 0x008000},
                         {"clNavy", 0x800000},
                         {"clGray", 0x808080},
                         {"clRed", 0x0000FF},
                         {"clYellow", 0x00FFFF},
                         {"clBlue", 0xFF0000},
                         {"clWhite", 0xFFFFFF},
                         {"clBtnFace", -16777201},
                         {"clWindow", -16777211}});
  r.Constants("TFontCharset", {{"ANSI_CHARSET", 0},
                               {"DEFAULT_CHARSET", 1},
                               {"SHIFTJIS_CHARSET", 128},
                               {"HANGEUL_CHARSET", 129},
                               {"GB2312_CHARSET", 134},
                               {"CHINESEBIG5_CHARSET", 136},
                               {"GREEK_CHARSET", 161},
                               {"EASTEUROPE_CHARSET", 238}});
  r.Class<TDemoFont, TPersistent>("TDemoFont")
      .Prop("Charset", &TDemoFont::Charset, &TDemoFont::SetCharset, 1)
      .Idents("TFontCharset")
      .Prop("Color", &TDemoFont::Color, &TDemoFont::SetColor, 0)
      .Idents("TColor")
      .Prop("Name", &TDemoFont::Name, &TDemoFont::SetName, "MS Sans Serif")
      .Prop("Size", &TDemoFont::Size, &TDemoFont::SetSize, 8)
      .Prop("Style", &TDemoFont::Style, &TDemoFont::SetStyle, TDemoFontStyles{});
  r.Class<TDemoPicture, TPersistent>("TDemoPicture")
      .Prop("Data", &TDemoPicture::Data, &TDemoPicture::SetData);
  r.Class<TDemoColumn, TCollectionItem>("TDemoColumn")
      .Prop("Caption", &TDemoColumn::Caption, &TDemoColumn::SetCaption)
      .Prop("Width", &TDemoColumn::Width, &TDemoColumn::SetWidth, 50);
  r.Class<TDemoControl, TComponent>("TDemoControl")
      .Prop("Left", &TDemoControl::Left, &TDemoControl::SetLeft, 0)
      .Prop("Top", &TDemoControl::Top, &TDemoControl::SetTop, 0)
      .Prop("Width", &TDemoControl::Width, &TDemoControl::SetWidth, 0)
      .Prop("Height", &TDemoControl::Height, &TDemoControl::SetHeight, 0)
      .Prop("Align", &TDemoControl::Align, &TDemoControl::SetAlign, alNone)
      .Prop("Caption", &TDemoControl::Caption, &TDemoControl::SetCaption)
      .Prop("Color", &TDemoControl::Color, &TDemoControl::SetColor, -16777201)
      .Idents("TColor")
      .Prop("Font", &TDemoControl::Font)
      .Prop("Hint", &TDemoControl::Hint, &TDemoControl::SetHint)
      .Prop("Visible", &TDemoControl::Visible, &TDemoControl::SetVisible, true)
      .Prop("OnClick", &TDemoControl::OnClick, &TDemoControl::SetOnClick);
  r.Class<TDemoPanel, TDemoControl>("TDemoPanel");
  r.Class<TDemoLabel, TDemoControl>("TDemoLabel")
      .Prop("Alignment", &TDemoLabel::Alignment, &TDemoLabel::SetAlignment, taLeftJustify)
      .Prop("FocusControl", &TDemoLabel::FocusControl, &TDemoLabel::SetFocusControl);
  r.Class<TDemoButton, TDemoControl>("TDemoButton")
      .Prop("Default", &TDemoButton::Default, &TDemoButton::SetDefault, false)
      .Prop("ModalResult", &TDemoButton::ModalResult, &TDemoButton::SetModalResult, 0);
  r.Class<TDemoMemo, TDemoControl>("TDemoMemo").Prop("Lines", &TDemoMemo::Lines);
  r.Class<TDemoImage, TDemoControl>("TDemoImage")
      .Prop("Picture", &TDemoImage::Picture)
      .Prop("Zoom", &TDemoImage::Zoom, &TDemoImage::SetZoom, 1.0);
  r.Class<TDemoListView, TDemoControl>("TDemoListView").Prop("Columns", &TDemoListView::Columns);
  r.Class<TDemoComponent, TComponent>("TDemoComponent")
      .Prop("Strings", &TDemoComponent::Strings)
      .Prop("Link", &TDemoComponent::Link, &TDemoComponent::SetLink)
      .Prop("Order", &TDemoComponent::Order, &TDemoComponent::SetOrder, -1);
  r.Class<TDemoForm, TDemoControl>("TDemoForm")
      .Prop("OnCreate", &TDemoForm::OnCreate, &TDemoForm::SetOnCreate)
      .Ignored("OldCreateOrder")
      .Ignored("Scaled")
      .Handler("FormCreate", &TDemoForm::FormCreate)
      .Handler("ButtonClick", &TDemoForm::ButtonClick);
  r.Class<TDemoPage, TDemoForm>("TDemoPage")
      .Handler("NextClick", &TDemoPage::NextClick)
      .Handler("BackClick", &TDemoPage::BackClick);
}

}  // namespace sample
