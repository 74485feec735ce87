// Simulated machines in a temporary host directory (see SimMachineHome.h).
#include "support/SimMachineHome.h"

#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

SimMachineHome::SimMachineHome(std::string_view prefix) : dir_(prefix) {}

std::unique_ptr<platform::sim::SimMachine> SimMachineHome::Create(
    const platform::sim::MachineOptions& options) {
  ++machines_;
  machineDir_ =
      (dir_ / ("machine" + (machines_ == 1 ? std::string() : std::to_string(machines_)))).string();
  return platform::sim::CreateMachine(machineDir_, options);
}

platform::sim::SimMachine& SimMachineHome::Install(const platform::sim::MachineOptions& options) {
  // The machine in use goes first: two backends never live at once.
  platform::Install(nullptr);
  auto machine = Create(options);
  platform::sim::SimMachine& ref = *machine;
  platform::Install(std::move(machine));
  return ref;
}

std::unique_ptr<platform::sim::SimMachine> SimMachineHome::Recreate(
    const platform::sim::MachineOptions& options) {
  if (machineDir_.empty()) return Create(options);
  fs::remove_all(machineDir_);
  return platform::sim::CreateMachine(machineDir_, options);
}

std::unique_ptr<platform::sim::SimMachine> SimMachineHome::Open() const {
  if (machineDir_.empty()) throw std::logic_error("no simulated machine was made yet");
  return platform::sim::SimMachine::Open(machineDir_);
}

}  // namespace testsupport
