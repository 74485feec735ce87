// TChangeDiskForm (see frmdlg_ChangeDisk.h).
#include "dialogs/frmdlg_ChangeDisk.h"

#include "dialogs/DialogControls.h"
#include "dialogs/KitPictures.h"
#include "framework/Buttons.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Format.h"
#include "framework/StdCtrls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TInstall.h"

void TChangeDiskForm::DoCreate() {
  themeBitmap_ = &DescribedControl<TImage>(*this, "ThemeBitmap");
  promptDiskLabel_ = &DescribedControl<TLabel>(*this, "PromptDiskLabel");
  pathEdit_ = &DescribedControl<TEdit>(*this, "PathEdit");
  installBtn_ = &DescribedControl<TBitBtn>(*this, "InstallBtn");
  AssignKitPicture(*themeBitmap_->Picture(), DiskPicture(Color()));
  TBaseChangeDiskForm::DoCreate();
}

void TChangeDiskForm::DoShow() {
  if (TDiskParameter* disk = DiskParameter()) {
    promptDiskLabel_->SetCaption(
        Format(TranslateFromEnglish("Please insert disk number %d"), disk->DiskNumber));
    pathEdit_->SetText(disk->Path);
  }
  TBaseChangeDiskForm::DoShow();
  if (installBtn_->CanFocus()) SetActiveControl(installBtn_);
}

void TChangeDiskForm::BrowseBtnClick(TObject*) {
  // Without a request there is no path to change.
  TDiskParameter* disk = DiskParameter();
  if (!disk) return;
  // The folder browser of the wizard pages is not part of the kit yet: a
  // plain prompt for the folder stands in for it.
  std::string path = disk->Path;
  if (InputQuery(Caption(), "Path:", path)) disk->Path = path;
  pathEdit_->SetText(disk->Path);
}

void TChangeDiskForm::CancelDisk() {
  TCustomInstall* installer = Installer() ? Installer() : ::Installer();
  if (!installer || installer->UserAbort()) SetModalResult(mrCancel);
}

void TChangeDiskForm::CancelBtnClick(TObject*) {
  CancelDisk();
}
