// The exception classes of the dialog components: one per family, each an
// IException (its English text passes through the main translator).
#pragma once

#include "common/exceptions_Pellmore.h"

PELLMORE_DECLARE_EXCEPTION(IEDialogManager, IException);
PELLMORE_DECLARE_EXCEPTION(IEFormRegistry, IException);
PELLMORE_DECLARE_EXCEPTION(IEBaseFormContainer, IException);
PELLMORE_DECLARE_EXCEPTION(IECustomBaseInstallDlg, IException);
PELLMORE_DECLARE_EXCEPTION(IEInstallStatusDlg, IException);
PELLMORE_DECLARE_EXCEPTION(IEFileGroupSelectForm, IException);
// A change-disk request whose items are not what the install file sends;
// its texts are not translated.
PELLMORE_DECLARE_EXCEPTION(EChangeDiskParameter, EPellmoreAbnormal);
