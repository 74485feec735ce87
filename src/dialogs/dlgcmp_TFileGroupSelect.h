#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TFileGroupSelectDlg: the dialog component that stands for the file group
// page. While it lives the page takes part in its manager's phase
// (dmBeforeInstall), placed by its Order (50 unless changed).
class TFileGroupSelectDlg : public TPageDlg {
  PELLMORE_CLASS(TFileGroupSelectDlg, TPageDlg)

 public:
  explicit TFileGroupSelectDlg(TComponent* owner);
};
