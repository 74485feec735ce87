// The process-wide lists of the install object model: every live container
// (TInstallContainerList) and every install file (TCustomInstallFileList).
// Members add themselves when constructed and leave when destroyed, so the
// lists empty themselves; a process-state reset also empties them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TInstallContainer;
class TFileRelated;

// Membership is a hash lookup and leaving searches from the end (owners
// free in reverse creation order), so building and tearing down a form of
// tens of thousands of files stays linear.
class TInstallContainerList {
 public:
  // Raises IEContainerList for a null entry. Adding an entry twice keeps one.
  void Add(TInstallContainer* c);
  void Remove(const TInstallContainer* c) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TInstallContainer* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  bool Contains(const TInstallContainer* c) const noexcept { return joined_.count(c) != 0; }
  // A copy, for walks that may add or remove members.
  std::vector<TInstallContainer*> Snapshot() const { return items_; }
  void Clear() noexcept;

  // Members whose ContainerDestroyed reacts to the destruction of any
  // container, not only of their own container or children (a shell link
  // pointing at an object); they hear of every destruction.
  void AddWatcher(TInstallContainer* c);
  const std::vector<TInstallContainer*>& Watchers() const noexcept { return watchers_; }
  // Orders `list` (members of this list) as the list does, without duplicates.
  void SortInListOrder(std::vector<TInstallContainer*>& list) const;

 private:
  std::vector<TInstallContainer*> items_;
  std::vector<TInstallContainer*> watchers_;
  // Joining number of each member: its place in items_ relative to the others.
  std::unordered_map<const TInstallContainer*, uint64_t> joined_;
  uint64_t nextJoin_ = 0;
};

// Install files: objects of registered type 2000, in creation order.
class TCustomInstallFileList {
 public:
  // Raises IECustomInstallFileList for a null entry.
  void Add(TFileRelated* f);
  void Remove(const TFileRelated* f) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TFileRelated* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  bool Contains(const TFileRelated* f) const noexcept { return members_.count(f) != 0; }
  void Clear() noexcept {
    items_.clear();
    members_.clear();
  }

 private:
  std::vector<TFileRelated*> items_;
  std::unordered_set<const TFileRelated*> members_;
};

TInstallContainerList& InstallContainerList();
TCustomInstallFileList& CustomInstallFileList();
