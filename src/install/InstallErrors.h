// The exception classes of the install engine. All derive from IException,
// so their English texts pass through the translator before they are
// raised.
#pragma once

#include <string>
#include <string_view>

#include "common/exceptions_Pellmore.h"

// Misuse of the container protocol (children, Comp, registered types).
PELLMORE_DECLARE_EXCEPTION(IEInstallContainer, IException);
// Bad parameters of information events; archive paths not yet downloaded.
PELLMORE_DECLARE_EXCEPTION(IEFileContainer, IException);
// A nil entry for one of the process-wide lists.
PELLMORE_DECLARE_EXCEPTION(IEContainerList, IException);
PELLMORE_DECLARE_EXCEPTION(IECustomInstallFileList, IException);
// The installer component: construction, start-up, modes, bookkeeping.
PELLMORE_DECLARE_EXCEPTION(IEInstall, IException);
// A distribution type that needs a net location without one.
PELLMORE_DECLARE_EXCEPTION(IEInstallNetLocNil, IEInstall);

// Adds the exact reason (what the registry, the file system or the machine
// said) under a message the user is shown. The message stays as it is, in
// the language the translator gave it; the cause follows on a line of its
// own. An empty cause adds nothing.
template <class E>
E WithCause(E e, std::string_view cause) {
  if (!cause.empty()) e.SetMessage(e.Message() + "\n" + std::string(cause));
  return e;
}
