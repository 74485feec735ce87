// Failures of the simulated machine: refusals as Windows gives them
// (platform::OsError with the Windows call and code, from a host errno when
// the host refused), and MachineError for a machine directory that is not
// one or a settings file that cannot be read (corrupt input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "platform/FileSystem.h"

namespace platform::sim {

class MachineError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "MachineError"; }
};

// Raises OsError(call, subject, code).
[[noreturn]] void Refuse(std::string_view call, std::string_view subject, uint32_t code);

// The Windows error code closest to a host errno.
uint32_t WindowsCodeOf(int hostErrno);

// Raises OsError for the current errno.
[[noreturn]] void RefuseErrno(std::string_view call, std::string_view subject);

}  // namespace platform::sim
