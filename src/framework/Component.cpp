// TComponent: ownership, names, state flags, notifications and the
// process-wide list of live components (see Component.h).
#include "framework/Component.h"

#include <algorithm>
#include <iterator>

#include "framework/StrUtils.h"

namespace {
TComponentState g_creationState;
TComponent* g_liveFirst = nullptr;
TComponent* g_liveLast = nullptr;
size_t g_liveCount = 0;

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}
}  // namespace

bool IsValidIdent(std::string_view s) noexcept {
  if (s.empty() || !IsIdentStart(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(), IsIdentChar);
}

TComponent::TComponent(TComponent* owner) : state_(g_creationState) {
  g_creationState = {};
  livePrev_ = g_liveLast;
  (g_liveLast ? g_liveLast->liveNext_ : g_liveFirst) = this;
  g_liveLast = this;
  ++g_liveCount;
  if (!owner) return;
  try {
    owner->InsertComponent(this);  // an unnamed component always fits
  } catch (...) {
    // A sibling's Notification failed: no destructor will run, so undo here.
    if (owner_) {
      Unlink(owner_->components_, this);
      if (listening_) Unlink(*owner_->listeners_, this);
    }
    LeaveLiveList();
    throw;
  }
}

TComponent::~TComponent() {
  Destroying();
  while (!freeNotifies_.empty()) {
    TComponent* partner = freeNotifies_.back();
    freeNotifies_.pop_back();
    Unlink(partner->freeNotifies_, this);
    partner->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
  LeaveLiveList();
}

void TComponent::LeaveLiveList() noexcept {
  (livePrev_ ? livePrev_->liveNext_ : g_liveFirst) = liveNext_;
  (liveNext_ ? liveNext_->livePrev_ : g_liveLast) = livePrev_;
  --g_liveCount;
}

void TComponent::BeforeDestruction() noexcept {
  Destroying();
  DestroyComponents();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("Component index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const noexcept {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const noexcept {
  if (name.empty()) return nullptr;
  const auto it = names_.find(AsciiUpperCase(name));
  return it == names_.end() ? nullptr : it->second;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("\"" + name + "\" is not a valid component name");
  if (owner_) {
    const TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
    // Reserve first: if that fails, nothing has changed.
    if (!name.empty()) owner_->names_[AsciiUpperCase(name)] = this;
    if (!name_.empty() && !SameText(name_, name)) owner_->names_.erase(AsciiUpperCase(name_));
  }
  name_ = name;
}

void TComponent::SetDesigning(bool designing) noexcept {
  if (designing)
    state_.Include(csDesigning);
  else
    state_.Exclude(csDesigning);
  for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (!c->name_.empty() && FindComponent(c->name_))
    throw EComponentError("A component named " + c->name_ + " already exists");
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  try {
    if (!c->name_.empty()) names_.emplace(AsciiUpperCase(c->name_), c);
    // Joining while everything here is being destroyed (a destructor made
    // it): what it will do is unknown, so it hears every removal.
    if (listeners_) {
      listeners_->push_back(c);
      c->listening_ = true;
    }
  } catch (...) {
    components_.pop_back();
    if (!c->name_.empty()) {
      const auto it = names_.find(AsciiUpperCase(c->name_));
      if (it != names_.end() && it->second == c) names_.erase(it);
    }
    throw;
  }
  c->owner_ = this;
  if (InState(csDesigning)) c->SetDesigning(true);
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  if (!c || c->owner_ != this) return;
  Notification(c, opRemove);
  Unlink(components_, c);
  if (c->listening_) {
    Unlink(*listeners_, c);
    c->listening_ = false;
  }
  if (!c->name_.empty()) {
    const auto it = names_.find(AsciiUpperCase(c->name_));
    if (it != names_.end() && it->second == c) names_.erase(it);
  }
  c->owner_ = nullptr;
}

void TComponent::DestroyComponents() noexcept {
  const bool started = StartTargetedRemovals();
  while (!components_.empty()) {
    TComponent* c = components_.back();
    RemoveComponent(c);
    c->Free();
  }
  if (started) EndTargetedRemovals();
}

void TComponent::DestroyComponents(const std::vector<TComponent*>& list) noexcept {
  const bool started = StartTargetedRemovals();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    // Only what is still owned here (asked each time: freeing one may free
    // others); newest first, so the search from the end is short.
    const auto owned = std::find(components_.rbegin(), components_.rend(), *it);
    if (owned == components_.rend()) continue;
    RemoveComponent(*it);
    (*it)->Free();
  }
  if (started) EndTargetedRemovals();
}

bool TComponent::StartTargetedRemovals() noexcept {
  // Announcing each leaving component to every owned one makes removing
  // many of them take time growing with the square of their number. Only
  // some can act on it: the rest keep no pointer to it that a free
  // notification does not cover, so skipping them changes nothing.
  if (listeners_ || components_.empty()) return false;
  try {
    auto listeners = std::make_unique<std::vector<TComponent*>>();
    for (TComponent* c : components_)
      if (c->ActsOnAnySibling()) listeners->push_back(c);
    for (TComponent* c : *listeners) c->listening_ = true;
    listeners_ = std::move(listeners);
    return true;
  } catch (...) {
    // Without memory for the list, everything hears everything, as it does
    // outside these loops.
    return false;
  }
}

void TComponent::EndTargetedRemovals() noexcept {
  for (TComponent* c : *listeners_) c->listening_ = false;  // those that stay
  listeners_.reset();
}

bool TComponent::ActsOnAnySibling() const noexcept {
  if (!components_.empty()) return true;  // passes announcements on
  const TMetaClass* linksOnly = NotificationOnlyForLinks();
  const TMetaClass* const base = &TComponent::StaticMetaClass();
  for (const TMetaClass* m = &MetaClass(); m && m != base; m = m->parent)
    if (m->declaresNotification) return m != linksOnly;
  return false;
}

void TComponent::Destroying() noexcept {
  if (InState(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
    freeNotifies_.push_back(c);
  if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
    c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) noexcept {
  // Links are mutual: without partners of its own, nobody links to this one
  // (every sibling hears each removal, so this is the common case).
  if (!c || freeNotifies_.empty()) return;
  Unlink(freeNotifies_, c);
  Unlink(c->freeNotifies_, this);
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
}

void TComponent::Notification(TComponent* c, TOperation op) {
  if (op == opRemove && c) RemoveFreeNotification(c);
  NotifyOwned(c, op);
}

void TComponent::NotifyOwned(TComponent* c, TOperation op) {
  // While a description is read into this component, joining components are
  // not announced to the others it owns: with thousands of siblings that
  // would tell each one of every other, and no component acts on a sibling
  // joining while it is still being read.
  if (op == opInsert && InState(csReading)) return;
  if (op == opRemove && listeners_) {
    // DestroyComponents is running. Linked siblings hear it now, as they
    // would from a full announcement (its destructor tells the others).
    // Hearing it unlinks a partner: re-check the bound each time.
    if (c && c->owner_ == this) {
      auto& partners = c->freeNotifies_;
      for (size_t i = partners.size(); i-- > 0;) {
        if (i >= partners.size()) continue;
        TComponent* p = partners[i];
        if (p->owner_ == this && !p->listening_) p->Notification(c, op);
      }
    }
    for (size_t i = listeners_->size(); i-- > 0;)
      if (i < listeners_->size()) (*listeners_)[i]->Notification(c, op);
    return;
  }
  // A receiver may add or destroy components: re-check the bound each time.
  for (size_t i = components_.size(); i-- > 0;)
    if (i < components_.size()) components_[i]->Notification(c, op);
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc,
                             const TComponent* root) const {
  if (root != this) return;
  const std::vector<TComponent*> list = components_;  // a copy: proc may change the list
  for (TComponent* c : list) {
    const TComponent* parent = c->GetParentComponent();
    if (!parent || parent == this) proc(c);
  }
}

void TComponent::SetCreationState(TComponentState state) noexcept {
  g_creationState = state;
}

size_t TComponent::LiveCount() noexcept {
  return g_liveCount;
}

std::vector<const TComponent*> TComponent::LiveComponents() {
  std::vector<const TComponent*> all;
  for (const TComponent* c = g_liveFirst; c; c = c->liveNext_) all.push_back(c);
  return all;
}

void TComponent::Unlink(std::vector<TComponent*>& list, TComponent* c) noexcept {
  const auto it = std::find(list.rbegin(), list.rend(), c);
  if (it != list.rend()) list.erase(std::next(it).base());
}
