// Holds the current version service (see VersionInfo.h).
#include "platform/VersionInfo.h"

namespace platform {
namespace {
std::unique_ptr<VersionInfoService>& Slot() {
  static std::unique_ptr<VersionInfoService> service;
  return service;
}
}  // namespace

VersionInfoService& versions() {
  auto& slot = Slot();
  if (!slot) slot = CreateDefaultVersionService();
  return *slot;
}

void InstallVersionService(std::unique_ptr<VersionInfoService> service) {
  Slot() = std::move(service);
}

}  // namespace platform
