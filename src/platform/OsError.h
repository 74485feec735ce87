// The operating system refused a call. Carries the call's name and the
// Windows error code (the simulated machine uses the same codes), so kit
// code can tell "in use" from "not found" on both builds.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Exception.h"

namespace platform {

// Windows error codes the kit distinguishes.
enum : uint32_t {
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorNotReady = 21,
  kErrorSharingViolation = 32,
  kErrorHandleEof = 38,
  kErrorFileExists = 80,
  kErrorInvalidParameter = 87,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorDirNotEmpty = 145,
  kErrorAlreadyExists = 183,
  kErrorMoreData = 234,
  kErrorNoMoreItems = 259,
};

class OsError : public Exception {
 public:
  // `call` names the system call ("CreateFileW", "RegSetValueExW"), `what`
  // the object it was about (a path, a key), `code` the Windows error code.
  OsError(std::string call, std::string what, uint32_t code);

  const std::string& Call() const { return call_; }
  const std::string& Subject() const { return subject_; }
  uint32_t Code() const { return code_; }
  const char* ClassName() const noexcept override { return "OsError"; }

 private:
  std::string call_;
  std::string subject_;
  uint32_t code_;
};

// A short English text for a Windows error code ("The process cannot access
// the file because it is being used by another process.").
std::string ErrorText(uint32_t code);

}  // namespace platform
