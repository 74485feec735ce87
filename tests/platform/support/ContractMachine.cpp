// Setting up and tearing down the contract tests' machine (see
// ContractMachine.h).
#include "ContractMachine.h"

#include <atomic>
#include <filesystem>

#ifndef _WIN32
#include <unistd.h>

#include "platform/sim/SimMachine.h"
#endif

namespace {
std::atomic<unsigned> g_serial{0};
}

void ContractMachine::SetUp() {
#ifndef _WIN32
  namespace fs = std::filesystem;
  std::string base = (fs::temp_directory_path() / "pellmore-contract-XXXXXX").string();
  ASSERT_NE(::mkdtemp(base.data()), nullptr);
  hostDir_ = base;
  auto machine = platform::sim::CreateMachine(hostDir_ + "/machine", {});
  sim_ = machine.get();
  platform::Install(std::move(machine));
#endif
  std::string temp = System().TempDirectory();
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  scratch_ = temp + "\\pellmore-contract-" + std::to_string(g_serial++);
  if (Files().DirectoryExists(scratch_)) RemoveTree(scratch_);
  Files().CreateDirectory(scratch_);
}

void ContractMachine::TearDown() {
  if (!scratch_.empty() && platform::HasCurrent()) {
    try {
      RemoveTree(scratch_);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "cannot remove the scratch directory: " << e.what();
    }
  }
#ifndef _WIN32
  platform::Install(nullptr);
  sim_ = nullptr;
  std::error_code ec;
  if (!hostDir_.empty()) std::filesystem::remove_all(hostDir_, ec);
#endif
}
