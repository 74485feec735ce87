// TCustomBaseInstallDlg / TBaseInstallDlg: non-visual dialog components
// that stand for a kit form. They carry the form's translation settings
// and theme picture, belong to a dialog manager (or none), and can show
// their form modally on their own (Execute).
#pragma once

#include <cstdint>
#include <optional>

#include "dialogs/DialogTypes.h"
#include "framework/Pictures.h"
#include "i18n/LanguageInfo.h"
#include "install/cmp_TInstallContainer.h"

class TBasePellmoreForm;
class TCustomForm;
class TDialogManager;

// Where a manager puts a component's modeless form: its size, then
// PlaceDialog with the position and offsets.
struct TDialogPlacement {
  TPellmoreDialogPosition position = vdpCenter;
  int32_t leftOffset = 0;
  int32_t topOffset = 0;
  int32_t height = 0;
  int32_t width = 0;
};

// The common ground of dialog components: a non-visual component placed on the
// main form that stands for a kit form, carries its translation settings and
// theme picture, and shows it through its dialog manager or on its own.
class TCustomBaseInstallDlg : public TInstallObject {
  PELLMORE_CLASS(TCustomBaseInstallDlg, TInstallObject)

 public:
  explicit TCustomBaseInstallDlg(TComponent* owner);
  // Leaves its manager's list.
  ~TCustomBaseInstallDlg() override;

  int RegisteredType() const override { return kRegisteredDialog; }

  // --- virtual operations, in slot order ---------------------------------------
  // The language font when AutoSetFont (ApplyLanguageFontInto with
  // TranslateIntoLanguage when OverrideMainTranslator), then the
  // translation from FormLanguage when AutoTranslate, keeping the language
  // returned.
  virtual void Translate();
  // Copies AutoSetFont, AutoTranslate, Container, OverrideMainTranslator and
  // TranslateIntoLanguage onto the form, makes the component the DC of a
  // page form, fills the form's theme picture, then Translate.
  // IECustomBaseInstallDlg "Cannot AssignDialogProperties for %s because
  // the Dialog is Nil" without a form.
  virtual void AssignDialogProperties();
  // Outside any manager: OnBeforeExecute, the show step, pending messages,
  // OnAfterExecute. True when the form closed with OK (or ShouldExecute
  // said no); false when a silent abort ended it; any other result raises
  // EPLUserAbort.
  virtual bool Execute();
  // Creates FormClass's form, AssignDialogProperties, shows it modally,
  // destroys it; true for OK.
  virtual bool ShowStep();
  // The form this component stands for (FormClass), owned by `owner`.
  virtual TCustomForm* CreateForm(TComponent* owner) = 0;
  virtual bool ShouldExecute() { return true; }
  // The placement of the form a manager opens for this component during
  // copying; none (the base) leaves the form where its description put it.
  virtual std::optional<TDialogPlacement> FormPlacement() const { return std::nullopt; }

  // --- properties ----------------------------------------------------------------
  bool AutoSetFont() const noexcept { return autoSetFont_; }
  void SetAutoSetFont(bool v) noexcept { autoSetFont_ = v; }
  bool AutoTranslate() const noexcept { return autoTranslate_; }
  void SetAutoTranslate(bool v) noexcept { autoTranslate_ = v; }
  // Setting it leaves the old manager's list and joins the new one's.
  TDialogManager* DialogManager() const noexcept { return dialogManager_; }
  void SetDialogManager(TDialogManager* v);
  bool OverrideMainTranslator() const noexcept { return overrideMainTranslator_; }
  void SetOverrideMainTranslator(bool v) noexcept { overrideMainTranslator_ = v; }
  TPicture* ThemeBitmap() const noexcept { return themeBitmap_.get(); }
  // Assigned by copy.
  void SetThemeBitmap(TPicture* v);
  TVrexLanguage TranslateIntoLanguage() const noexcept { return translateIntoLanguage_; }
  void SetTranslateIntoLanguage(TVrexLanguage v) noexcept { translateIntoLanguage_ = v; }
  const TNotifyEvent& OnBeforeExecute() const noexcept { return onBeforeExecute_; }
  void SetOnBeforeExecute(TNotifyEvent e) { onBeforeExecute_ = std::move(e); }
  const TNotifyEvent& OnAfterExecute() const noexcept { return onAfterExecute_; }
  void SetOnAfterExecute(TNotifyEvent e) { onAfterExecute_ = std::move(e); }

  // The form while it exists (not owned: its owner frees it; the link is
  // cleared when the form is destroyed).
  TBasePellmoreForm* Form() const noexcept { return form_; }
  void SetForm(TBasePellmoreForm* form);
  // The language the form's texts are in (vlEnglish until translated).
  TVrexLanguage FormLanguage() const noexcept { return formLanguage_; }
  void SetFormLanguage(TVrexLanguage v) noexcept { formLanguage_ = v; }

  void Notification(TComponent* c, TOperation op) override;

 protected:
  // The form's theme picture from ThemeBitmap when that is not empty, else
  // from the installer's DialogThemeBitmap.
  void FillThemePicture(TBasePellmoreForm& form) const;

 private:
  bool autoSetFont_ = true;
  bool autoTranslate_ = true;
  TDialogManager* dialogManager_ = nullptr;
  bool overrideMainTranslator_ = false;
  Owned<TPicture> themeBitmap_;
  TVrexLanguage translateIntoLanguage_ = vlUser;
  TNotifyEvent onBeforeExecute_;
  TNotifyEvent onAfterExecute_;
  TBasePellmoreForm* form_ = nullptr;
  TVrexLanguage formLanguage_ = vlEnglish;
};

// The dialog component from which the kit's own dialog components (pages,
// progress, status) derive.
class TBaseInstallDlg : public TCustomBaseInstallDlg {
  PELLMORE_CLASS(TBaseInstallDlg, TCustomBaseInstallDlg)

 public:
  using TCustomBaseInstallDlg::TCustomBaseInstallDlg;
};
