// Opening a simulated machine and its machine-level operations (see
// SimMachine.h); also the default backend of the sim build.
#include "platform/sim/SimMachine.h"

#include <sys/stat.h>

#include <cstdlib>

#include "framework/StrUtils.h"
#include "platform/sim/SimEngineSetup.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimRegistry.h"

namespace platform::sim {

SimMachine::SimMachine(std::string hostDir, MachineSettings settings)
    : core_(std::move(hostDir), std::move(settings)),
      files_(core_),
      system_(core_, files_),
      clock_(core_),
      table_(core_.HostDir()),
      processes_(core_, files_, system_, table_),
      libraries_(core_, files_, system_, table_),
      restart_(core_, files_, [this]() -> Registry& { return registry(); }),
      iniFiles_(files_, system_),
      locks_(core_.HostDir()),
      shellLinks_(core_, files_),
      dde_(core_),
      internet_(core_) {
  // The engine's setup library runs natively over this machine's services.
  libraries_.RegisterNative(kEngineSetupLibrary,
                            EngineSetupFactory(
                                files_, [this]() -> Registry& { return registry(); }, iniFiles_));
}

SimMachine::~SimMachine() = default;

namespace {

bool IsHostDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A machine lacking one of its parts would be used as if it were new: a
// missing registry folder comes back empty, a missing system drive has no
// Windows. Either way a setup would "succeed" on a machine nobody made, so
// such a directory is refused with what is missing.
void CheckWhole(const std::string& dir, const MachineSettings& settings) {
  const auto notWhole = [&](const std::string& what) {
    throw MachineError("'" + dir + "' is not a whole simulated machine: " + what);
  };
  if (!IsHostDirectory(dir + "/registry")) notWhole("its registry folder (registry/) is missing");
  const char drive = char(settings.windowsDir[0] | 0x20);
  const std::string driveDir = std::string("drive_") + drive;
  if (!IsHostDirectory(dir + "/" + driveDir))
    notWhole("the folder of its Windows drive " + std::string(1, char(drive & ~0x20)) + ": (" +
             driveDir + "/) is missing");
}

}  // namespace

std::unique_ptr<SimMachine> SimMachine::Open(const std::string& hostDir) {
  std::string dir = hostDir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (!IsHostDirectory(dir))
    throw MachineError("'" + dir + "' is not a simulated machine (no such directory)");
  MachineSettings settings = LoadSettings(dir);
  CheckWhole(dir, settings);
  Faults::InstallOnce(settings.fault);
  std::unique_ptr<SimMachine> machine(new SimMachine(dir, std::move(settings)));
  // A program the machine started begins in its starter's current
  // directory, as a Windows child process does.
  if (const char* current = std::getenv("PELLMORE_CURRENT_DIR")) {
    try {
      machine->system_.SetCurrentDirectory(current);
    } catch (const OsError&) {
      // Gone meanwhile: the machine's own current directory stays.
    }
  }
  return machine;
}

Registry& SimMachine::registry() {
  if (!registry_) registry_ = OpenSimRegistry(core_.HostDir() + "/registry");
  return *registry_;
}

void SimMachine::ChangeSettings(const std::function<void(MachineSettings&)>& change) {
  MachineSettings next = core_.Settings();
  change(next);
  SaveSettings(core_.HostDir(), next);
  core_.SetSettings(std::move(next));
}

void SimMachine::Hold(std::string_view path) {
  Resolved r = core_.Resolve(path, "CreateFileW");
  if (!r.exists || r.isDir) Refuse("CreateFileW", path, kErrorFileNotFound);
  std::string full = r.path.Text();
  ChangeSettings([&](MachineSettings& s) { s.Set("held", full); });
}

void SimMachine::Release(std::string_view path) {
  std::string key;
  try {
    key = core_.Resolve(path, "CloseHandle").path.Key();
  } catch (const OsError&) {
    key = AsciiUpperCase(core_.Parse(path, "CloseHandle").Text());
  }
  ChangeSettings([&](MachineSettings& s) {
    std::erase_if(s.held, [&](const std::string& h) { return AsciiUpperCase(h) == key; });
  });
}

void SimMachine::SetFreeSpace(char drive, uint64_t bytes) {
  drive = char(drive & ~0x20);
  if (drive < 'A' || drive > 'Z' ||
      !IsHostDirectory(HostDir() + "/drive_" + std::string(1, char(drive | 0x20))))
    throw MachineError("free." + std::string(1, drive) + ": the machine has no such drive");
  if (bytes > kMaxByteCount)
    throw MachineError("free." + std::string(1, drive) + "=" + std::to_string(bytes) +
                       ": out of range 0.." + std::to_string(kMaxByteCount));
  // Count without a capacity first, so the current files are what is used.
  ChangeSettings([&](MachineSettings& s) { s.capacity.erase(drive); });
  uint64_t used = core_.UsedBytes(drive);
  ChangeSettings([&](MachineSettings& s) { s.capacity[drive] = used + bytes; });
}

std::string SimMachine::HostPath(std::string_view path) {
  return core_.Resolve(path, "GetFullPathNameW").host;
}

std::string SimMachine::ProgramKey(std::string_view windowsPath) {
  const char* call = "SetProgram";
  try {
    Resolved r = core_.Resolve(windowsPath, call);
    if (r.exists) return r.path.Key();
  } catch (const OsError&) {
    // Not there (yet): the path as written names it.
  }
  return core_.Parse(windowsPath, call).Key();
}

void SimMachine::SetProgram(std::string_view windowsPath, const SimProgram& entry) {
  std::string key = ProgramKey(windowsPath);
  table_.Set(key, core_.Parse(windowsPath, "SetProgram").Text(), entry);
}

bool SimMachine::RemoveProgram(std::string_view windowsPath) {
  return table_.Remove(ProgramKey(windowsPath));
}

std::vector<std::pair<std::string, SimProgram>> SimMachine::Programs() const {
  return table_.All();
}

std::vector<SimStart> SimMachine::Starts() const {
  return table_.Starts();
}

void SimMachine::ClearStarts() {
  table_.ClearStarts();
}

std::string SimMachine::ConsoleOutput() const {
  return table_.Console();
}

void SimMachine::RegisterNativeLibrary(std::string_view fileName, NativeLibraryFactory factory) {
  libraries_.RegisterNative(fileName, std::move(factory));
}

}  // namespace platform::sim

namespace platform {

std::unique_ptr<Backend> CreateDefaultBackend() {
  const char* dir = std::getenv("PELLMORE_MACHINE");
  if (!dir || !*dir)
    throw sim::MachineError(
        "No simulated machine: set PELLMORE_MACHINE to a machine directory "
        "(pellmore-machine create DIR makes one)");
  return sim::SimMachine::Open(dir);
}

}  // namespace platform
