// Opening a simulated machine and its machine-level operations (see
// SimMachine.h); also the default backend of the sim build.
#include "platform/sim/SimMachine.h"

#include <cstdlib>

#include "framework/StrUtils.h"
#include "platform/sim/SimErrors.h"
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
      iniFiles_(files_, system_) {}

SimMachine::~SimMachine() = default;

std::unique_ptr<SimMachine> SimMachine::Open(const std::string& hostDir) {
  std::string dir = hostDir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  MachineSettings settings = LoadSettings(dir);
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
