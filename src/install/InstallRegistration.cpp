// The published properties of the install engine's classes. Base classes
// are registered without properties; each concrete class publishes its own
// set, as the classes differ in what they show.
#include "install/InstallRegistration.h"

#include "archive/cmp_TVrexCompress.h"
#include "framework/ClassRegistry.h"
#include "framework/Pictures.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"

namespace {

// Include, InstallTypes, DestDir, DestDirType, Order and the process events.
template <class C>
void PublishContainer(ClassBuilder<C>& b, const char* destDirDefault = "") {
  b.Prop("DestDir", &C::DestDir, &C::SetDestDir, destDirDefault)
      .Prop("DestDirType", &C::DestDirType, &C::SetDestDirType)
      .Prop("Include", &C::Include, &C::SetInclude, true)
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes, TInstallTypeSet{itAlways})
      .Prop("Order", &C::Order, &C::SetOrder, -1)
      .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
      .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess);
}

// The archive and net location references of file-related objects.
template <class C>
void PublishArchive(ClassBuilder<C>& b) {
  b.Prop("ArchiveFile", &C::ArchiveFile, &C::SetArchiveFile)
      .Prop("ArchiveFileType", &C::ArchiveFileType, &C::SetArchiveFileType)
      .Prop("NetLocation", &C::NetLocation, &C::SetNetLocation)
      .Prop("OnDataReceived", &C::OnDataReceived, &C::SetOnDataReceived);
}

// What every file container shows.
template <class C>
void PublishFileContainer(ClassBuilder<C>& b, bool allowChoice, const char* groupNameDefault) {
  b.Prop("AllowChangeDir", &C::AllowChangeDir, &C::SetAllowChangeDir, true)
      .Prop("Description", &C::Description)
      .Prop("GroupName", &C::GroupName, &C::SetGroupName, groupNameDefault)
      .Prop("OnAfterInstallObjects", &C::OnAfterInstallObjects, &C::SetOnAfterInstallObjects)
      .Prop("OnBeforeInstallObjects", &C::OnBeforeInstallObjects, &C::SetOnBeforeInstallObjects)
      .Prop("OnNewDisk", &C::OnNewDisk, &C::SetOnNewDisk)
      .Prop("OnReplacing", &C::OnReplacing, &C::SetOnReplacing)
      .Prop("OnStatus", &C::OnStatus, &C::SetOnStatus);
  if (allowChoice) b.Prop("AllowChoice", &C::AllowChoice, &C::SetAllowChoice, true);
}

void RegisterNested(ClassRegistry& r) {
  r.Class<TInstallInformation, TPersistent>("TInstallInformation")
      .Prop("CompanyName", &TInstallInformation::CompanyName, &TInstallInformation::SetCompanyName,
            "My Company")
      .Prop("ProductName", &TInstallInformation::ProductName, &TInstallInformation::SetProductName,
            "My product")
      .Prop("Version", &TInstallInformation::Version, &TInstallInformation::SetVersion, "1.0");
  r.Class<TBuildInfo, TPersistent>("TBuildInfo")
      .Prop("AppName", &TBuildInfo::AppName, &TBuildInfo::SetAppName)
      .Prop("AppURL", &TBuildInfo::AppURL, &TBuildInfo::SetAppURL)
      .Prop("BuildDirectory", &TBuildInfo::BuildDirectory, &TBuildInfo::SetBuildDirectory,
            "c:\\build")
      .Prop("CredentialsFile", &TBuildInfo::CredentialsFile, &TBuildInfo::SetCredentialsFile)
      .Prop("OCXName", &TBuildInfo::OCXName, &TBuildInfo::SetOCXName, "plsetup")
      .Prop("PrivateKeyFile", &TBuildInfo::PrivateKeyFile, &TBuildInfo::SetPrivateKeyFile)
      .Prop("SignCode", &TBuildInfo::SignCode, &TBuildInfo::SetSignCode, false)
      .Prop("URLPath", &TBuildInfo::URLPath, &TBuildInfo::SetURLPath);
}

void RegisterInstaller(ClassRegistry& r) {
  r.Class<TCustomInstall, TFileContainer>("TCustomInstall");
  auto b = r.Class<TInstall, TCustomInstall>("TInstall");
  using C = TInstall;
  PublishContainer(b, "\\MyApplication");
  PublishArchive(b);
  PublishFileContainer(b, false, "Main");
  b.Prop("AutoMaximizeWindow", &C::AutoMaximizeWindow, &C::SetAutoMaximizeWindow, true)
      .Prop("BuildInfo", &C::BuildInfo)
      .Prop("DialogThemeBitmap", &C::DialogThemeBitmap)
      .Prop("DistributeType", &C::DistributeType, &C::SetDistributeType, dtTraditional)
      .Prop("HideMainForm", &C::HideMainForm, &C::SetHideMainForm, false)
      .Prop("Information", &C::Information)
      .Prop("Net", &C::Net, &C::SetNet, true)
      .Prop("PresetupFiles", &C::PresetupFiles)
      .Prop("Reboot", &C::Reboot, &C::SetReboot, false)
      .Prop("RunAutomatic", &C::RunAutomatic, &C::SetRunAutomatic, true)
      .Prop("UseLoadingProgram", &C::UseLoadingProgram, &C::SetUseLoadingProgram, true)
      .Prop("OnAfterInitialized", &C::OnAfterInitialized, &C::SetOnAfterInitialized)
      .Prop("OnBeforeReadArchiveInfo", &C::OnBeforeReadArchiveInfo, &C::SetOnBeforeReadArchiveInfo)
      .Prop("OnAfterReadArchiveInfo", &C::OnAfterReadArchiveInfo, &C::SetOnAfterReadArchiveInfo)
      .Prop("OnBeforeNotifyGoodInstall", &C::OnBeforeNotifyGoodInstall,
            &C::SetOnBeforeNotifyGoodInstall)
      .Prop("OnAfterNotifyGoodInstall", &C::OnAfterNotifyGoodInstall,
            &C::SetOnAfterNotifyGoodInstall)
      .Prop("OnBeforeNotifyBadInstall", &C::OnBeforeNotifyBadInstall,
            &C::SetOnBeforeNotifyBadInstall)
      .Prop("OnAfterNotifyBadInstall", &C::OnAfterNotifyBadInstall, &C::SetOnAfterNotifyBadInstall)
      .Prop("OnBeforeReboot", &C::OnBeforeReboot, &C::SetOnBeforeReboot)
      .Prop("OnFailedReboot", &C::OnFailedReboot, &C::SetOnFailedReboot)
      .Prop("OnBeforeCleanup", &C::OnBeforeCleanup, &C::SetOnBeforeCleanup)
      .Prop("OnBeforeShutdown", &C::OnBeforeShutdown, &C::SetOnBeforeShutdown)
      .Prop("OnUserAbort", &C::OnUserAbort, &C::SetOnUserAbort)
      .Prop("OnBeforeRunFile", &C::OnBeforeRunFile, &C::SetOnBeforeRunFile);
}

}  // namespace

void RegisterInstallClasses(ClassRegistry& r) {
  r.Enum<TInstallType>("TInstallType",
                       {"itFull", "itDefault", "itCompact", "itAlways", "itCustom"});
  RegisterLzhCommand(r);
  r.Enum<TDistributeType>("TDistributeType", {"dtTraditional", "dtWeb", "dtTraditionalNet"});
  RegisterNested(r);

  r.Class<TInstallContainer, TComponent>("TInstallContainer");
  r.Class<TInstallObject, TInstallContainer>("TInstallObject");
  r.Class<TFileRelated, TInstallObject>("TFileRelated");
  r.Class<TFileContainer, TFileRelated>("TFileContainer");

  {
    auto b = r.Class<TInstallFileGroup, TFileContainer>("TInstallFileGroup");
    PublishContainer(b);
    PublishArchive(b);
    PublishFileContainer(b, true, "Unnamed File Group");
    b.Prop("AddToArchive", &TInstallFileGroup::AddToArchive, &TInstallFileGroup::SetAddToArchive,
           lzcOverwrite);
    b.Prop("Container", &TInstallFileGroup::Container, &TInstallFileGroup::SetContainer);
  }
  r.Class<TGrabCall, TInstallObject>("TGrabCall")
      .Prop("Container", &TGrabCall::Container, &TGrabCall::SetContainer)
      .Prop("OnCall", &TGrabCall::OnCall, &TGrabCall::SetOnCall);

  RegisterInstaller(r);
}
