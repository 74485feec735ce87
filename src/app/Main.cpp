// Unit Main (see Main.h).
#include "app/Main.h"

#include "framework/ClassRegistry.h"

const char* const kSetupTitle = "Quenby Database Engine 8.2.0 \xE5\xAE\x89\xE8\xA3\x85";

void TfmMain::FormCreate(TObject*) {
  SetBounds(0, 0, Screen().Width(), Screen().Height());
}

void RegisterMainForm(ClassRegistry& registry) {
  registry.Class<TfmMain, TForm>("TfmMain").Handler("FormCreate", &TfmMain::FormCreate);
  registry.RegisterDescription("TfmMain", "Main.dfm", kMainDfmText);
}
