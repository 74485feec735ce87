// The setup program's ordered class registration (see SetupRegistration.h).
#include "app/SetupRegistration.h"

#include "app/Main.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "decor/DecorRegistration.h"
#include "dialogs/DialogRegistration.h"
#include "files/cmp_TInstallFile.h"
#include "files/cmp_TNetInstallLocation.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "i18n/TranslatorRegistration.h"
#include "install/InstallRegistration.h"
#include "install/uninstall/cmp_TUninstallEXE.h"
#include "paths/cmp_TPathSpecifier.h"
#include "shell/links/cmp_TInstallShellLink.h"

void RegisterSetupClasses(ClassRegistry& registry) {
  RegisterControls(registry);
  RegisterTranslatorClasses(registry);
  RegisterDecorClasses(registry);
  RegisterPathSpecifiers(registry);
  RegisterInstallClasses(registry);
  RegisterInstallFile(registry);
  RegisterNetInstallLocation(registry);
  RegisterUninstallEXE(registry);
  RegisterShellLinkClasses(registry);
  RegisterQDEClasses(registry);
  RegisterDialogClasses(registry);
  // Every dialog's component unit is part of the program: the kit's forms
  // take part only through the components on the main form.
  StartDialogUnits(true);
  RegisterMainForm(registry);
}
