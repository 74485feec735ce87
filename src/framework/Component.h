// TComponent: the unit of a form. An owner destroys what it owns (newest
// first); names are identifiers unique per owner, ignoring case; the state
// flags tell a component that it is being loaded, read, written, designed or
// destroyed; Notification tells every component of an owner when a component
// joins or leaves, and free notifications link two components so that each
// hears of the other's destruction.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/Object.h"
#include "framework/Set.h"

enum TOperation { opInsert, opRemove };

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = Set<TComponentStateItem>;

// Misuse of the component protocol: a bad or duplicate name, an index out
// of range.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EComponentError"; }
};

// A letter or underscore, then letters, digits and underscores (ASCII).
bool IsValidIdent(std::string_view s) noexcept;

// The common ancestor of everything placed on a form: it has a name, is owned
// by and destroyed with its owner, and is stored in form descriptions.
class TComponent : public TPersistent {
  PELLMORE_CLASS(TComponent, TPersistent)

 public:
  // Joins `owner` (if any) as its newest component; the owner's components
  // hear of it through Notification(this, opInsert).
  explicit TComponent(TComponent* owner);
  // Marks itself destroying, tells its free-notification partners, destroys
  // what it owns and leaves its owner (whose components hear opRemove).
  ~TComponent() override;

  TComponent* Owner() const noexcept { return owner_; }
  int ComponentCount() const noexcept { return static_cast<int>(components_.size()); }
  // The index-th owned component in creation order; EComponentError when
  // out of range.
  TComponent* Components(int index) const;
  // This component's index among its owner's components, -1 without owner.
  int ComponentIndex() const noexcept;
  // The owned component with this name (ignoring case), or null. An empty
  // name finds nothing.
  TComponent* FindComponent(std::string_view name) const noexcept;

  const std::string& Name() const noexcept { return name_; }
  // Raises EComponentError for a name that is not an identifier (empty is
  // allowed) or that another component of the same owner has.
  virtual void SetName(const std::string& name);

  int64_t Tag() const noexcept { return tag_; }
  void SetTag(int64_t tag) noexcept { tag_ = tag; }

  TComponentState ComponentState() const noexcept { return state_; }
  bool InState(TComponentStateItem item) const noexcept { return state_.Contains(item); }
  // For the streaming system and tests; components read their state.
  void IncludeState(TComponentStateItem item) noexcept { state_.Include(item); }
  void ExcludeState(TComponentStateItem item) noexcept { state_.Exclude(item); }
  // Sets or clears csDesigning here and in every owned component.
  void SetDesigning(bool designing) noexcept;

  // Takes ownership of `c` (leaving its previous owner first). Raises
  // EComponentError, changing nothing, when c's name is taken here.
  void InsertComponent(TComponent* c);
  // Gives up ownership of `c`, which lives on without owner. The owner's
  // components (c included) hear Notification(c, opRemove) first.
  void RemoveComponent(TComponent* c);
  // Destroys every owned component, newest first. Each leaving component
  // is announced (opRemove) to this component and to the owned components
  // that may act on it: those linked to it by FreeNotification, those that
  // own components (they pass it on), and those whose class declares its
  // own Notification and does not say NotificationOnlyForLinks. For the
  // others the announcement would do nothing, and leaving them out is what
  // makes destroying a form of many thousands of components take time
  // linear in their number.
  void DestroyComponents() noexcept;
  // The same for those of `list` that this component still owns, last
  // first (a form reader undoing what it created).
  void DestroyComponents(const std::vector<TComponent*>& list) noexcept;
  // Sets csDestroying here and in everything owned.
  void Destroying() noexcept;

  // Links this component and `c` both ways: when either is destroyed, the
  // other receives Notification(it, opRemove). Cleared when one goes.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c) noexcept;

  // Called once every component of a form description exists and has its
  // properties; the default clears csLoading. Overrides call it.
  virtual void Loaded();
  // A component joined or leaves. The default forgets a free-notification
  // link to a leaving component and passes the call on to every owned
  // component (newest first); overrides call it. While this component is
  // reading a description (csReading), a joining one is announced to it
  // alone, not passed on; while it destroys what it owns, a leaving one is
  // passed on only to those that may act on it (see DestroyComponents).
  // Declare at most one member named Notification per class: PELLMORE_CLASS
  // finds the override by that name.
  virtual void Notification(TComponent* c, TOperation op);

  // The nesting of form descriptions. A component nested inside another in
  // a description gets SetParentComponent(enclosing) before its properties
  // are applied (the root for top-level ones); the default ignores it.
  virtual void SetParentComponent(TComponent* parent);
  virtual TComponent* GetParentComponent() const noexcept { return nullptr; }
  // Calls `proc` for each component written nested inside this one. The
  // default: when this is `root`, every owned component whose parent
  // component is none or the root, in creation order; otherwise nothing. A
  // component that parents others adds those children (owned by the root)
  // that it parents; the root does not list them again.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc,
                           const TComponent* root) const;

  // The state a component built by the class registry starts with, taken by
  // the next TComponent constructor (so its constructor already sees
  // csLoading, as when the runtime streams a form in).
  static void SetCreationState(TComponentState state) noexcept;

  // Components alive in the process, oldest first; for leak reports.
  static size_t LiveCount() noexcept;
  static std::vector<const TComponent*> LiveComponents();

 protected:
  // Destroys owned components while this component is still whole.
  void BeforeDestruction() noexcept override;

  // A class whose Notification acts only on components linked to it by
  // FreeNotification (and on what it owns) returns its own StaticMetaClass()
  // here: when its owner destroys all it owns, it then hears only of its
  // linked partners leaving, not of every sibling. A subclass that
  // declares its own Notification hears of every sibling again unless it
  // returns its own class too. The default: null.
  virtual const TMetaClass* NotificationOnlyForLinks() const noexcept { return nullptr; }

 private:
  // Whether this component must hear of every sibling that leaves while its
  // owner destroys all it owns (see DestroyComponents).
  bool ActsOnAnySibling() const noexcept;
  // Makes removals go only to the owned components that may act on them
  // until EndTargetedRemovals; false when that was so already (or no memory
  // was left for the list).
  bool StartTargetedRemovals() noexcept;
  void EndTargetedRemovals() noexcept;
  void NotifyOwned(TComponent* c, TOperation op);
  void LeaveLiveList() noexcept;
  // Removes `c`, searching from the end: components and links mostly go
  // newest first.
  static void Unlink(std::vector<TComponent*>& list, TComponent* c) noexcept;

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;  // owned, creation order
  // The named ones among them by upper-case name, so finding a name (and
  // checking that a new one is free) does not walk a form of thousands of
  // components every time.
  std::unordered_map<std::string, TComponent*> names_;
  std::vector<TComponent*> freeNotifies_;
  // While DestroyComponents runs: the owned components that hear of every
  // leaving one (ActsOnAnySibling, and any that joined meanwhile), in
  // creation order; null otherwise.
  std::unique_ptr<std::vector<TComponent*>> listeners_;
  bool listening_ = false;  // in the owner's listeners_
  std::string name_;
  int64_t tag_ = 0;
  TComponentState state_;
  TComponent* livePrev_ = nullptr;
  TComponent* liveNext_ = nullptr;
};
