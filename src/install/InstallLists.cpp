// The process-wide container and install-file lists (see InstallLists.h).
#include "install/InstallLists.h"

#include <algorithm>

#include "framework/ProcessState.h"
#include "install/InstallErrors.h"

namespace {

// Erases `p` from `v`, searching from the end: members usually leave in
// reverse order of joining.
template <class T, class P>
void EraseFromBack(std::vector<T*>& v, const P* p) noexcept {
  const auto it = std::find(v.rbegin(), v.rend(), p);
  if (it != v.rend()) v.erase(std::next(it).base());
}

}  // namespace

void TInstallContainerList::Add(TInstallContainer* c) {
  if (!c) throw IEContainerList("Cannot add a blank entry to the TInstallContainerList object");
  if (!joined_.emplace(c, nextJoin_).second) return;
  ++nextJoin_;
  items_.push_back(c);
}

void TInstallContainerList::Remove(const TInstallContainer* c) noexcept {
  if (joined_.erase(c) == 0) return;
  EraseFromBack(items_, c);
  EraseFromBack(watchers_, c);
}

void TInstallContainerList::Clear() noexcept {
  items_.clear();
  watchers_.clear();
  joined_.clear();
}

void TInstallContainerList::AddWatcher(TInstallContainer* c) {
  if (Contains(c) && std::find(watchers_.begin(), watchers_.end(), c) == watchers_.end())
    watchers_.push_back(c);
}

void TInstallContainerList::SortInListOrder(std::vector<TInstallContainer*>& list) const {
  const auto place = [this](const TInstallContainer* c) { return joined_.at(c); };
  std::sort(list.begin(), list.end(), [&](auto* a, auto* b) { return place(a) < place(b); });
  list.erase(std::unique(list.begin(), list.end()), list.end());
}

void TCustomInstallFileList::Add(TFileRelated* f) {
  if (!f)
    throw IECustomInstallFileList("Cannot add a blank entry to the TCustomInstallFileList object");
  if (members_.insert(f).second) items_.push_back(f);
}

void TCustomInstallFileList::Remove(const TFileRelated* f) noexcept {
  if (members_.erase(f) != 0) EraseFromBack(items_, f);
}

TInstallContainerList& InstallContainerList() {
  static TInstallContainerList list;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("install.ContainerList", [] { list.Clear(); });
  }
  return list;
}

TCustomInstallFileList& CustomInstallFileList() {
  static TCustomInstallFileList list;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("install.InstallFileList", [] { list.Clear(); });
  }
  return list;
}
