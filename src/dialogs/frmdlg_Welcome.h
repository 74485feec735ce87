#pragma once

#include "dialogs/WizardPage.h"

// TWelcomeForm: the first page before installing. It greets the user and
// asks them to close other programs; it has only the common buttons.
class TWelcomeForm : public TWizardPageForm {
  PELLMORE_CLASS(TWelcomeForm, TWizardPageForm)

 public:
  // A page of dmBeforeInstall with Order 5.
  explicit TWelcomeForm(TComponent* owner);
};
