#pragma once

#include "dialogs/WizardPage.h"

class TRichEdit;

// TLicenseForm: the licence agreement page before installing. The
// agreement is the read-only rich text of `Agreement`; going on with Next
// is the user's consent. Only the common buttons act.
class TLicenseForm : public TWizardPageForm {
  PELLMORE_CLASS(TLicenseForm, TWizardPageForm)

 public:
  // A page of dmBeforeInstall with Order 20.
  explicit TLicenseForm(TComponent* owner);

  TRichEdit* Agreement() const noexcept { return agreement_; }

 protected:
  void DoCreate() override;

 private:
  TRichEdit* agreement_ = nullptr;
};
