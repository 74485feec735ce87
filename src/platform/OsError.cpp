// Texts of the Windows error codes the kit meets (see OsError.h).
#include "platform/OsError.h"

namespace platform {

std::string ErrorText(uint32_t code) {
  switch (code) {
    case kErrorFileNotFound:
      return "The system cannot find the file specified.";
    case kErrorPathNotFound:
      return "The system cannot find the path specified.";
    case kErrorAccessDenied:
      return "Access is denied.";
    case kErrorInvalidHandle:
      return "The handle is invalid.";
    case kErrorNotReady:
      return "The device is not ready.";
    case kErrorSharingViolation:
      return "The process cannot access the file because it is being used by another process.";
    case kErrorHandleEof:
      return "Reached the end of the file.";
    case kErrorFileExists:
      return "The file exists.";
    case kErrorInvalidParameter:
      return "The parameter is incorrect.";
    case kErrorDiskFull:
      return "There is not enough space on the disk.";
    case kErrorInvalidName:
      return "The filename, directory name, or volume label syntax is incorrect.";
    case kErrorDirNotEmpty:
      return "The directory is not empty.";
    case kErrorAlreadyExists:
      return "Cannot create a file when that file already exists.";
    case kErrorMoreData:
      return "More data is available.";
    case kErrorNoMoreItems:
      return "No more data is available.";
    default:
      return "System error " + std::to_string(code) + ".";
  }
}

OsError::OsError(std::string call, std::string what, uint32_t code)
    : Exception(call + " failed for " + (what.empty() ? std::string("(none)") : what) + ": " +
                ErrorText(code)),
      call_(std::move(call)),
      subject_(std::move(what)),
      code_(code) {}

}  // namespace platform
