// List views (see ListView.h).
#include "framework/ListView.h"

#include <algorithm>

#include "framework/ImgList.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

// --- columns

void TListColumn::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed(false);
}

void TListColumn::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Changed(false);
}

TListColumns::TListColumns(TListView* view)
    : TCollection(std::in_place_type<TListColumn>, view), view_(view) {}

void TListColumns::Update(TCollectionItem*) {
  if (view_) view_->ItemsChanged();
}

// --- items

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(new TStringList) {
  subItems_->OnChange = [this](TObject*) { owner_->Changed(); };
}

TListItem::~TListItem() {
  subItems_->Free();
}

void TListItem::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  owner_->Changed();
}

void TListItem::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  owner_->Changed();
}

void TListItem::SetStateIndex(int v) {
  if (v == stateIndex_) return;
  stateIndex_ = v;
  owner_->Changed();
}

int TListItem::Index() const {
  return owner_->IndexOf(this);
}

bool TListItem::Selected() const noexcept {
  return owner_->Owner() && owner_->Owner()->Selected() == this;
}

void TListItem::SetSelected(bool v) {
  TListView* view = owner_->Owner();
  if (!view) return;
  if (v)
    view->SetSelected(this);
  else if (view->Selected() == this)
    view->SetSelected(nullptr);
}

void TListItem::Delete() {
  owner_->Delete(Index());
}

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("List item index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add() {
  items_.push_back(std::unique_ptr<TListItem>(new TListItem(this)));
  Changed();
  return items_.back().get();
}

void TListItems::Delete(int index) {
  TListItem* item = Item(index);
  if (view_ && view_->selected_ == item) view_->selected_ = nullptr;
  items_.erase(items_.begin() + index);
  Changed();
}

void TListItems::Clear() {
  if (items_.empty()) return;
  if (view_) view_->selected_ = nullptr;
  items_.clear();
  Changed();
}

int TListItems::IndexOf(const TListItem* item) const noexcept {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TListItems::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedInUpdate_) {
    changedInUpdate_ = false;
    if (view_) view_->ItemsChanged();
  }
}

void TListItems::Changed() {
  if (updateCount_ > 0) {
    changedInUpdate_ = true;
    return;
  }
  if (view_) view_->ItemsChanged();
}

// --- TListView

TListView::TListView(TComponent* owner)
    : TWinControl(owner),
      columns_(new TListColumns(this)),
      items_(std::make_unique<TListItems>(this)) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
  SetTabStop(true);
}

TListView::~TListView() {
  selected_ = nullptr;
  items_.reset();
  columns_->Free();
}

platform::WSControl& TListView::WS() const {
  return CurrentWidgetset().ItemViews();
}

void TListView::ItemsChanged() {
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->ItemsChanged(*this);
}

void TListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  ItemsChanged();
}

void TListView::SetSelected(TListItem* item) {
  if (item == selected_) return;
  if (item && item->Owner() != items_.get())
    throw EInvalidOperation("The item is not an item of " + Name());
  selected_ = item;
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->SelectionChanged(*this);
  if (OnChange) OnChange(this);
}

void TListView::SetImageList(TCustomImageList*& slot, TCustomImageList* list) {
  if (list == slot) return;
  if (slot) slot->RemoveFreeNotification(this);
  slot = list;
  if (list) list->FreeNotification(this);
  ItemsChanged();
}

void TListView::SetSmallImages(TCustomImageList* list) {
  SetImageList(smallImages_, list);
}
void TListView::SetLargeImages(TCustomImageList* list) {
  SetImageList(largeImages_, list);
}
void TListView::SetStateImages(TCustomImageList* list) {
  SetImageList(stateImages_, list);
}

void TListView::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == smallImages_) smallImages_ = nullptr;
  if (c == largeImages_) largeImages_ = nullptr;
  if (c == stateImages_) stateImages_ = nullptr;
}

void TListView::WidgetSelect(TListItem* item) noexcept {
  GuardCallback(this, [&] { SetSelected(item); });
}
