// TGoodInstallForm (see frmdlg_GoodInstall.h).
#include "dialogs/frmdlg_GoodInstall.h"

#include "dialogs/DialogControls.h"
#include "i18n/cmp_TTranslateControls.h"

TGoodInstallForm::TGoodInstallForm(TComponent* owner)
    : TCompletionPageForm(owner, dmAfterGoodInstall, 10) {}

void TGoodInstallForm::DoCreate() {
  label1_ = &DescribedControl<TTranslateLabel>(*this, "Label1");
  TCompletionPageForm::DoCreate();
}
