// TInstallContainer and TInstallObject (see cmp_TInstallContainer.h):
// ordered children, component calls, install types, base processing,
// references and the teardown of containment.
#include "install/cmp_TInstallContainer.h"

#include <algorithm>
#include <utility>

#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "install/ComponentCalls.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"

// --- TInstallContainer --------------------------------------------------------

TInstallContainer::TInstallContainer(TComponent* owner) : TComponent(owner) {
  InstallContainerList().Add(this);
  // A form holding any install component holds every standard specifier.
  // While the form is being read its stored specifiers may still follow,
  // so that waits for Loaded (creating them now would take their names).
  if (owner && (owner->Is<TCustomForm>() || owner->InheritsFrom("TDataModule"))) {
    if (InState(csLoading))
      ensureSpecifiersPending_ = true;
    else
      EnsureStandardSpecifiers(this, owner, true);
  }
}

TInstallContainer::~TInstallContainer() {
  LeaveContainers();
}

void TInstallContainer::BeforeDestruction() noexcept {
  LeaveContainers();
  TComponent::BeforeDestruction();
}

void TInstallContainer::LeaveContainers() noexcept {
  if (left_) return;
  left_ = true;
  // Every other live container whose ContainerDestroyed can react hears of
  // it, in list order: the parent drops this object from its children,
  // children lose their container, watchers (links to this object) let go.
  // For any other container the call would find nothing to do; asking
  // them all made tearing down a form quadratic in its objects.
  TInstallContainerList& all = InstallContainerList();
  std::vector<TInstallContainer*> told = all.Watchers();
  if (Is<TInstallObject>())
    if (TInstallContainer* parent = static_cast<TInstallObject*>(this)->container_)
      told.push_back(parent);
  // The children as they are now, with whether each is listed: a link
  // that loses its container frees itself while it hears of it, and must
  // not be touched afterwards.
  std::vector<std::pair<TInstallObject*, bool>> kids;
  kids.reserve(children_.size());
  for (TInstallObject* child : children_) {
    kids.emplace_back(child, all.Contains(child));
    if (child->container_ == this) told.push_back(child);
  }
  told.erase(std::remove_if(told.begin(), told.end(),
                            [&](TInstallContainer* c) { return c == this || !all.Contains(c); }),
             told.end());
  all.SortInListOrder(told);
  for (TInstallContainer* c : told) {
    if (!all.Contains(c)) continue;  // freed by an earlier one's reaction
    try {
      c->ContainerDestroyed(this);
    } catch (...) {
      // A container that cannot forget us must still not stop the teardown;
      // the direct unlinking below keeps the lists consistent.
    }
  }
  for (const auto& [child, listed] : kids) {
    if (listed && !all.Contains(child)) continue;  // freed above
    if (child->container_ == this) child->DropContainer();
  }
  children_.clear();
  if (Is<TInstallObject>()) {
    auto* self = static_cast<TInstallObject*>(this);
    // A parent that has left the list already (the list was emptied while
    // its members lived) did not hear of it above, but must not keep us.
    // A parent that went first has cleared container_.
    if (TInstallContainer* parent = self->container_) {
      auto& siblings = parent->children_;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    }
    self->container_ = nullptr;
  }
  InstallContainerList().Remove(this);
}

TInstallObject* TInstallContainer::Objects(int index) const {
  if (index < 0 || index >= ObjectCount())
    throw IEInstallContainer(
        "Tried to reference a helper component in the following component: %s. The following "
        "index was used: %d",
        Name(), index);
  return children_[static_cast<size_t>(index)];
}

int TInstallContainer::IndexOfObject(const TInstallObject* o) const noexcept {
  const auto it = std::find(children_.begin(), children_.end(), o);
  return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

int TInstallContainer::CompCount(const TMetaClass& cls) const noexcept {
  return static_cast<int>(
      std::count_if(children_.begin(), children_.end(),
                    [&](const TInstallObject* o) { return o->InheritsFrom(cls); }));
}

TInstallObject* TInstallContainer::Comp(int index, const TMetaClass& cls) const {
  int seen = 0;
  for (TInstallObject* o : children_) {
    if (!o->InheritsFrom(cls)) continue;
    if (seen++ == index) return o;
  }
  // The class is named rather than numbered: a class has no useful number.
  throw IEInstallContainer(
      "Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer "
      "component. The parameters are probably reversed. Index: %d, ComponentType: %s",
      index, cls.name);
}

void TInstallContainer::FreeChildrenOfClass(const TMetaClass& cls) {
  // Freeing a child removes it from this list (ContainerDestroyed), so the
  // bound is checked again at every step.
  for (size_t i = children_.size(); i-- > 0;) {
    if (i >= children_.size()) continue;
    TInstallObject* o = children_[i];
    if (o->InheritsFrom(cls)) o->Free();
  }
}

void TInstallContainer::RenumberOrders() {
  int counter = 0;
  int previous = 0;
  for (size_t i = 0; i < children_.size(); ++i) {
    const int type = children_[i]->RegisteredType();
    if (i == 0 || type != previous) counter = 0;
    children_[i]->order_ = counter++;
    previous = type;
  }
}

void TInstallContainer::BroadcastCall(TObject* Sender, int ComponentCall, TObject* PO) {
  // A receiver may add or free children (a dialog closing): walk by index.
  for (size_t i = 0; i < children_.size(); ++i) {
    TInstallObject* o = children_[i];
    if (o->RegisteredType() == kRegisteredDialog) o->HandleComponentCall(Sender, ComponentCall, PO);
  }
}

void TInstallContainer::ShowStatus(const std::string& text) {
  TMessageParameter p(text);
  BroadcastCall(this, kCallShowStatus, &p);
}

void TInstallContainer::HideStatus() {
  BroadcastCall(this, kCallHideStatus, nullptr);
}

void TInstallContainer::SetInstallType(TInstallType type) {
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->SetInstallType(type);
  currentInstallType_ = type;
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet value) {
  if (value.Empty() || (value.Contains(itAlways) && !installTypes_.Contains(itAlways))) {
    installTypes_ = TInstallTypeSet{itAlways};
    return;
  }
  if (value.Contains(itAlways) && value != TInstallTypeSet{itAlways}) value.Exclude(itAlways);
  installTypes_ = value;
}

bool TInstallContainer::WillInstall() const {
  if (!include_) return false;
  if (currentInstallType_ == itAlways || currentInstallType_ == itCustom ||
      installTypes_.Contains(itAlways))
    return true;
  return installTypes_.Contains(currentInstallType_);
}

int TInstallContainer::FileContainerCount() const noexcept {
  return CompCount<TFileContainer>();
}

TFileContainer* TInstallContainer::FileContainers(int index) const {
  return Comp<TFileContainer>(index);
}

void TInstallContainer::SetDestDir(const std::string& value) {
  destDir_ = value;
}

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* value) {
  if (value && !InState(csLoading)) value->CheckUsage(this);
  destDirTypeSet_ = true;
  AssignDestDirType(value);
}

void TInstallContainer::AssignDestDirType(TCustomPathSpecifier* specifier) {
  destDirType_ = specifier;
  // Stale links to a former specifier are harmless: its removal finds
  // nothing to clear here.
  if (specifier) specifier->FreeNotification(this);
}

void TInstallContainer::SetDefaultDestDirType(TCustomPathSpecifier* specifier) {
  AssignDestDirType(specifier);
  destDirTypeDefaultPending_ = specifier != nullptr;
}

void TInstallContainer::ContainerDestroyed(TInstallContainer* c) {
  if (!c) return;
  if (c->Is<TInstallObject>()) {
    auto* o = static_cast<TInstallObject*>(c);
    if (IndexOfObject(o) >= 0) RemoveObject(o);
  }
  if (Is<TInstallObject>()) {
    auto* self = static_cast<TInstallObject*>(this);
    if (self->container_ == c) self->DropContainer();
  }
}

void TInstallContainer::DoInformationEventControl(TObject*, int, TObject*) {}

void TInstallContainer::HandleComponentCall(TObject*, int, TObject*) {}

std::string TInstallContainer::ResolveWith(const TCustomPathSpecifier* specifier,
                                           const std::string& tail) {
  std::string s = specifier ? specifier->GetPath(this) + tail : tail;
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

std::string TInstallContainer::ResolveDestDir() {
  return ResolveWith(destDirType_, destDir_);
}

int TInstallContainer::RegisteredType() const {
  throw IEInstallContainer("Class must declare a registered type");
}

void TInstallContainer::CheckNotCircular(const TInstallObject* o) const {
  if (o == this) throw IEInstallContainer("Circular reference");
  // Climb from this container: meeting `o` means this container lies below
  // it. The climb is bounded so that a broken chain cannot loop forever.
  const int limit = InstallContainerList().Count() + 1;
  int steps = 0;
  for (const TInstallContainer* p = ParentContainer(); p && steps <= limit;
       p = p->ParentContainer(), ++steps)
    if (p == o) throw IEInstallContainer("Circular reference");
}

int TInstallContainer::InsertionIndex(const TInstallObject* o) const {
  const int type = o->RegisteredType();
  const int order = o->Order();
  // The engine group always comes first: its hook must prepare before any
  // sibling is processed.
  if (SameText(o->ClassName(), "TINSTALLQDE")) return 0;
  for (size_t i = 0; i < children_.size(); ++i) {
    const int t = children_[i]->RegisteredType();
    if (t > type) return static_cast<int>(i);
    if (t == type && order != -1 && children_[i]->Order() >= order) return static_cast<int>(i);
  }
  return static_cast<int>(children_.size());
}

void TInstallContainer::AddObject(TInstallObject* o) {
  if (!o) throw IEInstallContainer("Cannot add a blank base helper component to %s", Name());
  CheckNotCircular(o);
  if (IndexOfObject(o) >= 0) return;
  const int index = InsertionIndex(o);
  children_.insert(children_.begin() + index, o);
  if (!InState(csLoading)) RenumberOrders();
}

void TInstallContainer::RemoveObject(TInstallObject* o) {
  const int index = IndexOfObject(o);
  if (index < 0) return;
  children_.erase(children_.begin() + index);
  if (!InState(csLoading)) RenumberOrders();
}

void TInstallContainer::SetOrder(int32_t value) {
  TInstallContainer* c = ParentContainer();
  if (InState(csLoading) || !c) {
    order_ = value;
    return;
  }
  if (value == order_) return;
  auto* self = static_cast<TInstallObject*>(this);  // only objects have a container
  c->RemoveObject(self);
  order_ = value;
  c->AddObject(self);
}

void TInstallContainer::Process() {
  try {
    if (onBeforeProcess_) onBeforeProcess_(this);
    BroadcastCall(this, kCallAfterBeforeProcess, nullptr);
    if (!include_) return;
    BroadcastCall(this, kCallProcessBegins, nullptr);
    if (!WillInstall()) return;
    InstallObjects();
    installed_ = true;
    if (TCustomInstall* installer = Installer())
      WriteUninstallInfo(kUninstallKeyPrefix + installer->Information()->ProductName());
    if (onAfterProcess_) onAfterProcess_(this);
    BroadcastCall(this, kCallAfterAfterProcess, nullptr);
  } catch (const EAbort&) {
    // The silent abort skips the rest of this object.
  }
}

void TInstallContainer::InstallObjects() {
  installed_ = true;
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_[i]->Installable()) children_[i]->Process();
}

void TInstallContainer::Loaded() {
  TComponent::Loaded();
  if (ensureSpecifiersPending_) {
    ensureSpecifiersPending_ = false;
    EnsureStandardSpecifiers(this, Owner(), true);
  }
  // A constructor's default that the stored configuration did not set goes.
  if (destDirTypeDefaultPending_ && !destDirTypeSet_) destDirType_ = nullptr;
  destDirTypeDefaultPending_ = false;
}

void TInstallContainer::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c && c == destDirType_) destDirType_ = nullptr;
}

// --- TInstallObject -------------------------------------------------------------

TInstallObject::TInstallObject(TComponent* owner) : TInstallContainer(owner) {
  // Placed objects go into their container's directory unless told
  // otherwise; loading drops this when the stored object does not say so.
  SetDefaultDestDirType(FindPathSpecifier<TpsContainerDestDir>());
}

TInstallObject::~TInstallObject() {
  // Only reached with a container when the object was deleted without Free
  // (or its construction failed): unlink without calling into anything.
  if (container_) {
    auto& siblings = container_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    container_ = nullptr;
  }
}

void TInstallObject::SetContainer(TInstallContainer* value) {
  if (value == container_) return;
  if (value) value->AddObject(this);  // may refuse; nothing has changed then
  TInstallContainer* old = container_;
  container_ = value;
  if (value) value->FreeNotification(this);
  if (old) old->RemoveObject(this);
  if (!InState(csLoading)) ContainerChanged(value);
}

void TInstallObject::ContainerChanged(TInstallContainer* newContainer) {
  if (newContainer) {
    // No specifier of the kind (no form around) leaves none rather than
    // failing halfway through the move.
    AssignDestDirType(FindPathSpecifier<TpsContainerDestDir>());
    AssignDestDir({});
  } else if (DestDirType() && DestDirType()->Is<TpsContainerDestDir>()) {
    AssignDestDirType(nullptr);
  }
}

void TInstallObject::DropContainer() noexcept {
  container_ = nullptr;
  if (InState(csLoading) || InState(csDestroying)) return;
  try {
    ContainerChanged(nullptr);
  } catch (...) {
    // Dropping the specifiers that named the container cannot fail in a
    // way that matters; the link itself is gone either way.
  }
}
