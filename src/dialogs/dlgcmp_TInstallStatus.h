#pragma once

#include <string>
#include <vector>

#include "dialogs/dlgcmp_TBaseDlg.h"

class TInstallStatusForm;

// TInstallStatusDlg: shows short status texts ("Reading file
// information...") in a small borderless window. Texts form a stack: -974
// pushes one and shows it, -973 pops one and shows the text below, or hides
// the window when none is left. It belongs to no dialog manager.
class TInstallStatusDlg : public TBaseInstallDlg {
  PELLMORE_CLASS(TInstallStatusDlg, TBaseInstallDlg)

 public:
  using TBaseInstallDlg::TBaseInstallDlg;
  // Destroys its form.
  ~TInstallStatusDlg() override;

  // -974 pushes the TMessageParameter's text, -973 pops. IEInstallStatusDlg
  // "%s got a nil PO parameter" / "The PO object passed to %s is not a
  // TMessageParameter object" for -974 without a proper parameter (the
  // stack unchanged).
  void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) override;
  TCustomForm* CreateForm(TComponent* owner) override;

  void Push(const std::string& text);
  // Popping an empty stack hides the window and raises nothing.
  void Pop();
  // Creates the form when needed, fits it to the current text (translated
  // from English every time), centres it across the screen and shows it.
  void ShowStatus();

  // Oldest first; the last is shown.
  const std::vector<std::string>& Texts() const noexcept { return stack_; }
  const std::string& CurrentText() const noexcept { return current_; }
  TInstallStatusForm* StatusForm() const noexcept;

 private:
  std::vector<std::string> stack_;
  std::string current_;
};
