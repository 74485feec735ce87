// TGoodInstallationDlg (see dlgcmp_TGoodInstallation.h).
#include "dialogs/dlgcmp_TGoodInstallation.h"

#include "dialogs/frmdlg_GoodInstall.h"
#include "install/ComponentCalls.h"

TGoodInstallationDlg::TGoodInstallationDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TGoodInstallForm>(), PageFormFactory<TGoodInstallForm>(),
               dmAfterGoodInstall, 10) {}

void TGoodInstallationDlg::HandleComponentCall(TObject*, int ComponentCall, TObject*) {
  if (ComponentCall == kCallGoodInstallNotice && !DialogManager()) Execute();
}

void TGoodInstallationDlg::AssignDialogProperties() {
  TPageDlg::AssignDialogProperties();
  // The base step checked that the form exists; only this page's class
  // has the closing buttons.
  if (auto* page = dynamic_cast<TCompletionPageForm*>(Form())) {
    page->PrepareForComponent();
    FillThemePicture(*page);
  }
}
