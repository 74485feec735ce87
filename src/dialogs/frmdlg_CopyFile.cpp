// TCopyFileForm (see frmdlg_CopyFile.h).
#include "dialogs/frmdlg_CopyFile.h"

#include <tuple>

#include "archive/cmp_TVrexCompress.h"
#include "dialogs/DialogControls.h"
#include "dialogs/KitPictures.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "install/ComponentCalls.h"
#include "install/UserAbortFlag.h"
#include "install/cmp_TInstall.h"

void TCopyFileForm::DoCreate() {
  unZipImage_ = &DescribedControl<TImage>(*this, "UnZipImage");
  transferBitmap_ = &DescribedControl<TImage>(*this, "TransferBitmap");
  lblCopyingFile_ = &DescribedControl<TLabel>(*this, "lblCopyingFile");
  progressBar1_ = &DescribedControl<TProgressBar>(*this, "ProgressBar1");
  progressBar2_ = &DescribedControl<TProgressBar>(*this, "ProgressBar2");
  AssignKitPicture(*unZipImage_->Picture(), ExtractionPicture(Color()));
  AssignKitPicture(*transferBitmap_->Picture(), TransferPicture(Color()));
  TBaseDuringCopyForm::DoCreate();
}

void TCopyFileForm::CancelCopy() {
  // The installer this form works for; a form opened without a component
  // has none of its own and asks the program's installer.
  TCustomInstall* installer = Installer() ? Installer() : ::Installer();
  if (!installer || installer->UserAbort()) {
    TVrexCompress::Shared().SetAbort(true);
    SetUserAbortFlag(true);
  }
  SetModalResult(mrCancel);
}

void TCopyFileForm::CancelBtnClick(TObject*) {
  CancelCopy();
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) {
  // A status arrives for every few kilobytes written, but the window
  // changes only when a percentage or the name does: painting it for
  // nothing would cost more than the copying itself.
  const auto shown = [this] {
    return std::make_tuple(transferBitmap_->Visible(), progressBar1_->Position(),
                           progressBar2_->Position(), lblCopyingFile_->Caption());
  };
  const auto before = shown();
  if (file) {
    transferBitmap_->SetVisible(false);
    progressBar2_->SetPosition(file->TotalPercent);
    progressBar1_->SetPosition(file->FilePercent);
    lblCopyingFile_->SetCaption(file->FileName);
  } else if (download) {
    transferBitmap_->SetVisible(true);
    progressBar1_->SetPosition(download->Percent);
    lblCopyingFile_->SetCaption(download->FileName);
  }
  if (shown() != before) Update();
}
