// Progress bars and page controls (see ComCtrls.h).
#include "framework/ComCtrls.h"

#include <algorithm>

#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

// --- TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 16);
}

platform::WSControl& TProgressBar::WS() const {
  return CurrentWidgetset().ProgressBars();
}

void TProgressBar::PushState() {
  TWinControl::PushState();
  auto* ws = PeerFamily<platform::WSProgressBar>();
  ws->SetRange(*this, min_, max_);
  ws->SetPosition(*this, position_);
}

void TProgressBar::CheckRange() {
  if (max_ < min_)
    throw EInvalidOperation("Property out of range: " + Name() + ".Max (" + std::to_string(max_) +
                            ") is below Min (" + std::to_string(min_) + ")");
}

void TProgressBar::SetMin(int v) {
  if (v == min_) return;
  if (!InState(csLoading) && max_ < v)
    throw EInvalidOperation("Property out of range: " + Name() + ".Min (" + std::to_string(v) +
                            ") is above Max (" + std::to_string(max_) + ")");
  min_ = v;
  if (auto* ws = PeerFamily<platform::WSProgressBar>()) ws->SetRange(*this, min_, max_);
  if (!InState(csLoading)) SetPosition(position_);
}

void TProgressBar::SetMax(int v) {
  if (v == max_) return;
  if (!InState(csLoading) && v < min_)
    throw EInvalidOperation("Property out of range: " + Name() + ".Max (" + std::to_string(v) +
                            ") is below Min (" + std::to_string(min_) + ")");
  max_ = v;
  if (auto* ws = PeerFamily<platform::WSProgressBar>()) ws->SetRange(*this, min_, max_);
  if (!InState(csLoading)) SetPosition(position_);
}

void TProgressBar::SetPosition(int v) {
  if (!InState(csLoading)) v = std::clamp(v, min_, std::max(min_, max_));
  if (v == position_) return;
  position_ = v;
  if (auto* ws = PeerFamily<platform::WSProgressBar>()) ws->SetPosition(*this, v);
}

void TProgressBar::StepIt() {
  int64_t next = static_cast<int64_t>(position_) + step_;
  const int64_t range = static_cast<int64_t>(max_) - min_;
  if ((next < min_ || next > max_) && range > 0) next = min_ + (next - min_) % range;
  if (next < min_) next += range;
  SetPosition(static_cast<int>(next));
}

void TProgressBar::Loaded() {
  TWinControl::Loaded();
  CheckRange();
  SetPosition(std::clamp(position_, min_, max_));
}

// --- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetColor(clBtnFace);
  StoreVisible(false);  // only the active page shows
}

TTabSheet::~TTabSheet() {
  // Leaves the page list while still whole; the page control's removal
  // hook then finds nothing to do.
  if (pageControl_) pageControl_->ForgetPage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
  SetParent(pc);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_) pageControl_->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (!pageControl_) return;
  TPageControl* pc = pageControl_;
  if (!v && pc->active_ == this) pc->SetActivePage(pc->FindNextPage(this, true));
  if (v && !pc->active_ && !pc->InState(csLoading)) pc->SetActivePage(this);
  pc->PushTabs();
  pc->Realign();
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (pageControl_) pageControl_->PushTabs();
}

// --- TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

platform::WSControl& TPageControl::WS() const {
  return CurrentWidgetset().PageControls();
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount())
    throw EInvalidOperation("Page index out of bounds (" + std::to_string(index) + ")");
  return pages_[static_cast<size_t>(index)];
}

std::vector<TTabSheet*> TPageControl::TabSheets() const {
  std::vector<TTabSheet*> out;
  for (TTabSheet* p : pages_)
    if (p->tabVisible_) out.push_back(p);
  return out;
}

int TPageControl::TabIndex() const {
  const std::vector<TTabSheet*> tabs = TabSheets();
  const auto it = std::find(tabs.begin(), tabs.end(), active_);
  return it == tabs.end() ? -1 : static_cast<int>(it - tabs.begin());
}

int TPageControl::ActivePageIndex() const {
  return active_ ? active_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* from, bool forward) const {
  const int n = PageCount();
  if (n == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (pages_[static_cast<size_t>(i)] == from) start = i;
  if (start < 0) start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + (forward ? step : -step)) % n + n) % n;
    TTabSheet* p = pages_[static_cast<size_t>(i)];
    if (p->tabVisible_) return p;
  }
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this)
    throw EInvalidOperation("Page " + page->Name() + " is not a page of " + Name());
  if (page == active_) return;
  TTabSheet* old = active_;
  active_ = page;
  if (page) {
    page->BringToFront();
    page->SetVisible(true);
  }
  if (old) old->SetVisible(false);
  PushTabs();
}

TRect TPageControl::DisplayRect() const {
  TRect r = ClientRect();
  r.left += 4;
  r.top += 4;
  r.right -= 4;
  r.bottom -= 4;
  bool anyTab = false;
  for (const TTabSheet* p : pages_) anyTab = anyTab || p->tabVisible_;
  if (anyTab) r.top += MeasureText("0").cy + 6;
  return r;
}

void TPageControl::AlignControls(TControl* moved, TRect& rect) {
  const TRect display = DisplayRect();
  for (TTabSheet* p : std::vector<TTabSheet*>(pages_)) p->SetBoundsRect(display);
  TWinControl::AlignControls(moved, rect);
}

void TPageControl::ControlInserted(TControl* c) {
  if (!c->Is<TTabSheet>()) return;
  auto* sheet = static_cast<TTabSheet*>(c);
  pages_.push_back(sheet);
  sheet->pageControl_ = this;
  sheet->SetBoundsRect(DisplayRect());
  if (!InState(csLoading) && !active_ && sheet->tabVisible_)
    SetActivePage(sheet);
  else
    sheet->SetVisible(sheet == active_);
  PushTabs();
}

void TPageControl::ControlRemoved(TControl* c) {
  const auto it = std::find(pages_.begin(), pages_.end(), c);
  if (it != pages_.end()) ForgetPage(*it);
}

void TPageControl::ForgetPage(TTabSheet* page) noexcept {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  page->pageControl_ = nullptr;
  pages_.erase(it);
  if (active_ == page) active_ = nullptr;
  if (!InState(csDestroying)) {
    try {
      PushTabs();
    } catch (...) {
      HandleCallbackException(this);
    }
  }
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  PushTabs();
}

void TPageControl::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == active_) active_ = nullptr;
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  if (!active_) {
    for (TTabSheet* p : pages_)
      if (p->tabVisible_) {
        active_ = p;
        break;
      }
  }
  for (TTabSheet* p : pages_) p->SetVisible(p == active_);
  PushTabs();
}

void TPageControl::WidgetSelectPage(TTabSheet* page) noexcept {
  GuardCallback(this, [&] {
    if (!page || page == active_ || page->pageControl_ != this || !page->tabVisible_) return;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    SetActivePage(page);
    if (OnChange) OnChange(this);
  });
}

void TPageControl::PushState() {
  TWinControl::PushState();
  PushTabs();
}

void TPageControl::PushTabs() {
  auto* ws = PeerFamily<platform::WSPageControl>();
  if (!ws) return;
  std::vector<std::string> captions;
  for (const TTabSheet* p : TabSheets()) captions.push_back(p->Caption());
  ws->SetTabs(*this, captions, TabIndex());
}
