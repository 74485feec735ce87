#pragma once

#include "dialogs/BaseForms.h"

class TImage;
class TLabel;
class TProgressBar;
class TBitBtn;

// TCopyFileForm: the modeless copy-progress window. It shows the file being
// extracted or downloaded with a file bar and a total bar, and its Cancel
// asks the installer whether the user's cancel ends the setup.
class TCopyFileForm : public TBaseDuringCopyForm {
  PELLMORE_CLASS(TCopyFileForm, TBaseDuringCopyForm)

 public:
  using TBaseDuringCopyForm::TBaseDuringCopyForm;

  // Asks the installer's UserAbort (agreed without an installer); when it
  // agrees, sets the shared archive's Abort flag and the user-abort flag.
  // Either way ModalResult becomes mrCancel, which leaves a modeless form
  // open: the copy loop stops at its next check of the flags, and the call
  // that ends the copy phase closes the form.
  void CancelCopy() override;
  // A file status shows the extraction picture, both bars and the file
  // name; otherwise a download status shows the transfer picture, the file
  // bar and the name (the total bar keeps its value). Then the form is
  // repainted at once.
  void UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) override;

  // Handler of CancelBtn.
  void CancelBtnClick(TObject* Sender);

  TImage* UnZipImage() const noexcept { return unZipImage_; }
  TImage* TransferBitmap() const noexcept { return transferBitmap_; }
  TLabel* CopyingFileLabel() const noexcept { return lblCopyingFile_; }
  TProgressBar* FileBar() const noexcept { return progressBar1_; }
  TProgressBar* TotalBar() const noexcept { return progressBar2_; }

 protected:
  // Finds the controls of the description and draws the pictures, before
  // the base form's theme rule runs.
  void DoCreate() override;

 private:
  TImage* unZipImage_ = nullptr;
  TImage* transferBitmap_ = nullptr;
  TLabel* lblCopyingFile_ = nullptr;
  TProgressBar* progressBar1_ = nullptr;
  TProgressBar* progressBar2_ = nullptr;
};
