#pragma once

#include <cstdint>

#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TBaseDlg.h"

// TPageDlg: the base of the dialog components that stand for a page form
// of a modal-frame phase (the wizard pages, the completion and reboot
// pages). For as long as it lives it registers its form in the page
// registry with itself, so its manager (by default the installer's manager
// of the page's phase) makes that page; its Order places the page.
class TPageDlg : public TBaseInstallDlg {
  PELLMORE_CLASS(TPageDlg, TBaseInstallDlg)

 public:
  // Registers `formClass` (made by `create`) with itself; Order := `order`;
  // outside loading takes the installer's manager of `phase`.
  TPageDlg(TComponent* owner, const TMetaClass& formClass, TFormFactory create, TManagerType phase,
           int32_t order);
  // Withdraws its registry entry.
  ~TPageDlg() override;

  TCustomForm* CreateForm(TComponent* owner) override;
  // A loaded component that names no manager takes the installer's manager
  // of its phase.
  void Loaded() override;

  TManagerType Phase() const noexcept { return phase_; }
  const TMetaClass& FormClass() const noexcept { return *formClass_; }

 private:
  const TMetaClass* formClass_;
  TFormFactory create_;
  TManagerType phase_;
};

// The form class and factory a page component passes to TPageDlg:
//   TWelcomeDlg(TComponent* o)
//       : TPageDlg(o, PageFormClass<TWelcomeForm>(), PageFormFactory<TWelcomeForm>(),
//                  dmBeforeInstall, 5) {}
template <class Form>
const TMetaClass& PageFormClass() {
  return Form::StaticMetaClass();
}
template <class Form>
TFormFactory PageFormFactory() {
  return [](TComponent* owner) -> TCustomForm* { return TCustomForm::Create<Form>(owner); };
}
