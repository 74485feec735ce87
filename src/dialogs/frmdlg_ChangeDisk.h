#pragma once

#include "dialogs/BaseForms.h"

class TEdit;
class TImage;
class TLabel;
class TBitBtn;

// TChangeDiskForm: the modal prompt for the next disk of a volume set. It
// shows the disk number and the path where that disk's files are expected;
// Browse lets the user choose another folder, Proceed closes with OK (the
// copy goes on from the parameter's path), Cancel asks the installer
// whether the user's cancel ends the setup.
class TChangeDiskForm : public TBaseChangeDiskForm {
  PELLMORE_CLASS(TChangeDiskForm, TBaseChangeDiskForm)

 public:
  using TBaseChangeDiskForm::TBaseChangeDiskForm;

  // Asks the installer's UserAbort (agreed without an installer); when it
  // agrees the form closes with mrCancel.
  void CancelDisk() override;
  TImage* ThemeImage() const override { return themeBitmap_; }

  // Handlers of the buttons.
  void BrowseBtnClick(TObject* Sender);
  void CancelBtnClick(TObject* Sender);

  TLabel* PromptDiskLabel() const noexcept { return promptDiskLabel_; }
  TEdit* PathEdit() const noexcept { return pathEdit_; }
  TBitBtn* InstallBtn() const noexcept { return installBtn_; }

 protected:
  // Finds the controls of the description and draws the disk picture
  // before the base form's theme rule looks at it.
  void DoCreate() override;
  // The prompt with the disk number (translated from English) and the
  // parameter's path; the focus goes to InstallBtn.
  void DoShow() override;

 private:
  TImage* themeBitmap_ = nullptr;
  TLabel* promptDiskLabel_ = nullptr;
  TEdit* pathEdit_ = nullptr;
  TBitBtn* installBtn_ = nullptr;
};
