#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TSelectFolderDlg: the dialog component that stands for the program
// folder page. While it lives its manager (by default the installer's
// dmBeforeInstall manager) shows TSelectFolderForm at Order 60.
class TSelectFolderDlg : public TPageDlg {
  PELLMORE_CLASS(TSelectFolderDlg, TPageDlg)

 public:
  explicit TSelectFolderDlg(TComponent* owner);
};
