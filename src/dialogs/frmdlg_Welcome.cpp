// TWelcomeForm (see frmdlg_Welcome.h).
#include "dialogs/frmdlg_Welcome.h"

TWelcomeForm::TWelcomeForm(TComponent* owner) : TWizardPageForm(owner, dmBeforeInstall, 5) {}
