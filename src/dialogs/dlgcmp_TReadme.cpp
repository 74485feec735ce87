// TReadmeDlg (see dlgcmp_TReadme.h).
#include "dialogs/dlgcmp_TReadme.h"

#include "dialogs/frmdlg_Readme.h"
#include "framework/StdCtrls.h"

TReadmeDlg::TReadmeDlg(TComponent* owner)
    : TPageDlg(owner, PageFormClass<TReadmeForm>(), PageFormFactory<TReadmeForm>(), dmBeforeInstall,
               30) {}

TCustomForm* TReadmeDlg::CreateForm(TComponent* owner) {
  TCustomForm* form = TPageDlg::CreateForm(owner);
  if (information_->Count() > 0)
    static_cast<TReadmeForm*>(form)->Information()->Lines()->Assign(information_.get());
  return form;
}
