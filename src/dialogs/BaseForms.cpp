// The base kit forms (see BaseForms.h): translation settings and step,
// the theme picture rule, the page operations that a page form passes to
// its frame, and the manager each form finds for its phase.
#include "dialogs/BaseForms.h"

#include <string>

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/Application.h"
#include "framework/ExtCtrls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TInstall.h"

namespace {

// Links `owner`'s reference `slot` to `target`, so that `target` going away
// clears it (see the Notification overrides).
template <class T>
void Relink(TComponent& owner, T*& slot, T* target) {
  if (slot == target) return;
  if (slot) owner.RemoveFreeNotification(slot);
  slot = target;
  if (slot) owner.FreeNotification(slot);
}

}  // namespace

// --- TBasePellmoreForm ------------------------------------------------------------------

TBasePellmoreForm::TBasePellmoreForm(TComponent* owner) : TForm(owner) {
  Font()->SetCharset(DEFAULT_CHARSET);
}

void TBasePellmoreForm::SetInstaller(TCustomInstall* v) {
  Relink<TCustomInstall>(*this, installer_, v);
}

void TBasePellmoreForm::SetName(const std::string& name) {
  TComponent* owner = Owner();
  if (!InState(csReading) || !owner || name.empty()) {
    TForm::SetName(name);
    return;
  }
  std::string unique = name;
  for (int n = 1;; ++n) {
    const TComponent* other = owner->FindComponent(unique);
    if (!other || other == this) break;
    unique = name + "_" + std::to_string(n);
  }
  TForm::SetName(unique);
}

void TBasePellmoreForm::ReTranslate() {
  TranslateForm();
}

void TBasePellmoreForm::TranslateForm() {
  if (autoSetFont_) {
    if (overrideMainTranslator_)
      ApplyLanguageFontInto(translateIntoLanguage_, this);
    else
      ApplyLanguageFont(this);
  }
  if (autoTranslate_) {
    textLanguage_ = overrideMainTranslator_
                        ? TranslateComponentInto(textLanguage_, translateIntoLanguage_, this)
                        : TranslateComponent(textLanguage_, this);
  }
  Application().ProcessMessages();
}

void TBasePellmoreForm::DoCreate() {
  if (TImage* image = ThemeImage(); image && image->Picture()->Empty()) {
    TCustomInstall* install = ::Installer();
    if (install && install->DialogThemeBitmap() && !install->DialogThemeBitmap()->Empty())
      image->Picture()->Assign(install->DialogThemeBitmap());
  }
  TForm::DoCreate();
}

void TBasePellmoreForm::Notification(TComponent* c, TOperation op) {
  TForm::Notification(c, op);
  if (op == opRemove && c == installer_) installer_ = nullptr;
}

// --- TBaseInstallForm -------------------------------------------------------------------

TBaseInstallForm::TBaseInstallForm(TComponent* owner, TManagerType phase, int32_t order)
    : TBasePellmoreForm(owner), order_(order) {
  SetDM(FindDialogManager(phase));
}

TBaseInstallForm::TBaseInstallForm(TComponent* owner)
    : TBaseInstallForm(owner, dmBeforeInstall, 0) {}

void TBaseInstallForm::SetDC(TCustomBaseInstallDlg* v) {
  Relink<TCustomBaseInstallDlg>(*this, dc_, v);
}

void TBaseInstallForm::SetDM(TDialogManager* v) {
  Relink<TDialogManager>(*this, dm_, v);
}

TBaseFormContainer* TBaseInstallForm::Frame() const noexcept {
  TComponent* owner = Owner();
  return owner && owner->Is<TBaseFormContainer>() ? static_cast<TBaseFormContainer*>(owner)
                                                  : nullptr;
}

void TBaseInstallForm::Loaded() {
  TBasePellmoreForm::Loaded();
  BecomePage();
}

void TBaseInstallForm::DoCreate() {
  // A page without a description of its own was never loaded.
  BecomePage();
  TBasePellmoreForm::DoCreate();
}

void TBaseInstallForm::BecomePage() {
  TBaseFormContainer* frame = Frame();
  if (!frame || pageMade_) return;
  pageMade_ = true;
  // A page is a borderless child window of its frame, hidden until the
  // frame makes it current.
  SetVisible(false);
  SetBorderStyle(bsNone);
  SetBorderIcons(TBorderIcons{});
  SetParent(frame);
  SetBounds(0, 0, frame->ClientWidth(), frame->ClientHeight());
}

bool TBaseInstallForm::IsFirstPage() {
  TBaseFormContainer* frame = Frame();
  if (!frame) return false;
  for (int i = 0; i < frame->CurrentIndex() && i < frame->PageCount(); ++i)
    if (!frame->Pages(i)->SkipPage()) return false;
  return true;
}

bool TBaseInstallForm::IsLastPage() {
  TBaseFormContainer* frame = Frame();
  return frame && frame->CurrentIndex() + 1 == frame->PageCount();
}

void TBaseInstallForm::AbortPage() {
  if (TBaseFormContainer* frame = Frame())
    frame->SetModalResult(mrCancel);
  else
    SetModalResult(mrCancel);
}

void TBaseInstallForm::GoNext() {
  if (TBaseFormContainer* frame = Frame()) frame->GoNext();
}

void TBaseInstallForm::GoBack() {
  if (TBaseFormContainer* frame = Frame()) frame->GoBack();
}

void TBaseInstallForm::ActivatePage() {
  RefreshPage();
  BringToFront();
}

void TBaseInstallForm::CancelWizard() {
  TCustomInstall* install = ::Installer();
  if (install && !install->UserAbort()) return;
  AbortPage();
}

void TBaseInstallForm::Notification(TComponent* c, TOperation op) {
  TBasePellmoreForm::Notification(c, op);
  if (op != opRemove) return;
  if (c == dc_) dc_ = nullptr;
  if (c == dm_) dm_ = nullptr;
}

// --- TBaseDuringCopyForm / TBaseChangeDiskForm -----------------------------------------

TBaseDuringCopyForm::TBaseDuringCopyForm(TComponent* owner) : TBasePellmoreForm(owner) {
  SetDM(FindDialogManager(dmDuringCopyFiles));
}

void TBaseDuringCopyForm::SetDM(TDialogManager* v) {
  Relink<TDialogManager>(*this, dm_, v);
}

void TBaseDuringCopyForm::Notification(TComponent* c, TOperation op) {
  TBasePellmoreForm::Notification(c, op);
  if (op == opRemove && c == dm_) dm_ = nullptr;
}

TBaseChangeDiskForm::TBaseChangeDiskForm(TComponent* owner) : TBasePellmoreForm(owner) {
  SetDM(FindDialogManager(dmChangeDisk));
}

void TBaseChangeDiskForm::SetDM(TDialogManager* v) {
  Relink<TDialogManager>(*this, dm_, v);
}

void TBaseChangeDiskForm::Notification(TComponent* c, TOperation op) {
  TBasePellmoreForm::Notification(c, op);
  if (op == opRemove && c == dm_) dm_ = nullptr;
}
