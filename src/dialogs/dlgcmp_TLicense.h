#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"
#include "framework/Strings.h"

// TLicenseDlg: the dialog component that stands for the licence agreement page
// (TLicenseForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 20 unless the form
// stores another Order.
class TLicenseDlg : public TPageDlg {
  PELLMORE_CLASS(TLicenseDlg, TPageDlg)

 public:
  explicit TLicenseDlg(TComponent* owner);

  // The agreement the page shows. Authors have no designer to edit the
  // page's own text box, so lines stored here replace the kit's
  // placeholder; left empty, the page keeps what its description holds.
  TStringList* Agreement() const noexcept { return agreement_.get(); }

  // The base's properties, then this component's text on its page.
  void AssignDialogProperties() override;

 private:
  Owned<TStringList> agreement_{new TStringList};
};
