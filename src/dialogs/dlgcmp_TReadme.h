#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TReadmeDlg: the dialog component that stands for the readme page
// (TReadmeForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 30 unless the form
// stores another Order.
class TReadmeDlg : public TPageDlg {
  PELLMORE_CLASS(TReadmeDlg, TPageDlg)

 public:
  explicit TReadmeDlg(TComponent* owner);
};
