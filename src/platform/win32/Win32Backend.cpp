// The default backend of the Win32 build: the real machine's registry,
// files, system queries, clock, programs, libraries, restart, INI files and
// named locks. The services hold no state of their own beyond what Windows
// keeps, so one backend serves the whole process.
#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Internet.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32SystemInfo.h"

namespace platform {
namespace {

class Win32Backend final : public Backend {
 public:
  Win32Backend()
      : registry_(win32::CreateWin32Registry()),
        files_(win32::CreateWin32FileSystem()),
        system_(win32::CreateWin32SystemInfo()),
        clock_(win32::CreateWin32Clock()),
        processes_(win32::CreateWin32Processes()),
        libraries_(win32::CreateWin32Libraries()),
        restart_(win32::CreateWin32Restart()),
        iniFiles_(win32::CreateWin32IniFiles()),
        locks_(win32::CreateWin32Locks()),
        shellLinks_(win32::CreateWin32ShellLinks()),
        dde_(win32::CreateWin32Dde()),
        internet_(win32::CreateWin32Internet()) {}

  Registry& registry() override { return *registry_; }
  FileSystem& files() override { return *files_; }
  SystemInfo& system() override { return *system_; }
  Clock& clock() override { return *clock_; }
  Processes& processes() override { return *processes_; }
  Libraries& libraries() override { return *libraries_; }
  RestartService& restart() override { return *restart_; }
  IniFiles& iniFiles() override { return *iniFiles_; }
  MachineLocks& locks() override { return *locks_; }
  ShellLinks& shellLinks() override { return *shellLinks_; }
  Dde& dde() override { return *dde_; }
  Internet& internet() override { return *internet_; }

 private:
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<SystemInfo> system_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<Libraries> libraries_;
  std::unique_ptr<RestartService> restart_;
  std::unique_ptr<IniFiles> iniFiles_;
  std::unique_ptr<MachineLocks> locks_;
  std::unique_ptr<ShellLinks> shellLinks_;
  std::unique_ptr<Dde> dde_;
  std::unique_ptr<Internet> internet_;
};

}  // namespace

std::unique_ptr<Backend> CreateDefaultBackend() {
  return std::make_unique<Win32Backend>();
}

}  // namespace platform
