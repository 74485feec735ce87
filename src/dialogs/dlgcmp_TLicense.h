#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TLicenseDlg: the dialog component that stands for the licence agreement page
// (TLicenseForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 20 unless the form
// stores another Order.
class TLicenseDlg : public TPageDlg {
  PELLMORE_CLASS(TLicenseDlg, TPageDlg)

 public:
  explicit TLicenseDlg(TComponent* owner);
};
