// TCopyFileDlg (see dlgcmp_TCopyFile.h).
#include "dialogs/dlgcmp_TCopyFile.h"

#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "dialogs/frmdlg_CopyFile.h"

TCopyFileDlg::TCopyFileDlg(TComponent* owner) : TBaseInstallDlg(owner) {
  DuringCopyForms().Add<TCopyFileForm>(this);
  // While a description is read the stored manager (or Loaded) decides.
  if (!InState(csLoading)) SetDialogManager(FindDialogManager(dmDuringCopyFiles));
}

TCopyFileDlg::~TCopyFileDlg() {
  DuringCopyForms().Remove(TCopyFileForm::StaticMetaClass(), this);
}

TCustomForm* TCopyFileDlg::CreateForm(TComponent* owner) {
  return TCustomForm::Create<TCopyFileForm>(owner);
}

void TCopyFileDlg::Loaded() {
  TBaseInstallDlg::Loaded();
  if (!DialogManager()) SetDialogManager(FindDialogManager(dmDuringCopyFiles));
}

std::optional<TDialogPlacement> TCopyFileDlg::FormPlacement() const {
  TDialogPlacement placement;
  placement.position = position_;
  placement.leftOffset = leftOffset_;
  placement.topOffset = topOffset_;
  placement.height = height_;
  placement.width = width_;
  return placement;
}
