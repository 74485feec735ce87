// TControl, TWinControl, TGraphicControl and TCustomControl (see
// Controls.h): stored state with pushes to the peer, parent/child lists,
// parent font and colour, and the Align layout.
#include "framework/Controls.h"

#include <algorithm>
#include <iterator>

#include "framework/Forms.h"
#include "framework/ProcessState.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

// --- the widgetset slot

namespace {
std::unique_ptr<platform::Widgetset>& InstalledWidgetset() {
  static std::unique_ptr<platform::Widgetset> installed;
  return installed;
}

void DropAllPeers() noexcept {
  for (const TComponent* c : TComponent::LiveComponents())
    if (c->Is<TControl>()) const_cast<TControl*>(static_cast<const TControl*>(c))->DestroyPeer();
}

// Clears a flag when leaving the scope, also by an exception.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};
}  // namespace

platform::Widgetset& CurrentWidgetset() {
  static platform::Widgetset nullWidgetset;
  static const bool registered = [] {
    ProcessState::RegisterReset("framework.Widgetset", [] { InstallWidgetset(nullptr); });
    return true;
  }();
  (void)registered;
  auto& installed = InstalledWidgetset();
  return installed ? *installed : nullWidgetset;
}

void InstallWidgetset(std::unique_ptr<platform::Widgetset> widgetset) {
  DropAllPeers();
  InstalledWidgetset() = std::move(widgetset);
  CurrentWidgetset();  // registers the reset
}

std::string StripAccelChars(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

size_t AccelCharOffset(std::string_view text) {
  size_t out = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      ++out;
      continue;
    }
    if (i + 1 >= text.size()) break;
    if (text[i + 1] != '&') return out;
    ++out;  // "&&": one '&' shown
    ++i;
  }
  return std::string::npos;
}

// --- TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
  font_->OnChange = [this](TObject*) { OnFontObjectChange(); };
}

TControl::~TControl() {
  DestroyPeer();
  if (parent_) parent_->RemoveControl(this);
  font_->Free();
}

void TControl::BeforeDestruction() noexcept {
  DestroyPeer();
  TComponent::BeforeDestruction();
}

platform::WSControl& TControl::WS() const {
  return CurrentWidgetset().Controls();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  for (const TControl* p = parent; p; p = p->parent_)
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
  DestroyPeer();  // the native window cannot change its parent here
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (parent && parent->Is<TWinControl>()) SetParent(static_cast<TWinControl*>(parent));
}

TComponent* TControl::GetParentComponent() const noexcept {
  return parent_;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (peer_ && pushBounds_) peerFamily_->SetBounds(*this, BoundsRect());
  if (align_ != alNone) RequestAlign();
  if (resized) Resize();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  const TAlign old = align_;
  align_ = align;
  if (!InState(csLoading)) {
    // Turning a top/bottom bar into a left/right one keeps its thickness.
    const bool oldVertical = old == alTop || old == alBottom;
    const bool newHorizontal = align == alLeft || align == alRight;
    if (oldVertical == newHorizontal && old != alNone && old != alClient && align != alNone &&
        align != alClient)
      SetBounds(left_, top_, height_, width_);
    else
      AdjustSize();
  }
  RequestAlign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  if (peer_) peerFamily_->SetVisible(*this, visible_);
  if (align_ != alNone) RequestAlign();
}

bool TControl::Showing() const {
  return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::EnabledChanged() {
  if (peer_) peerFamily_->SetEnabled(*this, enabled_);
  Invalidate();
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
}

void TControl::TextChanged() {
  if (peer_) peerFamily_->SetText(*this, text_);
  AdjustSize();
  Invalidate();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  parentColor_ = false;
  ColorChanged();
}

void TControl::ColorChanged() {
  if (peer_) peerFamily_->SetColor(*this, color_);
  Invalidate();
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_ || parent_->color_ == color_) return;
  color_ = parent_->color_;
  ColorChanged();
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  FlagScope syncing(syncingFont_);
  font_->Assign(parent_->font_);
}

void TControl::OnFontObjectChange() {
  if (!syncingFont_) parentFont_ = false;
  FontChanged();
}

void TControl::FontChanged() {
  if (peer_) peerFamily_->SetFont(*this, font_->Data());
  AdjustSize();
  Invalidate();
}

void TControl::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value) AdjustSize();
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return c->Is<TCustomForm>() ? const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c))
                              : nullptr;
}

TSize TControl::MeasureText(std::string_view text) const {
  return CurrentWidgetset().TextExtent(font_->Data(), text);
}

void TControl::Invalidate() {
  if (peer_) peerFamily_->Invalidate(*this);
}

void TControl::Update() {
  if (peer_) peerFamily_->Update(*this);
}

void TControl::BringToFront() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
  }
  if (peer_) peerFamily_->BringToFront(*this);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Resize() {
  if (OnResize && !InState(csLoading)) OnResize(this);
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

void TControl::WidgetClick() noexcept {
  GuardCallback(this, [this] { ClickedByUser(); });
}

void TControl::WidgetPaint(platform::Canvas& canvas) noexcept {
  GuardCallback(this, [&] { PaintOn(canvas); });
}

void TControl::WidgetBounds(const TRect& bounds) noexcept {
  GuardCallback(this, [&] {
    pushBounds_ = false;
    try {
      SetBoundsRect(bounds);
    } catch (...) {
      pushBounds_ = true;
      throw;
    }
    pushBounds_ = true;
  });
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
  AdjustSize();
  if (align_ != alNone) RequestAlign();
}

void TControl::CreatePeer() {
  if (peer_) return;
  if (!parent_ && !IsTopLevel()) return;
  if (parent_ && !parent_->peer_) {
    parent_->CreatePeer();  // creates this control's peer with the parent's children
    return;
  }
  platform::WSControl& family = WS();
  peer_ = family.CreatePeer(*this);
  if (!peer_) return;
  peerFamily_ = &family;
  PushState();
  CreateChildPeers();
}

void TControl::DestroyPeer() noexcept {
  if (!peer_) return;
  DestroyChildPeers();
  try {
    peerFamily_->DestroyPeer(*this);
  } catch (...) {
    HandleCallbackException(this);
  }
  peer_.reset();
  peerFamily_ = nullptr;
}

void TControl::RecreatePeer() {
  if (!peer_) return;
  DestroyPeer();
  CreatePeer();
}

void TControl::PushState() {
  platform::WSControl& ws = *peerFamily_;
  ws.SetBounds(*this, BoundsRect());
  ws.SetText(*this, text_);
  ws.SetFont(*this, font_->Data());
  ws.SetColor(*this, color_);
  ws.SetEnabled(*this, enabled_);
  ws.SetVisible(*this, visible_);
}

// --- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyChildren();
}

void TWinControl::BeforeDestruction() noexcept {
  TControl::BeforeDestruction();  // drops peers, destroys what it owns
  DestroyChildren();
}

void TWinControl::DestroyChildren() noexcept {
  // Children nobody else destroys (their owner, if any, is told).
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    c->Free();
  }
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EInvalidOperation("Control index out of bounds (" + std::to_string(index) + ")");
  return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* c) const {
  for (const TControl* p = c; p; p = p->parent_)
    if (p == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  c->ParentFontChanged();
  c->ParentColorChanged();
  ControlInserted(c);
  if (c->align_ != alNone) AlignControl(c);
  if (HasPeer()) c->CreatePeer();
}

void TWinControl::RemoveControl(TControl* c) {
  // From the end: a form's controls mostly go newest first, and searching
  // from the front made destroying thousands of them quadratic.
  const auto rit = std::find(controls_.rbegin(), controls_.rend(), c);
  if (rit == controls_.rend()) return;
  if (TCustomForm* form = ParentForm()) form->ControlRemoving(c);
  controls_.erase(std::next(rit).base());
  c->parent_ = nullptr;
  ControlRemoved(c);
  if (c->align_ != alNone && !InState(csDestroying)) AlignControl(nullptr);
}

void TWinControl::SetBorderWidth(int width) {
  if (width == borderWidth_) return;
  borderWidth_ = width;
  Realign();
  Invalidate();
}

void TWinControl::AdjustClientRect(TRect& rect) const {
  rect.left += borderWidth_;
  rect.top += borderWidth_;
  rect.right -= borderWidth_;
  rect.bottom -= borderWidth_;
}

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0) --alignLevel_;
  if (alignLevel_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* moved) {
  if (InState(csDestroying)) return;
  if (alignLevel_ > 0 || InState(csLoading)) {
    alignPending_ = true;
    return;
  }
  DisableAlign();
  try {
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(moved, rect);
  } catch (...) {
    alignPending_ = false;
    --alignLevel_;
    throw;
  }
  // Requests made by the children while they were placed are answered.
  alignPending_ = false;
  EnableAlign();
}

namespace {
// Whether c1 goes before c2 among controls of the same alignment.
bool InsertBefore(const TControl* c1, const TControl* c2, TAlign align) {
  switch (align) {
    case alTop:
      return c1->Top() < c2->Top();
    case alBottom:
      return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
    case alLeft:
      return c1->Left() < c2->Left();
    case alRight:
      return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
    default:
      return false;
  }
}

void Position(TControl* c, TAlign align, TRect& rect) {
  int width = rect.right - rect.left;
  if (width < 0 || align == alLeft || align == alRight) width = c->Width();
  int height = rect.bottom - rect.top;
  if (height < 0 || align == alTop || align == alBottom) height = c->Height();
  int left = rect.left;
  int top = rect.top;
  switch (align) {
    case alTop:
      rect.top += height;
      break;
    case alBottom:
      rect.bottom -= height;
      top = rect.bottom;
      break;
    case alLeft:
      rect.left += width;
      break;
    case alRight:
      rect.right -= width;
      left = rect.right;
      break;
    default:
      break;
  }
  c->SetBounds(left, top, width, height);
  // A control that kept another size (an auto-sized label) gives back or
  // takes the difference.
  switch (align) {
    case alTop:
      rect.top -= height - c->Height();
      break;
    case alBottom:
      rect.bottom += height - c->Height();
      break;
    case alLeft:
      rect.left -= width - c->Width();
      break;
    case alRight:
      rect.right += width - c->Width();
      break;
    case alClient:
      rect.right -= width - c->Width();
      rect.bottom -= height - c->Height();
      break;
    default:
      break;
  }
}
}  // namespace

void TWinControl::AlignControls(TControl* moved, TRect& rect) {
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (moved && moved->align_ == align && moved->visible_ && moved->parent_ == this)
      list.push_back(moved);
    for (TControl* c : controls_) {
      if (c->align_ != align || !c->visible_ || c == moved) continue;
      size_t i = 0;
      while (i < list.size() && !InsertBefore(c, list[i], align)) ++i;
      list.insert(list.begin() + static_cast<ptrdiff_t>(i), c);
    }
    for (TControl* c : list) Position(c, align, rect);
  }
}

void TWinControl::Resize() {
  Realign();
  TControl::Resize();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : std::vector<TControl*>(controls_)) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : std::vector<TControl*>(controls_)) c->ParentColorChanged();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc,
                              const TComponent* root) const {
  if (root == this) {
    TControl::GetChildren(proc, root);
    return;
  }
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->Owner() == root) proc(c);
}

void TWinControl::CreateChildPeers() {
  for (TControl* c : std::vector<TControl*>(controls_)) c->CreatePeer();
}

void TWinControl::DestroyChildPeers() noexcept {
  for (TControl* c : controls_) c->DestroyPeer();
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = ParentForm();
  if (!form || !form->Visible() || !form->Enabled()) return false;
  for (const TControl* c = this; c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  const TCustomForm* form = ParentForm();
  return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->SetActiveControl(this);
}

void TWinControl::WidgetKey(bool down, uint16_t key, uint32_t shift) noexcept {
  GuardCallback(this, [&] {
    uint16_t k = key;
    if (down && OnKeyDown) OnKeyDown(this, k, shift);
    if (!down && OnKeyUp) OnKeyUp(this, k, shift);
  });
}

void TWinControl::WidgetText(const std::string& text) noexcept {
  GuardCallback(this, [&] { TextTyped(text); });
}

// --- painting controls

namespace {
template <class F>
void PaintWith(TCanvas& canvas, platform::Canvas& target, const TControl& c, F&& paint) {
  canvas.SetTarget(&target);
  try {
    canvas.Font()->Assign(c.Font());
    canvas.Brush()->SetColor(c.Color());
    canvas.Pen()->SetColor(clBlack);
    paint();
  } catch (...) {
    canvas.SetTarget(nullptr);
    throw;
  }
  canvas.SetTarget(nullptr);
}
}  // namespace

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TCanvas) {}

TGraphicControl::~TGraphicControl() {
  canvas_->Free();
}

void TGraphicControl::PaintOn(platform::Canvas& canvas) {
  PaintWith(*canvas_, canvas, *this, [this] { Paint(); });
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {}

TCustomControl::~TCustomControl() {
  canvas_->Free();
}

void TCustomControl::PaintOn(platform::Canvas& canvas) {
  PaintWith(*canvas_, canvas, *this, [this] { Paint(); });
}
