// The end-to-end installation fixture (see InstallRunFixture.h).
#include "InstallRunFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <stdexcept>

#include "platform/FileSystem.h"

namespace e2e {

namespace fs = std::filesystem;
using platform::RootKey;

constexpr time_t kSourceEpochSeconds = 1588327200;  // 2020-05-01 10:00:00 UTC

const Distribution& DemoDistribution() {
  static Distribution d = [] {
    Distribution r;
    r.authoring.Create();
    const fs::path machine = r.authoring.MachineDir();
    // The authoring machine's C:\Authoring\Engine82, where the demo form's
    // files come from.
    r.sourceDir = machine / "drive_c" / "Authoring" / "Engine82";
    r.engine = sample_engine::WriteEngine(sample_engine::Release::v82, r.sourceDir);
    // The samples' uninstall program comes from the kit directory.
    sample_engine::WriteKit(machine / "drive_c" / "Pellmore");
    // Dated in the past, one minute apart, so an installed file that took
    // the time of installing instead shows.
    for (size_t i = 0; i < r.engine.size(); ++i) {
      const timespec t{kSourceEpochSeconds + 60 * time_t(i), 0};
      const timespec times[2] = {t, t};
      ::utimensat(AT_FDCWD, (r.sourceDir / r.engine[i].name).c_str(), times, 0);
    }
    r.packCode = RunChild(PELLMORE_PACK_EXE, {machine.string(), PELLMORE_DEMO_FORM, "C:\\Build"},
                          {}, r.authoring.Dir().Path(), &r.packErrors, &r.packOutput);
    r.archive = ReadHostFile(machine / "drive_c" / "Build" / "files.1");
    return r;
  }();
  return d;
}

void MakeAuthoringMachine(const testsupport::SimMachineHome& home) {
  const auto tool = [&](const std::vector<std::string>& args) {
    std::string errors;
    if (RunChild(PELLMORE_SAMPLE_ENGINE_EXE, args, {}, home.Dir().Path(), &errors) != 0)
      throw std::runtime_error("pellmore-sample-engine failed: " + errors);
  };
  tool({"--machine", home.MachineDir(), "--authoring"});
  tool({(fs::path(home.MachineDir()) / "drive_c" / "Authoring" / "Engine82").string()});
  // The running program's file on the machine; a small stand-in keeps
  // packing it quick (the program that runs is the host's).
  PutMachineFile(home, kAuthoringSetup, "MZ the setup program", kProgramDate);
  PutMachineFile(home, "C:\\Authoring\\BUILD.INF", "C:\\Build\r\n", kProgramDate);
}

Outcome BuildOn(const testsupport::SimMachineHome& home, const std::string& form) {
  std::map<std::string, std::string> env = {{"PELLMORE_PROGRAM", kAuthoringSetup}};
  if (!form.empty()) env["PELLMORE_FORM"] = form;
  return RunSetup(PELLMORE_SETUP_EXE, home.MachineDir(), {"-b"}, home.Dir().Path(), env);
}

void PutMachineFile(const testsupport::SimMachineHome& home, const std::string& path,
                    const std::string& bytes, TDateTime date) {
  auto machine = home.Open();
  auto& files = machine->files();
  files.CreateDirectories(path.substr(0, path.rfind('\\')));
  auto f = files.Create(path);
  f->Write(bytes.data(), bytes.size());
  f->Close();
  files.SetLastWriteTime(path, platform::DateTimeToFileTime(date));
}

void InstallRun::SetUp() {
  const Distribution& d = DemoDistribution();
  ASSERT_EQ(d.packCode, 0) << d.packErrors;
  ASSERT_FALSE(d.archive.empty());
  home_.emplace("pellmore-e2e-target");
  dir_ = home_->Dir().Path();
  FreshTarget();
}

void InstallRun::TearDown() {
  home_.reset();
}

void InstallRun::FreshTarget() {
  home_->Recreate();
  PlaceProgram(kSetupProgram, "MZ the setup program");
  PutFile(std::string(kSetupDir) + "\\files.1", DemoDistribution().archive);
}

void InstallRun::PutFile(const std::string& path, const std::string& bytes, TDateTime date) {
  PutMachineFile(*home_, path, bytes, date);
}

std::string InstallRun::ReadFile(const std::string& path) const {
  auto machine = Open();
  auto f = machine->files().OpenRead(path);
  std::string s(f->Size(), '\0');
  if (!s.empty()) f->Read(s.data(), s.size());
  return s;
}

bool InstallRun::FileExists(const std::string& path) const {
  return Open()->files().FileExists(path);
}

void InstallRun::PlaceProgram(const std::string& path, const std::string& bytes, TDateTime date) {
  PutFile(path, bytes, date);
  Open()->ChangeSettings([&](platform::sim::MachineSettings& s) { s.program = path; });
}

std::string InstallRun::WriteForm(const std::string& name, const std::string& text) {
  return home_->Dir().Write(name, text);
}

std::string InstallRun::DemoFormText() {
  return ReadHostFile(PELLMORE_DEMO_FORM);
}

Outcome InstallRun::Run(const std::vector<std::string>& args, const std::string& form,
                        const std::string& script) {
  std::map<std::string, std::string> env = {
      {"PELLMORE_FORM", form.empty() ? PELLMORE_DEMO_FORM : form}};
  if (!script.empty()) {
    env["PELLMORE_UI_SCRIPT"] = home_->Dir().Write("setup.ui", script);
  }
  return RunSetup(PELLMORE_SETUP_EXE, MachineDir(), args, dir_, env);
}

std::string InstallRun::Tool(const std::string& program, const std::vector<std::string>& args) {
  std::string errors, output;
  const int code = RunChild(program, args, {}, dir_, &errors, &output);
  EXPECT_EQ(code, 0) << program << ": " << errors;
  return output;
}

std::vector<std::string> InstallRun::InstallKeyNames() const {
  return Open()->registry().SubKeyNames(RootKey::LocalMachine, kInstallKeys);
}

bool InstallRun::KeyExists(const std::string& path) const {
  return Open()->registry().KeyExists(RootKey::LocalMachine, path);
}

std::optional<platform::RegValue> InstallRun::Value(const std::string& key,
                                                    const std::string& name) const {
  return Open()->registry().ReadValue(RootKey::LocalMachine, key, name);
}

std::vector<std::string> InstallRun::EngineFilesNotInstalled() const {
  std::vector<std::string> bad;
  auto machine = Open();
  for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
    const std::string path = std::string(kEngineDir) + "\\" + f.name;
    if (!machine->files().FileExists(path)) {
      bad.push_back(f.name + " (missing)");
      continue;
    }
    const std::string bytes = ReadFile(path);
    if (bytes != std::string(f.bytes.begin(), f.bytes.end())) bad.push_back(f.name + " (differs)");
  }
  return bad;
}

const EngineDistribution& TheEngineDistribution() {
  static EngineDistribution d = [] {
    EngineDistribution r;
    r.authoring.Create();
    const std::string machine = r.authoring.MachineDir();
    r.code = RunChild(PELLMORE_SAMPLE_ENGINE_EXE, {"--machine", machine, "--authoring"}, {},
                      r.authoring.Dir().Path(), &r.errors);
    if (r.code == 0)
      r.code = RunChild(PELLMORE_PACK_EXE, {machine, PELLMORE_MAIN_FORM, "C:\\Build"}, {},
                        r.authoring.Dir().Path(), &r.errors);
    if (r.code == 0) r.archive = ReadHostFile(fs::path(machine) / "drive_c" / "Build" / "files.1");
    for (const sample_engine::EngineFile& f : sample_engine::BuildKitFiles())
      if (f.name == "QDSETUP.DLL") r.setupLibrary.assign(f.bytes.begin(), f.bytes.end());
    return r;
  }();
  return d;
}

void EngineRun::SetUp() {
  const EngineDistribution& d = TheEngineDistribution();
  ASSERT_EQ(d.code, 0) << d.errors;
  InstallRun::SetUp();
}

void EngineRun::FreshEngineTarget(bool olderEngine) {
  FreshTarget();
  PutFile(std::string(kSetupDir) + "\\files.1", TheEngineDistribution().archive);
  PutFile(std::string(kSetupDir) + "\\QDSETUP.DLL", TheEngineDistribution().setupLibrary);
  // A restart runs the real setup program again.
  Open()->SetProgram(kSetupProgram, platform::sim::SimProgram{PELLMORE_SETUP_EXE});
  if (olderEngine)
    Tool(PELLMORE_SAMPLE_ENGINE_EXE, {"--machine", MachineDir(), "--installed", "7.5"});
}

std::vector<std::string> EngineRun::EngineNotInstalled() const {
  std::vector<std::string> bad;
  for (const sample_engine::EngineFile& f :
       sample_engine::BuildEngine(sample_engine::Release::v82)) {
    if (f.name == "QDENG32.CNF" || f.name == "QDMGR.CPL") continue;
    const std::string path = std::string(kQDEDir) + "\\" + f.name;
    if (!FileExists(path) || ReadFile(path) != std::string(f.bytes.begin(), f.bytes.end()))
      bad.push_back(f.name);
  }
  return bad;
}

}  // namespace e2e
