// TSelectFolderDlg (see dlgcmp_TSelectFolder.h).
#include "dialogs/dlgcmp_TSelectFolder.h"

#include "dialogs/frmdlg_SelectFolder.h"

TSelectFolderDlg::TSelectFolderDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TSelectFolderForm>(), PageFormFactory<TSelectFolderForm>(),
               dmBeforeInstall, 60) {}
