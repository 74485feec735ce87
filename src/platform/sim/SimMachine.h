// A simulated Windows machine: a host directory with drive folders
// (drive_c/ ...), the registry's hive files (registry/), the settings file
// (machine.ini), the short-name record (shortnames.txt), the program table
// (programs.ini), the start log (starts.log), the Program Manager's groups
// (progman.txt, progman.log), a pending restart request and
// the lock files of machine-wide named locks (locks/).
// SimMachine is the platform Backend over such a directory; CreateMachine
// makes a fresh one with the folders and registry values a fresh Windows has.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/sim/MachineCore.h"
#include "platform/sim/SimDde.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimIniFiles.h"
#include "platform/sim/SimInternet.h"
#include "platform/sim/SimLibraries.h"
#include "platform/sim/SimLocks.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimPrograms.h"
#include "platform/sim/SimRestart.h"
#include "platform/sim/SimShellLinks.h"
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
  Processes& processes() override { return processes_; }
  Libraries& libraries() override { return libraries_; }
  RestartService& restart() override { return restart_; }
  IniFiles& iniFiles() override { return iniFiles_; }
  MachineLocks& locks() override { return locks_; }
  ShellLinks& shellLinks() override { return shellLinks_; }
  Dde& dde() override { return dde_; }
  Internet& internet() override { return internet_; }

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

  // The disks of the removable drives (see SimRemovable.h).
  RemovableDisks& Disks() { return core_.Removable(); }

  // The process's command line (default: the running program alone).
  void SetCommandLine(std::string line) { system_.SetCommandLine(std::move(line)); }

  // The host path a Windows path maps to (its parent must exist).
  std::string HostPath(std::string_view path);

  // The program table (see SimPrograms.h): what starting the program at
  // `windowsPath` (case ignored; short names resolved when it exists) does.
  // The file itself must exist in the machine for a start to find it.
  void SetProgram(std::string_view windowsPath, const SimProgram& entry);
  // False when the path had no entry.
  bool RemoveProgram(std::string_view windowsPath);
  // Every entry with its path as given.
  std::vector<std::pair<std::string, SimProgram>> Programs() const;

  // The start log, oldest first: every start (recorded as it begins), every
  // self-registration (recorded with its result), also those of programs
  // the machine started. ClearStarts empties it.
  std::vector<SimStart> Starts() const;
  void ClearStarts();
  // What batch files printed (errors and unknown commands), in order.
  std::string ConsoleOutput() const;

  // Binds a library file name to a native implementation (see
  // SimLibraries.h); for this process's machine object only.
  void RegisterNativeLibrary(std::string_view fileName, NativeLibraryFactory factory);
  // OleInitialize nesting now (tests check that registration happens
  // inside it).
  int OleDepth() const { return libraries_.OleDepth(); }

  // The simulated Program Manager: its groups and the commands it was sent.
  SimDde& DdeServer() { return dde_; }

  // Whether a restart was requested and not yet performed.
  bool RestartRequested() const { return restart_.Requested(); }

  // Restarts Windows, in its order: files held by other programs are
  // released; the 95 family's WININIT.INI [Rename] lines run ("NUL=source"
  // deletes the source, "dest=source" replaces dest) and the file becomes
  // WININIT.BAK, or on NT the PendingFileRenameOperations run and the value
  // goes; the restart request is cleared; then each RunOnce command of
  // HKEY_LOCAL_MACHINE and then HKEY_CURRENT_USER, in value-name order, is
  // removed and run (waiting for it). A step that fails is noted and the
  // rest goes on, as at a real start-up. Returns one line per step done
  // ("rename FROM -> TO", "delete PATH", "run COMMAND -> exit N",
  // "failed: ..."), which the machine tool prints.
  std::vector<std::string> Restart();

 private:
  SimMachine(std::string hostDir, MachineSettings settings);
  std::string ProgramKey(std::string_view windowsPath);
  void PerformRenames(std::vector<std::string>& steps);
  void RunOnceCommands(RootKey root, std::vector<std::string>& steps);

  MachineCore core_;
  SimFileSystem files_;
  SimSystemInfo system_;
  SimClock clock_;
  std::unique_ptr<Registry> registry_;  // opened on first use
  ProgramTable table_;
  SimProcesses processes_;
  SimLibraries libraries_;
  SimRestart restart_;
  SimIniFiles iniFiles_;
  SimLocks locks_;
  SimShellLinks shellLinks_;
  SimDde dde_;
  SimInternet internet_;
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
