#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"

// TRebootDlg: the dialog component that stands for the reboot page. With a
// manager (by default the installer's dmReboot manager) the page shows in
// that phase; without one the component shows it on its own, as a modal
// dialog, when the run says a restart is needed.
class TRebootDlg : public TPageDlg {
  PELLMORE_CLASS(TRebootDlg, TPageDlg)

 public:
  // Registers TRebootForm with itself; Order 10.
  explicit TRebootDlg(TComponent* owner);

  // The restart call (-987) without a manager: Execute. Every other call,
  // and any call with a manager, is left to the managers.
  void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) override;
  // The base step, then: no way back, Next and Finish close a stand-alone
  // form with OK, the theme picture, and the page's refresh (so a
  // stand-alone form opens on the installer's answer), after which the
  // way back stays hidden.
  void AssignDialogProperties() override;
};
