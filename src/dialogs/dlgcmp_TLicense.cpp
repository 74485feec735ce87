// TLicenseDlg (see dlgcmp_TLicense.h).
#include "dialogs/dlgcmp_TLicense.h"

#include "dialogs/frmdlg_License.h"

TLicenseDlg::TLicenseDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TLicenseForm>(), PageFormFactory<TLicenseForm>(),
               dmBeforeInstall, 20) {}
