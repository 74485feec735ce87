// Registration of the open-folder dialog. (Being built.)
#include "dialogs/DialogRegistration.h"

void RegisterOpenFolderDialog(ClassRegistry&) {}
