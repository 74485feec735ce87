// Tree views (see TreeView.h).
#include "framework/TreeView.h"

#include <algorithm>

#include "framework/ImgList.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

// --- TTreeNode

void TTreeNode::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  owner_->Changed();
}

void TTreeNode::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  owner_->Changed();
}

void TTreeNode::SetSelectedIndex(int v) {
  if (v == selectedIndex_) return;
  selectedIndex_ = v;
  owner_->Changed();
}

void TTreeNode::SetStateIndex(int v) {
  if (v == stateIndex_) return;
  stateIndex_ = v;
  owner_->Changed();
}

int TTreeNode::Level() const noexcept {
  int level = 0;
  for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("Tree node index out of bounds (" + std::to_string(index) + ")");
  return children_[static_cast<size_t>(index)].get();
}

int TTreeNode::Index() const noexcept {
  const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::AbsoluteIndex() const {
  const auto& flat = owner_->Flat();
  return static_cast<int>(std::find(flat.begin(), flat.end(), this) - flat.begin());
}

TTreeNode* TTreeNode::GetFirstChild() const noexcept {
  return children_.empty() ? nullptr : children_.front().get();
}

TTreeNode* TTreeNode::GetNextSibling() const noexcept {
  const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
  const int i = Index();
  return i >= 0 && static_cast<size_t>(i) + 1 < siblings.size()
             ? siblings[static_cast<size_t>(i) + 1].get()
             : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const noexcept {
  const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
  const int i = Index();
  return i > 0 ? siblings[static_cast<size_t>(i) - 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const noexcept {
  if (!children_.empty()) return children_.front().get();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

bool TTreeNode::IsVisible() const noexcept {
  for (const TTreeNode* p = parent_; p; p = p->parent_)
    if (!p->expanded_) return false;
  return true;
}

bool TTreeNode::Selected() const noexcept {
  return TreeView() && TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool selected) {
  TTreeView* view = TreeView();
  if (!view) return;
  if (selected)
    view->SetSelected(this);
  else if (view->Selected() == this)
    view->SetSelected(nullptr);
}

TTreeView* TTreeNode::TreeView() const noexcept {
  return owner_->Owner();
}

void TTreeNode::SetExpanded(bool expanded) {
  if (expanded == expanded_ || (expanded && children_.empty())) return;
  TTreeView* view = TreeView();
  bool allow = true;
  if (view) {
    const auto& asking = expanded ? view->OnExpanding : view->OnCollapsing;
    if (asking) asking(view, this, allow);
  }
  if (!allow) return;
  expanded_ = expanded;
  // A hidden selection moves to the collapsed node, as the native tree does.
  if (view && !expanded && view->Selected()) {
    for (const TTreeNode* p = view->Selected()->parent_; p; p = p->parent_)
      if (p == this) {
        view->SetSelected(this);
        break;
      }
  }
  owner_->Changed();
  if (view) {
    const auto& told = expanded ? view->OnExpanded : view->OnCollapsed;
    if (told) told(view, this);
  }
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse)
    for (auto& c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse)
    for (auto& c : children_) c->Collapse(true);
  SetExpanded(false);
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  const TTreeView* view = TreeView();
  if (!view || !IsVisible()) return {};
  const std::vector<TTreeNode*> rows = view->VisibleNodes();
  const auto it = std::find(rows.begin(), rows.end(), this);
  if (it == rows.end()) return {};
  const int h = view->ItemHeight();
  const int y = (static_cast<int>(it - rows.begin()) - view->topIndex_) * h;
  if (!textOnly) return TRect{0, y, view->ClientWidth(), y + h};
  int x = view->Indent() * (Level() + (view->ShowRoot() ? 1 : 0));
  if (view->Images()) x += view->Images()->Width() + 3;
  return TRect{x, y, x + view->MeasureText(text_).cx + 4, y + h};
}

void TTreeNode::Delete() {
  owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
  if (children_.empty()) return;
  owner_->BeginUpdate();
  while (!children_.empty()) owner_->Delete(children_.back().get());
  owner_->EndUpdate();
}

// --- TTreeNodes

TTreeNodes::~TTreeNodes() = default;

const std::vector<TTreeNode*>& TTreeNodes::Flat() const {
  if (!flatStale_) return flat_;
  flat_.clear();
  std::vector<const std::vector<std::unique_ptr<TTreeNode>>*> stack;
  std::vector<size_t> pos;
  stack.push_back(&roots_);
  pos.push_back(0);
  while (!stack.empty()) {
    if (pos.back() >= stack.back()->size()) {
      stack.pop_back();
      pos.pop_back();
      continue;
    }
    TTreeNode* n = (*stack.back())[pos.back()++].get();
    flat_.push_back(n);
    if (!n->children_.empty()) {
      stack.push_back(&n->children_);
      pos.push_back(0);
    }
  }
  flatStale_ = false;
  return flat_;
}

int TTreeNodes::Count() const {
  return static_cast<int>(Flat().size());
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  const auto& flat = Flat();
  if (absoluteIndex < 0 || static_cast<size_t>(absoluteIndex) >= flat.size())
    throw EInvalidOperation("Tree node index out of bounds (" + std::to_string(absoluteIndex) +
                            ")");
  return flat[static_cast<size_t>(absoluteIndex)];
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  return roots_.empty() ? nullptr : roots_.front().get();
}

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, const std::string& text, void* data) {
  auto& list = parent ? parent->children_ : roots_;
  list.push_back(std::unique_ptr<TTreeNode>(new TTreeNode(this, parent)));
  TTreeNode* n = list.back().get();
  n->text_ = text;
  n->data_ = data;
  flatStale_ = true;
  Changed();
  return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
  return Insert(sibling ? sibling->parent_ : nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  return Insert(parent, text, data);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this) return;
  if (view_) view_->NodeDeleting(node);
  auto& list = node->parent_ ? node->parent_->children_ : roots_;
  const auto it =
      std::find_if(list.begin(), list.end(),
                   [node](const std::unique_ptr<TTreeNode>& p) { return p.get() == node; });
  if (it == list.end()) return;
  TTreeNode* parent = node->parent_;
  list.erase(it);
  if (parent && parent->children_.empty()) parent->expanded_ = false;
  flatStale_ = true;
  Changed();
}

void TTreeNodes::Clear() {
  if (roots_.empty()) return;
  if (view_) view_->NodeDeleting(nullptr);
  roots_.clear();
  flatStale_ = true;
  Changed();
}

void TTreeNodes::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedInUpdate_) {
    changedInUpdate_ = false;
    if (view_) view_->ItemsChanged();
  }
}

void TTreeNodes::Changed() {
  if (updateCount_ > 0) {
    changedInUpdate_ = true;
    return;
  }
  if (view_) view_->ItemsChanged();
}

// --- TTreeView

TTreeView::TTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
}

TTreeView::~TTreeView() {
  selected_ = nullptr;
  items_.reset();
}

platform::WSControl& TTreeView::WS() const {
  return CurrentWidgetset().ItemViews();
}

void TTreeView::ItemsChanged() {
  const int rows = static_cast<int>(VisibleNodes().size());
  topIndex_ = std::clamp(topIndex_, 0, std::max(0, rows - 1));
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->ItemsChanged(*this);
}

void TTreeView::NodeDeleting(TTreeNode* node) noexcept {
  if (!selected_) return;
  if (!node) {
    selected_ = nullptr;
    return;
  }
  for (const TTreeNode* n = selected_; n; n = n->Parent())
    if (n == node) {
      selected_ = nullptr;
      return;
    }
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == selected_) return;
  if (node && node->Owner() != items_.get())
    throw EInvalidOperation("The node is not an item of " + Name());
  bool allow = true;
  if (OnChanging) OnChanging(this, node, allow);
  if (!allow) return;
  if (node) {  // the native tree shows a selected node: its ancestors open, top first
    std::vector<TTreeNode*> ancestors;
    for (TTreeNode* p = node->Parent(); p; p = p->Parent()) ancestors.push_back(p);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) (*it)->SetExpanded(true);
  }
  selected_ = node;
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->SelectionChanged(*this);
  if (OnChange) OnChange(this, node);
}

std::vector<TTreeNode*> TTreeView::VisibleNodes() const {
  std::vector<TTreeNode*> rows;
  for (TTreeNode* n : items_->Flat())
    if (n->IsVisible()) rows.push_back(n);
  return rows;
}

TTreeNode* TTreeView::TopItem() const noexcept {
  const std::vector<TTreeNode*> rows = VisibleNodes();
  if (rows.empty()) return nullptr;
  return rows[static_cast<size_t>(std::clamp(topIndex_, 0, static_cast<int>(rows.size()) - 1))];
}

void TTreeView::SetTopItem(TTreeNode* node) {
  const std::vector<TTreeNode*> rows = VisibleNodes();
  const auto it = std::find(rows.begin(), rows.end(), node);
  if (it == rows.end()) return;
  const int index = static_cast<int>(it - rows.begin());
  if (index == topIndex_) return;
  topIndex_ = index;
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->ItemsChanged(*this);
  if (OnScroll) OnScroll(this);
}

void TTreeView::PushState() {
  TWinControl::PushState();
  if (horzScrollBarAlways_)
    if (auto* ws = PeerFamily<platform::WSItemView>()) ws->SetHorzScrollBar(*this, true);
}

void TTreeView::SetHorzScrollBarAlways(bool v) {
  if (v == horzScrollBarAlways_) return;
  horzScrollBarAlways_ = v;
  if (auto* ws = PeerFamily<platform::WSItemView>()) ws->SetHorzScrollBar(*this, v);
}

int TTreeView::ItemHeight() const {
  int h = MeasureText("0").cy;
  if (images_) h = std::max(h, images_->Height());
  return h + 2;
}

void TTreeView::SetIndent(int v) {
  if (v < 0 || v == indent_) return;
  indent_ = v;
  ItemsChanged();
}

void TTreeView::SetShowRoot(bool v) {
  if (v == showRoot_) return;
  showRoot_ = v;
  ItemsChanged();
}

void TTreeView::SetImages(TCustomImageList* list) {
  if (list == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = list;
  if (list) list->FreeNotification(this);
  ItemsChanged();
}

void TTreeView::SetStateImages(TCustomImageList* list) {
  if (list == stateImages_) return;
  if (stateImages_) stateImages_->RemoveFreeNotification(this);
  stateImages_ = list;
  if (list) list->FreeNotification(this);
}

void TTreeView::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == images_) images_ = nullptr;
  if (c == stateImages_) stateImages_ = nullptr;
}

void TTreeView::WidgetSelect(TTreeNode* node) noexcept {
  GuardCallback(this, [&] { SetSelected(node); });
}

void TTreeView::WidgetExpand(TTreeNode* node, bool expanded) noexcept {
  GuardCallback(this, [&] {
    if (node && node->Owner() == items_.get()) node->SetExpanded(expanded);
  });
}

void TTreeView::WidgetScroll(TTreeNode* topItem) noexcept {
  GuardCallback(this, [&] { SetTopItem(topItem); });
}
