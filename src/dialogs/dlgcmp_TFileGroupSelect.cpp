// TFileGroupSelectDlg (see dlgcmp_TFileGroupSelect.h).
#include "dialogs/dlgcmp_TFileGroupSelect.h"

#include "dialogs/frmdlg_FileGroupSelect.h"

TFileGroupSelectDlg::TFileGroupSelectDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TFileGroupSelectForm>(),
               PageFormFactory<TFileGroupSelectForm>(), dmBeforeInstall, 50) {}
