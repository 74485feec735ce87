// Registration of the completion and reboot pages. (Being built.)
#include "dialogs/DialogRegistration.h"

void RegisterCompletionDialogs(ClassRegistry&) {}
void StartCompletionUnits(bool) {}
