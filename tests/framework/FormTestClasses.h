// Component classes for the runtime's tests: one property of every kind, a
// nested font and picture, a collection, a panel that parents others, a
// root form with handlers, and a form derived from it. Each records what
// happens to it (Loaded, reference setters, handlers) in EventLog().
#pragma once

#include <string>
#include <vector>

#include "framework/Classes.h"

namespace formtest {

// What the test components did, in order. Cleared by the fixtures.
inline std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

enum TTestKind { tkAlpha, tkBeta, tkGamma };
using TTestKinds = Set<TTestKind>;
enum TTestStyle { tsBold, tsItalic, tsUnderline };
using TTestStyles = Set<TTestStyle>;

using TQueryEvent = std::function<void(TObject* Sender, bool& Continue)>;

class TTestFont : public TPersistent {
  PELLMORE_CLASS(TTestFont, TPersistent)

 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  TTestStyles Style() const { return style_; }
  void SetStyle(TTestStyles v) { style_ = v; }
  int32_t Color() const { return color_; }
  void SetColor(int32_t v) { color_ = v; }

  void Assign(const TPersistent* source) override {
    if (const auto* f = dynamic_cast<const TTestFont*>(source)) {
      name_ = f->name_;
      size_ = f->size_;
      style_ = f->style_;
      color_ = f->color_;
      return;
    }
    TPersistent::Assign(source);
  }

 private:
  std::string name_ = "Arial";
  int size_ = 8;
  TTestStyles style_;
  int32_t color_ = 0;
};

class TTestPicture : public TPersistent {
  PELLMORE_CLASS(TTestPicture, TPersistent)

 public:
  const Bytes& Data() const { return data_; }
  void SetData(const Bytes& v) { data_ = v; }

 private:
  Bytes data_;
};

class TTestItem : public TCollectionItem {
  PELLMORE_CLASS(TTestItem, TCollectionItem)

 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int Value() const { return value_; }
  void SetValue(int v) { value_ = v; }
  TComponent* Target() const { return target_; }
  void SetTarget(TComponent* v) { target_ = v; }
  TTestFont* Font() const { return font_.get(); }
  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent v) { onClick_ = std::move(v); }

  void Assign(const TPersistent* source) override {
    if (const auto* i = dynamic_cast<const TTestItem*>(source)) {
      caption_ = i->caption_;
      value_ = i->value_;
      target_ = i->target_;
      font_->Assign(i->font_.get());
      return;
    }
    TCollectionItem::Assign(source);
  }

 private:
  std::string caption_;
  int value_ = 0;
  TComponent* target_ = nullptr;
  Owned<TTestFont> font_{new TTestFont};
  TNotifyEvent onClick_;
};

// A general component: a property of every kind.
class TTestComponent : public TComponent {
  PELLMORE_CLASS(TTestComponent, TComponent)

 public:
  explicit TTestComponent(TComponent* owner) : TComponent(owner) {
    if (InState(csLoading)) EventLog().push_back("construct-loading");
  }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int32_t Count() const { return count_; }
  void SetCount(int32_t v) { count_ = v; }
  int64_t Big() const { return big_; }
  void SetBig(int64_t v) { big_ = v; }
  uint8_t Small() const { return small_; }
  void SetSmall(uint8_t v) { small_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  TTestKind Kind() const { return kind_; }
  void SetKind(TTestKind v) { kind_ = v; }
  TTestKinds Kinds() const { return kinds_; }
  void SetKinds(TTestKinds v) { kinds_ = v; }
  TStringList* Lines() const { return lines_.get(); }
  TCollection* Items() const { return items_.get(); }
  TTestFont* Font() const { return font_.get(); }
  TTestPicture* Picture() const { return picture_.get(); }
  int32_t Color() const { return color_; }
  void SetColor(int32_t v) { color_ = v; }
  const std::string& Hidden() const { return hidden_; }
  void SetHidden(const std::string& v) { hidden_ = v; }

  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) {
    EventLog().push_back(Name() + ".Link=" + (v ? v->Name() : "nil") + " with " +
                         std::to_string(Owner() ? Owner()->ComponentCount() : 0) + " components");
    if (link_) link_->RemoveFreeNotification(this);
    link_ = v;
    if (link_) link_->FreeNotification(this);
  }
  TTestComponent* Peer() const { return peer_; }
  void SetPeer(TTestComponent* v) { peer_ = v; }

  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent v) { onClick_ = std::move(v); }
  const TQueryEvent& OnQuery() const { return onQuery_; }
  void SetOnQuery(TQueryEvent v) { onQuery_ = std::move(v); }

  void Loaded() override {
    std::string later;  // which components after this one still load
    if (Owner())
      for (int i = ComponentIndex() + 1; i < Owner()->ComponentCount(); ++i)
        if (Owner()->Components(i)->InState(csLoading))
          later += " " + Owner()->Components(i)->Name();
    EventLog().push_back("Loaded " + Name() + (InState(csReading) ? " reading" : "") +
                         (later.empty() ? "" : ", still loading:" + later));
    TComponent::Loaded();
  }

  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove && c == link_) link_ = nullptr;
    if (op == opRemove && c == peer_) peer_ = nullptr;
    TComponent::Notification(c, op);
  }

 private:
  std::string caption_;
  int32_t count_ = 0;
  int64_t big_ = 0;
  uint8_t small_ = 0;
  bool enabled_ = true;
  double ratio_ = 0;
  TTestKind kind_ = tkAlpha;
  TTestKinds kinds_{tkAlpha};
  Owned<TStringList> lines_{new TStringList};
  Owned<TCollection> items_{new TCollection(std::in_place_type<TTestItem>, this)};
  Owned<TTestFont> font_{new TTestFont};
  Owned<TTestPicture> picture_{new TTestPicture};
  int32_t color_ = 0;
  std::string hidden_;
  TComponent* link_ = nullptr;
  TTestComponent* peer_ = nullptr;
  TNotifyEvent onClick_;
  TQueryEvent onQuery_;
};

// A component that parents the components nested inside it.
class TTestPanel : public TTestComponent {
  PELLMORE_CLASS(TTestPanel, TTestComponent)

 public:
  using TTestComponent::TTestComponent;
  ~TTestPanel() override {
    for (TTestPanel* c : children_) c->parent_ = nullptr;
    if (parent_) parent_->Forget(this);
  }

  void SetParentComponent(TComponent* parent) override {
    if (parent_) parent_->Forget(this);
    parent_ = dynamic_cast<TTestPanel*>(parent);
    if (parent_) parent_->children_.push_back(this);
  }
  TComponent* GetParentComponent() const noexcept override { return parent_; }
  void GetChildren(const std::function<void(TComponent*)>& proc,
                   const TComponent* root) const override {
    TTestComponent::GetChildren(proc, root);
    if (root == this) return;
    for (TTestPanel* c : children_)
      if (c->Owner() == root) proc(c);
  }
  int ChildCount() const { return static_cast<int>(children_.size()); }

 private:
  void Forget(TTestPanel* c) { std::erase(children_, c); }
  TTestPanel* parent_ = nullptr;
  std::vector<TTestPanel*> children_;
};

// A root form with handlers for descriptions to bind.
class TTestForm : public TComponent {
  PELLMORE_CLASS(TTestForm, TComponent)

 public:
  using TComponent::TComponent;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v) { width_ = v; }
  const TNotifyEvent& OnCreate() const { return onCreate_; }
  void SetOnCreate(TNotifyEvent v) { onCreate_ = std::move(v); }

  void FormCreate(TObject* sender) {
    EventLog().push_back(std::string("FormCreate by ") + (sender ? sender->ClassName() : "nil") +
                         " on " + Name());
  }
  void ButtonClick(TObject* sender) {
    EventLog().push_back("ButtonClick " + static_cast<TComponent*>(sender)->Name());
  }
  void AskUser(TObject*, bool& cont) {
    EventLog().push_back("AskUser");
    cont = false;
  }
  void Loaded() override {
    EventLog().push_back("Loaded " + Name());
    TComponent::Loaded();
  }

 private:
  std::string caption_;
  int32_t width_ = 100;
  TNotifyEvent onCreate_;
};

class TTestDerivedForm : public TTestForm {
  PELLMORE_CLASS(TTestDerivedForm, TTestForm)

 public:
  using TTestForm::TTestForm;
  void ExtraClick(TObject*) { EventLog().push_back("ExtraClick"); }
};

// An abstract-like class that cannot be created by name.
class TTestUncreatable : public TComponent {
  PELLMORE_CLASS(TTestUncreatable, TComponent)

 public:
  TTestUncreatable(TComponent* owner, int) : TComponent(owner) {}
};

inline void RegisterTestClasses(ClassRegistry& r) {
  r.Enum<TTestKind>("TTestKind", {"tkAlpha", "tkBeta", "tkGamma"});
  r.Enum<TTestStyle>("TTestStyle", {"tsBold", "tsItalic", "tsUnderline"});
  r.Constants("TTestColor", {{"clBlack", 0}, {"clRed", 0xFF}, {"clYellow", 0xFFFF}});
  r.Constants("TTestCharset", {{"ANSI_CHARSET", 0}, {"GB2312_CHARSET", 134}});
  r.Class<TTestFont, TPersistent>("TTestFont")
      .Prop("Name", &TTestFont::Name, &TTestFont::SetName, "Arial")
      .Prop("Size", &TTestFont::Size, &TTestFont::SetSize, 8)
      .Prop("Style", &TTestFont::Style, &TTestFont::SetStyle, TTestStyles{})
      .Prop("Color", &TTestFont::Color, &TTestFont::SetColor, 0)
      .Idents("TTestColor");
  r.Class<TTestPicture, TPersistent>("TTestPicture")
      .Prop("Data", &TTestPicture::Data, &TTestPicture::SetData);
  r.Class<TTestItem, TCollectionItem>("TTestItem")
      .Prop("Caption", &TTestItem::Caption, &TTestItem::SetCaption)
      .Prop("Value", &TTestItem::Value, &TTestItem::SetValue, 0)
      .Prop("Target", &TTestItem::Target, &TTestItem::SetTarget)
      .Prop("Font", &TTestItem::Font)
      .Prop("OnClick", &TTestItem::OnClick, &TTestItem::SetOnClick);
  r.Class<TTestComponent, TComponent>("TTestComponent")
      .Prop("Caption", &TTestComponent::Caption, &TTestComponent::SetCaption)
      .Prop("Count", &TTestComponent::Count, &TTestComponent::SetCount, 0)
      .Prop("Big", &TTestComponent::Big, &TTestComponent::SetBig, 0)
      .Prop("Small", &TTestComponent::Small, &TTestComponent::SetSmall, 0)
      .Prop("Enabled", &TTestComponent::Enabled, &TTestComponent::SetEnabled, true)
      .Prop("Ratio", &TTestComponent::Ratio, &TTestComponent::SetRatio)
      .Prop("Kind", &TTestComponent::Kind, &TTestComponent::SetKind, tkAlpha)
      .Prop("Kinds", &TTestComponent::Kinds, &TTestComponent::SetKinds, TTestKinds{tkAlpha})
      .Prop("Lines", &TTestComponent::Lines)
      .Prop("Items", &TTestComponent::Items)
      .Prop("Font", &TTestComponent::Font)
      .Prop("Picture", &TTestComponent::Picture)
      .Prop("Color", &TTestComponent::Color, &TTestComponent::SetColor, 0)
      .Idents("TTestColor")
      .Prop("Hidden", &TTestComponent::Hidden, &TTestComponent::SetHidden)
      .Stored(false)
      .Prop("Link", &TTestComponent::Link, &TTestComponent::SetLink)
      .Prop("Peer", &TTestComponent::Peer, &TTestComponent::SetPeer)
      .Prop("OnClick", &TTestComponent::OnClick, &TTestComponent::SetOnClick)
      .Prop("OnQuery", &TTestComponent::OnQuery, &TTestComponent::SetOnQuery);
  r.Class<TTestPanel, TTestComponent>("TTestPanel");
  r.Class<TTestForm, TComponent>("TTestForm")
      .Prop("Caption", &TTestForm::Caption, &TTestForm::SetCaption)
      .Prop("Width", &TTestForm::Width, &TTestForm::SetWidth, 100)
      .Prop("OnCreate", &TTestForm::OnCreate, &TTestForm::SetOnCreate)
      .Handler("FormCreate", &TTestForm::FormCreate)
      .Handler("ButtonClick", &TTestForm::ButtonClick)
      .Handler("AskUser", &TTestForm::AskUser);
  r.Class<TTestDerivedForm, TTestForm>("TTestDerivedForm")
      .Handler("ExtraClick", &TTestDerivedForm::ExtraClick);
  r.Class<TTestUncreatable, TComponent>("TTestUncreatable");
}

}  // namespace formtest
