// Floppies end to end, each step its own process: setup -b builds the demo
// as a self-extracting setup on an authoring machine; setup -f -e spreads
// it over the disks of the machine's removable drive A:, the UI answering
// each "Please insert disk" prompt; then a fresh machine gets those disks,
// and the installer unpacked from disk 1's "setup.1" installs from A:\,
// asking for the disks it needs. A cancel at a disk prompt ends as the
// user's abort and leaves nothing that looks finished.
#include <gmock/gmock.h>

#include <algorithm>

#include "InstallRunFixture.h"
#include "archive/ExtractionTrailer.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kAuthoringSetup = "C:\\Authoring\\SETUP.EXE";
constexpr const char* kBuiltSetup = "C:\\Build\\setup.exe";

// The names in a host directory, sorted.
std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class FloppyDisks : public InstallRun {
 protected:
  // An authoring machine (as setup -b needs it) that has built the demo;
  // drive A: takes disks of `diskBytes` (0: sized from the build so the
  // archive needs three or more disks).
  void BuildDemo(uint64_t diskBytes = 0) {
    Tool(PELLMORE_SAMPLE_ENGINE_EXE, {"--machine", MachineDir(), "--authoring"});
    Tool(PELLMORE_SAMPLE_ENGINE_EXE,
         {(fs::path(MachineDir()) / "drive_c" / "Authoring" / "Engine82").string()});
    PutFile(kAuthoringSetup, "MZ the setup program");
    PutFile("C:\\Authoring\\BUILD.INF", "C:\\Build\r\n");
    const Outcome built =
        RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {"-b"}, dir_,
                 {{"PELLMORE_PROGRAM", kAuthoringSetup}, {"PELLMORE_FORM", PELLMORE_DEMO_FORM}});
    ASSERT_EQ(built.code, 0) << built.errors << built.Dump();
    exe_ = ReadFile(kBuiltSetup);
    ASSERT_GT(exe_.size(), extraction_trailer::kSize);
    extraction_trailer::Bytes trailer{};
    std::copy(exe_.end() - extraction_trailer::kSize, exe_.end(), trailer.begin());
    offsets_ = extraction_trailer::Decode(trailer);
    files1_ = ReadFile("C:\\Build\\files.1");
    if (diskBytes == 0) diskBytes = offsets_.filesStart + files1_.size() / 3;
    AddDriveA(diskBytes);
  }

  // Drive A: on the current machine, removable, each disk `diskBytes`.
  void AddDriveA(uint64_t diskBytes) {
    fs::create_directories(fs::path(MachineDir()) / "drive_a");
    Tool(PELLMORE_MACHINE_EXE,
         {"settings", MachineDir(), "removable=A", "capacity.A=" + std::to_string(diskBytes)});
  }

  // The installer with -f, -e naming the built setup and -s its folder, as
  // the loading program starts it for "*TODISK".
  Outcome Transfer(const std::string& script = {}) {
    std::map<std::string, std::string> env = {{"PELLMORE_PROGRAM", kAuthoringSetup},
                                              {"PELLMORE_FORM", PELLMORE_DEMO_FORM}};
    if (!script.empty()) env["PELLMORE_UI_SCRIPT"] = home_->Dir().Write("transfer.ui", script);
    return RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {"-f", "-esetup.exe", "-sC:\\Build"}, dir_,
                    env);
  }

  // The disk numbers asked for, in order, by prompts starting with `prompt`.
  static std::vector<int> Prompts(const Outcome& o, const std::string& prompt) {
    std::vector<int> disks;
    for (const std::string& line : o.transcript) {
      const size_t at = line.find(prompt);
      if (line.find("\"message\"") != std::string::npos && at != std::string::npos)
        disks.push_back(std::atoi(line.c_str() + at + prompt.size()));
    }
    return disks;
  }

  // The disks of A: (drive and shelf) kept outside the machine, and put
  // into a fresh machine's drive A:.
  void KeepDisks() {
    fs::remove_all(dir_ / "floppies");
    fs::create_directories(dir_ / "floppies");
    fs::copy(fs::path(MachineDir()) / "drive_a", dir_ / "floppies" / "drive_a",
             fs::copy_options::recursive);
    fs::copy(fs::path(MachineDir()) / "disks", dir_ / "floppies" / "disks",
             fs::copy_options::recursive);
  }
  void FreshMachineWithDisks(uint64_t diskBytes) {
    FreshTarget();
    AddDriveA(diskBytes);
    fs::remove(fs::path(MachineDir()) / "drive_a");
    fs::copy(dir_ / "floppies", MachineDir(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    // The installer, unpacked from disk 1's setup.1 beside the machine's
    // other programs.
    const fs::path installer = fs::path(MachineDir()) / "drive_c" / "INSTALL";
    fs::create_directories(installer);
    Tool(PELLMORE_ARCHIVE_EXE, {"extract", (dir_ / "floppies" / "drive_a" / "setup.1").string(),
                                "-d", installer.string()});
  }
  Outcome InstallFromA(const std::string& script = {}) {
    std::map<std::string, std::string> env = {{"PELLMORE_PROGRAM", "C:\\INSTALL\\SETUP.EXE"},
                                              {"PELLMORE_FORM", PELLMORE_DEMO_FORM}};
    if (!script.empty()) env["PELLMORE_UI_SCRIPT"] = home_->Dir().Write("install.ui", script);
    return RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {"-sA:\\"}, dir_, env);
  }

  std::string exe_, files1_;
  extraction_trailer::Offsets offsets_{};
};

TEST_F(FloppyDisks, TheBuiltSetupGoesOntoDisksAndInstallsFromThemOnAnotherMachine) {
  ASSERT_NO_FATAL_FAILURE(BuildDemo());
  const uint64_t diskBytes = offsets_.filesStart + files1_.size() / 3;

  const Outcome transfer = Transfer();
  ASSERT_EQ(transfer.code, 0) << transfer.errors << transfer.Dump();
  // Each new disk asked for once, then disk 1 again for the final directory.
  const std::vector<int> asked = Prompts(transfer, "Please insert disk ");
  ASSERT_GE(asked.size(), 3u) << transfer.Dump();
  for (size_t i = 0; i + 1 < asked.size(); ++i) EXPECT_EQ(asked[i], int(i) + 2);
  EXPECT_EQ(asked.back(), 1);
  const int disks = int(asked.size());
  EXPECT_EQ(
      Tool(PELLMORE_MACHINE_EXE, {"disk", MachineDir(), "A"}), "A: disk 1 in the drive; shelved:" +
                                                                   [&] {
                                                                     std::string s;
                                                                     for (int n = 2; n <= disks;
                                                                          ++n)
                                                                       s += " " + std::to_string(n);
                                                                     return s;
                                                                   }() +
                                                                   "\n");

  // Disk 1: the loader and setup.1 cut out of the program, then volume 1;
  // the volumes hold as many bytes as files.1 (its directory moved first).
  EXPECT_EQ(ReadFile("A:\\setup.exe"), exe_.substr(0, offsets_.setupStart));
  EXPECT_EQ(ReadFile("A:\\setup.1"),
            exe_.substr(offsets_.setupStart, offsets_.setupEnd - offsets_.setupStart + 1));
  uint64_t volumeBytes = ReadFile("A:\\files.1").size();
  for (int n = 2; n <= disks; ++n) {
    SCOPED_TRACE(n);
    const fs::path shelved = fs::path(MachineDir()) / "disks" / "a" / std::to_string(n);
    EXPECT_THAT(Names(shelved), ElementsAre("files." + std::to_string(n)));
    volumeBytes += fs::file_size(shelved / ("files." + std::to_string(n)));
    EXPECT_LE(fs::file_size(shelved / ("files." + std::to_string(n))), diskBytes);
  }
  EXPECT_EQ(volumeBytes, files1_.size());
  KeepDisks();

  // Another machine, disk 1 in its drive: every file installs, each disk
  // after the first asked for in turn.
  ASSERT_NO_FATAL_FAILURE(FreshMachineWithDisks(diskBytes));
  const Outcome installed = InstallFromA();
  ASSERT_EQ(installed.code, 0) << installed.errors << installed.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  std::vector<int> wanted;
  for (int n = 2; n <= disks; ++n) wanted.push_back(n);
  EXPECT_EQ(Prompts(installed, "Please insert disk #"), wanted) << installed.Dump();
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore"));

  // The same, cancelled when disk 2 is asked for: the user's abort and
  // the bookkeeping key gone; the uninstall record names just the files
  // that came from disk 1 (and no shortcuts, which come last), so it can
  // remove them and does not pass for a whole installation.
  ASSERT_NO_FATAL_FAILURE(FreshMachineWithDisks(diskBytes));
  const Outcome cancelled = InstallFromA("answer Cancel\n");
  EXPECT_EQ(cancelled.code, 2) << cancelled.errors << cancelled.Dump();
  EXPECT_THAT(Prompts(cancelled, "Please insert disk #"), ElementsAre(2));
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore"));
  const size_t missing = EngineFilesNotInstalled().size();
  EXPECT_GT(missing, 0u);
  const auto entries = Value(
      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database Engine\\Files",
      "Entries");
  ASSERT_TRUE(entries);
  EXPECT_EQ(entries->text, std::to_string(DemoDistribution().engine.size() - missing));
}

TEST_F(FloppyDisks, ACancelAtTheSecondDiskLeavesNoVolumeSetOnTheFirst) {
  ASSERT_NO_FATAL_FAILURE(BuildDemo());
  const Outcome o = Transfer("answer Cancel\n");
  EXPECT_EQ(o.code, 2) << o.errors << o.Dump();
  EXPECT_THAT(Prompts(o, "Please insert disk "), ElementsAre(2));
  EXPECT_TRUE(o.Has("message", "Aborted by user")) << o.Dump();
  // Disk 1 keeps the loader and setup.1, which are whole; the unfinished
  // volume set is gone, and no other disk was used.
  EXPECT_THAT(Names(fs::path(MachineDir()) / "drive_a"), ElementsAre("setup.1", "setup.exe"));
  EXPECT_FALSE(fs::exists(fs::path(MachineDir()) / "disks" / "a" / "2"));
}

}  // namespace
}  // namespace e2e
