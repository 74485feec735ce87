// The simulated machine's program table and start log. The table maps a
// program's Windows path to what starting it does: run a host executable as
// a child process on the same machine, or a scripted fake (exit code and
// self-registration result). The start log records every program started,
// every self-registration and every run of a batch file. Both live as files
// in the machine directory, so programs the machine starts see and extend
// them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace platform::sim {

// E_FAIL, what a scripted failing registration returns.
inline constexpr uint32_t kRegisterFailed = 0x80004005u;

// What starting (or self-registering) one program does.
struct SimProgram {
  // A host executable run as a child process: PELLMORE_MACHINE names this
  // machine, PELLMORE_PROGRAM the Windows path and PELLMORE_COMMAND_LINE the
  // Windows command line (the child's ModuleFileName and CommandLine), and
  // PELLMORE_CURRENT_DIR the starter's current directory. Its argv holds
  // the host path and the split Windows arguments. Empty: a scripted fake.
  std::string host;
  // A fake's exit code.
  uint32_t exitCode = 0;
  // The result of a self-registration (DllRegisterServer's HRESULT; for a
  // program started with /REGSERVER, its exit code) once the failures
  // below are used up.
  uint32_t registerResult = 0;
  // Fail-then-succeed: this many self-registrations return E_FAIL first;
  // each one counts down (persisted).
  uint32_t failuresBeforeSuccess = 0;

  bool operator==(const SimProgram&) const = default;
};

enum class SimStartKind {
  Start,     // WinExec: Processes::Start
  Run,       // CreateProcess and wait: Processes::Run (RunOnce after a restart)
  Register,  // a self-registration: DllRegisterServer or "/REGSERVER"
};

// One line of the start log.
struct SimStart {
  SimStartKind kind = SimStartKind::Start;
  // The command line as given; for a DllRegisterServer registration the
  // library's full path.
  std::string commandLine;
  ShowMode show = ShowMode::Normal;
  // The exit code (the machine runs a started program to its end), or the
  // registration's HRESULT.
  uint32_t result = 0;
  // Registrations: whether OLE was initialised around the call.
  bool oleInitialized = false;

  bool operator==(const SimStart&) const = default;
};

// The table and the log of the machine in `hostDir`. Paths are stored as
// given and found by `key` (the upper-case full Windows path); a path with
// a component "*" ("C:\WINNT\TEMP\*\SETUP.EXE") stands for every path
// with any one name there, and is used when no path matches exactly.
class ProgramTable {
 public:
  explicit ProgramTable(std::string hostDir) : hostDir_(std::move(hostDir)) {}

  void Set(const std::string& key, const std::string& path, const SimProgram& entry);
  bool Remove(const std::string& key);
  std::optional<SimProgram> Find(const std::string& key) const;
  // Every entry by its path as given, in key order.
  std::vector<std::pair<std::string, SimProgram>> All() const;

  // The result of one self-registration of `key`: E_FAIL while scripted
  // failures remain (counting one down), else the scripted result; nullopt
  // for a program without an entry.
  std::optional<uint32_t> TakeRegistration(const std::string& key);

  void Append(const SimStart& start);
  std::vector<SimStart> Starts() const;
  void ClearStarts();

  // What the machine's command interpreter printed (batch errors), appended.
  void AppendConsole(std::string_view text);
  std::string Console() const;

 private:
  struct Row {
    std::string path;
    SimProgram entry;
  };
  std::map<std::string, Row> Load() const;
  void Save(const std::map<std::string, Row>& rows) const;

  std::string hostDir_;
};

// The start log's kind names ("start", "run", "register"), for the tool.
const char* StartKindName(SimStartKind kind);

}  // namespace platform::sim
