// Unit Main (see Main.h).
#include "app/Main.h"

#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "i18n/cmp_TTranslator.h"

const char* const kSetupTitle = "Quenby Database Engine 8.2.0 \xE5\xAE\x89\xE8\xA3\x85";

void TfmMain::FormCreate(TObject*) {
  SetBounds(0, 0, Screen().Width(), Screen().Height());
}

void TfmMain::ConfirmCancel(TObject*, bool& QuitOut) {
  // No is the default: a stray Enter must not throw away a running setup.
  QuitOut = Application().MessageBox(TranslateFromEnglish("Do you want to cancel the setup?"),
                                     Application().Title(),
                                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void RegisterMainForm(ClassRegistry& registry) {
  registry.Class<TfmMain, TForm>("TfmMain")
      .Handler("FormCreate", &TfmMain::FormCreate)
      .Handler("ConfirmCancel", &TfmMain::ConfirmCancel);
  registry.RegisterDescription("TfmMain", "Main.dfm", kMainDfmText);
}
