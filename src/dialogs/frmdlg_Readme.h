#pragma once

#include "dialogs/WizardPage.h"

class TRichEdit;

// TReadmeForm: the readme page before installing. What the user should
// know first is the read-only rich text of `Information`. Only the common
// buttons act.
class TReadmeForm : public TWizardPageForm {
  PELLMORE_CLASS(TReadmeForm, TWizardPageForm)

 public:
  // A page of dmBeforeInstall with Order 30.
  explicit TReadmeForm(TComponent* owner);

  TRichEdit* Information() const noexcept { return information_; }

 protected:
  void DoCreate() override;

 private:
  TRichEdit* information_ = nullptr;
};
