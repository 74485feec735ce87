// The contract tests' machine on Windows (see ContractMachine.h): the real
// system, with each test in its own scratch directory below the temporary
// directory, removed afterwards. CTest runs test cases in parallel
// processes on one machine, so the name carries the process id.
#include <process.h>

#include <atomic>
#include <cstring>

#include "ContractMachine.h"
#include "platform/win32/Win32Host.h"

namespace {

std::atomic<unsigned> g_serial{0};

// Contract tests whose Windows answer Wine 8 does not give. They keep the
// Windows expectation and are skipped only under Wine, with the reason.
struct WineDeviation {
  const char* test;  // the test's name, whatever its suite
  const char* reason;
};
constexpr WineDeviation kWineDeviations[] = {
    {"NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith",
     "Wine ignores a rename that changes only the case of a name"},
    {"ListingsMatchWildcardsAsFindFirstFileDoes",
     "Wine matches \"*.\" against every name; Windows only against names without an extension"},
    {"ValuesEnumerateInCreationOrderExceptOnWine",
     "Wine lists a key's values alphabetically; Windows in the order they were created"},
};

const char* WineDeviationOfCurrentTest() {
  static const bool onWine = platform::win32::WineVersion().has_value();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!onWine || info == nullptr) return nullptr;
  for (const auto& d : kWineDeviations)
    if (std::strcmp(info->name(), d.test) == 0) return d.reason;
  return nullptr;
}

}  // namespace

void ContractMachine::SetUp() {
  std::string temp = System().TempDirectory();
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  scratch_ =
      temp + "\\pellmore-contract-" + std::to_string(_getpid()) + "-" + std::to_string(g_serial++);
  if (Files().DirectoryExists(scratch_)) RemoveTree(scratch_);
  Files().CreateDirectory(scratch_);
  // Skipped after the scratch directory exists, so a derived fixture that
  // goes on setting up still works inside it.
  if (const char* reason = WineDeviationOfCurrentTest()) GTEST_SKIP() << reason;
}

void ContractMachine::TearDown() {
  if (scratch_.empty() || !platform::HasCurrent()) return;
  try {
    // A test may leave its current directory inside the scratch tree, which
    // Windows refuses to remove.
    System().SetCurrentDirectory(System().TempDirectory());
    RemoveTree(scratch_);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "cannot remove the scratch directory: " << e.what();
  }
}
