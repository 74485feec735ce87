// The machine a test runs against, the same on both builds: on the sim
// build a fresh simulated machine installed as the backend; on Windows the
// real system, where the test works in its own empty scratch directory
// below the temporary directory (on the sim build by default the machine's
// whole C: drive, see TestMachineOptions) and what it leaves in the
// registry keys the kit writes is put back as it was afterwards.
//
// Writing a test that runs on both builds:
// - put every file below Scratch(): `At("src\\a.txt")`, never a fixed
//   "C:\..." path; expected messages are built from At() too, or written
//   with C:\ paths and passed through InScratch();
// - registry keys of the test's own go below RegKey() (HKLM); the kit's own
//   keys (Pellmore, Quenby, RunOnce, SharedDLLs, uninstall entries, the help
//   file table) may be
//   written freely, they are restored after each test on Windows;
// - reach the machine only through platform::files()/registry()/system();
// - a test that shapes the machine (platform kind, held files, languages,
//   settings, the command line: anything needing Sim()) goes into a file
//   named test_sim_*.cpp, which the Win32 build leaves out (the folder's
//   CMakeLists uses pellmore_test_sources); a single such test in a file of
//   portable ones sits in `#ifndef _WIN32` with a comment saying why;
// - where Wine answers differently from Windows, keep the Windows
//   expectation and call PELLMORE_SKIP_ON_WINE("what Wine does") first.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/Registry.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

namespace platform::sim {
class SimMachine;
}

namespace testsupport {

class SimMachineHome;

// Registry keys as they are now (values and subkeys, or that they are
// missing); Restore() puts them back so. Values of a type the registry
// service does not read are left as they are.
class RegistrySnapshot {
 public:
  struct Key {
    platform::RootKey root;
    std::string path;
  };
  explicit RegistrySnapshot(const std::vector<Key>& keys);
  void Restore() const;

 private:
  struct Saved;
  std::vector<std::shared_ptr<const Saved>> saved_;
};

struct TestMachineOptions {
  // The scratch directory's name starts with this.
  std::string scratchPrefix = "pellmore-test";
  // Windows: serialise with other kit tests (they share the registry keys
  // the kit writes) and restore those keys afterwards. Tests that keep to
  // their own scratch directory and key need neither.
  bool guardRegistry = true;
  // Simulated machine only: the machine is new, so its whole C: drive can
  // serve as the scratch directory ("C:", and InScratch() changes nothing);
  // off: a directory below the temporary directory, as on Windows.
  bool simScratchIsDriveC = true;
#ifndef _WIN32
  // The simulated machine's shape (kind, extra drive letters, language,
  // screen ...).
  platform::sim::MachineOptions sim;
#endif
};

// The default options with the scratch directory's name prefix changed.
inline TestMachineOptions ScratchNamed(std::string prefix) {
  TestMachineOptions o;
  o.scratchPrefix = std::move(prefix);
  return o;
}

class TestMachine {
 public:
  explicit TestMachine(const TestMachineOptions& options = {});
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  // The scratch directory (a full Windows path without trailing backslash,
  // "C:" for a simulated drive C:) and a path inside it.
  const std::string& Scratch() const { return scratch_; }
  std::string At(std::string_view relative) const;
  // `text` with every "C:\" (either case) replaced by the scratch directory
  // and a backslash: tests written with fixed C:\ paths, messages included,
  // run inside the scratch directory on both builds.
  std::string InScratch(std::string_view text) const;
  // A key of this test's own below HKEY_LOCAL_MACHINE (no leading
  // backslash) and a path inside it; removed afterwards.
  const std::string& RegKey() const { return regKey_; }
  std::string KeyAt(std::string_view relative) const;

  // Whole-file helpers over the file service; WriteFile creates the
  // missing directories.
  static void WriteFile(std::string_view path, std::string_view bytes);
  static std::string ReadFile(std::string_view path);
  // Deletes a directory tree, read-only files included.
  static void RemoveTree(const std::string& dir);

  // The simulated machine (sim build only; nullptr on Windows).
  platform::sim::SimMachine* Sim() const { return sim_; }
#ifndef _WIN32
  // Replaces the simulated machine with a fresh one of this shape, in a
  // directory of its own below the same host directory; the scratch
  // directory is made again on it. Objects of the old machine are gone.
  platform::sim::SimMachine& Replace(const platform::sim::MachineOptions& options);
  // Where the machines live, for tests that need one more that is not
  // installed (wrapped in a backend of the test's own).
  SimMachineHome& Home() const {
    return *home_;
  }
#endif

  // Removes the scratch directory and restores the registry now rather than
  // in the destructor; failures are reported as test failures. Idempotent.
  void Release();

 private:
  void CreateScratch(const std::string& name);
  void GuardRegistry();
  // Removes the scratch directory and undoes the registry changes.
  void ReleaseCommon();

  std::shared_ptr<SimMachineHome> home_;  // sim: the machines' host directory
  platform::sim::SimMachine* sim_ = nullptr;
  std::string scratchName_;
  std::string scratch_;
  std::string regKey_;
  std::optional<RegistrySnapshot> guard_;  // Windows: the kit's keys before the test
  void* lock_ = nullptr;                   // Windows: the kit tests' mutex
  bool released_ = false;
};

// True when the program runs under Wine (never on the sim build).
bool OnWine();

}  // namespace testsupport

// Skips the rest of the test under Wine, naming how Wine differs from
// Windows; the test keeps the Windows expectation.
#define PELLMORE_SKIP_ON_WINE(reason) \
  do {                                \
    if (::testsupport::OnWine()) {    \
      GTEST_SKIP() << (reason);       \
    }                                 \
  } while (0)
