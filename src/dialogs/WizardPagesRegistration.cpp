// Registration of the pages before installing. (Being built.)
#include "dialogs/DialogRegistration.h"

void RegisterWizardPages(ClassRegistry&) {}
void StartWizardPageUnits(bool) {}
