#pragma once

#include "dialogs/BaseForms.h"

class TImage;
class TLabel;
class TPanel;

// TInstallStatusForm: the small borderless status window ("Reading file
// information..."): an information sign and one message label. Its
// component sizes and centres it for each text.
class TInstallStatusForm : public TBasePellmoreForm {
  PELLMORE_CLASS(TInstallStatusForm, TBasePellmoreForm)

 public:
  using TBasePellmoreForm::TBasePellmoreForm;

  TPanel* BackPanel() const noexcept { return pnlBack_; }
  TPanel* MessagePanel() const noexcept { return pnlMessage_; }
  TLabel* MessageLabel() const noexcept { return lblMessage_; }
  TImage* Icon() const noexcept { return image1_; }

 protected:
  // Finds the controls of the description and draws the sign.
  void DoCreate() override;

 private:
  TPanel* pnlBack_ = nullptr;
  TPanel* pnlMessage_ = nullptr;
  TLabel* lblMessage_ = nullptr;
  TImage* image1_ = nullptr;
};
