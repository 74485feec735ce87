// The test machine on the sim build (see TestMachine.h): a fresh simulated
// machine in a temporary host directory, installed as the backend and
// thrown away afterwards, so nothing a test writes can reach another.
#include <atomic>

#include "support/SimMachineHome.h"
#include "support/TestMachine.h"

namespace testsupport {

namespace {
std::atomic<unsigned> g_serial{0};
}

bool OnWine() {
  return false;
}

TestMachine::TestMachine(const TestMachineOptions& options)
    : home_(std::make_shared<SimMachineHome>(options.scratchPrefix)) {
  sim_ = &home_->Install(options.sim);
  if (options.simScratchIsDriveC) scratch_ = "C:";
  CreateScratch(options.scratchPrefix + "-" + std::to_string(g_serial++));
}

platform::sim::SimMachine& TestMachine::Replace(const platform::sim::MachineOptions& options) {
  sim_ = &home_->Install(options);
  if (scratch_ != "C:") CreateScratch(scratchName_);
  return *sim_;
}

void TestMachine::Release() {
  if (released_) return;
  released_ = true;
  ReleaseCommon();
  platform::Install(nullptr);
  sim_ = nullptr;
  home_.reset();
}

}  // namespace testsupport
