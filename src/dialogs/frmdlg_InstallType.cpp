// TInstallTypeForm (see frmdlg_InstallType.h).
#include "dialogs/frmdlg_InstallType.h"

#include "dialogs/DialogControls.h"
#include "dialogs/dlgcmp_TOpenFolderDialog.h"
#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

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

// A directory made only so that the folder browser can select it: removed
// again (its last level only) however browsing ends. A directory that
// cannot be removed (the user made a folder inside it) stays: it is the
// user's now.
class BrowsingDirectory {
 public:
  BrowsingDirectory(platform::FileSystem& files, const std::string& dir) : files_(files) {
    if (Trim(dir).empty() || files_.DirectoryExists(dir)) return;
    try {
      files_.CreateDirectories(dir);
      created_ = dir;
    } catch (const platform::OsError&) {
      // Not creatable (no such drive, a file of that name): the browser
      // then opens on the deepest part that exists.
    }
  }
  ~BrowsingDirectory() {
    if (created_.empty()) return;
    try {
      files_.RemoveDirectory(created_);
    } catch (const platform::OsError&) {
    }
  }
  BrowsingDirectory(const BrowsingDirectory&) = delete;
  BrowsingDirectory& operator=(const BrowsingDirectory&) = delete;

 private:
  platform::FileSystem& files_;
  std::string created_;
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

void TInstallTypeForm::BrowseBtnClick(TObject*) {
  TCustomInstall* install = PageInstaller();
  if (!install) return;
  const std::string dir = install->ResolveDestDir();
  BrowsingDirectory browsing(platform::Current().files(), dir);
  Owned<TOpenFolderDialog> browser(new TOpenFolderDialog(nullptr));
  browser->SetPath(dir);
  if (!browser->Execute()) return;
  install->SetDestDirType(nullptr);
  install->SetDestDir(ExcludeTrailingBackslash(browser->Path()));
  ShowDestDir(install->DestDir());
}
