#pragma once

#include "dialogs/CompletionPage.h"

class TTranslateLabel;

// TBadInstallForm: the page that tells the user the installation failed
// ("Setup incomplete"), shown in the dmAfterBadInstall phase.
class TBadInstallForm : public TCompletionPageForm {
  PELLMORE_CLASS(TBadInstallForm, TCompletionPageForm)

 public:
  // dmAfterBadInstall, Order 10.
  explicit TBadInstallForm(TComponent* owner);

  TTranslateLabel* TopLabel() const noexcept { return topLabel_; }

 protected:
  void DoCreate() override;

 private:
  TTranslateLabel* topLabel_ = nullptr;
};
