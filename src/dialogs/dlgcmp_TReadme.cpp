// TReadmeDlg (see dlgcmp_TReadme.h).
#include "dialogs/dlgcmp_TReadme.h"

#include "dialogs/frmdlg_Readme.h"
#include "framework/StdCtrls.h"

TReadmeDlg::TReadmeDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TReadmeForm>(), PageFormFactory<TReadmeForm>(), dmBeforeInstall,
               30) {}

void TReadmeDlg::AssignDialogProperties() {
  TPageDlg::AssignDialogProperties();
  // The base step checked that the form exists.
  if (auto* page = dynamic_cast<TReadmeForm*>(Form()); page && information_->Count() > 0)
    page->Information()->Lines()->Assign(information_.get());
}
