#pragma once

#include <cstdint>

#include "dialogs/WizardPage.h"

class TCustomBaseInstallDlg;

// TCompletionPageForm: the common ground of the closing pages (the good-
// and bad-install pages and the reboot page), which share one button row.
// They cannot be cancelled, so the row holds "< Previous" and, in one place, either "Next >" or
// "Finish": Finish shows exactly when the page is the last of its phase.
class TCompletionPageForm : public TWizardPageForm {
  PELLMORE_CLASS(TCompletionPageForm, TWizardPageForm)

 public:
  TCompletionPageForm(TComponent* owner, TManagerType phase, int32_t order);
  // A page of dmBeforeInstall with Order 0 (for streaming).
  explicit TCompletionPageForm(TComponent* owner);

  // BackBtn hidden on the first page; ProceedBtn hidden on the last, where
  // FinishBtn shows instead. The visible one of the two is the default
  // button (Enter, and the scripted user's default answer, press it) and
  // takes the focus when the page shows.
  void RefreshPage() override;

  TTranslateBitBtn* FinishBtn() const noexcept { return finishBtn_; }

  // What a dialog component standing for the page does before showing it:
  // no way back, and Next and Finish close a stand-alone form with OK (in
  // a frame the frame's GoNext decides when the phase ends).
  void PrepareForComponent();

 protected:
  void DoCreate() override;
  // Whether FinishBtn may take the focus when ProceedBtn does not show
  // (the reboot page focuses only ProceedBtn).
  virtual bool FocusesFinish() const { return true; }

 private:
  TTranslateBitBtn* finishBtn_ = nullptr;
};
