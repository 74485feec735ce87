// Registration of the file group selection page (its form, with the form's
// handlers and description, and the component standing for it) and the
// start-up steps of its pair of units.
#include "dialogs/DialogRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TFileGroupSelect.h"
#include "dialogs/frmdlg_FileGroupSelect.h"
#include "framework/ClassRegistry.h"

extern const std::string_view kFileGroupSelectFormDfmText;

void RegisterFileGroupSelect(ClassRegistry& registry) {
  registry.Class<TFileGroupSelectForm, TWizardPageForm>("TFileGroupSelectForm")
      .Handler("DirectoryLabelChange", &TFileGroupSelectForm::DirectoryLabelChange)
      .Handler("BrowseBtnClick", &TFileGroupSelectForm::BrowseBtnClick);
  registry.RegisterDescription("TFileGroupSelectForm", "FileGroupSelectForm.dfm",
                               kFileGroupSelectFormDfmText);
  registry.Class<TFileGroupSelectDlg, TPageDlg>("TFileGroupSelectDlg");
}

void StartFileGroupSelectUnits(bool componentUnitsLinked) {
  // frmdlg_FileGroupSelect, then dlgcmp_TFileGroupSelect.
  StartFormUnit<TFileGroupSelectForm>(PageForms());
  if (componentUnitsLinked) StartComponentUnit<TFileGroupSelectForm>(PageForms());
}
