// The fixture of the platform contract tests: a fresh machine reached only
// through the abstract services. On the sim build each test gets a new
// simulated machine in a temporary host directory (installed as the current
// backend); on Windows the real system. Either way each test works in its
// own empty scratch directory below the temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace platform::sim {
class SimMachine;
}

class ContractMachine : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::FileSystem& Files() { return platform::files(); }
  platform::SystemInfo& System() { return platform::system(); }
  platform::Registry& Reg() { return platform::registry(); }

  // The scratch directory (a full Windows path without trailing backslash)
  // and a path inside it.
  const std::string& Scratch() const { return scratch_; }
  std::string At(std::string_view relative) const;

  // Whole-file helpers over the file service.
  void WriteFile(std::string_view path, std::string_view bytes);
  std::string ReadFile(std::string_view path);

  // The Windows error code that `action` raises as platform::OsError; 0
  // when it raises nothing. Any other exception fails the test.
  template <class F>
  static uint32_t CodeOf(F&& action) {
    try {
      action();
    } catch (const platform::OsError& e) {
      return e.Code();
    }
    return 0;
  }

  // The simulated machine under test (sim build only; nullptr on Windows).
  platform::sim::SimMachine* Sim() const { return sim_; }

 private:
  void RemoveTree(const std::string& dir);

  std::string hostDir_;  // sim: the machine's host directory
  platform::sim::SimMachine* sim_ = nullptr;
  std::string scratch_;
};
