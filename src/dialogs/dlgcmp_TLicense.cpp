// TLicenseDlg (see dlgcmp_TLicense.h).
#include "dialogs/dlgcmp_TLicense.h"

#include "dialogs/frmdlg_License.h"
#include "framework/StdCtrls.h"

TLicenseDlg::TLicenseDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TLicenseForm>(), PageFormFactory<TLicenseForm>(),
               dmBeforeInstall, 20) {}

TCustomForm* TLicenseDlg::CreateForm(TComponent* owner) {
  TCustomForm* form = TPageDlg::CreateForm(owner);
  if (agreement_->Count() > 0)
    static_cast<TLicenseForm*>(form)->Agreement()->Lines()->Assign(agreement_.get());
  return form;
}
