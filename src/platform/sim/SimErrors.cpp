// Host errno to Windows error code mapping and the refusal helpers of the
// simulated machine (see SimErrors.h).
#include "platform/sim/SimErrors.h"

#include <cerrno>

namespace platform::sim {

void Refuse(std::string_view call, std::string_view subject, uint32_t code) {
  throw OsError(std::string(call), std::string(subject), code);
}

uint32_t WindowsCodeOf(int hostErrno) {
  switch (hostErrno) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EEXIST:
      return kErrorAlreadyExists;
    case ENOTEMPTY:
      return kErrorDirNotEmpty;
    case ENOSPC:
    case EDQUOT:
      return kErrorDiskFull;
    case ENAMETOOLONG:
      return kErrorFilenameExcedRange;
    case EXDEV:
      return kErrorNotSameDevice;
    case EBUSY:
    case ETXTBSY:
      return kErrorSharingViolation;
    case EINVAL:
      return kErrorInvalidParameter;
    case EBADF:
      return kErrorInvalidHandle;
    default:
      return kErrorAccessDenied;  // EACCES, EPERM, EISDIR, ELOOP, EROFS ...
  }
}

void RefuseErrno(std::string_view call, std::string_view subject) {
  Refuse(call, subject, WindowsCodeOf(errno));
}

}  // namespace platform::sim
