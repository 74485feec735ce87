// The engine group against a setup library that records its calls: which
// file set the installed engine chooses, where the engine and its
// configuration are found, the registry entries and configuration steps of
// Configure with the setup library's answers, the install step's checks,
// and the uninstall count.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "dbengine/QDEFileSets.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "install/ComponentCalls.h"
#include "install/InstallRegistration.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/sim/SimMachine.h"
#include "shell/routines_Registry.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"
#include "tools/pegen/PeWriter.h"

namespace {

using ::testing::ElementsAre;

struct LibraryCall {
  std::string name;
  std::vector<platform::LibraryArg> args;
};

// The engine's setup library as the test wants it to answer.
struct FakeSetup {
  std::vector<LibraryCall> calls;
  int32_t mergeResult = 0;
  int32_t repairResult = 0;
};

class FakeSetupLibrary : public platform::Library {
 public:
  explicit FakeSetupLibrary(FakeSetup& state) : state_(state) {}
  bool HasExport(std::string_view) override { return true; }
  std::optional<int32_t> Call(std::string_view name) override { return Call(name, {}); }
  std::optional<int32_t> Call(std::string_view name,
                              const std::vector<platform::LibraryArg>& args) override {
    state_.calls.push_back({std::string(name), args});
    if (name == "QdMergeConfig") return state_.mergeResult;
    if (name == "QdRepairConfig") return state_.repairResult;
    return 0;
  }

 private:
  FakeSetup& state_;
};

std::string Text(const platform::LibraryArg& a) {
  return std::get<std::string>(a);
}

constexpr const char* kEngineDir = "C:\\QDE";

class InstallQDETest : public PellmoreTest {
 public:
  InstallQDETest() : machine_(testsupport::ScratchNamed("pellmore-qde")) {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterPathSpecifiers(r);
    RegisterInstallClasses(r);
    RegisterInstallFile(r);
    RegisterQDEClasses(r);
    machine_.Sim()->RegisterNativeLibrary("QDSETUP.DLL", [this](const std::string&) {
      return std::make_unique<FakeSetupLibrary>(setup_);
    });
    PutSetupLibrary();
  }
  ~InstallQDETest() override { machine_.Sim()->RegisterNativeLibrary("QDSETUP.DLL", nullptr); }

  static std::string SetupLibraryPath() {
    return platform::system().SystemDirectory() + "\\QDSETUP.DLL";
  }
  static void PutSetupLibrary() {
    testsupport::TestMachine::WriteFile(SetupLibraryPath(), "the engine's setup library");
  }
  static void RemoveDir(const std::string& dir) {
    if (platform::files().Stat(dir)) testsupport::TestMachine::RemoveTree(dir);
  }
  static void SetEngine(const std::string& ident, const std::string& value) {
    WriteRegString(kRootLocalMachine, kQDEKey, ident, value);
  }
  static std::string Engine(const std::string& ident, const char* key = kQDEKey) {
    return ReadRegString(kRootLocalMachine, key, ident, "<none>");
  }
  // An engine library whose fixed file version is `version` (none: no
  // version resource).
  static void PutEngineDll(const std::string& dir, std::optional<std::array<uint16_t, 4>> version) {
    pegen::PeOptions o;
    o.kind = pegen::ImageKind::Dll;
    o.moduleName = "qdeng32.dll";
    if (version) {
      pegen::VersionResource v;
      v.fileVersion = *version;
      v.productVersion = *version;
      v.tables.push_back({});
      o.version = v;
    }
    const auto bytes = pegen::BuildPe(o);
    testsupport::TestMachine::WriteFile(dir + "\\qdeng32.dll",
                                        std::string(bytes.begin(), bytes.end()));
  }

  // A form with the specifiers, the installer, the engine group and the
  // template and one library as members.
  TInstallQDE* MakeGroup() {
    form_.reset(NewForm());
    EnsureStandardSpecifiers(nullptr, form_.get(), false);
    install_ = New<TInstall>(form_.get(), "Install1");
    install_->Information()->SetProductName("Quenby Database Engine");
    auto* qde = New<TInstallQDE>(form_.get(), "InstallQDE");
    qde->SetContainer(install_);
    Member(qde, "QDEConfigFile", "QDENG32.CNF");
    Member(qde, "QDEFile", "QDENG32.DLL");
    return qde;
  }
  TInstallFile* Member(TInstallQDE* qde, const std::string& name, const std::string& file) {
    auto* f = New<TInstallFile>(form_.get(), name);
    f->SetFileName(file);
    f->SetContainer(qde);
    return f;
  }
  std::vector<std::string> CallNames() const {
    std::vector<std::string> names;
    for (const LibraryCall& c : setup_.calls) names.push_back(c.name);
    return names;
  }
  const LibraryCall* FindCall(const std::string& name) const {
    for (const LibraryCall& c : setup_.calls)
      if (c.name == name) return &c;
    return nullptr;
  }

  testsupport::TestMachine machine_;
  FakeSetup setup_;
  Owned<TForm> form_;
  TInstall* install_ = nullptr;
};

TEST_F(InstallQDETest, TheInstalledEngineChoosesTheFileSet) {
  struct Case {
    const char* what;
    const char* enginePath;  // null: no ENGINEPATH
    std::optional<std::array<uint16_t, 4>> version;
    bool dllThere;
    const char* fileSet;
  };
  const Case cases[] = {
      {"no engine", nullptr, std::nullopt, false, "TQDE80FileSet"},
      {"no engine library", "C:\\QDE", std::array<uint16_t, 4>{7, 5, 0, 0}, false, "TQDE80FileSet"},
      {"a library without a version", "C:\\QDE", std::nullopt, true, "TQDE80FileSet"},
      {"7.51 reads as 7.5", "C:\\QDE", std::array<uint16_t, 4>{7, 51, 0, 0}, true, "TQDE75FileSet"},
      {"7.0.1", "C:\\QDE", std::array<uint16_t, 4>{7, 0, 1, 0}, true, "TQDE70FileSet"},
      {"6.0", "C:\\QDE", std::array<uint16_t, 4>{6, 0, 0, 0}, true, "TQDE60FileSet"},
      {"6.5", "C:\\QDE", std::array<uint16_t, 4>{6, 5, 0, 0}, true, "TQDE65FileSet"},
      {"a trailing backslash and more entries", "C:\\QDE\\;D:\\OTHER",
       std::array<uint16_t, 4>{7, 5, 0, 9}, true, "TQDE75FileSet"},
      {"8.1", "C:\\QDE", std::array<uint16_t, 4>{8, 1, 0, 0}, true, "TQDE80FileSet"},
      {"5.5", "C:\\QDE", std::array<uint16_t, 4>{5, 5, 0, 0}, true, "TQDE80FileSet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteRegKeyTree(kRootLocalMachine, "\\Software\\Quenby");
    RemoveDir("C:\\QDE");
    if (c.enginePath) SetEngine(kQDEEnginePath, c.enginePath);
    if (c.dllThere) PutEngineDll(kEngineDir, c.version);
    TInstallQDE* qde = MakeGroup();
    EXPECT_STREQ(qde->FileSet()->ClassName(), c.fileSet);
    EXPECT_EQ(qde->LanguageDLL(), "0009");
    EXPECT_EQ(QDEGroup(), qde);
    form_.reset();
    EXPECT_EQ(QDEGroup(), nullptr);
  }
}

TEST_F(InstallQDETest, TheHookPointsTheGroupAndTheTemplateAtTheEngineAndItsConfiguration) {
  SetEngine(kQDELangCode, "0007");
  TInstallQDE* qde = MakeGroup();
  EXPECT_EQ(qde->LanguageDLL(), "0007");
  TCustomInstallFile* tmpl = qde->ConfigTemplate();
  ASSERT_NE(tmpl, nullptr);
  const std::string defaultDir = qde->ResolveDestDir();  // the engine specifier's directory

  // Nothing registered, nothing found: a new file in the template's place.
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  EXPECT_EQ(qde->ExistingConfigFile(), "***");
  EXPECT_EQ(qde->ConfigDir(), defaultDir + "\\");
  EXPECT_EQ(qde->ConfigFileName(), "qdeng32.cfg");
  EXPECT_EQ(tmpl->ResolveDestDir(), defaultDir);

  // A registered file that cannot be opened is passed over for the search
  // in the Windows directory; the engine directory comes from ENGINEPATH.
  SetEngine(kQDEConfigPath, "C:\\Gone\\qdeng32.cfg");
  const std::string searched = platform::system().WindowsDirectory() + "\\qdeng.cfg";
  machine_.WriteFile(searched, "[SYSTEM INIT]\r\n");
  SetEngine(kQDEEnginePath, "C:\\QDE\\;D:\\OTHER");
  tmpl->SetDestDirType(FindByClass<TpsContainerDestDir>());
  tmpl->SetDestDir("");
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  EXPECT_EQ(qde->ExistingConfigFile(), searched);
  // The template's directory before the hook moved the group.
  EXPECT_EQ(qde->ConfigDir(), defaultDir);
  EXPECT_EQ(tmpl->ResolveDestDir(), defaultDir);
  EXPECT_EQ(qde->DestDirType(), nullptr);
  EXPECT_EQ(qde->DestDir(), "C:\\QDE\\");

  // A registered file that exists wins, and names the directory and file.
  machine_.WriteFile("C:\\Data\\my.cfg", "[SYSTEM INIT]\r\n");
  SetEngine(kQDEConfigPath, "C:\\Data\\my.cfg");
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  EXPECT_EQ(qde->ExistingConfigFile(), "C:\\Data\\my.cfg");
  EXPECT_EQ(qde->ConfigDir(), "C:\\Data");
  EXPECT_EQ(qde->ConfigFileName(), "my.cfg");
  EXPECT_EQ(tmpl->DestDirType(), nullptr);
  EXPECT_EQ(tmpl->ResolveDestDir(), "C:\\Data");

  // A run stopped before its merge left the template registered: the
  // configuration beside it is the one to keep, never the template itself.
  machine_.WriteFile("C:\\QDE\\QDENG32.CNF", "[SYSTEM INIT]\r\n");
  machine_.WriteFile("C:\\QDE\\qdeng32.cfg", "[SYSTEM INIT]\r\n");
  SetEngine(kQDEConfigPath, "C:\\QDE\\QDENG32.CNF");
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  EXPECT_EQ(qde->ExistingConfigFile(), "C:\\QDE\\qdeng32.cfg");
  EXPECT_EQ(qde->ConfigDir(), "C:\\QDE");
  EXPECT_EQ(qde->ConfigFileName(), "qdeng32.cfg");
  // Without that configuration, the search as if nothing were registered.
  platform::files().DeleteFile("C:\\QDE\\qdeng32.cfg");
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  EXPECT_EQ(qde->ExistingConfigFile(), searched);
  EXPECT_EQ(qde->ConfigFileName(), "qdeng32.cfg");
}

TEST_F(InstallQDETest, ConfigureWritesTheEngineEntriesAndPutsTheEngineFirstOnItsPath) {
  struct Case {
    const char* what;
    const char* before;  // null: none
    const char* after;
  };
  const Case cases[] = {
      {"none", nullptr, "C:\\QDE"},
      {"blanks", "   ", "C:\\QDE"},
      {"among others", "c:\\old;C:\\QDE;d:\\x", "C:\\QDE;C:\\OLD;D:\\X"},
      {"already alone", "c:\\qde", "C:\\QDE"},
      {"an empty entry stays", "a;;C:\\QDE", "C:\\QDE;A;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteRegKeyTree(kRootLocalMachine, "\\Software\\Quenby");
    setup_.calls.clear();
    TInstallQDE* qde = MakeGroup();
    if (c.before) SetEngine(kQDEEnginePath, c.before);
    qde->SetDestDirType(nullptr);
    qde->SetDestDir("c:\\qde\\");
    TCustomInstallFile* tmpl = qde->ConfigTemplate();
    tmpl->SetDestDirType(nullptr);
    tmpl->SetDestDir("C:\\Cfg");
    machine_.WriteFile("C:\\Cfg\\QDENG32.CNF", "[SYSTEM INIT]\r\n");
    qde->Configure("C:\\Cfg\\QDENG32.CNF", "0009");
    EXPECT_EQ(Engine(kQDEEnginePath), c.after);
    EXPECT_EQ(Engine(kQDELangPackDir, kQDELocaleKey), "C:\\QDE");
    EXPECT_EQ(Engine("LANGPACK1", kQDELocaleKey), "<none>");  // no .QLL member
    EXPECT_EQ(Engine(kQDELangCode), "0009");
    EXPECT_EQ(Engine(kQDEConfigPath), "C:\\Cfg\\qdeng32.cfg");
    EXPECT_EQ(Engine(kQDEConfigFormat), "CFG32");
    EXPECT_THAT(CallNames(), ElementsAre("QdLocaleConfig", "QdMergeConfig"));
    const LibraryCall* merge = FindCall("QdMergeConfig");
    ASSERT_EQ(merge->args.size(), 6u);
    EXPECT_EQ(Text(merge->args[0]), "C:\\Cfg\\QDENG32.CNF");
    EXPECT_EQ(Text(merge->args[1]), "***");
    EXPECT_EQ(Text(merge->args[2]), "C:\\Cfg\\qdeng32.cfg");
    EXPECT_EQ(std::get<int32_t>(merge->args[3]), 1);
    EXPECT_EQ(std::get<int32_t>(merge->args[4]), 0);
    EXPECT_EQ(Text(merge->args[5]), "0009");
    // Merged into another file: the template goes.
    EXPECT_FALSE(platform::files().FileExists("C:\\Cfg\\QDENG32.CNF"));
    form_.reset();
  }
}

TEST_F(InstallQDETest, WhatTheSetupLibraryAnswersDecidesTheConfigurationInUse) {
  struct Case {
    const char* what;
    int32_t merge, repair;
    bool for16Bit;
    const char* templateDir;  // the target's directory too
    const char* configPath;
    bool templateLeft, fallbackMade, mergeFailed, fixFailed;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> withoutRepair = {"QdLocaleConfig", "QdMergeConfig"};
  const std::vector<std::string> withRepair = {"QdLocaleConfig", "QdMergeConfig", "QdRepairConfig"};
  const Case cases[] = {
      {"merged", 0, 0, false, "C:\\Cfg", "C:\\Cfg\\qdeng32.cfg", false, false, false, false,
       withoutRepair},
      {"merge failed", 3, 0, false, "C:\\Cfg", "C:\\Cfg\\QDENGNEW.CFG", false, true, true, false,
       withoutRepair},
      {"16-bit, fixed", 0, 0, true, "C:\\Cfg", "C:\\Cfg\\qdeng32.cfg", false, false, false, false,
       withRepair},
      {"16-bit, the fix failed", 0, 5, true, "C:\\Cfg", "C:\\Cfg\\QDENGNEW.CFG", false, true, false,
       true, withRepair},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteRegKeyTree(kRootLocalMachine, "\\Software\\Quenby");
    RemoveDir("C:\\Cfg");
    setup_.calls.clear();
    setup_.mergeResult = c.merge;
    setup_.repairResult = c.repair;
    TInstallQDE* qde = MakeGroup();
    int mergeFailed = 0, fixFailed = 0;
    qde->SetOnMergeFailed([&](TObject*) { ++mergeFailed; });
    qde->SetOnFixFailed([&](TObject*) { ++fixFailed; });
    qde->SetSaveFor16Bit(c.for16Bit);
    TCustomInstallFile* tmpl = qde->ConfigTemplate();
    tmpl->SetDestDirType(nullptr);
    tmpl->SetDestDir(c.templateDir);
    const std::string templatePath = std::string(c.templateDir) + "\\QDENG32.CNF";
    machine_.WriteFile(templatePath, "[SYSTEM INIT]\r\nVERSION=8.2\r\n");
    qde->Configure(templatePath, "0009");
    EXPECT_EQ(CallNames(), c.calls);
    EXPECT_EQ(Engine(kQDEConfigPath), c.configPath);
    EXPECT_EQ(qde->TargetConfigFile(), c.configPath);
    EXPECT_EQ(Engine(kQDEConfigFormat), c.for16Bit ? "CFG16" : "CFG32");
    EXPECT_EQ(platform::files().FileExists(templatePath), c.templateLeft);
    if (c.fallbackMade) {
      EXPECT_EQ(machine_.ReadFile(std::string(c.templateDir) + "\\QDENGNEW.CFG"),
                "[SYSTEM INIT]\r\nVERSION=8.2\r\n");
    }
    EXPECT_EQ(mergeFailed, c.mergeFailed ? 1 : 0);
    EXPECT_EQ(fixFailed, c.fixFailed ? 1 : 0);
    if (const LibraryCall* repair = FindCall("QdRepairConfig")) {
      // WIN.INI names no 16-bit configuration: it differs from the target.
      EXPECT_EQ(Text(repair->args[0]), "C:\\Cfg\\qdeng32.cfg");
      EXPECT_EQ(std::get<int32_t>(repair->args[1]), 1);
      EXPECT_EQ(std::get<int32_t>(repair->args[2]), 1);
    }
    form_.reset();
  }

  // The configuration in use is the template itself: merged in place, kept.
  setup_.mergeResult = 0;
  TInstallQDE* qde = MakeGroup();
  machine_.WriteFile("C:\\Cfg\\qdeng32.cfg", "[SYSTEM INIT]\r\n");
  SetEngine(kQDEConfigPath, "C:\\Cfg\\qdeng32.cfg");
  install_->BroadcastCall(install_, kCallInitialized, nullptr);
  qde->ConfigTemplate()->SetDestName("qdeng32.cfg");
  qde->Configure("C:\\Cfg\\qdeng32.cfg", "0009");
  EXPECT_TRUE(platform::files().FileExists("C:\\Cfg\\qdeng32.cfg"));
  EXPECT_EQ(Engine(kQDEConfigPath), "C:\\Cfg\\qdeng32.cfg");
}

TEST_F(InstallQDETest, ServerLinkSettingsGoUnderTheirDriverAndSection) {
  TInstallQDE* qde = MakeGroup();
  TStringList lines;
  for (const char* l : {"ORPHAN=before any header", "[SESSION-KESTREL]", "DATABASE=",
                        "COMMIT MODE=SHARED AUTO", "no equals sign", "  ", "[STARTUP-KESTREL]",
                        "CLIENT LIB=a=b", "[SESSION-]", "LOST=after a header without a driver"})
    lines.Add(l);
  qde->SetServerLinkEntries(lines);
  qde->WriteServerLinkEntries();
  const std::string drivers = kQDEDriversKey;
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  EXPECT_THAT(reg.ValueNames(root, drivers + "\\KESTREL\\SESSION"),
              ElementsAre("DATABASE", "COMMIT MODE"));
  EXPECT_EQ(Engine("DATABASE", (drivers + "\\KESTREL\\SESSION").c_str()), "");
  EXPECT_EQ(Engine("COMMIT MODE", (drivers + "\\KESTREL\\SESSION").c_str()), "SHARED AUTO");
  // A value holding "=" is kept whole.
  EXPECT_EQ(Engine("CLIENT LIB", (drivers + "\\KESTREL\\STARTUP").c_str()), "a=b");
  EXPECT_THAT(reg.SubKeyNames(root, drivers), ElementsAre("KESTREL"));

  // Rebuilt from this machine for the links that are on.
  WriteRegString(kRootLocalMachine, drivers + "\\OSPREY\\SESSION", "HOST", "osp");
  WriteRegString(kRootLocalMachine, drivers + "\\OSPREY\\STARTUP", "TRACE", "1");
  qde->RebuildServerLinkEntries();  // no link is on: nothing
  EXPECT_EQ(qde->ServerLinkEntries()->Count(), 0);
}

TEST_F(InstallQDETest, TheInstallStepRefusesWhatWouldBreakTheInstalledEngine) {
  struct Case {
    const char* what;
    std::function<void(InstallQDETest&, TInstallQDE*)> arrange;
    const char* message;  // null: no error
  };
  const Case cases[] = {
      {"another language", [](InstallQDETest&, TInstallQDE*) { SetEngine(kQDELangCode, " 0007 "); },
       "The Quenby Database Engine installed on this machine is a different language from the "
       "Quenby Database Engine being installed"},
      {"another language, refused by the handler",
       [](InstallQDETest&, TInstallQDE* qde) {
         SetEngine(kQDELangCode, "0007");
         qde->SetOnLanguageDifferent(
             [](TObject*, const std::string&, const std::string&, bool& go) { go = false; });
       },
       "The Quenby Database Engine installed on this machine is a different language from the "
       "Quenby Database Engine being installed"},
      {"another language, allowed by the handler",
       [](InstallQDETest&, TInstallQDE* qde) {
         SetEngine(kQDELangCode, "0007");
         qde->SetOnLanguageDifferent([qde](TObject*, const std::string& installed,
                                           const std::string& installing, bool& go) {
           EXPECT_EQ(installed, "0007");
           EXPECT_EQ(installing, "0009");
           EXPECT_TRUE(go);  // left as it is: go on
           qde->SetTag(qde->Tag() + 1);
         });
       },
       nullptr},
      {"the same language with blanks and case",
       [](InstallQDETest&, TInstallQDE* qde) {
         SetEngine(kQDELangCode, " 0009a ");
         qde->SetLanguageDLL("0009A");
       },
       nullptr},
      {"no setup library",
       [](InstallQDETest& t, TInstallQDE*) {
         t.machine_.Sim()->RegisterNativeLibrary("QDSETUP.DLL", nullptr);
         platform::files().DeleteFile(SetupLibraryPath());
       },
       "Could not load QDSETUP.DLL in cmp_TInstallQDE. If you have the UseLoadingProgram set to "
       "FALSE for the TInstall component, then you will need to distribute this file along with "
       "your installation executable file. If you are running your install project in the IDE, "
       "then you need to copy QDSETUP.DLL, which can be found in the Pellmore directory, into "
       "the directory for this project"},
      {"no template", [](InstallQDETest&, TInstallQDE* qde) { qde->ConfigTemplate()->Free(); },
       "Could not find a QDENG.CNF file in the TInstallQDE"},
      {"two templates",
       [](InstallQDETest& t, TInstallQDE* qde) { t.Member(qde, "Second", " qdeng32.cnf "); },
       "More than one QDENG.CNF file found for the QDE group"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteRegKeyTree(kRootLocalMachine, "\\Software\\Quenby");
    setup_.calls.clear();
    TInstallQDE* qde = MakeGroup();
    c.arrange(*this, qde);
    // Past the checks the files would be copied: there is no archive here,
    // so a group that passes them fails at its first file instead.
    std::string message;
    try {
      qde->InstallObjects();
    } catch (const IEInstallQDE& e) {
      message = e.Message().substr(0, e.Message().find('\n'));
    } catch (const Exception& e) {
      message = "copying: " + e.Message();
    }
    if (c.message)
      EXPECT_EQ(message, c.message);
    else
      EXPECT_THAT(message, ::testing::StartsWith("copying: "));
    EXPECT_EQ(FindCall("IncrementEngineUseCount"), nullptr);
    // Only the case with an allowing handler counts its calls in Tag.
    EXPECT_EQ(qde->Tag(), std::string(c.what).find("allowed") != std::string::npos ? 1 : 0);
    form_.reset();
    machine_.Sim()->RegisterNativeLibrary("QDSETUP.DLL", [this](const std::string&) {
      return std::make_unique<FakeSetupLibrary>(setup_);
    });
    PutSetupLibrary();
  }
}

TEST_F(InstallQDETest, EachInstallCountsTheEngineInTheUninstallKey) {
  TInstallQDE* qde = MakeGroup();
  const std::string key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q";
  qde->WriteUninstallInfo(key);
  EXPECT_EQ(Engine("Entries", (key + "\\QDE").c_str()), "1");
  WriteRegString(kRootLocalMachine, key + "\\QDE", "Entries", "4");
  qde->WriteUninstallInfo(key + "\\");
  EXPECT_EQ(Engine("Entries", (key + "\\QDE").c_str()), "5");
  WriteRegString(kRootLocalMachine, key + "\\QDE", "Entries", "x");
  EXPECT_THROW(qde->WriteUninstallInfo(key), EConvertError);
}

}  // namespace
