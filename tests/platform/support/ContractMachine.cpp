// Setting up and tearing down the contract tests' machine (see
// ContractMachine.h); the machine itself is the shared test machine.
#include "ContractMachine.h"

void ContractMachine::SetUp() {
  testsupport::TestMachineOptions options;
  options.scratchPrefix = "pellmore-contract";
  options.guardRegistry = false;  // the contract tests keep to their own keys
  options.simScratchIsDriveC = false;
  machine_ = std::make_unique<testsupport::TestMachine>(options);
#ifdef _WIN32
  // Skipped after the scratch directory exists, so a derived fixture that
  // goes on setting up still works inside it.
  if (const char* reason = ContractWineDeviation()) GTEST_SKIP() << reason;
#endif
}

void ContractMachine::TearDown() {
  if (machine_) machine_->Release();
  machine_.reset();
}

std::string ContractMachine::At(std::string_view relative) const {
  return machine_->At(relative);
}

void ContractMachine::WriteFile(std::string_view path, std::string_view bytes) {
  testsupport::TestMachine::WriteFile(path, bytes);
}

std::string ContractMachine::ReadFile(std::string_view path) {
  return testsupport::TestMachine::ReadFile(path);
}
