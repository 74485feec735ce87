// The setup program with its built-in main form installs the engine: the
// distribution is packed from Main.dfm on an authoring machine that has the
// 8.2 engine and the kit (pellmore-sample-engine --authoring), and
// installed on fresh machines, over an older 7.5 engine with the user's
// settings, a second time, while the engine is in use, and over a damaged
// configuration. The engine's setup library is the machine's own binding
// of the real code.
#include <gmock/gmock.h>

#include <map>
#include <string>

#include "InstallRunFixture.h"
#include "enginesetup/EngineConfig.h"
#include "framework/StrUtils.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;

// A configuration's settings as "SECTION|NAME" -> value.
std::map<std::string, std::string> Settings(const std::string& text) {
  std::map<std::string, std::string> out;
  const enginesetup::ParseResult parsed = enginesetup::EngineConfig::Parse(text);
  EXPECT_TRUE(parsed.config) << parsed.Message();
  if (!parsed.config) return out;
  std::string section;
  for (const enginesetup::ConfigLine& line : parsed.config->Lines()) {
    if (line.kind == enginesetup::ConfigLine::Kind::Section) section = AsciiUpperCase(line.name);
    if (line.kind == enginesetup::ConfigLine::Kind::Setting)
      out.emplace(section + "|" + AsciiUpperCase(line.name), line.value);
  }
  return out;
}

TEST_F(EngineRun, TheEngineIsInstalledAndConfiguredOverWhateverTheMachineHas) {
  struct Case {
    const char* what;
    bool olderEngine;
    int runs;
    const char* useCount;
    uint32_t sharedCount;
    std::map<std::string, std::string> settings;  // expected in the configuration in use
  };
  const Case cases[] = {
      {"a fresh machine",
       false,
       1,
       "1",
       1,
       {{"SYSTEM INIT|VERSION", "8.2"},
        {"SYSTEM INIT|LANGCODE", "0009"},
        {"DRIVERS\\KESTREL\\SESSION|BATCH SIZE", "200"},
        {"DRIVERS\\KESTREL\\STARTUP|MAX CONNECTIONS", "300"}}},
      {"over the older engine (which counted itself once)",
       true,
       1,
       "2",
       2,
       {{"SYSTEM INIT|VERSION", "8.2"},
        {"SYSTEM INIT|MAXFILEHANDLES", "96"},
        {"SYSTEM INIT|LOCAL SHARE", "TRUE"},
        {"SYSTEM INIT|SHAREDMEMLOCATION", "0x5BDE"},
        {"DRIVERS\\KESTREL\\SESSION|HOST", "PRODSRV"},
        {"DRIVERS\\KESTREL\\SESSION|BATCH SIZE", "500"},
        {"DRIVERS\\KESTREL\\STARTUP|MAX CONNECTIONS", "300"},
        {"ALIASES\\SALES|PATH", "D:\\DATA\\SALES"}}},
      {"the same version twice",
       false,
       2,
       "2",
       2,
       {{"SYSTEM INIT|VERSION", "8.2"}, {"DRIVERS\\KESTREL\\SESSION|BATCH SIZE", "200"}}},
  };
  const std::string cfg = std::string(kQDEDir) + "\\qdeng32.cfg";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshEngineTarget(c.olderEngine);
    for (int run = 0; run < c.runs; ++run) {
      const Outcome o = RunBuiltIn();
      ASSERT_EQ(o.code, 0) << o.Dump();
      EXPECT_EQ(o.Count("error"), 0) << o.Dump();
    }
    EXPECT_THAT(EngineNotInstalled(), IsEmpty());
    EXPECT_FALSE(FileExists(std::string(kQDEDir) + "\\QDENG32.CNF"));  // merged, then removed
    // The built-in form's main link group made the product's folder in the
    // user's program menu, wherever the machine keeps that menu.
    {
      auto machine = Open();
      const auto programs = machine->registry().ReadValue(
          platform::RootKey::CurrentUser,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs");
      ASSERT_TRUE(programs.has_value());
      EXPECT_TRUE(machine->files().DirectoryExists(programs->text + "\\Quenby Database Engine"));
    }
    EXPECT_EQ(Text(kQDEKey, "ENGINEPATH"), "C:\\PROGRAM FILES\\QUENBY\\COMMON FILES\\QDE");
    EXPECT_EQ(Text(kQDEKey, "CONFIGPATH"), cfg);
    EXPECT_EQ(Text(kQDEKey, "CONFIGFORMAT"), "CFG32");
    EXPECT_EQ(Text(kQDEKey, "LANGCODE"), "0009");
    EXPECT_EQ(Text(kQDEKey, "USECOUNT"), c.useCount);
    EXPECT_EQ(Text("\\Software\\Quenby\\QDLOC32", "LANGPACKDIR"),
              "C:\\PROGRAM FILES\\QUENBY\\COMMON FILES\\QDE");
    EXPECT_EQ(Text(std::string(kQDEKey) + "\\Options\\Drivers\\KESTREL\\SESSION", "COMMIT MODE"),
              "SHARED AUTO");
    EXPECT_EQ(Text(kUninstallQDE, "Entries"), std::to_string(c.runs));
    EXPECT_EQ(SharedCount("QDENG32.DLL"), c.sharedCount);
    EXPECT_EQ(SharedCount("QLKKST32.DLL"), c.sharedCount);
    const auto settings = Settings(ReadFile(cfg));
    for (const auto& [name, value] : c.settings) {
      SCOPED_TRACE(name);
      ASSERT_EQ(settings.count(name), 1u);
      EXPECT_EQ(settings.at(name), value);
    }
    EXPECT_THAT(InstallKeyNames(), IsEmpty());
  }
}

TEST_F(EngineRun, AnEngineInUseIsReplacedAtTheRestartAndTheResumeFinishes) {
  FreshEngineTarget(true);
  const std::string dll = std::string(kQDEDir) + "\\QDENG32.DLL";
  const std::string old = ReadFile(dll);
  Open()->Hold(dll);
  const Outcome o = RunBuiltIn();
  ASSERT_EQ(o.code, 3) << o.Dump();  // a restart is needed
  EXPECT_EQ(ReadFile(dll), old);
  EXPECT_EQ(InstallKeyNames().size(), 1u);  // the unfinished list waits
  ASSERT_TRUE(Open()->RestartRequested());

  const std::vector<std::string> steps = Open()->Restart();
  EXPECT_THAT(steps, ::testing::Contains(::testing::HasSubstr("exit 0")))
      << ::testing::PrintToString(steps);
  EXPECT_THAT(EngineNotInstalled(), IsEmpty());
  EXPECT_THAT(InstallKeyNames(), IsEmpty());
  const auto settings = Settings(ReadFile(std::string(kQDEDir) + "\\qdeng32.cfg"));
  EXPECT_EQ(settings.at("SYSTEM INIT|VERSION"), "8.2");
  EXPECT_EQ(settings.at("DRIVERS\\KESTREL\\SESSION|HOST"), "PRODSRV");
  EXPECT_EQ(Text(kQDEKey, "USECOUNT"), "2");
  EXPECT_EQ(SharedCount("QDENG32.DLL"), 2u);
}

TEST_F(EngineRun, ADamagedConfigurationIsLeftAsItIsAndTheNewOneIsUsedBeside) {
  FreshEngineTarget(true);
  const std::string cfg = std::string(kQDEDir) + "\\qdeng32.cfg";
  const std::string damaged = "[SYSTEM INIT]\r\nVERSION=7.5\r\nthis line is no setting\r\n";
  PutFile(cfg, damaged);
  const Outcome o = RunBuiltIn();
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_EQ(ReadFile(cfg), damaged);
  const std::string fallback = std::string(kQDEDir) + "\\QDENGNEW.CFG";
  EXPECT_EQ(Text(kQDEKey, "CONFIGPATH"), fallback);
  EXPECT_FALSE(FileExists(std::string(kQDEDir) + "\\QDENG32.CNF"));
  EXPECT_EQ(Settings(ReadFile(fallback)).at("SYSTEM INIT|VERSION"), "8.2");
  EXPECT_EQ(Text(kQDEKey, "USECOUNT"), "2");
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// An author leaves the Vault driver out and puts it back with
// pellmore-author; the form that comes back packs and installs the engine
// like the built-in one.
TEST_F(EngineRun, AFormTheAuthorChangedInstalls) {
  const std::string authoring = TheEngineDistribution().authoring.MachineDir();
  const std::string without = (dir_ / "without-vault.dfm").string();
  const std::string with = (dir_ / "with-vault.dfm").string();
  EXPECT_THAT(Tool(PELLMORE_AUTHOR_EXE, {authoring, PELLMORE_MAIN_FORM, "-drVault", "-o", without}),
              ::testing::HasSubstr("removed QDVLT32.DLL"));
  EXPECT_THAT(ReadHostFile(without), ::testing::Not(::testing::HasSubstr("'QDVLT32.DLL'")));
  EXPECT_THAT(Tool(PELLMORE_AUTHOR_EXE, {authoring, without, "+drVault", "-o", with}),
              ::testing::HasSubstr("added"));
  Tool(PELLMORE_PACK_EXE, {authoring, with, "C:\\Authored"});
  FreshEngineTarget(false);
  PutFile(std::string(kSetupDir) + "\\files.1",
          ReadHostFile(fs::path(authoring) / "drive_c" / "Authored" / "files.1"));
  const Outcome o =
      RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {kEngineSource}, dir_, {{"PELLMORE_FORM", with}});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(EngineNotInstalled(), IsEmpty());
  EXPECT_EQ(Text(kQDEKey, "USECOUNT"), "1");
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The uninstall program after the built-in setup: while another program
// still counts on the engine (the older engine counted itself once) the
// engine's files, configuration and keys stay and only this product's
// counts go; when this product was the engine's only user, all of it goes.
// Files no record names stay either way.
TEST_F(EngineRun, UninstallKeepsTheEngineWhileAnotherProgramStillUsesIt) {
  struct Case {
    const char* what;
    bool olderEngine;
    const char* useCountAfter;  // "<none>": the engine's key is gone
    bool engineStays;
    uint32_t sharedCountAfter;
  };
  const Case cases[] = {
      {"another program counts on the engine", true, "1", true, 1},
      {"this product was the engine's only user", false, "<none>", false, 0},
  };
  const std::string uninstallKey =
      "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database Engine";
  const std::string mine = std::string(kQDEDir) + "\\my-tables.db";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshEngineTarget(c.olderEngine);
    ASSERT_EQ(RunBuiltIn().code, 0);
    PutFile(mine, "the user's own data");
    ASSERT_TRUE(KeyExists(uninstallKey + "\\Manifest"));
    const Outcome o =
        RunSetup(PELLMORE_UNINSTALL_EXE, MachineDir(), {"Quenby Database Engine"}, dir_);
    // The template the engine merged and removed is reported as gone.
    EXPECT_EQ(o.code, 0) << o.Dump() << o.errors;
    EXPECT_TRUE(o.Has("message", "Do you want to remove Quenby Database Engine")) << o.Dump();
    EXPECT_TRUE(o.Has("message", "QDENG32.CNF: was already gone")) << o.Dump();
    EXPECT_FALSE(KeyExists(uninstallKey));
    EXPECT_EQ(Text(kQDEKey, "USECOUNT"), c.useCountAfter);
    EXPECT_EQ(SharedCount("QDENG32.DLL"), c.sharedCountAfter);
    EXPECT_EQ(FileExists(std::string(kQDEDir) + "\\QDENG32.DLL"), c.engineStays);
    EXPECT_EQ(FileExists(std::string(kQDEDir) + "\\qdeng32.cfg"), c.engineStays);
    EXPECT_EQ(ReadFile(mine), "the user's own data");
  }
}

}  // namespace
}  // namespace e2e
