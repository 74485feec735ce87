// TLicenseDlg (see dlgcmp_TLicense.h).
#include "dialogs/dlgcmp_TLicense.h"

#include "dialogs/frmdlg_License.h"
#include "framework/StdCtrls.h"

TLicenseDlg::TLicenseDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TLicenseForm>(), PageFormFactory<TLicenseForm>(),
               dmBeforeInstall, 20) {}

void TLicenseDlg::AssignDialogProperties() {
  TPageDlg::AssignDialogProperties();
  // The base step checked that the form exists.
  if (auto* page = dynamic_cast<TLicenseForm*>(Form()); page && agreement_->Count() > 0)
    page->Agreement()->Lines()->Assign(agreement_.get());
}
