// A simulated Windows machine: a host directory with drive folders
// (drive_c/ ...), the registry's hive files (registry/), the settings file
// (machine.ini) and the short-name record (shortnames.txt). SimMachine is
// the platform Backend over such a directory; CreateMachine makes a fresh
// one with the folders and registry values a fresh Windows has.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/sim/MachineCore.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimSystemInfo.h"

namespace platform::sim {

class SimMachine : public Backend {
 public:
  // Opens the machine in `hostDir`. Raises MachineError when the directory
  // holds no machine or its settings cannot be read.
  static std::unique_ptr<SimMachine> Open(const std::string& hostDir);
  ~SimMachine() override;

  Registry& registry() override;
  FileSystem& files() override { return files_; }
  SystemInfo& system() override { return system_; }
  Clock& clock() override { return clock_; }

  const std::string& HostDir() const { return core_.HostDir(); }
  const MachineSettings& Settings() const { return core_.Settings(); }
  // Changes the settings and writes them to the settings file; when
  // `change` raises, nothing changes.
  void ChangeSettings(const std::function<void(MachineSettings&)>& change);

  // Marks an existing file as held open by another program (readable; not
  // writable, deletable or renamable), or releases it. Both are persisted.
  // Hold raises OsError ERROR_FILE_NOT_FOUND for a missing file.
  void Hold(std::string_view path);
  void Release(std::string_view path);

  // Sets the drive's capacity so that `bytes` are free now.
  void SetFreeSpace(char drive, uint64_t bytes);

  // The process's command line (default: the running program alone).
  void SetCommandLine(std::string line) { system_.SetCommandLine(std::move(line)); }

  // The host path a Windows path maps to (its parent must exist).
  std::string HostPath(std::string_view path);

 private:
  SimMachine(std::string hostDir, MachineSettings settings);

  MachineCore core_;
  SimFileSystem files_;
  SimSystemInfo system_;
  SimClock clock_;
  std::unique_ptr<Registry> registry_;  // opened on first use
};

// What a fresh machine looks like.
struct MachineOptions {
  std::string kind = "nt4";  // a KindPreset name
  std::string windowsDir;    // empty: the kind's default on `systemDrive`
  char systemDrive = 'C';    // ignored when windowsDir names a drive
  std::string extraDrives;   // more drive letters to create, e.g. "D"
  uint16_t language = 0x0409;
  int screenWidth = 1024;
  int screenHeight = 768;
  int timeZoneMinutes = 0;
  std::string clock = "real";  // as the "clock" setting
  std::string userName = "Administrator";
  std::string program;  // empty: "<system drive>:\SETUP\SETUP.EXE"
};

// Creates a machine in `hostDir`, which must be missing or empty (an
// existing machine is never overwritten: MachineError). Makes the drive
// folders, the Windows, system and temporary directories, Program Files and
// the shell folders of the kind, the settings file, and the registry values
// a fresh Windows of that kind has. Bad options raise MachineError.
std::unique_ptr<SimMachine> CreateMachine(const std::string& hostDir,
                                          const MachineOptions& options);

}  // namespace platform::sim
