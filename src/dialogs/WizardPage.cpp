// TWizardPageForm (see WizardPage.h).
#include "dialogs/WizardPage.h"

#include "dialogs/DialogControls.h"
#include "dialogs/KitPictures.h"
#include "framework/ExtCtrls.h"
#include "i18n/cmp_TTranslateControls.h"

TWizardPageForm::TWizardPageForm(TComponent* owner, TManagerType phase, int32_t order)
    : TBaseInstallForm(owner, phase, order) {}

TWizardPageForm::TWizardPageForm(TComponent* owner) : TWizardPageForm(owner, dmBeforeInstall, 0) {}

void TWizardPageForm::DoCreate() {
  themeBitmap_ = &DescribedControl<TImage>(*this, "ThemeBitmap");
  pnlContent_ = &DescribedControl<TPanel>(*this, "pnlContent");
  pnlButtons_ = &DescribedControl<TPanel>(*this, "pnlButtons");
  backBtn_ = &DescribedControl<TTranslateBitBtn>(*this, "BackBtn");
  proceedBtn_ = &DescribedControl<TTranslateBitBtn>(*this, "ProceedBtn");
  if (TComponent* c = FindComponent("CancelBtn"); c && c->Is<TTranslateBitBtn>()) {
    cancelBtn_ = static_cast<TTranslateBitBtn*>(c);
    cancelBtn_->Glyph()->LoadFromFile(CancelGlyph());
    cancelBtn_->SetNumGlyphs(2);
  }
  TBaseInstallForm::DoCreate();
}

void TWizardPageForm::RefreshPage() {
  backBtn_->SetVisible(!IsFirstPage());
  FocusIfShowing(proceedBtn_);
}

void TWizardPageForm::BackBtnClick(TObject*) {
  GoBack();
}

void TWizardPageForm::ProceedBtnClick(TObject*) {
  GoNext();
}

void TWizardPageForm::CancelBtnClick(TObject*) {
  CancelWizard();
}

void FocusIfShowing(TWinControl* control) {
  if (control && control->Visible() && control->CanFocus()) control->SetFocus();
}
