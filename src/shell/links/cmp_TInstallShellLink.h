// Program-menu link groups as install objects: TCustomShellLinkGroup, a
// folder of links in a menu, and TMainLinkGroup, the program's own folder
// in the start menu's Programs folder (at most one per program, reached
// through MainLinkGroup()). The data model only: a group does not create
// its folder or any link during a run yet, so it installs nothing.
#pragma once

#include "common/exceptions_Pellmore.h"
#include "install/cmp_TInstallContainer.h"

class ClassRegistry;

// A second main group.
PELLMORE_DECLARE_EXCEPTION(IEShellLinkGroup, IException);

class TCustomShellLinkGroup : public TInstallObject {
  PELLMORE_CLASS(TCustomShellLinkGroup, TInstallObject)

 public:
  // Included and installable.
  explicit TCustomShellLinkGroup(TComponent* owner);

  int RegisteredType() const override { return kRegisteredLinkGroup; }
};

// Always resolves through the shared program-menu specifier (the first
// TpsProgramMenu of the standard list): its DestDir is a folder below the
// Programs folder. Where no such specifier exists (a group made without a
// form, or the specifier destroyed) DestDirType is none.
class TMainLinkGroup : public TCustomShellLinkGroup {
  PELLMORE_CLASS(TMainLinkGroup, TCustomShellLinkGroup)

 public:
  // IEShellLinkGroup when a main group exists already (nothing is made
  // then). DestDirType := the program-menu specifier; DestDir := "\" + the
  // installer's product name, or "\MainFolderName" without an installer.
  explicit TMainLinkGroup(TComponent* owner);
  // Clears the program-wide reference if Free did not already.
  ~TMainLinkGroup() override;

  // Whatever is assigned, the program-menu specifier.
  void SetDestDirType(TCustomPathSpecifier* value) override;
  // Loading drops constructor defaults the stored form does not set; the
  // program-menu specifier (perhaps stored later in the form) comes back.
  void Loaded() override;

 protected:
  // A new container keeps the program-menu specifier and the folder name:
  // the group's place never depends on its container's directory.
  void ContainerChanged(TInstallContainer* newContainer) override;
  void BeforeDestruction() noexcept override;

 private:
  void UseProgramMenu();
};

// The one main group, or null.
TMainLinkGroup* MainLinkGroup() noexcept;

// Registers the link group classes and their published properties; called
// after the install classes.
void RegisterShellLinkClasses(ClassRegistry& registry);
