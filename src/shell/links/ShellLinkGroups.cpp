// TCustomShellLinkGroup and TMainLinkGroup (see cmp_TInstallShellLink.h):
// construction rules, the program-menu rule of the main group and the
// program-wide reference to it, and a group's install step.
#include "framework/ProcessState.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shell/links/cmp_TInstallShellLink.h"

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
  ShellLinkGroupList().Add(this);
}

TCustomShellLinkGroup::~TCustomShellLinkGroup() {
  ShellLinkGroupList().Remove(this);
}

void TCustomShellLinkGroup::BeforeDestruction() noexcept {
  ShellLinkGroupList().Remove(this);
  TInstallObject::BeforeDestruction();
}

void TCustomShellLinkGroup::InstallObjects() {
  BroadcastCall(this, kCallLinkGroups, nullptr);
  platform::files().CreateDirectories(ResolveDestDir());
  TInstallObject::InstallObjects();
}

void TCustomShellLinkGroup::ContainerDestroyed(TInstallContainer* c) {
  const bool mine = c && c == Container();
  TInstallObject::ContainerDestroyed(c);
  // A folder nobody installs any more has no place in the run.
  if (mine && !InState(csDestroying)) Free();
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
