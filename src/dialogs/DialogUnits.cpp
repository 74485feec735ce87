// Registration of the copy-progress, status and change-disk dialogs, the
// ordered registration of every dialog class, and the start-up steps of
// the kit's pairs of form and component units.
#include "dialogs/DialogRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TInstallStatus.h"
#include "dialogs/frmdlg_ChangeDisk.h"
#include "dialogs/frmdlg_CopyFile.h"
#include "dialogs/frmdlg_InstallStatus.h"
#include "framework/ClassRegistry.h"

extern const std::string_view kCopyFileFormDfmText;
extern const std::string_view kInstallStatusFormDfmText;
extern const std::string_view kChangeDiskFormDfmText;

void RegisterProgressDialogs(ClassRegistry& registry) {
  registry.Class<TCopyFileForm, TBaseDuringCopyForm>("TCopyFileForm")
      .Handler("CancelBtnClick", &TCopyFileForm::CancelBtnClick);
  registry.RegisterDescription("TCopyFileForm", "CopyFileForm.dfm", kCopyFileFormDfmText);
  registry.Class<TCopyFileDlg, TBaseInstallDlg>("TCopyFileDlg")
      .Prop("Height", &TCopyFileDlg::Height, &TCopyFileDlg::SetHeight, 146)
      .Prop("Position", &TCopyFileDlg::Position, &TCopyFileDlg::SetPosition, vdpBottomCenter)
      .Prop("RelativeLeftOffset", &TCopyFileDlg::RelativeLeftOffset,
            &TCopyFileDlg::SetRelativeLeftOffset, 0)
      .Prop("RelativeTopOffset", &TCopyFileDlg::RelativeTopOffset,
            &TCopyFileDlg::SetRelativeTopOffset, 30)
      .Prop("Width", &TCopyFileDlg::Width, &TCopyFileDlg::SetWidth, 474);

  // The status component has no manager and no form order of its own; its
  // published Translate (a method) is not published: the class registry
  // publishes properties and events only.
  registry.Class<TInstallStatusForm, TBasePellmoreForm>("TInstallStatusForm");
  registry.RegisterDescription("TInstallStatusForm", "InstallStatusForm.dfm",
                               kInstallStatusFormDfmText);
  registry.Class<TInstallStatusDlg, TBaseInstallDlg>("TInstallStatusDlg");

  registry.Class<TChangeDiskForm, TBaseChangeDiskForm>("TChangeDiskForm")
      .Handler("BrowseBtnClick", &TChangeDiskForm::BrowseBtnClick)
      .Handler("CancelBtnClick", &TChangeDiskForm::CancelBtnClick);
  registry.RegisterDescription("TChangeDiskForm", "ChangeDiskForm.dfm", kChangeDiskFormDfmText);
}

void RegisterDialogClasses(ClassRegistry& registry) {
  RegisterDialogBase(registry);
  RegisterProgressDialogs(registry);
  RegisterOpenFolderDialog(registry);
  RegisterWizardPages(registry);
  RegisterFileGroupSelect(registry);
  RegisterCompletionDialogs(registry);
}

void StartDialogUnits(bool componentUnitsLinked) {
  StartWizardPageUnits(componentUnitsLinked);
  StartFileGroupSelectUnits(componentUnitsLinked);
  StartSelectFolderUnits(componentUnitsLinked);
  StartCompletionUnits(componentUnitsLinked);
  // frmdlg_CopyFile, then dlgcmp_TCopyFile.
  StartFormUnit<TCopyFileForm>(DuringCopyForms());
  if (componentUnitsLinked) StartComponentUnit<TCopyFileForm>(DuringCopyForms());
  // frmdlg_ChangeDisk, then its component unit, which only withdraws the
  // form's entry (no component stands for the change-disk form).
  StartFormUnit<TChangeDiskForm>(ChangeDiskForms());
  if (componentUnitsLinked) StartComponentUnit<TChangeDiskForm>(ChangeDiskForms());
}
