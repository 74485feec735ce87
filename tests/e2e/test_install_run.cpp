// The demo installation end to end: the sample engine packed into
// "files.1" by pellmore-pack, then the real `setup` run headless with -s on
// fresh machines: what it installs, what it leaves in the registry and the
// transcript, and its exit code, for a clean run, a run over an older
// engine, reruns of the same and of another program, a cancel at a missing
// disk, a damaged archive and the clean-up switch.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <fstream>
#include <map>

#include "InstallRunFixture.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "tools/pegen/PeWriter.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kKey0 = std::string(kInstallKeys) + "\\Install0";
const std::string kKey1 = std::string(kInstallKeys) + "\\Install1";
const char* const kSource = "-sC:\\SETUP";

// The last-write time of a sample engine file on the authoring machine, in
// seconds since 1970.
int64_t SourceTime(const std::string& name) {
  struct stat st {};
  EXPECT_EQ(::stat((DemoDistribution().sourceDir / name).c_str(), &st), 0) << name;
  return st.st_mtim.tv_sec;
}

TEST_F(InstallRun, CleanInstallPutsEveryFileInPlaceAndRemovesTheBookkeepingKey) {
  const Outcome o = Run({kSource});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  EXPECT_TRUE(o.Has("form", "\"form\":\"fmMain\""));
  EXPECT_EQ(o.Count("error"), 0) << o.Dump();
  EXPECT_EQ(o.errors, "");
  // The key and its parents went once the run had finished; the
  // distribution is untouched.
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore"));
  EXPECT_EQ(ReadFile("C:\\SETUP\\files.1"), DemoDistribution().archive);
  // What stays is the record for uninstalling: every file by its path,
  // then the sample's two shortcuts.
  const std::string record =
      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database Engine\\Files";
  ASSERT_TRUE(Value(record, "Entries")) << "no uninstall record";
  EXPECT_EQ(Value(record, "Entries")->text, "33");
  EXPECT_TRUE(EndsText(Value(record, "File33")->text, "\\Uninstall Quenby Database Engine.lnk"));
  EXPECT_EQ(Value(record, "File1")->text, std::string(kEngineDir) + "\\QDENG32.DLL");
  // Every file keeps its source's date (within the archive's two seconds).
  auto machine = Open();
  for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
    const auto installed = machine->files().Stat(std::string(kEngineDir) + "\\" + f.name);
    ASSERT_TRUE(installed) << f.name;
    const int64_t unixSeconds = int64_t(installed->lastWrite / 10000000) - 11644473600;
    EXPECT_NEAR(double(unixSeconds), double(SourceTime(f.name)), 2.0) << f.name;
  }
}

TEST_F(InstallRun, InstallOverAnOlderEngineReplacesByVersionAndKeepsANewerFile) {
  std::map<std::string, std::string> v75;
  for (const sample_engine::EngineFile& f : sample_engine::BuildEngine(sample_engine::Release::v75))
    v75[f.name] = std::string(f.bytes.begin(), f.bytes.end());
  pegen::PeOptions newer;
  newer.version.emplace();
  newer.version->fileVersion = {9, 0, 0, 1};
  newer.version->productVersion = {9, 0, 0, 1};
  const std::vector<uint8_t> newerBytes = pegen::BuildPe(newer);
  const std::string engine(kEngineDir);
  PutFile(engine + "\\QDLOC32.DLL", v75.at("QDLOC32.DLL"));  // older version: replaced
  PutFile(engine + "\\QDENG32.DLL", {newerBytes.begin(), newerBytes.end()});  // newer: kept
  PutFile(engine + "\\lcus.qlt", "edited by hand");  // no version: replaced

  const Outcome o = Run({kSource});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), ElementsAre("QDENG32.DLL (differs)"));
  EXPECT_EQ(ReadFile(engine + "\\QDENG32.DLL"), std::string(newerBytes.begin(), newerBytes.end()));
  // Nothing besides the engine's files, such as a numbered or temporary copy.
  auto machine = Open();
  int entries = 0;
  for (const auto& e : machine->files().FindFiles(engine + "\\*"))
    entries += e.name != "." && e.name != "..";
  EXPECT_EQ(entries, 31);
}

TEST_F(InstallRun, TwoSetupProgramsKeepTheirOwnNumberedKeys) {
  const std::string first = "MZ the setup program";
  PutFile("C:\\SETUP\\files.1", "");  // both fail before installing anything
  ASSERT_EQ(Run({kSource}).code, 1);
  PlaceProgram(kSetupProgram, "MZ a different, longer setup program");
  ASSERT_EQ(Run({kSource}).code, 1);
  EXPECT_THAT(InstallKeyNames(), ElementsAre("Install0", "Install1"));
  EXPECT_EQ(Value(kKey0, "Size")->dword, first.size());
  EXPECT_EQ(Value(kKey1, "Size")->dword, 36u);
  for (const std::string& key : {kKey0, kKey1}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Value(key, "Path")->text, kSetupProgram);
    EXPECT_TRUE(Value(key, "CreationDate"));
    EXPECT_TRUE(Value(key, "LastRunDate"));
  }

  // The first program again, now with its archive: it finds number 0 and
  // removes only that key.
  PlaceProgram(kSetupProgram, first);
  PutFile("C:\\SETUP\\files.1", DemoDistribution().archive);
  const Outcome o = Run({kSource});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(InstallKeyNames(), ElementsAre("Install1"));
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
}

TEST_F(InstallRun, SecondRunFindsItsKeyAfterTheProgramMoved) {
  PutFile("C:\\SETUP\\files.1", "");
  ASSERT_EQ(Run({kSource}).code, 1);
  ASSERT_THAT(InstallKeyNames(), ElementsAre("Install0"));
  const auto firstRun = Value(kKey0, "LastRunDate");

  // The same program (same size and date) now lives elsewhere.
  PlaceProgram("C:\\Moved Setup\\SETUP.EXE", "MZ the setup program");
  ASSERT_EQ(Run({"-sC:\\Moved Setup"}).code, 1);  // no archive there either
  EXPECT_THAT(InstallKeyNames(), ElementsAre("Install0"));
  EXPECT_EQ(Value(kKey0, "Path")->text, "C:\\Moved Setup\\SETUP.EXE");
  EXPECT_NE(Value(kKey0, "LastRunDate"), firstRun);

  PutFile("C:\\Moved Setup\\files.1", DemoDistribution().archive);
  const Outcome o = Run({"-sC:\\Moved Setup"});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore"));
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
}

TEST_F(InstallRun, CancelAtAMissingDiskEndsCancelledAndRemovesTheKey) {
  // Two volumes; only the first is in the source directory.
  const std::filesystem::path whole = dir_ / "files.1";
  std::ofstream(whole, std::ios::binary) << DemoDistribution().archive;
  std::filesystem::create_directories(dir_ / "disks");
  Tool(PELLMORE_ARCHIVE_EXE, {"split", whole.string(), (dir_ / "disks").string(), "--volume-size",
                              std::to_string(DemoDistribution().archive.size() / 2)});
  ASSERT_TRUE(std::filesystem::exists(dir_ / "disks" / "files.2"));
  PutFile("C:\\SETUP\\files.1", ReadHostFile(dir_ / "disks" / "files.1"));

  const Outcome o = Run({kSource}, {}, "answer Cancel\n");
  EXPECT_EQ(o.code, 2) << o.Dump();
  EXPECT_TRUE(o.Has("message", "Please insert disk #2")) << o.Dump();
  EXPECT_TRUE(o.Has("message", "\"answer\":\"Cancel\""));
  EXPECT_EQ(o.Count("message"), 1) << "asked again after the cancel";
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore"));
  // What came from the first disk stays; nothing half-written does.
  EXPECT_EQ(ReadFile(std::string(kEngineDir) + "\\QDENG32.DLL"),
            std::string(DemoDistribution().engine[0].bytes.begin(),
                        DemoDistribution().engine[0].bytes.end()));
  auto machine = Open();
  std::vector<std::string> names;
  for (const auto& e : machine->files().FindFiles(std::string(kEngineDir) + "\\*"))
    if (e.name != "." && e.name != "..") names.push_back(e.name);
  const std::vector<std::string> missing = EngineFilesNotInstalled();
  EXPECT_EQ(names.size() + missing.size(), 31u) << "a stray file beside the installed ones";
  for (const std::string& m : missing) EXPECT_THAT(m, HasSubstr("(missing)"));
}

TEST_F(InstallRun, DamagedArchiveFailsAndKeepsTheKey) {
  // The last member's checksum no longer matches.
  std::string archive = DemoDistribution().archive;
  archive[archive.size() - 2] ^= 0x5A;
  PutFile("C:\\SETUP\\files.1", archive);

  const Outcome o = Run({kSource});
  EXPECT_EQ(o.code, 1) << o.Dump();
  EXPECT_EQ(o.Count("error") + o.Count("message"), 1) << o.Dump();
  EXPECT_THAT(InstallKeyNames(), ElementsAre("Install0"));
  EXPECT_EQ(Value(kKey0, "Path")->text, kSetupProgram);
  EXPECT_EQ(Value(kKey0, "Size")->dword, 20u);
  // Every member before the damaged one (the uninstall program, packed
  // last) is in place; the damaged one is not there at all.
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  EXPECT_FALSE(FileExists("C:\\Program Files\\Quenby\\uninstall.exe"));
}

TEST_F(InstallRun, LoadingProgramSetupWithoutSourceDirectoryStopsBeforeTheKey) {
  const Outcome o = Run({});
  EXPECT_EQ(o.code, 1);
  EXPECT_TRUE(o.Has("error",
                    "The path of the loading program was not passed correctly. If you are "
                    "running your install project in the IDE"))
      << o.Dump();
  EXPECT_THAT(InstallKeyNames(), IsEmpty());
  EXPECT_FALSE(FileExists(std::string(kEngineDir) + "\\QDENG32.DLL"));
}

TEST_F(InstallRun, CleanupSwitchRemovesTheCopyTheLoadingProgramUnpacked) {
  // The loading program unpacked the setup elsewhere and passed the
  // distribution's directory with -s.
  PlaceProgram("C:\\Unpacked\\SETUP.EXE", "MZ the setup program");
  const Outcome o = Run({kSource, "-c"});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  auto machine = Open();
  // The batch started at exit erased the program, its directory and itself.
  EXPECT_FALSE(machine->files().DirectoryExists("C:\\Unpacked"));
  EXPECT_THAT(machine->files().FindFiles(machine->system().TempDirectory() + "*.bat"), IsEmpty());
  EXPECT_EQ(ReadFile("C:\\SETUP\\files.1"), DemoDistribution().archive);
}

TEST_F(InstallRun, CleanupSwitchWithoutTheLoadingProgramWritesNoBatch) {
  std::string text = DemoFormText();
  const std::string on = "UseLoadingProgram = True";
  text.replace(text.find(on), on.size(), "UseLoadingProgram = False");
  const Outcome o = Run({"-c"}, WriteForm("own-archive.dfm", text));
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
  auto machine = Open();
  const std::string temp = machine->system().TempDirectory();
  EXPECT_THAT(machine->files().FindFiles(temp + "*.bat"), IsEmpty());
  EXPECT_TRUE(FileExists(kSetupProgram));
}

}  // namespace
}  // namespace e2e
