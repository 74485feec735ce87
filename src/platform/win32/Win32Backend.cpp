// The default backend of the Win32 build: the real machine's registry,
// files, system queries and clock. The services hold no state of their own
// beyond what Windows keeps, so one backend serves the whole process.
#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"

namespace platform {
namespace {

class Win32Backend final : public Backend {
 public:
  Win32Backend()
      : registry_(win32::CreateWin32Registry()),
        files_(win32::CreateWin32FileSystem()),
        system_(win32::CreateWin32SystemInfo()),
        clock_(win32::CreateWin32Clock()) {}

  Registry& registry() override { return *registry_; }
  FileSystem& files() override { return *files_; }
  SystemInfo& system() override { return *system_; }
  Clock& clock() override { return *clock_; }

 private:
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<SystemInfo> system_;
  std::unique_ptr<Clock> clock_;
};

}  // namespace

std::unique_ptr<Backend> CreateDefaultBackend() {
  return std::make_unique<Win32Backend>();
}

}  // namespace platform
