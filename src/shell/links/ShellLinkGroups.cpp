// TCustomShellLinkGroup and TMainLinkGroup (see cmp_TInstallShellLink.h):
// construction rules, the program-menu rule of the main group and the
// program-wide reference to it.
#include "shell/links/cmp_TInstallShellLink.h"

#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"

namespace {

TMainLinkGroup*& MainGroup() {
  static TMainLinkGroup* group = nullptr;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("links.MainLinkGroup", [] { MainGroup() = nullptr; });
  }
  return group;
}

// Refuses a second main group before anything of it is made.
TComponent* FirstMainGroupOwner(TComponent* owner) {
  if (MainGroup())
    throw IEShellLinkGroup("You can only have one TMainLinkGroup component in your project");
  return owner;
}

}  // namespace

TMainLinkGroup* MainLinkGroup() noexcept {
  return MainGroup();
}

// --- TCustomShellLinkGroup -------------------------------------------------------

TCustomShellLinkGroup::TCustomShellLinkGroup(TComponent* owner) : TInstallObject(owner) {
  SetInclude(true);
  SetInstallable(true);
}

// --- TMainLinkGroup ----------------------------------------------------------------

TMainLinkGroup::TMainLinkGroup(TComponent* owner)
    : TCustomShellLinkGroup(FirstMainGroupOwner(owner)) {
  UseProgramMenu();
  TCustomInstall* installer = Installer();
  SetDestDir(installer ? "\\" + installer->Information()->ProductName()
                       : std::string("\\MainFolderName"));
  // Last: a construction that fails leaves no reference behind.
  MainGroup() = this;
}

TMainLinkGroup::~TMainLinkGroup() {
  if (MainGroup() == this) MainGroup() = nullptr;
}

void TMainLinkGroup::BeforeDestruction() noexcept {
  // Nobody reaches a group that is being taken apart.
  if (MainGroup() == this) MainGroup() = nullptr;
  TCustomShellLinkGroup::BeforeDestruction();
}

void TMainLinkGroup::UseProgramMenu() {
  AssignDestDirType(FindPathSpecifier<TpsProgramMenu>());
}

void TMainLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
  UseProgramMenu();
}

void TMainLinkGroup::Loaded() {
  TCustomShellLinkGroup::Loaded();
  UseProgramMenu();
}

void TMainLinkGroup::ContainerChanged(TInstallContainer*) {
  UseProgramMenu();
}

void RegisterShellLinkClasses(ClassRegistry& r) {
  r.Class<TCustomShellLinkGroup, TInstallObject>("TCustomShellLinkGroup");
  using C = TMainLinkGroup;
  r.Class<TMainLinkGroup, TCustomShellLinkGroup>("TMainLinkGroup")
      .Prop("Container", &C::Container, &C::SetContainer)
      .Prop("DestDir", &C::DestDir, &C::SetDestDir, "")
      .Prop("Include", &C::Include, &C::SetInclude, true)
      .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
      .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess);
}
