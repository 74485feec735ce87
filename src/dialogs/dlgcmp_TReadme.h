#pragma once

#include "dialogs/dlgcmp_TPageDlg.h"
#include "framework/Strings.h"

// TReadmeDlg: the dialog component that stands for the readme page
// (TReadmeForm). Placed on a program's form it puts that page into the
// installer's dmBeforeInstall phase, at Order 30 unless the form
// stores another Order.
class TReadmeDlg : public TPageDlg {
  PELLMORE_CLASS(TReadmeDlg, TPageDlg)

 public:
  explicit TReadmeDlg(TComponent* owner);

  // The text the page shows; lines stored here replace the kit's
  // placeholder (see TLicenseDlg::Agreement).
  TStringList* Information() const noexcept { return information_.get(); }

  // The base's properties, then this component's text on its page.
  void AssignDialogProperties() override;

 private:
  Owned<TStringList> information_{new TStringList};
};
