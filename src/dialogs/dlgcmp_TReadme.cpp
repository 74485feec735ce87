// TReadmeDlg (see dlgcmp_TReadme.h).
#include "dialogs/dlgcmp_TReadme.h"

#include "dialogs/frmdlg_Readme.h"

TReadmeDlg::TReadmeDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TReadmeForm>(), PageFormFactory<TReadmeForm>(), dmBeforeInstall,
               30) {}
