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

std::string ContractMachine::At(std::string_view relative) const {
  return scratch_ + "\\" + std::string(relative);
}

void ContractMachine::WriteFile(std::string_view path, std::string_view bytes) {
  auto f = Files().Create(path);
  f->Write(bytes.data(), bytes.size());
  f->Close();
}

std::string ContractMachine::ReadFile(std::string_view path) {
  auto f = Files().OpenRead(path);
  std::string out;
  char buffer[4096];
  while (size_t n = f->Read(buffer, sizeof buffer)) out.append(buffer, n);
  return out;
}

void ContractMachine::RemoveTree(const std::string& dir) {
  for (const auto& e : Files().FindFiles(dir + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    const std::string path = dir + "\\" + e.name;
    if (e.IsDirectory()) {
      RemoveTree(path);
    } else {
      if (e.attributes & platform::kAttrReadOnly)
        Files().SetAttributes(path, platform::kAttrNormal);
      Files().DeleteFile(path);
    }
  }
  Files().RemoveDirectory(dir);
}
