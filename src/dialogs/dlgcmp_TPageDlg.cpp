// TPageDlg (see dlgcmp_TPageDlg.h).
#include "dialogs/dlgcmp_TPageDlg.h"

#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/Forms.h"

TPageDlg::TPageDlg(TComponent* owner, const TMetaClass& formClass, TFormFactory create,
                   TManagerType phase, int32_t order)
    : TBaseInstallDlg(owner), formClass_(&formClass), create_(create), phase_(phase) {
  SetOrder(order);
  PageForms().Add(TFormRegistryEntry{formClass_, create_, this});
  // While a description is read the stored manager (or Loaded) decides.
  if (!InState(csLoading)) SetDialogManager(FindDialogManager(phase_));
}

TPageDlg::~TPageDlg() {
  PageForms().Remove(*formClass_, this);
}

TCustomForm* TPageDlg::CreateForm(TComponent* owner) {
  return create_(owner);
}

void TPageDlg::Loaded() {
  TBaseInstallDlg::Loaded();
  if (!DialogManager()) SetDialogManager(FindDialogManager(phase_));
}
