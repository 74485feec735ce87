// TBadInstallForm (see frmdlg_BadInstall.h).
#include "dialogs/frmdlg_BadInstall.h"

#include "dialogs/DialogControls.h"
#include "i18n/cmp_TTranslateControls.h"

TBadInstallForm::TBadInstallForm(TComponent* owner)
    : TCompletionPageForm(owner, dmAfterBadInstall, 10) {}

void TBadInstallForm::DoCreate() {
  topLabel_ = &DescribedControl<TTranslateLabel>(*this, "TopLabel");
  TCompletionPageForm::DoCreate();
}
