// TInstallTypeForm (see frmdlg_InstallType.h).
#include "dialogs/frmdlg_InstallType.h"

#include "dialogs/DialogControls.h"
#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/cmp_TInstall.h"

namespace {

// Sets a flag for as long as it lives, also when what it guards raises.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) noexcept : flag_(flag), before_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = before_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

TInstallTypeForm::TInstallTypeForm(TComponent* owner)
    : TWizardPageForm(owner, dmBeforeInstall, 40) {}

void TInstallTypeForm::DoCreate() {
  pageControl_ = &DescribedControl<TPageControl>(*this, "PageControl");
  typicalTab_ = &DescribedControl<TTabSheet>(*this, "TypicalTab");
  compactTab_ = &DescribedControl<TTabSheet>(*this, "CompactTab");
  fullTab_ = &DescribedControl<TTabSheet>(*this, "FullTab");
  customTab_ = &DescribedControl<TTabSheet>(*this, "CustomTab");
  directoryGroupBox_ = &DescribedControl<TGroupBox>(*this, "DirectoryGroupBox");
  edDestDir_ = &DescribedControl<TEdit>(*this, "edDestDir");
  browseBtn_ = &DescribedControl<TTranslateBitBtn>(*this, "BrowseBtn");
  TWizardPageForm::DoCreate();
}

TCustomInstall* TInstallTypeForm::PageInstaller() const noexcept {
  return Installer() ? Installer() : ::Installer();
}

TInstallType TInstallTypeForm::TypeOfTab(const TTabSheet* tab) const noexcept {
  if (tab == compactTab_) return itCompact;
  if (tab == fullTab_) return itFull;
  if (tab == customTab_) return itCustom;
  return itDefault;
}

TTabSheet* TInstallTypeForm::TabOfType(TInstallType type) const noexcept {
  switch (type) {
    case itFull:
      return fullTab_;
    case itDefault:
      return typicalTab_;
    case itCompact:
      return compactTab_;
    default:
      return customTab_;
  }
}

bool TInstallTypeForm::SkipPage() {
  const TCustomInstall* install = PageInstaller();
  return !install || install->InstallTypes() == TInstallTypeSet{itAlways};
}

void TInstallTypeForm::RefreshPage() {
  FlagScope refreshing(refreshing_);
  TWizardPageForm::RefreshPage();
  TCustomInstall* install = PageInstaller();
  // A page shown on its own may have no installer: nothing to show then.
  if (!install) return;
  const TInstallTypeSet types = install->InstallTypes();
  typicalTab_->SetTabVisible(types.Contains(itDefault));
  compactTab_->SetTabVisible(types.Contains(itCompact));
  customTab_->SetTabVisible(types.Contains(itCustom));
  fullTab_->SetTabVisible(types.Contains(itFull));
  const std::string dir = install->ResolveDestDir();
  ShowDestDir(dir);
  directoryGroupBox_->SetVisible(!dir.empty());
  pageControl_->SetActivePage(TabOfType(install->CurrentInstallType()));
}

void TInstallTypeForm::PageControlChange(TObject*) {
  if (refreshing_) return;
  if (TCustomInstall* install = PageInstaller())
    install->SetInstallType(TypeOfTab(pageControl_->ActivePage()));
}

void TInstallTypeForm::edDestDirChange(TObject*) {
  if (refreshing_) return;
  if (TCustomInstall* install = PageInstaller()) {
    install->SetDestDirType(nullptr);
    install->SetDestDir(edDestDir_->Text());
  }
}

void TInstallTypeForm::ShowDestDir(const std::string& text) {
  FlagScope refreshing(refreshing_);
  edDestDir_->SetText(text);
}
