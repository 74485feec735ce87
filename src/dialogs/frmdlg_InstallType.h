#pragma once

#include "dialogs/WizardPage.h"
#include "install/InstallTypes.h"

class TCustomInstall;
class TEdit;
class TGroupBox;
class TPageControl;
class TTabSheet;
class TTranslateBitBtn;

// TInstallTypeForm: the setup-type page before installing. One tab per
// install type the installer offers, the active tab following the
// installer's current type; the destination directory in an edit with a
// Browse button. Every change goes straight into the installer, so Back
// and Next commit nothing.
class TInstallTypeForm : public TWizardPageForm {
  PELLMORE_CLASS(TInstallTypeForm, TWizardPageForm)

 public:
  // A page of dmBeforeInstall with Order 40.
  explicit TInstallTypeForm(TComponent* owner);

  // The common button step; a tab for each offered type, the active one
  // following CurrentInstallType; the expanded destination in edDestDir,
  // its group box hidden when that is empty. Change handlers do nothing
  // meanwhile.
  void RefreshPage() override;
  // Without an installer, or when it offers nothing but itAlways, there is
  // nothing to choose.
  bool SkipPage() override;

  // The tab the user picked becomes the installer's install type.
  void PageControlChange(TObject* Sender);
  // Typed text becomes the installer's DestDir, without a specifier.
  void edDestDirChange(TObject* Sender);
  // The folder browser on the expanded destination (a missing one is made
  // for the browser and removed again); a confirmed folder becomes DestDir.
  void BrowseBtnClick(TObject* Sender);

  TPageControl* PageControl() const noexcept { return pageControl_; }
  TTabSheet* TypicalTab() const noexcept { return typicalTab_; }
  TTabSheet* CompactTab() const noexcept { return compactTab_; }
  TTabSheet* FullTab() const noexcept { return fullTab_; }
  TTabSheet* CustomTab() const noexcept { return customTab_; }
  TGroupBox* DirectoryGroupBox() const noexcept { return directoryGroupBox_; }
  TEdit* DestDirEdit() const noexcept { return edDestDir_; }
  TTranslateBitBtn* BrowseBtn() const noexcept { return browseBtn_; }

  // The install type a tab stands for (itDefault for any other sheet), and
  // the tab that shows a type (CustomTab for itAlways and itCustom).
  TInstallType TypeOfTab(const TTabSheet* tab) const noexcept;
  TTabSheet* TabOfType(TInstallType type) const noexcept;

 protected:
  void DoCreate() override;

 private:
  // The installer this page works for: the one its component named, else
  // the program's.
  TCustomInstall* PageInstaller() const noexcept;
  // Shows `text` in edDestDir without its change step.
  void ShowDestDir(const std::string& text);

  TPageControl* pageControl_ = nullptr;
  TTabSheet* typicalTab_ = nullptr;
  TTabSheet* compactTab_ = nullptr;
  TTabSheet* fullTab_ = nullptr;
  TTabSheet* customTab_ = nullptr;
  TGroupBox* directoryGroupBox_ = nullptr;
  TEdit* edDestDir_ = nullptr;
  TTranslateBitBtn* browseBtn_ = nullptr;
  // While set, the change handlers leave the installer alone.
  bool refreshing_ = false;
};
