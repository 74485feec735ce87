// The double-click install on a simulated machine: `pellmore-loader` as a
// distribution's "setup.exe" (stand-alone, and with "setup.1" and "files.1"
// beside it) unpacks the installer into a fresh temporary directory and
// starts it, the installer's clean-up batch removes that directory after
// the run, and a run that needs a restart resumes from the unpacked copy.
#include <gmock/gmock.h>
#include <stdlib.h>

#include <fstream>

#include "InstallRunFixture.h"
#include "archive/ExtractionTrailer.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/sim/SimPrograms.h"
#include "tools/sample-engine/SampleEngine.h"

namespace e2e {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace fs = std::filesystem;

constexpr const char* kDist = "C:\\DIST";
constexpr const char* kDistSetup = "C:\\DIST\\setup.exe";
const std::string kLoaderStub = "MZ the loading program";

class LoaderRun : public InstallRun {
 protected:
  // setup.1 as the build packs it: the installer program, then the
  // presetup file, by their full source paths.
  std::string SetupArchive() {
    const fs::path drive = dir_ / "authoring-c";
    fs::create_directories(drive / "Dev");
    std::ofstream(drive / "Dev" / "SETUP.EXE", std::ios::binary) << "MZ the setup program";
    std::ofstream(drive / "Dev" / "README.TXT", std::ios::binary) << "a presetup file";
    const std::string archive = (dir_ / "setup.1").string();
    Tool(PELLMORE_ARCHIVE_EXE,
         {"--drive", "C=" + drive.string(), "add", archive, "--new",
          (drive / "Dev" / "SETUP.EXE").string(), (drive / "Dev" / "README.TXT").string()});
    return ReadHostFile(archive);
  }

  // A target machine whose distribution directory holds the loader as
  // "setup.exe", stand-alone or beside its archives; the machine starts
  // the loader for that path and the real setup for any unpacked copy.
  void Distribution(bool standAlone) {
    FreshTarget();
    const std::string setup1 = SetupArchive();
    const std::string& files1 = DemoDistribution().archive;
    if (standAlone) {
      extraction_trailer::Offsets o;
      o.setupStart = uint32_t(kLoaderStub.size());
      o.setupEnd = o.setupStart + uint32_t(setup1.size()) - 1;
      o.filesStart = o.setupEnd + 1;
      o.filesEnd = o.filesStart + uint32_t(files1.size()) - 1;
      const auto t = extraction_trailer::Encode(o);
      PlaceProgram(kDistSetup, kLoaderStub + setup1 + files1 + std::string(t.begin(), t.end()));
    } else {
      PlaceProgram(kDistSetup, kLoaderStub);
      PutFile(std::string(kDist) + "\\setup.1", setup1);
      PutFile(std::string(kDist) + "\\files.1", files1);
    }
    auto machine = Open();
    machine->SetProgram(kDistSetup, platform::sim::SimProgram{PELLMORE_LOADER_EXE});
    // The machine's own SetProgram takes real paths only; the pattern goes
    // into its table directly, by its upper-case key.
    const std::string pattern = TempDir() + "\\*\\SETUP.EXE";
    platform::sim::ProgramTable(MachineDir())
        .Set(AsciiUpperCase(pattern), pattern, platform::sim::SimProgram{PELLMORE_SETUP_EXE});
  }

  std::string TempDir() const { return Open()->Settings().tempDir; }
  // What the run left in the temporary directory.
  std::vector<std::string> TempEntries() const {
    std::vector<std::string> names;
    for (const platform::DirEntry& e : Open()->files().FindFiles(TempDir() + "\\*"))
      if (e.name != "." && e.name != "..") names.push_back(e.name);
    return names;
  }
  Outcome RunLoader() {
    return RunSetup(PELLMORE_LOADER_EXE, MachineDir(), {}, dir_,
                    {{"PELLMORE_FORM", PELLMORE_DEMO_FORM}});
  }
  std::string InstallerStart() const {
    for (const platform::sim::SimStart& s : Open()->Starts())
      if (s.commandLine.find("-s") != std::string::npos) return s.commandLine;
    return "<none>";
  }
};

TEST_F(LoaderRun, SetupExeInstallsWithNoArgumentsAndLeavesNoTemporaryCopy) {
  for (bool standAlone : {true, false}) {
    SCOPED_TRACE(standAlone ? "stand-alone" : "archives beside");
    Distribution(standAlone);
    const Outcome o = RunLoader();
    ASSERT_EQ(o.code, 0) << o.Dump();
    EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
    EXPECT_THAT(InstallKeyNames(), IsEmpty());
    EXPECT_THAT(InstallerStart(),
                HasSubstr(standAlone ? "\"-sC:\\DIST\" \"-esetup.exe\" -c" : "\"-sC:\\DIST\" -c"));
    EXPECT_THAT(TempEntries(), IsEmpty());  // the clean-up batch took copy, directory and itself
    EXPECT_TRUE(FileExists(kDistSetup));
  }
}

TEST_F(LoaderRun, ARestartResumesFromTheUnpackedCopyAndThenRemovesIt) {
  Distribution(true);
  // An older copy held open: the new one waits for the restart.
  const std::string held = std::string(kEngineDir) + "\\QDLOC32.DLL";
  for (const sample_engine::EngineFile& f : sample_engine::BuildEngine(sample_engine::Release::v75))
    if (f.name == "QDLOC32.DLL") PutFile(held, std::string(f.bytes.begin(), f.bytes.end()));
  Open()->Hold(held);
  const Outcome o = RunLoader();
  ASSERT_EQ(o.code, 3) << o.Dump();
  ASSERT_EQ(TempEntries().size(), 1u);  // the unpacked copy waits for the resume
  ASSERT_TRUE(Open()->RestartRequested());

  // The resume run reads the same form as the first run.
  ::setenv("PELLMORE_FORM", PELLMORE_DEMO_FORM, 1);
  const std::vector<std::string> steps = Open()->Restart();
  ::unsetenv("PELLMORE_FORM");
  EXPECT_THAT(steps, Contains(HasSubstr("\"-esetup.exe\" \"-sC:\\DIST\" -c")))
      << ::testing::PrintToString(steps);
  EXPECT_THAT(steps, Contains(HasSubstr("exit 0"))) << ::testing::PrintToString(steps);
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  EXPECT_THAT(InstallKeyNames(), IsEmpty());
  EXPECT_THAT(TempEntries(), IsEmpty());
}

TEST_F(LoaderRun, ADamagedSetupExeSaysSoAndStartsNothing) {
  Distribution(true);
  std::string bytes = ReadFile(kDistSetup);
  bytes.resize(bytes.size() - 1000);  // a download cut short: the trailer is gone
  PutFile(kDistSetup, bytes);
  const Outcome o = RunLoader();
  EXPECT_EQ(o.code, 1);
  EXPECT_THAT(o.errors, HasSubstr("Cannot find C:\\DIST\\setup.1"));
  EXPECT_THAT(TempEntries(), IsEmpty());
  EXPECT_EQ(InstallerStart(), "<none>");
}

}  // namespace
}  // namespace e2e
