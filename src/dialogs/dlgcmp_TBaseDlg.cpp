// The base dialog component (see dlgcmp_TBaseDlg.h): translation settings
// passed on to its form, membership in a dialog manager's list, the theme
// picture, and showing its form modally on its own.
#include "dialogs/dlgcmp_TBaseDlg.h"

#include "dialogs/BaseForms.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/Application.h"
#include "framework/ExtCtrls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TInstall.h"

TCustomBaseInstallDlg::TCustomBaseInstallDlg(TComponent* owner)
    : TInstallObject(owner), themeBitmap_(new TPicture()) {}

TCustomBaseInstallDlg::~TCustomBaseInstallDlg() {
  if (dialogManager_) dialogManager_->RemoveDialog(this);
  dialogManager_ = nullptr;
  if (form_) RemoveFreeNotification(form_);
  form_ = nullptr;
}

void TCustomBaseInstallDlg::SetDialogManager(TDialogManager* v) {
  if (v == dialogManager_) return;
  TDialogManager* old = dialogManager_;
  dialogManager_ = nullptr;
  if (old) old->RemoveDialog(this);
  // AddDialog links both ways, so either side going away clears the other.
  if (v) v->AddDialog(this);
  dialogManager_ = v;
}

void TCustomBaseInstallDlg::SetThemeBitmap(TPicture* v) {
  themeBitmap_->Assign(v);
}

void TCustomBaseInstallDlg::SetForm(TBasePellmoreForm* form) {
  if (form == form_) return;
  if (form_) RemoveFreeNotification(form_);
  form_ = form;
  if (form_) FreeNotification(form_);
}

void TCustomBaseInstallDlg::Notification(TComponent* c, TOperation op) {
  TInstallObject::Notification(c, op);
  if (op != opRemove) return;
  if (c == form_) form_ = nullptr;
  if (c == dialogManager_) dialogManager_ = nullptr;
}

void TCustomBaseInstallDlg::Translate() {
  if (!form_) return;
  if (autoSetFont_) {
    if (overrideMainTranslator_)
      ApplyLanguageFontInto(translateIntoLanguage_, form_);
    else
      ApplyLanguageFont(form_);
  }
  if (autoTranslate_) {
    formLanguage_ = overrideMainTranslator_
                        ? TranslateComponentInto(formLanguage_, translateIntoLanguage_, form_)
                        : TranslateComponent(formLanguage_, form_);
  }
}

void TCustomBaseInstallDlg::FillThemePicture(TBasePellmoreForm& form) const {
  TImage* image = form.ThemeImage();
  if (!image) return;
  if (!themeBitmap_->Empty()) {
    image->Picture()->Assign(themeBitmap_.get());
  } else if (TCustomInstall* install = ::Installer(); install && install->DialogThemeBitmap()) {
    image->Picture()->Assign(install->DialogThemeBitmap());
  }
}

void TCustomBaseInstallDlg::AssignDialogProperties() {
  if (!form_)
    throw IECustomBaseInstallDlg("Cannot AssignDialogProperties for %s because the Dialog is Nil",
                                 Name());
  form_->SetAutoSetFont(autoSetFont_);
  form_->SetAutoTranslate(autoTranslate_);
  TInstallContainer* container = Container();
  form_->SetInstaller(container && container->Is<TCustomInstall>()
                          ? static_cast<TCustomInstall*>(container)
                          : nullptr);
  form_->SetOverrideMainTranslator(overrideMainTranslator_);
  form_->SetTranslateIntoLanguage(translateIntoLanguage_);
  if (form_->Is<TBaseInstallForm>()) static_cast<TBaseInstallForm*>(form_)->SetDC(this);
  FillThemePicture(*form_);
  Translate();
}

bool TCustomBaseInstallDlg::ShowStep() {
  if (!ShouldExecute()) return true;
  TCustomForm* created = CreateForm(&Application());
  Owned<TCustomForm> form(created);
  if (!created->Is<TBasePellmoreForm>())
    throw IECustomBaseInstallDlg("Cannot AssignDialogProperties for %s because the Dialog is Nil",
                                 Name());
  SetForm(static_cast<TBasePellmoreForm*>(created));
  TModalResult result = mrNone;
  try {
    AssignDialogProperties();
    result = created->ShowModal();
  } catch (...) {
    SetForm(nullptr);
    throw;
  }
  SetForm(nullptr);
  form.reset();
  if (result != mrOk) throw EPLUserAbort(TranslateExceptionText("Aborted by user"));
  return true;
}

bool TCustomBaseInstallDlg::Execute() {
  try {
    if (onBeforeExecute_) onBeforeExecute_(this);
    const bool result = ShowStep();
    Application().ProcessMessages();
    if (onAfterExecute_) onAfterExecute_(this);
    return result;
  } catch (const EAbort&) {
    return false;
  }
}
