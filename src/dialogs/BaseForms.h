// The base classes of every kit form: TBasePellmoreForm (translation
// settings and the translation step), TBaseInstallForm (a wizard page of a
// modal-frame phase), TBaseDuringCopyForm (a modeless progress form) and
// TBaseChangeDiskForm (the next-disk prompt).
#pragma once

#include <cstdint>

#include "dialogs/DialogTypes.h"
#include "framework/Forms.h"
#include "i18n/LanguageInfo.h"

class TCustomInstall;
class TCustomBaseInstallDlg;
class TDialogManager;
class TDiskParameter;
class TFileStatusParameter;
class TDownloadStatusParameter;
class TImage;
class TBaseFormContainer;

// The common ground of every kit form: whether it takes the language's font and
// translates its texts when it opens, and the installer it works for.
class TBasePellmoreForm : public TForm {
  PELLMORE_CLASS(TBasePellmoreForm, TForm)

 public:
  // The settings' defaults; the font's charset back to the default.
  explicit TBasePellmoreForm(TComponent* owner);

  bool AutoSetFont() const noexcept { return autoSetFont_; }
  void SetAutoSetFont(bool v) noexcept { autoSetFont_ = v; }
  bool AutoTranslate() const noexcept { return autoTranslate_; }
  void SetAutoTranslate(bool v) noexcept { autoTranslate_ = v; }
  bool OverrideMainTranslator() const noexcept { return overrideMainTranslator_; }
  void SetOverrideMainTranslator(bool v) noexcept { overrideMainTranslator_ = v; }
  TVrexLanguage TranslateIntoLanguage() const noexcept { return translateIntoLanguage_; }
  void SetTranslateIntoLanguage(TVrexLanguage v) noexcept { translateIntoLanguage_ = v; }
  // The language the form's texts are in now (vlEnglish as described).
  TVrexLanguage TextLanguage() const noexcept { return textLanguage_; }
  void SetTextLanguage(TVrexLanguage v) noexcept { textLanguage_ = v; }
  // The installer the form works for (set by AssignDialogProperties).
  TCustomInstall* Installer() const noexcept { return installer_; }
  void SetInstaller(TCustomInstall* v);

  // --- operations, in slot order ---------------------------------------------
  // Runs the translation step again.
  virtual void ReTranslate();
  // Called whenever the form (page) becomes current; nothing here.
  virtual void RefreshPage() {}
  // The language font when AutoSetFont, the translation from TextLanguage
  // when AutoTranslate (keeping the language returned), then pending
  // window messages.
  virtual void TranslateForm();

  // The picture control that shows the theme bitmap, or null.
  virtual TImage* ThemeImage() const { return nullptr; }

  void Notification(TComponent* c, TOperation op) override;
  // While its description is read, a name another component of the owner
  // has already gets a number (Name_1, Name_2 ...): two forms of one class
  // may be open at once under the application (two pages or progress
  // forms of the same class). Outside reading a taken name raises as usual.
  void SetName(const std::string& name) override;

 protected:
  // After the description is read: an empty theme picture takes the
  // installer's DialogThemeBitmap.
  void DoCreate() override;

 private:
  bool autoSetFont_ = true;
  bool autoTranslate_ = true;
  bool overrideMainTranslator_ = false;
  TVrexLanguage translateIntoLanguage_ = vlUser;
  TVrexLanguage textLanguage_ = vlEnglish;
  TCustomInstall* installer_ = nullptr;
};

// A page of a modal-frame phase. Owned by a TBaseFormContainer it becomes,
// when loaded, an invisible borderless child window of its owner (origin
// 0,0, the owner's size); outside a frame it is an ordinary dialog.
class TBaseInstallForm : public TBasePellmoreForm {
  PELLMORE_CLASS(TBaseInstallForm, TBasePellmoreForm)

 public:
  // Finds its manager for `phase` (FindDialogManager); `order` is the
  // page's built-in place in the phase.
  TBaseInstallForm(TComponent* owner, TManagerType phase, int32_t order);
  // A page of the phase dmBeforeInstall with Order 0 (for streaming).
  explicit TBaseInstallForm(TComponent* owner);

  TCustomBaseInstallDlg* DC() const noexcept { return dc_; }
  void SetDC(TCustomBaseInstallDlg* v);
  TDialogManager* DM() const noexcept { return dm_; }
  void SetDM(TDialogManager* v);
  int32_t Order() const noexcept { return order_; }
  void SetOrder(int32_t v) noexcept { order_ = v; }

  // --- page operations, in slot order ----------------------------------------
  // Every page before the current one skips; false outside a frame.
  virtual bool IsFirstPage();
  // The current page is the frame's last; false outside a frame.
  virtual bool IsLastPage();
  // Before the frame leaves this page; nothing here.
  virtual void LeavePage() {}
  // Sets the phase's result to cancel without asking anybody.
  virtual void AbortPage();
  // The frame's navigation; nothing outside a frame.
  virtual void GoNext();
  virtual void GoBack();
  // RefreshPage, then brings the page to the front.
  virtual void ActivatePage();
  // True: the frame passes over this page.
  virtual bool SkipPage() { return false; }
  // Asks the installer's UserAbort (true without one); if it agrees, the
  // frame's result (outside a frame the form's own) becomes cancel.
  virtual void CancelWizard();

  // The frame that owns this page, or null.
  TBaseFormContainer* Frame() const noexcept;

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  void DoCreate() override;

 private:
  // Owned by a frame: an invisible, borderless child window of it at 0,0
  // with its client size. Once.
  void BecomePage();

  TCustomBaseInstallDlg* dc_ = nullptr;
  TDialogManager* dm_ = nullptr;
  int32_t order_ = 0;
  bool pageMade_ = false;
};

// The common ground of the modeless forms that a dialog manager keeps open
// while files are copied, told of each step of the progress.
class TBaseDuringCopyForm : public TBasePellmoreForm {
  PELLMORE_CLASS(TBaseDuringCopyForm, TBasePellmoreForm)

 public:
  // Finds its dmDuringCopyFiles manager.
  explicit TBaseDuringCopyForm(TComponent* owner);

  TDialogManager* DM() const noexcept { return dm_; }
  void SetDM(TDialogManager* v);

  // The user's cancel (see the copy form); nothing here.
  virtual void CancelCopy() {}
  // New progress; either parameter may be null. Nothing here.
  virtual void UpdateStatus(TFileStatusParameter* /*file*/,
                            TDownloadStatusParameter* /*download*/) {}

  void Notification(TComponent* c, TOperation op) override;

 private:
  TDialogManager* dm_ = nullptr;
};

// The common ground of the forms that ask the user for the next disk; the
// request carries the disk number and the path.
class TBaseChangeDiskForm : public TBasePellmoreForm {
  PELLMORE_CLASS(TBaseChangeDiskForm, TBasePellmoreForm)

 public:
  // Finds its dmChangeDisk manager.
  explicit TBaseChangeDiskForm(TComponent* owner);

  // The request: disk number and path in, path out. Not owned.
  TDiskParameter* DiskParameter() const noexcept { return diskParameter_; }
  void SetDiskParameter(TDiskParameter* p) noexcept { diskParameter_ = p; }
  TDialogManager* DM() const noexcept { return dm_; }
  void SetDM(TDialogManager* v);

  // The user's cancel; nothing here.
  virtual void CancelDisk() {}

  void Notification(TComponent* c, TOperation op) override;

 private:
  TDiskParameter* diskParameter_ = nullptr;
  TDialogManager* dm_ = nullptr;
};
