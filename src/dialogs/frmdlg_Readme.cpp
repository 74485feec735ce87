// TReadmeForm (see frmdlg_Readme.h).
#include "dialogs/frmdlg_Readme.h"

#include "dialogs/DialogControls.h"
#include "framework/StdCtrls.h"

TReadmeForm::TReadmeForm(TComponent* owner) : TWizardPageForm(owner, dmBeforeInstall, 30) {}

void TReadmeForm::DoCreate() {
  information_ = &DescribedControl<TRichEdit>(*this, "Information");
  TWizardPageForm::DoCreate();
}
