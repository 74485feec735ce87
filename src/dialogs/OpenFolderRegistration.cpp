// Registration of the open-folder dialog and its two controls.
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TOpenFolderDialog.h"
#include "framework/ClassRegistry.h"

void RegisterOpenFolderDialog(ClassRegistry& registry) {
  registry.Class<TOpenFolderDialog, TComponent>("TOpenFolderDialog")
      .Prop("Path", &TOpenFolderDialog::Path, &TOpenFolderDialog::SetPath);
  registry.Class<TOFDCreateButton, TComponent>("TOFDCreateButton");
  registry.Class<TOFDPathEdit, TComponent>("TOFDPathEdit");
}
