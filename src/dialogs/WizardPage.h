#pragma once

#include <cstdint>

#include "dialogs/BaseForms.h"

class TImage;
class TPanel;
class TTranslateBitBtn;

// TWizardPageForm: the layout and buttons every page of a modal-frame
// phase shares. A theme picture on the left, a button row at the bottom
// (under a bevel line) with "< Previous" and "Next >", and a content panel
// filling the rest that each page fills with its own labels and controls.
// Pages that may be cancelled add a CancelBtn to the button row; the
// completion pages add a FinishBtn instead.
class TWizardPageForm : public TBaseInstallForm {
  PELLMORE_CLASS(TWizardPageForm, TBaseInstallForm)

 public:
  TWizardPageForm(TComponent* owner, TManagerType phase, int32_t order);
  // A page of dmBeforeInstall with Order 0 (for streaming).
  explicit TWizardPageForm(TComponent* owner);

  TImage* ThemeImage() const override { return themeBitmap_; }

  // The common button step: BackBtn hidden on the first page and shown
  // otherwise; the focus to ProceedBtn when it and the page show.
  void RefreshPage() override;

  // Handlers: Back goes back, Next goes on, Cancel asks to cancel.
  void BackBtnClick(TObject* Sender);
  void ProceedBtnClick(TObject* Sender);
  void CancelBtnClick(TObject* Sender);

  TImage* ThemeBitmap() const noexcept { return themeBitmap_; }
  TPanel* ContentPanel() const noexcept { return pnlContent_; }
  TPanel* ButtonPanel() const noexcept { return pnlButtons_; }
  TTranslateBitBtn* BackBtn() const noexcept { return backBtn_; }
  TTranslateBitBtn* ProceedBtn() const noexcept { return proceedBtn_; }
  // Null on a page without one.
  TTranslateBitBtn* CancelBtn() const noexcept { return cancelBtn_; }

 protected:
  // Finds the shared controls and gives a CancelBtn its glyph before the
  // base form's theme rule runs; a page's own DoCreate finds its controls
  // and then calls this one.
  void DoCreate() override;

 private:
  TImage* themeBitmap_ = nullptr;
  TPanel* pnlContent_ = nullptr;
  TPanel* pnlButtons_ = nullptr;
  TTranslateBitBtn* backBtn_ = nullptr;
  TTranslateBitBtn* proceedBtn_ = nullptr;
  TTranslateBitBtn* cancelBtn_ = nullptr;
};

// Focuses `control` when it and its form show (a control of a hidden page
// cannot take the focus).
void FocusIfShowing(TWinControl* control);
