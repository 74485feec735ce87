// Holds the current platform backend (see Platform.h).
#include "platform/Platform.h"

namespace platform {
namespace {
std::unique_ptr<Backend>& Slot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}
}  // namespace

Backend& Current() {
  auto& slot = Slot();
  if (!slot) slot = CreateDefaultBackend();
  return *slot;
}

void Install(std::unique_ptr<Backend> backend) {
  Slot() = std::move(backend);
}

bool HasCurrent() {
  return Slot() != nullptr;
}

}  // namespace platform
