// TUninstallEXE (see cmp_TUninstallEXE.h).
#include "install/uninstall/cmp_TUninstallEXE.h"

#include "framework/ClassRegistry.h"
#include "framework/StrUtils.h"
#include "install/KitDirectory.h"
#include "install/cmp_TInstall.h"
#include "install/cmp_TInstallInformation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"

TUninstallEXE::TUninstallEXE(TComponent* owner) : TCustomInstallFile(owner) {
  SetNet(true);
  if (!InState(csDesigning)) return;
  // An author who places the item gets the kit's uninstall program; where
  // the kit cannot be found the item is simply left for the author to fill.
  try {
    const std::string kit = KitDirectory();
    if (!platform::files().FileExists(IncludeTrailingBackslash(kit) + kUninstallProgramName))
      return;
    SetIncludeFromDir(kit);
    SetFileName(kUninstallProgramName);
    SetDestName(kUninstallProgramName);
  } catch (const Exception&) {
  } catch (const std::exception&) {
  }
}

std::string TUninstallEXE::UninstallCommand(const std::string& productName) {
  return IncludeTrailingBackslash(ResolveDestDir()) + DestName() + " " + productName;
}

void TUninstallEXE::WriteUninstallInfo(const std::string& key) {
  TCustomInstall* installer = Installer();
  if (!installer)
    throw IEUninstallEXE(
        "%s could not write information about the uninstall to the registry because there was "
        "no TInstall component",
        Name());
  const std::string product = installer->Information()->ProductName();
  WriteRegString(kRootLocalMachine, key, "DisplayName", product);
  WriteRegString(kRootLocalMachine, key, "UninstallString", UninstallCommand(product));
}

void RegisterUninstallEXE(ClassRegistry& r) {
  using C = TUninstallEXE;
  r.Class<TUninstallEXE, TCustomInstallFile>("TUninstallEXE")
      .Prop("ArchiveFile", &C::ArchiveFile, &C::SetArchiveFile)
      .Prop("ArchiveFileType", &C::ArchiveFileType, &C::SetArchiveFileType)
      .Prop("AddToArchive", &C::AddToArchive, &C::SetAddToArchive, lzcOverwrite)
      .Prop("Container", &C::Container, &C::SetContainer)
      .Prop("DestDir", &C::DestDir, &C::SetDestDir, "")
      .Prop("DestDirType", &C::DestDirType, &C::SetDestDirType)
      .Prop("Include", &C::Include, &C::SetInclude, true)
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes, TInstallTypeSet{itAlways})
      .Prop("Order", &C::Order, &C::SetOrder, -1)
      .Prop("DestName", &C::DestName, &C::SetDestName, "")
      .Prop("FileName", &C::FileName, &C::SetFileName, "")
      .Prop("FileType", &C::FileType, &C::SetFileType, iftNormal)
      .Prop("IncludeFromDir", &C::IncludeFromDir, &C::SetIncludeFromDir, "")
      .Prop("Net", &C::Net, &C::SetNet, true)
      .Prop("NetLocation", &C::NetLocation, &C::SetNetLocation)
      .Prop("OverwriteMode", &C::OverwriteMode, &C::SetOverwriteMode, owAlways)
      .Prop("UpdateDLLCounter", &C::UpdateDLLCounter, &C::SetUpdateDLLCounter, false)
      .Prop("OnAfterCompress", &C::OnAfterCompress, &C::SetOnAfterCompress)
      .Prop("OnAfterCopy", &C::OnAfterCopy, &C::SetOnAfterCopy)
      .Prop("OnAfterInstall", &C::OnAfterInstall, &C::SetOnAfterInstall)
      .Prop("OnBeforeCompress", &C::OnBeforeCompress, &C::SetOnBeforeCompress)
      .Prop("OnBeforeCopy", &C::OnBeforeCopy, &C::SetOnBeforeCopy)
      .Prop("OnBeforeInstall", &C::OnBeforeInstall, &C::SetOnBeforeInstall)
      .Prop("OnReplacing", &C::OnReplacing, &C::SetOnReplacing)
      .Prop("OnStatus", &C::OnStatus, &C::SetOnStatus)
      .Prop("OnNewDisk", &C::OnNewDisk, &C::SetOnNewDisk)
      // Not published, but kept in the form: links the file to its member.
      .Prop("UniqueID", &C::UniqueID, &C::SetUniqueID);
}
