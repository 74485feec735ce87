// TTreeView: a tree of text nodes with image indexes, expansion, one
// selected node and a scroll position (TopItem). Rows are laid out by the
// model so a widgetset and tests see the same geometry: every visible node
// (all its ancestors expanded) is one row of ItemHeight pixels, the row of
// TopItem at y = 0.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"

class TTreeView;
class TTreeNodes;
class TCustomImageList;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const noexcept { return text_; }
  void SetText(const std::string& text);
  int ImageIndex() const noexcept { return imageIndex_; }
  void SetImageIndex(int v);
  int SelectedIndex() const noexcept { return selectedIndex_; }
  void SetSelectedIndex(int v);
  int StateIndex() const noexcept { return stateIndex_; }
  void SetStateIndex(int v);
  // A pointer the program attaches; the tree never uses it.
  void* Data() const noexcept { return data_; }
  void SetData(void* data) noexcept { data_ = data; }

  TTreeNode* Parent() const noexcept { return parent_; }
  // 0 for a root node.
  int Level() const noexcept;
  int Count() const noexcept { return static_cast<int>(children_.size()); }
  bool HasChildren() const noexcept { return !children_.empty(); }
  TTreeNode* Item(int index) const;
  // Position among its siblings.
  int Index() const noexcept;
  // Position in the whole tree in depth-first order.
  int AbsoluteIndex() const;
  TTreeNode* GetFirstChild() const noexcept;
  TTreeNode* GetNextSibling() const noexcept;
  TTreeNode* GetPrevSibling() const noexcept;
  // The next node in depth-first order, or null.
  TTreeNode* GetNext() const noexcept;

  bool Expanded() const noexcept { return expanded_; }
  // Fires the view's OnExpanding/OnExpanded (or the collapsing pair);
  // OnExpanding/OnCollapsing may refuse.
  void SetExpanded(bool expanded);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  // All ancestors expanded.
  bool IsVisible() const noexcept;
  bool Selected() const noexcept;
  void SetSelected(bool selected);
  // The node's row (0, y, client width, y + ItemHeight) or, textOnly, its
  // text: from x = Indent * (Level + 1 if ShowRoot, else Level), plus the
  // image width + 3 with images, to that + text width + 4. An invisible
  // node gives an empty rectangle.
  TRect DisplayRect(bool textOnly) const;

  TTreeNodes* Owner() const noexcept { return owner_; }
  TTreeView* TreeView() const noexcept;
  // Deletes the node and its children.
  void Delete();
  void DeleteChildren();

 private:
  friend class TTreeNodes;
  TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

  TTreeNodes* owner_;
  TTreeNode* parent_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  std::string text_;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  int stateIndex_ = -1;
  void* data_ = nullptr;
  bool expanded_ = false;
};

// The nodes of one tree view.
class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView* view) : view_(view) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;
  ~TTreeNodes();

  // All nodes in depth-first order.
  int Count() const;
  TTreeNode* Item(int absoluteIndex) const;
  TTreeNode* GetFirstNode() const;
  // A node after the last sibling of `sibling` (a root node without one).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
  // A last child of `parent` (a root node when null).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();
  // Changes inside are reported to the widgetset once, at the end.
  void BeginUpdate() noexcept { ++updateCount_; }
  void EndUpdate();
  TTreeView* Owner() const noexcept { return view_; }

 private:
  friend class TTreeNode;
  friend class TTreeView;
  TTreeNode* Insert(TTreeNode* parent, const std::string& text, void* data);
  void Changed();
  const std::vector<TTreeNode*>& Flat() const;

  TTreeView* view_;
  std::vector<std::unique_ptr<TTreeNode>> roots_;
  mutable std::vector<TTreeNode*> flat_;  // depth-first, rebuilt when stale
  mutable bool flatStale_ = true;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

// A tree of nodes that the user can expand, collapse and select, optionally
// with images and state marks.
class TTreeView : public TWinControl {
  PELLMORE_CLASS(TTreeView, TWinControl)

 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  TTreeNodes* Items() const noexcept { return items_.get(); }
  TTreeNode* Selected() const noexcept { return selected_; }
  // Fires OnChanging (which may refuse) and OnChange, as a selection by
  // the user does.
  void SetSelected(TTreeNode* node);
  // The node of the top row (scroll position); null when empty.
  TTreeNode* TopItem() const noexcept;
  void SetTopItem(TTreeNode* node);
  // Row height: the font's line height (or the image height, if larger)
  // + 2.
  int ItemHeight() const;
  // The visible nodes in row order.
  std::vector<TTreeNode*> VisibleNodes() const;

  int Indent() const noexcept { return indent_; }
  void SetIndent(int v);
  bool ShowButtons() const noexcept { return showButtons_; }
  void SetShowButtons(bool v) { showButtons_ = v; }
  bool ShowLines() const noexcept { return showLines_; }
  void SetShowLines(bool v) { showLines_ = v; }
  bool ShowRoot() const noexcept { return showRoot_; }
  void SetShowRoot(bool v);
  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool HideSelection() const noexcept { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  TCustomImageList* Images() const noexcept { return images_; }
  void SetImages(TCustomImageList* list);
  TCustomImageList* StateImages() const noexcept { return stateImages_; }
  void SetStateImages(TCustomImageList* list);
  // The horizontal scroll bar shows even when no row is wider than the
  // tree (a column beside the tree can then end where its rows end).
  bool HorzScrollBarAlways() const noexcept { return horzScrollBarAlways_; }
  void SetHorzScrollBarAlways(bool v);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVExpandingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  // The rows moved vertically: TopItem changed (by the user or SetTopItem).
  TNotifyEvent OnScroll;

  // Entry points for the widgetset (exception boundaries).
  void WidgetSelect(TTreeNode* node) noexcept;
  void WidgetExpand(TTreeNode* node, bool expanded) noexcept;
  void WidgetScroll(TTreeNode* topItem) noexcept;

  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Notification drops only Images and StateImages, which FreeNotification links.
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }
  platform::WSControl& WS() const override;
  // A new peer also learns the scroll bar setting (the items it reads).
  void PushState() override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  void ItemsChanged();
  void NodeDeleting(TTreeNode* node) noexcept;

  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
  int topIndex_ = 0;  // row of TopItem among the visible nodes
  int indent_ = 19;
  bool showButtons_ = true;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool horzScrollBarAlways_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* stateImages_ = nullptr;
};
