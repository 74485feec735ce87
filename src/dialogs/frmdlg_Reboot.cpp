// TRebootForm (see frmdlg_Reboot.h).
#include "dialogs/frmdlg_Reboot.h"

#include "dialogs/DialogControls.h"
#include "framework/ExtCtrls.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/cmp_TInstall.h"

namespace {
constexpr int kYes = 0;
constexpr int kNo = 1;
}  // namespace

TRebootForm::TRebootForm(TComponent* owner) : TCompletionPageForm(owner, dmReboot, 10) {}

void TRebootForm::DoCreate() {
  rg_ = &DescribedControl<TRadioGroup>(*this, "RG");
  label1_ = &DescribedControl<TTranslateLabel>(*this, "Label1");
  TCompletionPageForm::DoCreate();
}

TCustomInstall* TRebootForm::TargetInstaller() const noexcept {
  return Installer() ? Installer() : ::Installer();
}

void TRebootForm::RefreshPage() {
  TCompletionPageForm::RefreshPage();
  // Checking a radio button fires OnClick; that echo must not write the
  // flag it is showing.
  refreshing_ = true;
  try {
    rg_->SetItemIndex(kNo);
    if (TCustomInstall* install = TargetInstaller(); install && install->Reboot())
      rg_->SetItemIndex(kYes);
  } catch (...) {
    refreshing_ = false;
    throw;
  }
  refreshing_ = false;
}

void TRebootForm::RGClick(TObject*) {
  if (refreshing_) return;
  if (TCustomInstall* install = TargetInstaller()) install->SetReboot(rg_->ItemIndex() == kYes);
}
