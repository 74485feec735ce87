// The test machine on the sim build (see TestMachine.h): a fresh simulated
// machine in a temporary host directory, installed as the backend and
// thrown away afterwards, so nothing a test writes can reach another.
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "platform/sim/SimMachine.h"
#include "support/TestMachine.h"

namespace testsupport {

namespace {
std::atomic<unsigned> g_serial{0};
}

bool OnWine() {
  return false;
}

TestMachine::TestMachine(const TestMachineOptions& options) {
  std::string base =
      (std::filesystem::temp_directory_path() / (options.scratchPrefix + "-XXXXXX")).string();
  if (::mkdtemp(base.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  hostDir_ = base;
  platform::sim::MachineOptions machine;
  machine.kind = options.kind;
  machine.extraDrives = options.extraDrives;
  auto sim = platform::sim::CreateMachine(hostDir_ + "/machine", machine);
  sim_ = sim.get();
  platform::Install(std::move(sim));
  if (options.simScratchIsDriveC) scratch_ = "C:";
  CreateScratch(options.scratchPrefix + "-" + std::to_string(g_serial++));
}

void TestMachine::Release() {
  if (released_) return;
  released_ = true;
  ReleaseCommon();
  platform::Install(nullptr);
  sim_ = nullptr;
  std::error_code ec;
  if (!hostDir_.empty()) std::filesystem::remove_all(hostDir_, ec);
}

}  // namespace testsupport
