// TLicenseForm (see frmdlg_License.h).
#include "dialogs/frmdlg_License.h"

#include "dialogs/DialogControls.h"
#include "framework/StdCtrls.h"

TLicenseForm::TLicenseForm(TComponent* owner) : TWizardPageForm(owner, dmBeforeInstall, 20) {}

void TLicenseForm::DoCreate() {
  agreement_ = &DescribedControl<TRichEdit>(*this, "Agreement");
  TWizardPageForm::DoCreate();
}
