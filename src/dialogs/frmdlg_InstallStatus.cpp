// TInstallStatusForm (see frmdlg_InstallStatus.h).
#include "dialogs/frmdlg_InstallStatus.h"

#include "dialogs/DialogControls.h"
#include "dialogs/KitPictures.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

void TInstallStatusForm::DoCreate() {
  pnlBack_ = &DescribedControl<TPanel>(*this, "pnlBack");
  pnlMessage_ = &DescribedControl<TPanel>(*this, "pnlMessage");
  lblMessage_ = &DescribedControl<TLabel>(*this, "lblMessage");
  image1_ = &DescribedControl<TImage>(*this, "Image1");
  AssignKitPicture(*image1_->Picture(), StatusIconPicture(Color()));
  TBasePellmoreForm::DoCreate();
}
