// TInstallStatusDlg (see dlgcmp_TInstallStatus.h).
#include "dialogs/dlgcmp_TInstallStatus.h"

#include "dialogs/DialogErrors.h"
#include "dialogs/frmdlg_InstallStatus.h"
#include "framework/Application.h"
#include "framework/ExtCtrls.h"
#include "framework/MathUtils.h"
#include "framework/StdCtrls.h"
#include "install/ComponentCalls.h"

namespace {

int Nearest(double v) {
  return static_cast<int>(Round(v));
}

}  // namespace

TInstallStatusDlg::~TInstallStatusDlg() {
  if (TBasePellmoreForm* form = Form()) {
    SetForm(nullptr);
    form->Free();
  }
}

TCustomForm* TInstallStatusDlg::CreateForm(TComponent* owner) {
  return TCustomForm::Create<TInstallStatusForm>(owner);
}

TInstallStatusForm* TInstallStatusDlg::StatusForm() const noexcept {
  return static_cast<TInstallStatusForm*>(Form());
}

void TInstallStatusDlg::HandleComponentCall(TObject*, int ComponentCall, TObject* PO) {
  if (ComponentCall == kCallShowStatus) {
    if (!PO) throw IEInstallStatusDlg("%s got a nil PO parameter", Name());
    auto* message = dynamic_cast<TMessageParameter*>(PO);
    if (!message)
      throw IEInstallStatusDlg("The PO object passed to %s is not a TMessageParameter object",
                               Name());
    Push(message->Message);
  } else if (ComponentCall == kCallHideStatus) {
    Pop();
  }
}

void TInstallStatusDlg::Push(const std::string& text) {
  current_ = text;
  stack_.push_back(text);
  ShowStatus();
}

void TInstallStatusDlg::Pop() {
  if (!stack_.empty()) stack_.pop_back();
  if (!stack_.empty()) {
    current_ = stack_.back();
    ShowStatus();
    return;
  }
  if (TBasePellmoreForm* form = Form()) form->Hide();
  Application().ProcessMessages();
}

void TInstallStatusDlg::ShowStatus() {
  if (!Form()) {
    // Owned by the application, freed by this component's destructor.
    auto* form = TCustomForm::Create<TInstallStatusForm>(&Application());
    // The description's top is a design-time value: start in the middle of
    // the screen's height; later texts change only the width and left.
    form->SetTop(Nearest(Screen().Height() / 2.0 - form->Height() / 2.0));
    // No caption bar shows it, but the task bar and window lists do.
    form->SetCaption(Application().Title());
    SetForm(form);
    AssignDialogProperties();
    // That translated the form's own texts; the status text set below is
    // English again, so the translation that follows starts from English
    // (else the first text would be looked up in the target's table and
    // stay untranslated).
    SetFormLanguage(vlEnglish);
  }
  TInstallStatusForm& form = *StatusForm();
  TLabel& label = *form.MessageLabel();
  label.SetAlign(alNone);
  label.SetWordWrap(false);
  label.SetCaption(current_);
  Translate();
  // Every text arrives in English: the next translation starts from there.
  SetFormLanguage(vlEnglish);
  label.SetAutoSize(false);
  label.SetAutoSize(true);
  label.SetTop(Nearest(form.ClientHeight() / 2.0 - label.Height() / 2.0));
  const int width = form.Canvas()->TextWidth(label.Caption()) + form.BackPanel()->Left() +
                    form.MessagePanel()->Left() + label.Left() + 25;
  form.SetWidth(width);
  form.SetLeft(Nearest(Screen().Width() / 2.0 - width / 2.0));
  form.Show();
  form.Repaint();
  Application().ProcessMessages();
}
