// Registration of the closing pages (good install, bad install, reboot)
// with their shared button row and their dialog components, and the
// start-up steps of their pairs of form and component units.
#include "dialogs/CompletionPage.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TGoodInstallation.h"
#include "dialogs/dlgcmp_TReboot.h"
#include "dialogs/frmdlg_BadInstall.h"
#include "dialogs/frmdlg_GoodInstall.h"
#include "dialogs/frmdlg_Reboot.h"
#include "framework/ClassRegistry.h"

extern const std::string_view kCompletionPageFormDfmText;
extern const std::string_view kGoodInstallFormDfmText;
extern const std::string_view kBadInstallFormDfmText;
extern const std::string_view kRebootFormDfmText;

void RegisterCompletionDialogs(ClassRegistry& registry) {
  registry.Class<TCompletionPageForm, TWizardPageForm>("TCompletionPageForm");
  registry.RegisterDescription("TCompletionPageForm", "CompletionPageForm.dfm",
                               kCompletionPageFormDfmText);
  registry.Class<TGoodInstallForm, TCompletionPageForm>("TGoodInstallForm");
  registry.RegisterDescription("TGoodInstallForm", "GoodInstallForm.dfm", kGoodInstallFormDfmText);
  registry.Class<TBadInstallForm, TCompletionPageForm>("TBadInstallForm");
  registry.RegisterDescription("TBadInstallForm", "BadInstallForm.dfm", kBadInstallFormDfmText);
  registry.Class<TRebootForm, TCompletionPageForm>("TRebootForm")
      .Handler("RGClick", &TRebootForm::RGClick);
  registry.RegisterDescription("TRebootForm", "RebootForm.dfm", kRebootFormDfmText);

  registry.Class<TGoodInstallationDlg, TPageDlg>("TGoodInstallationDlg");
  registry.Class<TRebootDlg, TPageDlg>("TRebootDlg");
}

void StartCompletionUnits(bool componentUnitsLinked) {
  // frmdlg_GoodInstall, then dlgcmp_TGoodInstallation.
  StartFormUnit<TGoodInstallForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TGoodInstallForm>(PageForms());
  // frmdlg_BadInstall, then its component unit, which only withdraws the
  // form's entry (no component stands for the bad-install page).
  StartFormUnit<TBadInstallForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TBadInstallForm>(PageForms());
  // frmdlg_Reboot, then dlgcmp_TReboot.
  StartFormUnit<TRebootForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TRebootForm>(PageForms());
}
