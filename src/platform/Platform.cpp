// Holds the current platform backend (see Platform.h).
#include "platform/Platform.h"

#include "platform/OsError.h"

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

namespace {
constexpr uint32_t kErrorCallNotImplemented = 120;
[[noreturn]] void Missing(const char* service) {
  throw OsError(service, "this machine", kErrorCallNotImplemented);
}
}  // namespace

Processes& Backend::processes() {
  Missing("processes");
}
Libraries& Backend::libraries() {
  Missing("libraries");
}
RestartService& Backend::restart() {
  Missing("restart");
}
IniFiles& Backend::iniFiles() {
  Missing("INI files");
}
MachineLocks& Backend::locks() {
  Missing("machine locks");
}
Dde& Backend::dde() {
  Missing("DDE");
}
ShellLinks& Backend::shellLinks() {
  Missing("shell links");
}
Internet& Backend::internet() {
  Missing("internet");
}

}  // namespace platform
