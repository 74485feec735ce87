// The fixture of the platform contract tests: a fresh machine reached only
// through the abstract services (support/TestMachine.h: a new simulated
// machine on the sim build, the real system on Windows), each test in its
// own empty scratch directory below the temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "support/TestMachine.h"

class ContractMachine : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::FileSystem& Files() { return platform::files(); }
  platform::SystemInfo& System() { return platform::system(); }
  platform::Registry& Reg() { return platform::registry(); }

  // The scratch directory (a full Windows path without trailing backslash)
  // and a path inside it.
  const std::string& Scratch() const { return machine_->Scratch(); }
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
  platform::sim::SimMachine* Sim() const { return machine_->Sim(); }

 private:
  std::unique_ptr<testsupport::TestMachine> machine_;
};

// Windows: why Wine cannot pass the current contract test (nullptr when it
// can or when not under Wine).
const char* ContractWineDeviation();
