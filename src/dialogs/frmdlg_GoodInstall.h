#pragma once

#include "dialogs/CompletionPage.h"

class TTranslateLabel;

// TGoodInstallForm: the page that tells the user the installation
// succeeded ("Setup complete"), shown in the dmAfterGoodInstall phase.
class TGoodInstallForm : public TCompletionPageForm {
  PELLMORE_CLASS(TGoodInstallForm, TCompletionPageForm)

 public:
  // dmAfterGoodInstall, Order 10.
  explicit TGoodInstallForm(TComponent* owner);

  TTranslateLabel* MessageLabel() const noexcept { return label1_; }

 protected:
  void DoCreate() override;

 private:
  TTranslateLabel* label1_ = nullptr;
};
