// TListView: items with a caption, sub-items (the report columns after the
// first), image and state indexes, shown as icons, a list or a report with
// Columns (a collection stored in form descriptions).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Collection.h"
#include "framework/Controls.h"
#include "framework/Strings.h"

class TListView;
class TCustomImageList;

// One column of a list view in report style: its caption, width and alignment.
class TListColumn : public TCollectionItem {
  PELLMORE_CLASS(TListColumn, TCollectionItem)

 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::string& v);
  int Width() const noexcept { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment v);
  std::string DisplayName() const override { return caption_; }

 private:
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

// The columns of a list view, stored with the form as a collection.
class TListColumns : public TCollection {
  PELLMORE_CLASS(TListColumns, TCollection)

 public:
  explicit TListColumns(TListView* view);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const { return ItemAs<TListColumn>(index); }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TListView* view_;
};

class TListItems;

class TListItem {
 public:
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;
  ~TListItem();

  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::string& v);
  TStrings* SubItems() const noexcept { return subItems_; }
  int ImageIndex() const noexcept { return imageIndex_; }
  void SetImageIndex(int v);
  // -1 for none.
  int StateIndex() const noexcept { return stateIndex_; }
  void SetStateIndex(int v);
  void* Data() const noexcept { return data_; }
  void SetData(void* data) noexcept { data_ = data; }
  int Index() const;
  bool Selected() const noexcept;
  void SetSelected(bool v);
  void Delete();
  TListItems* Owner() const noexcept { return owner_; }

 private:
  friend class TListItems;
  explicit TListItem(TListItems* owner);
  TListItems* owner_;
  std::string caption_;
  TStrings* subItems_;
  int imageIndex_ = -1;
  int stateIndex_ = -1;
  void* data_ = nullptr;
};

class TListItems {
 public:
  explicit TListItems(TListView* view) : view_(view) {}
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;

  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TListItem* Item(int index) const;
  TListItem* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const noexcept;
  void BeginUpdate() noexcept { ++updateCount_; }
  void EndUpdate();
  TListView* Owner() const noexcept { return view_; }

 private:
  friend class TListItem;
  void Changed();
  TListView* view_;
  std::vector<std::unique_ptr<TListItem>> items_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// A list of items shown as icons, a list or a report with columns, optionally
// with images and state marks.
class TListView : public TWinControl {
  PELLMORE_CLASS(TListView, TWinControl)

 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  TListColumns* Columns() const noexcept { return columns_; }
  TListItems* Items() const noexcept { return items_.get(); }
  TViewStyle ViewStyle() const noexcept { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool ColumnClick() const noexcept { return columnClick_; }
  void SetColumnClick(bool v) { columnClick_ = v; }
  bool HideSelection() const noexcept { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  TListItem* Selected() const noexcept { return selected_; }
  void SetSelected(TListItem* item);
  TCustomImageList* SmallImages() const noexcept { return smallImages_; }
  void SetSmallImages(TCustomImageList* list);
  TCustomImageList* LargeImages() const noexcept { return largeImages_; }
  void SetLargeImages(TCustomImageList* list);
  TCustomImageList* StateImages() const noexcept { return stateImages_; }
  void SetStateImages(TCustomImageList* list);

  TNotifyEvent OnChange;

  // Entry point for the widgetset: the user selected `item`.
  void WidgetSelect(TListItem* item) noexcept;

  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Notification drops only the image lists, which FreeNotification links.
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }
  platform::WSControl& WS() const override;

 private:
  friend class TListItems;
  friend class TListItem;
  friend class TListColumns;
  void ItemsChanged();
  void SetImageList(TCustomImageList*& slot, TCustomImageList* list);

  TListColumns* columns_;
  std::unique_ptr<TListItems> items_;
  TViewStyle viewStyle_ = vsIcon;
  bool readOnly_ = false;
  bool columnClick_ = true;
  bool hideSelection_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  TListItem* selected_ = nullptr;
  TCustomImageList* smallImages_ = nullptr;
  TCustomImageList* largeImages_ = nullptr;
  TCustomImageList* stateImages_ = nullptr;
};
