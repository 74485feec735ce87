// TCollection/TCollectionItem (see Collection.h).
#include "framework/Collection.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* collection) {
  if (collection) collection->Attach(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->Detach(this);
}

int TCollectionItem::Index() const noexcept {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  if (!collection_) return;
  auto& items = collection_->items_;
  const int from = Index();
  if (index < 0 || index >= static_cast<int>(items.size()))
    throw ECollectionError("List index out of bounds (" + std::to_string(index) + ")");
  if (from == index) return;
  items.erase(items.begin() + from);
  items.insert(items.begin() + index, this);
  collection_->Changed(nullptr);
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->Changed(allItems ? nullptr : this);
}

TCollection::TCollection(const TMetaClass& itemClass, ItemFactory factory, TPersistent* owner)
    : itemClass_(itemClass), factory_(std::move(factory)), owner_(owner) {}

TCollection::~TCollection() {
  ++updateCount_;  // no Update calls on a collection being destroyed
  while (!items_.empty()) items_.back()->Free();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw ECollectionError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  return factory_(this);
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count())
    throw ECollectionError("List index out of bounds (" + std::to_string(index) + ")");
  BeginUpdate();
  TCollectionItem* item = nullptr;
  try {
    item = Add();
    item->SetIndex(index);
  } catch (...) {
    --updateCount_;
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int index) {
  Items(index)->Free();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) items_.back()->Free();
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const TCollectionItem* item : other->items_) Add()->Assign(item);
  } catch (...) {
    --updateCount_;
    throw;
  }
  EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Attach(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Changed(item);
}

void TCollection::Detach(TCollectionItem* item) noexcept {
  const auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
  item->collection_ = nullptr;
  if (updateCount_ == 0) {
    try {
      Update(nullptr);
    } catch (...) {
      // Detach runs inside an item's destructor: a failing Update is dropped.
    }
  }
}

void TCollection::Changed(TCollectionItem* item) {
  if (updateCount_ == 0) Update(item);
}
