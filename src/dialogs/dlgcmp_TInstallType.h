#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TInstallTypeDlg: the dialog component that stands for the setup-type page
// (TInstallTypeForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 40 unless the form
// stores another Order.
class TInstallTypeDlg : public TPageDlg {
  PELLMORE_CLASS(TInstallTypeDlg, TPageDlg)

 public:
  explicit TInstallTypeDlg(TComponent* owner);
};
