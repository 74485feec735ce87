// The archive tool's platform: a throw-away simulated machine plus host
// drives (see ToolBackend.h).
#include "ToolBackend.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "platform/sim/SimMachine.h"

namespace archive_tool {
namespace {

namespace fs = std::filesystem;

int HostTimeZoneMinutes() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return int(local.tm_gmtoff / 60);
}

bool IsWindowsPath(const std::string& s) {
  return s.size() >= 3 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':' &&
         s[2] == '\\';
}

}  // namespace

ToolBackend::ToolBackend() {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  dir_ = (fs::temp_directory_path() /
          ("pellmore-archive-" + std::to_string(::getpid()) + "-" + std::to_string(stamp)))
             .string();
  platform::sim::MachineOptions options;
  options.systemDrive = kMachineDrive;
  options.timeZoneMinutes = HostTimeZoneMinutes();
  machine_ = platform::sim::CreateMachine(dir_, options);
  files_.MapDrive(kMachineDrive, dir_ + "/drive_" + char(kMachineDrive | 0x20));
  files_.MapDrive(kHostDrive, "/");
}

ToolBackend::~ToolBackend() {
  machine_.reset();
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

platform::Registry& ToolBackend::registry() {
  return machine_->registry();
}
platform::SystemInfo& ToolBackend::system() {
  return machine_->system();
}
platform::Clock& ToolBackend::clock() {
  return machine_->clock();
}

std::string ToolBackend::ToWindows(const std::string& arg) const {
  if (IsWindowsPath(arg)) return arg;
  std::string path = files_.WindowsPath(arg);
  if (path.empty()) throw std::runtime_error("no drive holds " + arg);
  return path;
}

}  // namespace archive_tool
