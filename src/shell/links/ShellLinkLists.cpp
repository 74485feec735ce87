// The program-wide lists of live links and link groups, the TpsObjectLink
// specifier, and the registration of the unit's classes.
#include <algorithm>

#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "shell/links/cmp_TInstallShellLink.h"

// --- the lists ------------------------------------------------------------------------------

template <class T>
void TShellLinkListOf<T>::Add(T* item) {
  if (!item) throw IEInstallShellLinkList("Cannot add a blank entry to the shell link list");
  if (!Contains(item)) items_.push_back(item);
}

template <class T>
void TShellLinkListOf<T>::Remove(const T* item) noexcept {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
}

template <class T>
bool TShellLinkListOf<T>::Contains(const T* item) const noexcept {
  return std::find(items_.begin(), items_.end(), item) != items_.end();
}

template class TShellLinkListOf<TCustomInstallShellLink>;
template class TShellLinkListOf<TCustomShellLinkGroup>;

TInstallShellLinkList& InstallShellLinkList() {
  static TInstallShellLinkList list;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("links.InstallShellLinkList", [] { list.Clear(); });
  }
  return list;
}

TShellLinkGroupList& ShellLinkGroupList() {
  static TShellLinkGroupList list;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("links.ShellLinkGroupList", [] { list.Clear(); });
  }
  return list;
}

// --- TpsObjectLink ----------------------------------------------------------------------------

TpsObjectLink::TpsObjectLink(TComponent* owner) : TStandardPathSpecifier(owner) {
  SetStandardName("psObjectLink");
}

std::string TpsObjectLink::Description() const {
  return "Path of the file or file group in the ObjectLink property";
}

void TpsObjectLink::CheckUsage(TComponent* component) const {
  if (!component || !component->Is<TCustomInstallShellLink>())
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                          component ? component->Name() : std::string(), "TCustomInstallShellLink",
                          "psObjectLink");
  if (!static_cast<TCustomInstallShellLink*>(component)->ObjectLink())
    throw IEPathSpecifier("Cannot use ddObjectLink for %s unless you assign a value to ObjectLink",
                          static_cast<TCustomInstallShellLink*>(component)->LinkName());
}

std::string TpsObjectLink::GetPath(TComponent* component) const {
  CheckUsage(component);
  TInstallContainer* object = static_cast<TCustomInstallShellLink*>(component)->ObjectLink();
  std::string path = object->ResolveDestDir();
  if (object->Is<TCustomInstallFile>()) {
    if (path.empty() || path.back() != '\\') path += '\\';
    path += static_cast<TCustomInstallFile*>(object)->DestName();
  }
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

TpsObjectLink* ObjectLinkSpecifier() noexcept {
  return FindPathSpecifier<TpsObjectLink>();
}

void EnsureObjectLinkSpecifier(TComponent* owner) {
  if (!owner || PathSpecifierList().Find(TpsObjectLink::StaticMetaClass())) return;
  auto* specifier = new TpsObjectLink(owner);
  std::string name = specifier->StandardName();
  for (int n = 1; owner->FindComponent(name); ++n)
    name = specifier->StandardName() + std::to_string(n);
  specifier->SetName(name);
}

// --- registration -------------------------------------------------------------------------------

void RegisterShellLinkClasses(ClassRegistry& r) {
  r.Class<TCustomShellLinkGroup, TInstallObject>("TCustomShellLinkGroup");
  {
    using C = TMainLinkGroup;
    r.Class<TMainLinkGroup, TCustomShellLinkGroup>("TMainLinkGroup")
        .Prop("Container", &C::Container, &C::SetContainer)
        .Prop("DestDir", &C::DestDir, &C::SetDestDir, "")
        .Prop("Include", &C::Include, &C::SetInclude, true)
        .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
        .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess);
  }
  r.Class<TpsObjectLink, TStandardPathSpecifier>("TpsObjectLink");
  r.Class<TCustomInstallShellLink, TInstallObject>("TCustomInstallShellLink");
  using C = TInstallShellLink;
  r.Class<TInstallShellLink, TCustomInstallShellLink>("TInstallShellLink")
      .Prop("Arguments", &C::Arguments, &C::SetArguments, "")
      .Prop("Container", &C::Container, &C::SetContainer)
      .Prop("DestDir", &C::DestDir, &C::SetDestDir, "")
      .Prop("DestDirType", &C::DestDirType, &C::SetDestDirType)
      .Prop("HotKey", &C::HotKey, &C::SetHotKey, uint16_t(0))
      .Prop("Include", &C::Include, &C::SetInclude, true)
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes, TInstallTypeSet{itAlways})
      .Prop("LinkMethod", &C::LinkMethod, &C::SetLinkMethod, uint8_t(0))
      .Prop("LinkName", &C::LinkName, &C::SetLinkName, "")
      .Prop("ObjectLink", &C::ObjectLink, &C::SetObjectLink)
      .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
      .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess)
      .Prop("Order", &C::Order, &C::SetOrder, -1)
      .Prop("Target", &C::Target, &C::SetTarget, "")
      .Prop("TargetType", &C::TargetType, &C::SetTargetType);
}
