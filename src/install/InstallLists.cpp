// The process-wide container and install-file lists (see InstallLists.h).
#include "install/InstallLists.h"

#include <algorithm>

#include "framework/ProcessState.h"
#include "install/InstallErrors.h"

void TInstallContainerList::Add(TInstallContainer* c) {
  if (!c) throw IEContainerList("Cannot add a blank entry to the TInstallContainerList object");
  if (!Contains(c)) items_.push_back(c);
}

void TInstallContainerList::Remove(const TInstallContainer* c) noexcept {
  const auto it = std::find(items_.begin(), items_.end(), c);
  if (it != items_.end()) items_.erase(it);
}

bool TInstallContainerList::Contains(const TInstallContainer* c) const noexcept {
  return std::find(items_.begin(), items_.end(), c) != items_.end();
}

void TCustomInstallFileList::Add(TFileRelated* f) {
  if (!f)
    throw IECustomInstallFileList("Cannot add a blank entry to the TCustomInstallFileList object");
  if (!Contains(f)) items_.push_back(f);
}

void TCustomInstallFileList::Remove(const TFileRelated* f) noexcept {
  const auto it = std::find(items_.begin(), items_.end(), f);
  if (it != items_.end()) items_.erase(it);
}

bool TCustomInstallFileList::Contains(const TFileRelated* f) const noexcept {
  return std::find(items_.begin(), items_.end(), f) != items_.end();
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
