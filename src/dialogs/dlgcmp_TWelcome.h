#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TWelcomeDlg: the dialog component that stands for the welcome page
// (TWelcomeForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 5 unless the form
// stores another Order.
class TWelcomeDlg : public TPageDlg {
  PELLMORE_CLASS(TWelcomeDlg, TPageDlg)

 public:
  explicit TWelcomeDlg(TComponent* owner);
};
