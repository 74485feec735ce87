// The three form registries (see FormRegistries.h). Each lives for the
// whole process and registers its emptying with the process state, so a
// test that starts form units afresh starts from empty registries.
#include "dialogs/FormRegistries.h"

#include <algorithm>

#include "dialogs/DialogErrors.h"
#include "framework/ProcessState.h"

void TFormRegistry::Add(const TFormRegistryEntry& entry) {
  entries_.push_back(entry);
}

void TFormRegistry::Remove(const TMetaClass& formClass,
                           const TCustomBaseInstallDlg* component) noexcept {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const TFormRegistryEntry& e) {
    return e.formClass == &formClass && e.component == component;
  });
  if (it != entries_.end()) entries_.erase(it);
}

void TFormRegistry::RemoveComponent(const TCustomBaseInstallDlg* component) noexcept {
  if (!component) return;
  std::erase_if(entries_, [&](const TFormRegistryEntry& e) { return e.component == component; });
}

const TFormRegistryEntry& TFormRegistry::Entry(int index) const {
  // The registry's own name stands where the messages say "BIFList", so
  // the format itself is what the translator looks up.
  if (index < 0 || index >= Count())
    throw IEFormRegistry("%d is an invalid index in the " + name_, index);
  const TFormRegistryEntry& e = entries_[static_cast<size_t>(index)];
  if (!e.formClass || !e.create)
    throw IEFormRegistry("The %d 'th entry in the " + name_ + " is NIL", index);
  return e;
}

namespace {

TFormRegistry& Registry(TFormRegistry& instance, bool& registered, const char* resetName) {
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset(resetName, [&instance] { instance.Clear(); });
  }
  return instance;
}

}  // namespace

TFormRegistry& PageForms() {
  static TFormRegistry list("BIFList");
  static bool registered = false;
  return Registry(list, registered, "dialogs.PageForms");
}

TFormRegistry& DuringCopyForms() {
  static TFormRegistry list("DCFList");
  static bool registered = false;
  return Registry(list, registered, "dialogs.DuringCopyForms");
}

TFormRegistry& ChangeDiskForms() {
  static TFormRegistry list("BCDFList");
  static bool registered = false;
  return Registry(list, registered, "dialogs.ChangeDiskForms");
}
