// The parts of host access both builds share (see HostAccess.h); opening
// and reading are in sim/SimHostAccess.cpp and win32/Win32HostAccess.cpp.
#include "platform/HostAccess.h"

namespace platform {

std::string ByteLimitText(uint64_t limit) {
  const std::string bytes = std::to_string(limit) + " bytes";
  constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024;
  if (limit >= kMiB && limit % kMiB == 0)
    return std::to_string(limit / kMiB) + " MiB (" + bytes + ")";
  if (limit >= kKiB && limit % kKiB == 0)
    return std::to_string(limit / kKiB) + " KiB (" + bytes + ")";
  return bytes;
}

}  // namespace platform
