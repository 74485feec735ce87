// Registration of the pages before installing. (Being built.)
#include "dialogs/DialogRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TSelectFolder.h"
#include "dialogs/frmdlg_SelectFolder.h"
#include "framework/ClassRegistry.h"

extern const std::string_view kSelectFolderFormDfmText;

void RegisterWizardPages(ClassRegistry& registry) {
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
  // frmdlg_SelectFolder, then dlgcmp_TSelectFolder.
  StartFormUnit<TSelectFolderForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TSelectFolderForm>(PageForms());
}
