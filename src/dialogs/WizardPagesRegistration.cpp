// Registration of the pages before installing (welcome, licence, readme,
// setup type, program folder) with their form descriptions and components, and the
// start-up steps of their pairs of form and component units.
#include "dialogs/DialogRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/WizardPage.h"
#include "dialogs/dlgcmp_TInstallType.h"
#include "dialogs/dlgcmp_TLicense.h"
#include "dialogs/dlgcmp_TPageDlg.h"
#include "dialogs/dlgcmp_TReadme.h"
#include "dialogs/dlgcmp_TSelectFolder.h"
#include "dialogs/dlgcmp_TWelcome.h"
#include "dialogs/frmdlg_InstallType.h"
#include "dialogs/frmdlg_License.h"
#include "dialogs/frmdlg_Readme.h"
#include "dialogs/frmdlg_SelectFolder.h"
#include "dialogs/frmdlg_Welcome.h"
#include "framework/ClassRegistry.h"

extern const std::string_view kWelcomeFormDfmText;
extern const std::string_view kLicenseFormDfmText;
extern const std::string_view kReadmeFormDfmText;
extern const std::string_view kInstallTypeFormDfmText;
extern const std::string_view kSelectFolderFormDfmText;

void RegisterWizardPages(ClassRegistry& registry) {
  // Welcome, licence, readme and setup type.
  registry.Class<TWelcomeForm, TWizardPageForm>("TWelcomeForm");
  registry.RegisterDescription("TWelcomeForm", "WelcomeForm.dfm", kWelcomeFormDfmText);
  registry.Class<TWelcomeDlg, TPageDlg>("TWelcomeDlg");
  registry.Class<TLicenseForm, TWizardPageForm>("TLicenseForm");
  registry.RegisterDescription("TLicenseForm", "LicenseForm.dfm", kLicenseFormDfmText);
  registry.Class<TLicenseDlg, TPageDlg>("TLicenseDlg").Prop("Agreement", &TLicenseDlg::Agreement);
  registry.Class<TReadmeForm, TWizardPageForm>("TReadmeForm");
  registry.RegisterDescription("TReadmeForm", "ReadmeForm.dfm", kReadmeFormDfmText);
  registry.Class<TReadmeDlg, TPageDlg>("TReadmeDlg").Prop("Information", &TReadmeDlg::Information);
  registry.Class<TInstallTypeForm, TWizardPageForm>("TInstallTypeForm")
      .Handler("PageControlChange", &TInstallTypeForm::PageControlChange)
      .Handler("edDestDirChange", &TInstallTypeForm::edDestDirChange)
      .Handler("BrowseBtnClick", &TInstallTypeForm::BrowseBtnClick);
  registry.RegisterDescription("TInstallTypeForm", "InstallTypeForm.dfm", kInstallTypeFormDfmText);
  registry.Class<TInstallTypeDlg, TPageDlg>("TInstallTypeDlg");
  // The program folder page and its component.
  registry.Class<TSelectFolderForm, TWizardPageForm>("TSelectFolderForm")
      .Handler("FolderEditChange", &TSelectFolderForm::FolderEditChange)
      .Handler("FolderListBoxClick", &TSelectFolderForm::FolderListBoxClick)
      .Handler("FormResize", &TSelectFolderForm::FormResize);
  registry.RegisterDescription("TSelectFolderForm", "SelectFolderForm.dfm",
                               kSelectFolderFormDfmText);
  registry.Class<TSelectFolderDlg, TPageDlg>("TSelectFolderDlg");
}

void StartWizardPageUnits(bool componentUnitsLinked) {
  // Each form unit, then its component unit.
  StartFormUnit<TWelcomeForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TWelcomeForm>(PageForms());
  StartFormUnit<TLicenseForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TLicenseForm>(PageForms());
  StartFormUnit<TReadmeForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TReadmeForm>(PageForms());
  StartFormUnit<TInstallTypeForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TInstallTypeForm>(PageForms());
}

void StartSelectFolderUnits(bool componentUnitsLinked) {
  // frmdlg_SelectFolder, then dlgcmp_TSelectFolder.
  StartFormUnit<TSelectFolderForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TSelectFolderForm>(PageForms());
}
