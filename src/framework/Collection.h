// TCollection/TCollectionItem: an owned, ordered list of items of one class
// (columns, panels ...), streamed in form descriptions as
// `Prop = < item ... end item ... end >`.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Object.h"

class TCollection;

// An index outside a collection.
class ECollectionError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ECollectionError"; }
};

// One item of a collection, such as a column of a list view.
class TCollectionItem : public TPersistent {
  PELLMORE_CLASS(TCollectionItem, TPersistent)

 public:
  // Joins `collection` (if any) as its last item.
  explicit TCollectionItem(TCollection* collection);
  // Leaves its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const noexcept { return collection_; }
  // Position in the collection, -1 without one; SetIndex moves the item.
  int Index() const noexcept;
  void SetIndex(int index);
  // A number unique within the collection, given when the item joins.
  int ID() const noexcept { return id_; }
  virtual std::string DisplayName() const { return ClassName(); }

 protected:
  // Tells the collection that this item (or, with allItems, every item)
  // changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

// An owned, ordered list of items of one class, stored in form descriptions,
// such as the columns of a list view.
class TCollection : public TPersistent {
  PELLMORE_CLASS(TCollection, TPersistent)

 public:
  using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
  template <class T>
  static ItemFactory FactoryOf() {
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
  }

  // A collection of `itemClass` items made by `factory`; `owner` is the
  // object whose property it is (may be null).
  TCollection(const TMetaClass& itemClass, ItemFactory factory, TPersistent* owner = nullptr);
  template <class T>
  explicit TCollection(std::in_place_type_t<T>, TPersistent* owner = nullptr)
      : TCollection(T::StaticMetaClass(), FactoryOf<T>(), owner) {}
  // Destroys the items.
  ~TCollection() override;

  int Count() const noexcept { return static_cast<int>(items_.size()); }
  // ECollectionError "List index out of bounds (<i>)" when out of range.
  TCollectionItem* Items(int index) const;
  template <class T>
  T* ItemAs(int index) const {
    return static_cast<T*>(Items(index));
  }
  const TMetaClass& ItemClass() const noexcept { return itemClass_; }
  TPersistent* Owner() const noexcept { return owner_; }

  // A new item at the end / at `index` (0..Count).
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();

  // Changes inside BeginUpdate/EndUpdate call Update once, at the end.
  void BeginUpdate() noexcept { ++updateCount_; }
  void EndUpdate();

  // From another collection: clears, then adds one item per source item and
  // assigns it from that item.
  void Assign(const TPersistent* source) override;

 protected:
  // Called after items are added, removed or changed (null: possibly all);
  // nothing in the base.
  virtual void Update(TCollectionItem* item);

 private:
  friend class TCollectionItem;
  void Attach(TCollectionItem* item);
  void Detach(TCollectionItem* item) noexcept;
  void Changed(TCollectionItem* item);

  const TMetaClass& itemClass_;
  ItemFactory factory_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};
