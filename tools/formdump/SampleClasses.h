// Generic sample component classes for the form-description tools and the
// form reader's fuzz target: a root form (and a page derived from it for
// inherited descriptions), controls that nest inside panels, a font, a
// picture, a collection of columns and a non-visual component. They hold
// their values and nothing more.
#pragma once

#include <string>
#include <vector>

#include "framework/Classes.h"

namespace sample {

enum TDemoAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TDemoAlignment { taLeftJustify, taRightJustify, taCenter };
enum TDemoFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TDemoFontStyles = Set<TDemoFontStyle>;

class TDemoFont : public TPersistent {
  PELLMORE_CLASS(TDemoFont, TPersistent)

 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  TDemoFontStyles Style() const { return style_; }
  void SetStyle(TDemoFontStyles v) { style_ = v; }
  int Charset() const { return charset_; }
  void SetCharset(int v) { charset_ = v; }
  int32_t Color() const { return color_; }
  void SetColor(int32_t v) { color_ = v; }

 private:
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TDemoFontStyles style_;
  int charset_ = 1;  // DEFAULT_CHARSET
  int32_t color_ = 0;
};

class TDemoPicture : public TPersistent {
  PELLMORE_CLASS(TDemoPicture, TPersistent)

 public:
  const Bytes& Data() const { return data_; }
  void SetData(const Bytes& v) { data_ = v; }

 private:
  Bytes data_;
};

class TDemoColumn : public TCollectionItem {
  PELLMORE_CLASS(TDemoColumn, TCollectionItem)

 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }

 private:
  std::string caption_;
  int width_ = 50;
};

// A control: a position, a caption, a font, and a parent among the panels.
class TDemoControl : public TComponent {
  PELLMORE_CLASS(TDemoControl, TComponent)

 public:
  explicit TDemoControl(TComponent* owner) : TComponent(owner) {}
  ~TDemoControl() override;

  int Left() const { return left_; }
  void SetLeft(int v) { left_ = v; }
  int Top() const { return top_; }
  void SetTop(int v) { top_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  TDemoAlign Align() const { return align_; }
  void SetAlign(TDemoAlign v) { align_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  int32_t Color() const { return color_; }
  void SetColor(int32_t v) { color_ = v; }
  TDemoFont* Font() const { return font_.get(); }
  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent v) { onClick_ = std::move(v); }

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const noexcept override;
  void GetChildren(const std::function<void(TComponent*)>& proc,
                   const TComponent* root) const override;

 private:
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TDemoAlign align_ = alNone;
  std::string caption_;
  std::string hint_;
  bool visible_ = true;
  int32_t color_ = -16777201;  // clBtnFace
  Owned<TDemoFont> font_{new TDemoFont};
  TNotifyEvent onClick_;
  TDemoControl* parent_ = nullptr;
  std::vector<TDemoControl*> children_;
};

class TDemoPanel : public TDemoControl {
  PELLMORE_CLASS(TDemoPanel, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
};

class TDemoLabel : public TDemoControl {
  PELLMORE_CLASS(TDemoLabel, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  TDemoAlignment Alignment() const { return alignment_; }
  void SetAlignment(TDemoAlignment v) { alignment_ = v; }
  TDemoControl* FocusControl() const { return focus_; }
  void SetFocusControl(TDemoControl* v);
  void Notification(TComponent* c, TOperation op) override;

 private:
  TDemoAlignment alignment_ = taLeftJustify;
  TDemoControl* focus_ = nullptr;
};

class TDemoButton : public TDemoControl {
  PELLMORE_CLASS(TDemoButton, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }

 private:
  bool default_ = false;
  int modalResult_ = 0;
};

class TDemoMemo : public TDemoControl {
  PELLMORE_CLASS(TDemoMemo, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  TStringList* Lines() const { return lines_.get(); }

 private:
  Owned<TStringList> lines_{new TStringList};
};

class TDemoImage : public TDemoControl {
  PELLMORE_CLASS(TDemoImage, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  TDemoPicture* Picture() const { return picture_.get(); }
  double Zoom() const { return zoom_; }
  void SetZoom(double v) { zoom_ = v; }

 private:
  Owned<TDemoPicture> picture_{new TDemoPicture};
  double zoom_ = 1.0;
};

class TDemoListView : public TDemoControl {
  PELLMORE_CLASS(TDemoListView, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  TCollection* Columns() const { return columns_.get(); }

 private:
  Owned<TCollection> columns_{new TCollection(std::in_place_type<TDemoColumn>, this)};
};

// A non-visual component: a list of strings and a reference.
class TDemoComponent : public TComponent {
  PELLMORE_CLASS(TDemoComponent, TComponent)

 public:
  using TComponent::TComponent;
  TStringList* Strings() const { return strings_.get(); }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v);
  int64_t Order() const { return order_; }
  void SetOrder(int64_t v) { order_ = v; }
  void Notification(TComponent* c, TOperation op) override;

 private:
  Owned<TStringList> strings_{new TStringList};
  TComponent* link_ = nullptr;
  int64_t order_ = -1;
};

// The root form; its handlers exist so descriptions can name them.
class TDemoForm : public TDemoControl {
  PELLMORE_CLASS(TDemoForm, TDemoControl)

 public:
  using TDemoControl::TDemoControl;
  const TNotifyEvent& OnCreate() const { return onCreate_; }
  void SetOnCreate(TNotifyEvent v) { onCreate_ = std::move(v); }
  void FormCreate(TObject*) {}
  void ButtonClick(TObject*) {}

 private:
  TNotifyEvent onCreate_;
};

// A page derived from the form, for inherited descriptions.
class TDemoPage : public TDemoForm {
  PELLMORE_CLASS(TDemoPage, TDemoForm)

 public:
  using TDemoForm::TDemoForm;
  void NextClick(TObject*) {}
  void BackClick(TObject*) {}
};

// Registers the enumerations, constants and classes above.
void RegisterSampleClasses(ClassRegistry& r);

}  // namespace sample
