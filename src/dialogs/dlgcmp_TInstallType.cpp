// TInstallTypeDlg (see dlgcmp_TInstallType.h).
#include "dialogs/dlgcmp_TInstallType.h"

#include "dialogs/frmdlg_InstallType.h"

TInstallTypeDlg::TInstallTypeDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TInstallTypeForm>(), PageFormFactory<TInstallTypeForm>(),
               dmBeforeInstall, 40) {}
