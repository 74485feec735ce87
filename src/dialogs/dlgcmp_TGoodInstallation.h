#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TGoodInstallationDlg: the dialog component that stands for the
// "Setup complete" page. With a manager (by default the installer's
// dmAfterGoodInstall manager) the page shows in that phase; without one
// the component shows it on its own, as a modal dialog, when the run
// first announces the good install.
class TGoodInstallationDlg : public TPageDlg {
  PELLMORE_CLASS(TGoodInstallationDlg, TPageDlg)

 public:
  // Registers TGoodInstallForm with itself; Order 10.
  explicit TGoodInstallationDlg(TComponent* owner);

  // The good-install notice (-995) without a manager: Execute. Every other
  // call, and any call with a manager, is left to the managers.
  void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) override;
  // The base step, then: no way back, Next and Finish close a stand-alone
  // form with OK, the theme picture from this component or the installer.
  void AssignDialogProperties() override;
};
