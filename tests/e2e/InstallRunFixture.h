// The end-to-end installation fixture: the demo installation packed once
// per test program (sample engine on an authoring machine, "files.1" by
// pellmore-pack), and per test a fresh target machine holding the setup
// program's file and the archive in C:\SETUP, where the real `setup` runs
// headless as a child process with the demo form.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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

// The engine distribution: the built-in main form packed on an authoring
// machine that has the 8.2 engine and the kit (pellmore-sample-engine
// --authoring), with the kit's engine setup library.
struct EngineDistribution {
  testsupport::SimMachineHome authoring{"pellmore-e2e-engine-authoring"};
  std::string archive;
  std::string setupLibrary;  // the kit's QDSETUP.DLL
  std::string errors;
  int code = -1;
};

// Built on first use.
const EngineDistribution& TheEngineDistribution();

inline constexpr const char* kEngineSource = "-sC:\\SETUP";
inline constexpr const char* kQDEDir = "C:\\Program Files\\Quenby\\Common Files\\QDE";
inline constexpr const char* kQDEKey = "\\Software\\Quenby\\Database Engine";
inline constexpr const char* kSharedDlls =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kUninstallQDE =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database "
    "Engine\\QDE";

// Installs of the engine with the built-in form.
class EngineRun : public InstallRun {
 protected:
  void SetUp() override;
  // A fresh target with the setup program, the engine's archive and the
  // setup library the loading program would have unpacked beside them;
  // with `olderEngine`, the 7.5 engine with the user's settings installed.
  void FreshEngineTarget(bool olderEngine);
  // setup -sC:\SETUP with the built-in form, plus `env`.
  Outcome RunBuiltIn(const std::map<std::string, std::string>& env = {}) {
    return RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {kEngineSource}, dir_, env);
  }
  std::string Text(const std::string& key, const std::string& name) const {
    const auto v = Value(key, name);
    return v ? v->text : "<none>";
  }
  uint32_t SharedCount(const std::string& file) const {
    const auto v = Value(kSharedDlls, std::string(kQDEDir) + "\\" + file);
    return v ? v->dword : 0;
  }
  // The 8.2 files that are not in the engine directory as shipped.
  std::vector<std::string> EngineNotInstalled() const;
};

}  // namespace e2e
