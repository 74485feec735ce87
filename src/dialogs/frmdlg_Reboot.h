#pragma once

#include "dialogs/CompletionPage.h"

class TCustomInstall;
class TRadioGroup;
class TTranslateLabel;

// TRebootForm: the page of the dmReboot phase that asks whether Windows
// restarts now. Files in use wait for the next start of Windows; the
// user's choice is the installer's Reboot flag, which the run reads once
// the phase is over.
class TRebootForm : public TCompletionPageForm {
  PELLMORE_CLASS(TRebootForm, TCompletionPageForm)

 public:
  // dmReboot, Order 10.
  explicit TRebootForm(TComponent* owner);

  // The button step, then the answer the installer holds: "Yes" when its
  // Reboot flag is set, otherwise "No". Setting it is not the user's
  // click, so the flag stays as it is.
  void RefreshPage() override;

  // Handler of RG: the user's answer becomes the installer's Reboot flag
  // at once ("Yes" sets it, the other item clears it).
  void RGClick(TObject* Sender);

  TRadioGroup* RG() const noexcept { return rg_; }
  TTranslateLabel* MessageLabel() const noexcept { return label1_; }

 protected:
  void DoCreate() override;
  bool FocusesFinish() const override { return false; }

 private:
  // The installer the form works for; a form made without a component
  // asks the program's installer.
  TCustomInstall* TargetInstaller() const noexcept;

  TRadioGroup* rg_ = nullptr;
  TTranslateLabel* label1_ = nullptr;
  bool refreshing_ = false;
};
