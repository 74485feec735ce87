// TCompletionPageForm (see CompletionPage.h).
#include "dialogs/CompletionPage.h"

#include "dialogs/DialogControls.h"
#include "i18n/cmp_TTranslateControls.h"

TCompletionPageForm::TCompletionPageForm(TComponent* owner, TManagerType phase, int32_t order)
    : TWizardPageForm(owner, phase, order) {}

TCompletionPageForm::TCompletionPageForm(TComponent* owner)
    : TCompletionPageForm(owner, dmBeforeInstall, 0) {}

void TCompletionPageForm::DoCreate() {
  finishBtn_ = &DescribedControl<TTranslateBitBtn>(*this, "FinishBtn");
  TWizardPageForm::DoCreate();
}

void TCompletionPageForm::RefreshPage() {
  BackBtn()->SetVisible(!IsFirstPage());
  const bool last = IsLastPage();
  ProceedBtn()->SetVisible(!last);
  finishBtn_->SetVisible(last);
  // Both sit in one place; a hidden default button would leave Enter
  // pressing nothing.
  ProceedBtn()->SetDefault(!last);
  finishBtn_->SetDefault(last);
  if (ProceedBtn()->Visible())
    FocusIfShowing(ProceedBtn());
  else if (FocusesFinish())
    FocusIfShowing(finishBtn_);
}

void TCompletionPageForm::PrepareForComponent() {
  BackBtn()->SetVisible(false);
  ProceedBtn()->SetModalResult(mrOk);
  finishBtn_->SetModalResult(mrOk);
}
