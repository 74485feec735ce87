// TRebootDlg (see dlgcmp_TReboot.h).
#include "dialogs/dlgcmp_TReboot.h"

#include "dialogs/frmdlg_Reboot.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/ComponentCalls.h"

TRebootDlg::TRebootDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TRebootForm>(), PageFormFactory<TRebootForm>(), dmReboot, 10) {}

void TRebootDlg::HandleComponentCall(TObject*, int ComponentCall, TObject*) {
  if (ComponentCall == kCallReboot && !DialogManager()) Execute();
}

void TRebootDlg::AssignDialogProperties() {
  TPageDlg::AssignDialogProperties();
  if (auto* page = dynamic_cast<TCompletionPageForm*>(Form())) {
    page->PrepareForComponent();
    FillThemePicture(*page);
    page->RefreshPage();
    page->BackBtn()->SetVisible(false);
  }
}
