// TWelcomeDlg (see dlgcmp_TWelcome.h).
#include "dialogs/dlgcmp_TWelcome.h"

#include "dialogs/frmdlg_Welcome.h"

TWelcomeDlg::TWelcomeDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TWelcomeForm>(), PageFormFactory<TWelcomeForm>(),
               dmBeforeInstall, 5) {}
