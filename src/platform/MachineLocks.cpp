// The lock-name rule both builds share (see MachineLocks.h).
#include "platform/MachineLocks.h"

namespace platform {

bool IsValidLockName(std::string_view name) {
  if (name.empty() || name.size() > 200 || name == "." || name == "..") return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

}  // namespace platform
