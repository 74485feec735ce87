// Simulated machines for tests (sim build only), kept in one temporary host
// directory and removed with it: the test machine's, those a test swaps
// in for other shapes, and the targets that programs started as child
// processes work on. Each new machine gets a directory of its own below
// Dir() ("machine", "machine2", ...); the rest of Dir() is free for the
// test's own host files (transcripts, forms, scripts).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/sim/SimMachine.h"
#include "support/TempDir.h"

namespace testsupport {

class SimMachineHome {
 public:
  explicit SimMachineHome(std::string_view prefix = "pellmore-machine");

  const TempDir& Dir() const { return dir_; }

  // A fresh machine of this shape in a new directory, not installed.
  std::unique_ptr<platform::sim::SimMachine> Create(
      const platform::sim::MachineOptions& options = {});
  // The same, installed as the current backend (the one before it goes).
  platform::sim::SimMachine& Install(const platform::sim::MachineOptions& options = {});
  // The host directory of the machine made last.
  const std::string& MachineDir() const { return machineDir_; }
  // Throws the machine made last away and makes a fresh one of this shape
  // at the same place, not installed (a new target for the next trial).
  std::unique_ptr<platform::sim::SimMachine> Recreate(
      const platform::sim::MachineOptions& options = {});
  // The machine made last, opened again: what child processes wrote to it.
  std::unique_ptr<platform::sim::SimMachine> Open() const;

 private:
  TempDir dir_;
  std::string machineDir_;
  int machines_ = 0;
};

}  // namespace testsupport
