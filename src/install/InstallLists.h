// The process-wide lists of the install object model: every live container
// (TInstallContainerList) and every install file (TCustomInstallFileList).
// Members add themselves when constructed and leave when destroyed, so the
// lists empty themselves; a process-state reset also empties them.
#pragma once

#include <cstddef>
#include <vector>

class TInstallContainer;
class TFileRelated;

class TInstallContainerList {
 public:
  // Raises IEContainerList for a null entry. Adding an entry twice keeps one.
  void Add(TInstallContainer* c);
  void Remove(const TInstallContainer* c) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TInstallContainer* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  bool Contains(const TInstallContainer* c) const noexcept;
  // A copy, for walks that may add or remove members.
  std::vector<TInstallContainer*> Snapshot() const { return items_; }
  void Clear() noexcept { items_.clear(); }

 private:
  std::vector<TInstallContainer*> items_;
};

// Install files: objects of registered type 2000, in creation order.
class TCustomInstallFileList {
 public:
  // Raises IECustomInstallFileList for a null entry.
  void Add(TFileRelated* f);
  void Remove(const TFileRelated* f) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TFileRelated* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  bool Contains(const TFileRelated* f) const noexcept;
  void Clear() noexcept { items_.clear(); }

 private:
  std::vector<TFileRelated*> items_;
};

TInstallContainerList& InstallContainerList();
TCustomInstallFileList& CustomInstallFileList();
