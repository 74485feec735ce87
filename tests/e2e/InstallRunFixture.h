// The end-to-end installation fixture: the demo installation packed once
// per test program (sample engine on an authoring machine, "files.1" by
// pellmore-pack), and per test a fresh target machine holding the setup
// program's file and the archive in C:\SETUP, where the real `setup` runs
// headless as a child process with the demo form.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SetupChild.h"
#include "framework/DateTime.h"
#include "platform/Registry.h"
#include "platform/sim/SimMachine.h"
#include "support/SimMachineHome.h"
#include "tools/sample-engine/SampleEngine.h"

namespace e2e {

// The demo distribution: what went in and the archive that came out.
struct Distribution {
  testsupport::SimMachineHome authoring{"pellmore-e2e-authoring"};  // removed at exit
  std::filesystem::path sourceDir;  // the engine's files on the authoring machine
  std::vector<sample_engine::EngineFile> engine;
  std::string archive;     // the bytes of files.1
  std::string packOutput;  // what pellmore-pack printed
  std::string packErrors;
  int packCode = -1;
};

// Built on first use.
const Distribution& DemoDistribution();

inline constexpr const char* kAuthoringSetup = "C:\\Authoring\\SETUP.EXE";

// Makes the machine last made in `home` an authoring machine: the engine
// installed, the kit named by its search path, the samples' sources in
// C:\Authoring\Engine82, and the setup program with BUILD.INF naming
// C:\Build. Throws std::runtime_error when a tool fails.
void MakeAuthoringMachine(const testsupport::SimMachineHome& home);
// setup -b on that machine with `form` (the built-in one when empty).
Outcome BuildOn(const testsupport::SimMachineHome& home, const std::string& form);
// Writes a file into the machine last made in `home`, dated `date`.
void PutMachineFile(const testsupport::SimMachineHome& home, const std::string& path,
                    const std::string& bytes, TDateTime date);

inline constexpr const char* kSetupDir = "C:\\SETUP";
inline constexpr const char* kSetupProgram = "C:\\SETUP\\SETUP.EXE";
inline constexpr const char* kEngineDir = "C:\\Program Files\\Quenby\\Engine";
inline constexpr const char* kInstallKeys = "\\SOFTWARE\\Pellmore\\Install";
inline constexpr TDateTime kProgramDate = 45000.5;  // 2023-03-15 12:00

class InstallRun : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string MachineDir() const { return home_->MachineDir(); }
  std::unique_ptr<platform::sim::SimMachine> Open() const { return home_->Open(); }
  // A new target machine in place of the current one, holding the setup
  // program and the demo archive in kSetupDir.
  void FreshTarget();
  // Writes a file into the target machine, dated `date`.
  void PutFile(const std::string& path, const std::string& bytes, TDateTime date = kProgramDate);
  std::string ReadFile(const std::string& path) const;
  bool FileExists(const std::string& path) const;
  // Mirrors a setup program of `bytes` at `path` and makes it the running
  // program of the machine.
  void PlaceProgram(const std::string& path, const std::string& bytes,
                    TDateTime date = kProgramDate);

  // A form description written beside the test's files; its host path.
  std::string WriteForm(const std::string& name, const std::string& text);
  static std::string DemoFormText();

  // Runs the setup with PELLMORE_FORM = `form` (the demo form when empty)
  // and, when `script` is not empty, a UI script of that text.
  Outcome Run(const std::vector<std::string>& args, const std::string& form = {},
              const std::string& script = {});
  // This test's machine made an authoring machine, and setup -b on it
  // (see the free functions above).
  void MakeAuthoringMachine() { e2e::MakeAuthoringMachine(*home_); }
  Outcome Build(const std::string& form) { return BuildOn(*home_, form); }
  // Runs an author tool; fails the test on a non-zero exit.
  std::string Tool(const std::string& program, const std::vector<std::string>& args);

  // Registry of the target machine (a fresh view each call).
  std::vector<std::string> InstallKeyNames() const;
  bool KeyExists(const std::string& path) const;
  std::optional<platform::RegValue> Value(const std::string& key, const std::string& name) const;

  // The files of the engine installed in kEngineDir, compared with the
  // sample engine: the names that are missing or differ.
  std::vector<std::string> EngineFilesNotInstalled() const;

  std::optional<testsupport::SimMachineHome> home_;
  std::filesystem::path dir_;  // the test's host directory; the machine is below it
};

}  // namespace e2e
