// Registration of the dialog phases and positions, the dialog manager, the
// base dialog components, the base forms and the page frame, with their
// published properties and the base forms' descriptions. Called after the
// controls, the translator classes and the install classes.
#include "dialogs/BaseForms.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/DialogTypes.h"
#include "dialogs/WizardPage.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "dialogs/dlgcmp_TPageDlg.h"
#include "framework/ClassRegistry.h"
#include "i18n/LanguageInfo.h"

extern const std::string_view kBasePellmoreFormDfmText;
extern const std::string_view kBaseInstallFormDfmText;
extern const std::string_view kBaseDuringCopyFormDfmText;
extern const std::string_view kBaseChangeDiskFormDfmText;
extern const std::string_view kBaseFormContainerDfmText;
extern const std::string_view kWizardPageFormDfmText;

void RegisterDialogBase(ClassRegistry& registry) {
  RegisterDialogTypes(registry);

  {
    using C = TDialogManager;
    registry.Class<C, TInstallObject>("TDialogManager")
        .Prop("Container", &C::Container, &C::SetContainer)
        .Prop("ManagerType", &C::ManagerType, &C::SetManagerType, dmBeforeInstall)
        .Prop("Position", &C::Position, &C::SetPosition, vdpCenter)
        .Prop("RelativeLeftOffset", &C::RelativeLeftOffset, &C::SetRelativeLeftOffset, 0)
        .Prop("RelativeTopOffset", &C::RelativeTopOffset, &C::SetRelativeTopOffset, 0)
        .Prop("Height", &C::Height, &C::SetHeight, 395)
        .Prop("Width", &C::Width, &C::SetWidth, 478);
  }
  {
    using C = TCustomBaseInstallDlg;
    registry.Class<C, TInstallObject>("TCustomBaseInstallDlg")
        .Prop("AutoSetFont", &C::AutoSetFont, &C::SetAutoSetFont, true)
        .Prop("AutoTranslate", &C::AutoTranslate, &C::SetAutoTranslate, true)
        .Prop("Container", &C::Container, &C::SetContainer)
        .Prop("DialogManager", &C::DialogManager, &C::SetDialogManager)
        .Prop("Order", &C::Order, &C::SetOrder)
        .Prop("OverrideMainTranslator", &C::OverrideMainTranslator, &C::SetOverrideMainTranslator,
              false)
        .Prop("ThemeBitmap", &C::ThemeBitmap)
        .Prop("TranslateIntoLanguage", &C::TranslateIntoLanguage, &C::SetTranslateIntoLanguage,
              vlUser)
        .Prop("OnBeforeExecute", &C::OnBeforeExecute, &C::SetOnBeforeExecute)
        .Prop("OnAfterExecute", &C::OnAfterExecute, &C::SetOnAfterExecute);
    registry.Class<TBaseInstallDlg, C>("TBaseInstallDlg");
    registry.Class<TPageDlg, TBaseInstallDlg>("TPageDlg");
  }

  registry.Class<TBasePellmoreForm, TForm>("TBasePellmoreForm");
  {
    using C = TBaseInstallForm;
    registry.Class<C, TBasePellmoreForm>("TBaseInstallForm")
        .Prop("DC", &C::DC, &C::SetDC)
        .Prop("DM", &C::DM, &C::SetDM)
        .Prop("Order", &C::Order, &C::SetOrder, 0);
  }
  registry.Class<TWizardPageForm, TBaseInstallForm>("TWizardPageForm")
      .Handler("BackBtnClick", &TWizardPageForm::BackBtnClick)
      .Handler("ProceedBtnClick", &TWizardPageForm::ProceedBtnClick)
      .Handler("CancelBtnClick", &TWizardPageForm::CancelBtnClick);
  registry.Class<TBaseDuringCopyForm, TBasePellmoreForm>("TBaseDuringCopyForm")
      .Prop("DM", &TBaseDuringCopyForm::DM, &TBaseDuringCopyForm::SetDM);
  registry.Class<TBaseChangeDiskForm, TBasePellmoreForm>("TBaseChangeDiskForm")
      .Prop("DM", &TBaseChangeDiskForm::DM, &TBaseChangeDiskForm::SetDM);
  registry.Class<TBaseFormContainer, TBasePellmoreForm>("TBaseFormContainer");

  registry.RegisterDescription("TBasePellmoreForm", "BasePellmoreForm.dfm",
                               kBasePellmoreFormDfmText);
  registry.RegisterDescription("TBaseInstallForm", "BaseInstallForm.dfm", kBaseInstallFormDfmText);
  registry.RegisterDescription("TWizardPageForm", "WizardPageForm.dfm", kWizardPageFormDfmText);
  registry.RegisterDescription("TBaseDuringCopyForm", "BaseDuringCopyForm.dfm",
                               kBaseDuringCopyFormDfmText);
  registry.RegisterDescription("TBaseChangeDiskForm", "BaseChangeDiskForm.dfm",
                               kBaseChangeDiskFormDfmText);
  registry.RegisterDescription("TBaseFormContainer", "BaseFormContainer.dfm",
                               kBaseFormContainerDfmText);
}
