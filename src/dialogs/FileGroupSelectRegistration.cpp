// Registration of the file group selection page. (Being built.)
#include "dialogs/DialogRegistration.h"

void RegisterFileGroupSelect(ClassRegistry&) {}
void StartFileGroupSelectUnits(bool) {}
