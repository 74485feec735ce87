// The engine file sets on a machine with a small fake engine: each feature
// flag adds exactly its member files and removing it takes them away again
// with the core rule; the files shared between features; what differs
// between engine versions; the properties of an added member; and every
// failure with its message, leaving the flag as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeEngine.h"
#include "dbengine/QDEFileSets.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/InstallRegistration.h"
#include "paths/cmp_TPathSpecifier.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace dbenginetest {
namespace {

using ::testing::StartsWith;
using Names = std::vector<std::string>;

Names Sorted(Names names) {
  for (std::string& n : names) n = AsciiUpperCase(n);
  std::sort(names.begin(), names.end());
  return names;
}

Names operator+(Names a, const Names& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Names kCore = {"QDENG32.DLL", "QDLOC32.DLL", "QDDRV32.DLL",
                     "QDBMV32.DLL", "QDENG32.CNF", "QDRS0009.DLL"};
const Names kLocale80 = {"lceast.qlt", "lcwest.qlt", "lcasia.qlt",  "lcjpn.qlt",
                         "lcmisc.qlt", "lcus.qlt",   "charset.qcv", "qdcvt.dll"};
const Names kLanguagePacks = {"QDE0009.QLL", "QDE0007.QLL"};
const Names kManager = {"QDMGR.EXE", "QDMGR.HLP", "QDMGR.CNT", "QDMGR.CPL"};
const Names kConfigTool = {"QDCFG32.EXE", "QDCFG32.HLP", "QDCFG32.CNT"};
const Names kCore80 = kCore + kLocale80 + kManager;
const Names kLinks = {"SRVLNK32.HLP", "SRVLNK32.CNT"};

class FileSetTest : public PellmoreTest {
 protected:
  FileSetTest() : machine_(testsupport::ScratchNamed("pellmore-qde")) {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterPathSpecifiers(r);
    RegisterInstallClasses(r);
    RegisterInstallFile(r);
    RegisterQDEClasses(r);
    InstallFakeEngine();
  }

  // A form with the specifiers the engine's files use and an empty engine
  // group.
  TInstallQDE* NewGroup(Owned<TForm>& form) {
    form.reset(NewForm());
    New<TpsQDEDLL>(form.get(), "psQDEDLL");
    New<TpsContainerDestDir>(form.get(), "psContainerDestDir");
    New<TpsContainerArchiveFile>(form.get(), "psContainerArchiveFile");
    New<TpsSystem>(form.get(), "psSystem");
    return New<TInstallQDE>(form.get(), "QDE");
  }

  static Names Members(const TInstallQDE& group) {
    Names names;
    for (int i = 0; i < group.ObjectCount(); ++i)
      if (auto* f = dynamic_cast<const TCustomInstallFile*>(group.Objects(i)))
        names.push_back(f->FileName());
    return Sorted(names);
  }

 private:
  testsupport::TestMachine machine_;
};

using Getter = bool (TInstallQDE::*)() const;
using Setter = void (TInstallQDE::*)(bool);

TEST_F(FileSetTest, EachFlagAddsItsFilesAndClearingItTakesThemAwayAgain) {
  struct Case {
    const char* flag;
    Getter get;
    Setter set;
    Names added;                 // from an empty group
    std::vector<Getter> alsoOn;  // flags the added files switch on too
    std::string firstEntry;      // of ServerLinkEntries while on; empty: none
    Names left;                  // after clearing it again
    bool onAfterClear = false;
  };
  const Names drivers = {"QDVLT32.DLL", "QDVOB32.DLL", "QDTXT32.DLL", "QDFOL32.DLL",
                         "QDOBR32.DLL", "QDTAB32.DLL", "QDLSQ32.DLL", "QDQBF32.DLL"};
  // The core rule takes the locale files back, but the converter library
  // is not one of those it removes.
  const Names afterCoreRule = {"qdcvt.dll"};
  const std::vector<Getter> everyDriver = {&TInstallQDE::drVault,    &TInstallQDE::drAscii,
                                           &TInstallQDE::drFolio,    &TInstallQDE::drODBC,
                                           &TInstallQDE::drTabula,   &TInstallQDE::drSQLEngine,
                                           &TInstallQDE::drQBFEngine};
  const Case cases[] = {
      {"drVault",
       &TInstallQDE::drVault,
       &TInstallQDE::SetdrVault,
       kCore80 + Names{"QDVLT32.DLL", "QDVOB32.DLL"},
       {},
       "",
       afterCoreRule},
      {"drAscii",
       &TInstallQDE::drAscii,
       &TInstallQDE::SetdrAscii,
       kCore80 + Names{"QDTXT32.DLL"},
       {},
       "",
       afterCoreRule},
      {"drFolio",
       &TInstallQDE::drFolio,
       &TInstallQDE::SetdrFolio,
       kCore80 + Names{"QDFOL32.DLL"},
       {},
       "",
       afterCoreRule},
      {"drODBC",
       &TInstallQDE::drODBC,
       &TInstallQDE::SetdrODBC,
       kCore80 + Names{"QDOBR32.DLL", "QDVOB32.DLL"},
       {},
       "",
       afterCoreRule},
      {"drTabula",
       &TInstallQDE::drTabula,
       &TInstallQDE::SetdrTabula,
       kCore80 + Names{"QDTAB32.DLL"},
       {},
       "",
       afterCoreRule},
      // Clearing either engine keeps the Tabula library (Tabula is present
      // with it) and so the core, without the tool files.
      {"drSQLEngine",
       &TInstallQDE::drSQLEngine,
       &TInstallQDE::SetdrSQLEngine,
       kCore80 + Names{"QDLSQ32.DLL", "QDTAB32.DLL"},
       {&TInstallQDE::drTabula},
       "",
       kCore + kLocale80 + Names{"QDTAB32.DLL"}},
      {"drQBFEngine",
       &TInstallQDE::drQBFEngine,
       &TInstallQDE::SetdrQBFEngine,
       kCore80 + Names{"QDQBF32.DLL", "QDTAB32.DLL"},
       {&TInstallQDE::drTabula},
       "",
       kCore + kLocale80 + Names{"QDTAB32.DLL"}},
      // Clearing drFull only applies the core rule: every driver stays.
      {"drFull", &TInstallQDE::drFull, &TInstallQDE::SetdrFull, kCore80 + drivers, everyDriver, "",
       kCore + kLocale80 + drivers, true},
      {"slTern",
       &TInstallQDE::slTern,
       &TInstallQDE::SetslTern,
       kLinks + Names{"QLKTRN32.DLL"},
       {},
       "",
       {}},
      {"slWren",
       &TInstallQDE::slWren,
       &TInstallQDE::SetslWren,
       kLinks + Names{"QLKWRN32.DLL"},
       {},
       "",
       {}},
      {"slOsprey",
       &TInstallQDE::slOsprey,
       &TInstallQDE::SetslOsprey,
       kLinks + Names{"QLKOSP32.DLL", "OSPCLI32.DLL", "OSP_KEY.DAT", "OSPREY.MSG"},
       {},
       "[SESSION-OSPREY]",
       {}},
      {"slKestrel",
       &TInstallQDE::slKestrel,
       &TInstallQDE::SetslKestrel,
       kLinks + Names{"QLKKST32.DLL"},
       {},
       "[SESSION-KESTREL]",
       {}},
      {"slPlover",
       &TInstallQDE::slPlover,
       &TInstallQDE::SetslPlover,
       kLinks + Names{"QLKPLV32.DLL"},
       {},
       "",
       {}},
      {"slHeronNext",
       &TInstallQDE::slHeronNext,
       &TInstallQDE::SetslHeronNext,
       kLinks + Names{"QLKHNX32.DLL"},
       {},
       "[SESSION-HERON]",
       {}},
      {"slHeronClassic",
       &TInstallQDE::slHeronClassic,
       &TInstallQDE::SetslHeronClassic,
       kLinks + Names{"QLKHCL32.DLL"},
       {},
       "",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    Owned<TForm> form;
    TInstallQDE* group = NewGroup(form);
    ASSERT_STREQ(group->FileSet()->ClassName(), "TQDE80FileSet");
    ASSERT_TRUE(Members(*group).empty());
    EXPECT_FALSE((group->*c.get)());

    (group->*c.set)(true);
    EXPECT_EQ(Members(*group), Sorted(c.added));
    EXPECT_TRUE((group->*c.get)());
    for (Getter also : c.alsoOn) EXPECT_TRUE((group->*also)());
    const TStringList& entries = *group->ServerLinkEntries();
    if (c.firstEntry.empty()) {
      EXPECT_EQ(entries.Count(), 0);
    } else {
      ASSERT_GT(entries.Count(), 0);
      EXPECT_EQ(entries.Strings(0), c.firstEntry);
    }
    // Setting it again finds every file there already.
    (group->*c.set)(true);
    EXPECT_EQ(Members(*group), Sorted(c.added));

    (group->*c.set)(false);
    EXPECT_EQ(Members(*group), Sorted(c.left));
    EXPECT_EQ((group->*c.get)(), c.onAfterClear);
    EXPECT_EQ(group->ServerLinkEntries()->Count(), 0);
  }
}

TEST_F(FileSetTest, FilesSharedBetweenFeaturesStayWhileAnotherFeatureNeedsThem) {
  struct Case {
    const char* what;
    std::vector<Setter> on;
    Setter off;
    std::vector<Getter> stillOn;
    std::vector<Getter> nowOff;
    Names kept;     // must still be members
    Names removed;  // must be gone
  };
  const Case cases[] = {
      {"Vault cleared, ODBC keeps the object library",
       {&TInstallQDE::SetdrVault, &TInstallQDE::SetdrODBC},
       &TInstallQDE::SetdrVault,
       {&TInstallQDE::drODBC},
       {&TInstallQDE::drVault},
       Names{"QDVOB32.DLL"} + kCore,
       Names{"QDVLT32.DLL"} + kManager},
      {"ODBC cleared, Vault keeps the object library",
       {&TInstallQDE::SetdrVault, &TInstallQDE::SetdrODBC},
       &TInstallQDE::SetdrODBC,
       {&TInstallQDE::drVault},
       {&TInstallQDE::drODBC},
       Names{"QDVOB32.DLL", "QDVLT32.DLL"} + kCore,
       {"QDOBR32.DLL"}},
      {"SQL engine cleared, Tabula keeps its library",
       {&TInstallQDE::SetdrTabula, &TInstallQDE::SetdrSQLEngine},
       &TInstallQDE::SetdrSQLEngine,
       {&TInstallQDE::drTabula},
       {&TInstallQDE::drSQLEngine},
       Names{"QDTAB32.DLL"} + kCore,
       {"QDLSQ32.DLL"}},
      {"QBF cleared, the SQL engine keeps the Tabula library",
       {&TInstallQDE::SetdrSQLEngine, &TInstallQDE::SetdrQBFEngine},
       &TInstallQDE::SetdrQBFEngine,
       {&TInstallQDE::drSQLEngine, &TInstallQDE::drTabula},
       {&TInstallQDE::drQBFEngine},
       Names{"QDTAB32.DLL", "QDLSQ32.DLL"} + kCore,
       {"QDQBF32.DLL"}},
      {"Tabula cleared while the SQL engine needs its library",
       {&TInstallQDE::SetdrSQLEngine},
       &TInstallQDE::SetdrTabula,
       {&TInstallQDE::drSQLEngine, &TInstallQDE::drTabula},
       {},
       Names{"QDTAB32.DLL", "QDLSQ32.DLL"} + kCore,
       kManager},
      {"Ascii cleared, Vault alone keeps the core",
       {&TInstallQDE::SetdrVault, &TInstallQDE::SetdrAscii},
       &TInstallQDE::SetdrAscii,
       {&TInstallQDE::drVault},
       {&TInstallQDE::drAscii},
       kCore + Names{"lcus.qlt", "charset.qcv"},
       Names{"QDTXT32.DLL"} + kManager},
      {"one link cleared takes the link files from the others",
       {&TInstallQDE::SetslKestrel, &TInstallQDE::SetslHeronClassic},
       &TInstallQDE::SetslKestrel,
       {},
       {&TInstallQDE::slKestrel, &TInstallQDE::slHeronClassic},
       {"QLKHCL32.DLL"},
       kLinks + Names{"QLKKST32.DLL"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> form;
    TInstallQDE* group = NewGroup(form);
    for (Setter set : c.on) (group->*set)(true);
    (group->*c.off)(false);
    for (Getter g : c.stillOn) EXPECT_TRUE((group->*g)());
    for (Getter g : c.nowOff) EXPECT_FALSE((group->*g)());
    const Names members = Members(*group);
    for (const std::string& name : Sorted(c.kept))
      EXPECT_TRUE(std::count(members.begin(), members.end(), name)) << name << " was removed";
    for (const std::string& name : Sorted(c.removed))
      EXPECT_FALSE(std::count(members.begin(), members.end(), name)) << name << " is still there";
  }
}

TEST_F(FileSetTest, EngineVersionsDifferInToolsLocaleFilesOdbcAndVault) {
  struct Version {
    const char* what;
    std::function<std::unique_ptr<TQDEFileSet>(TInstallQDE*)> make;
    Names core;  // core with its tool and locale files
    Names odbc;
    bool fullHasVault;
    bool vaultKeepsCore;
    Names localeLeft;  // of the locale files, what RemoveLocaleFiles leaves
  };
  const Version versions[] = {
      {"6.0",
       [](TInstallQDE* g) { return std::make_unique<TQDE60FileSet>(g); },
       kCore + kConfigTool + kLanguagePacks,
       {"QDOBR32.DLL"},
       false,
       false,
       {}},
      {"6.5",
       [](TInstallQDE* g) { return std::make_unique<TQDE65FileSet>(g); },
       kCore + kConfigTool + kLanguagePacks,
       {"QDOBR32.DLL"},
       false,
       false,
       {}},
      {"7.0",
       [](TInstallQDE* g) { return std::make_unique<TQDE70FileSet>(g); },
       kCore + kManager + kLanguagePacks,
       {"QDOBR32.DLL", "QDVOB32.DLL"},
       false,
       false,
       {}},
      {"7.5",
       [](TInstallQDE* g) { return std::make_unique<TQDE75FileSet>(g); },
       kCore + kManager + kLanguagePacks,
       {"QDOBR32.DLL", "QDVOB32.DLL"},
       true,
       true,
       {}},
      {"8.0",
       [](TInstallQDE* g) { return std::make_unique<TQDE80FileSet>(g); },
       kCore + kManager + kLocale80,
       {"QDOBR32.DLL", "QDVOB32.DLL"},
       true,
       true,
       {"qdcvt.dll"}},
  };
  for (const Version& v : versions) {
    SCOPED_TRACE(v.what);
    Owned<TForm> form;
    TInstallQDE* group = NewGroup(form);
    std::unique_ptr<TQDEFileSet> set = v.make(group);

    set->AddODBC();
    EXPECT_EQ(Members(*group), Sorted(v.core + v.odbc));
    EXPECT_TRUE(set->HasODBC());
    set->RemoveODBC();
    EXPECT_EQ(Members(*group), Sorted(v.localeLeft));

    // Vault and Ascii; clearing Ascii leaves Vault alone with the core.
    set->AddVault();
    set->AddAscii();
    set->RemoveAscii();
    EXPECT_EQ(set->HasCore(), v.vaultKeepsCore);
    EXPECT_EQ(set->HasVault(), v.vaultKeepsCore);
    const Names members = Members(*group);
    for (const std::string& tool : Sorted(kManager + kConfigTool))
      EXPECT_FALSE(std::count(members.begin(), members.end(), tool)) << tool;
    set->RemoveVault();
    EXPECT_EQ(Members(*group), Sorted(v.localeLeft));

    set->AddAllDrivers(false);
    EXPECT_TRUE(set->HasFull());
    EXPECT_EQ(set->HasVault(), v.fullHasVault);
    set->RemoveLocaleFiles();
    const Names left = Sorted(v.localeLeft);
    for (const std::string& f : Sorted(kLanguagePacks + kLocale80)) {
      const bool stays = std::count(left.begin(), left.end(), f) > 0;
      EXPECT_EQ(group->FindMember(f) != nullptr, stays) << f;
    }
  }
}

TEST_F(FileSetTest, AnAddedMemberIsAnEngineLibraryOfTheFormInTheGroup) {
  Owned<TForm> form;
  TInstallQDE* group = NewGroup(form);
  New<TInstallFileGroup>(form.get(), "QDEFile");  // the first name is taken
  const int filesBefore = CustomInstallFileList().Count();
  group->SetdrAscii(true);

  auto* ascii = dynamic_cast<TInstallFile*>(group->FindMember("qdtxt32.dll"));
  ASSERT_NE(ascii, nullptr);
  EXPECT_EQ(ascii->Owner(), form.get());
  EXPECT_EQ(ascii->Container(), group);
  EXPECT_TRUE(ascii->Net());
  EXPECT_EQ(ascii->IncludeFromDir(), kEngineDir);
  EXPECT_EQ(ascii->FileName(), "QDTXT32.DLL");
  EXPECT_EQ(ascii->DestName(), "QDTXT32.DLL");
  EXPECT_TRUE(ascii->UpdateDLLCounter());
  EXPECT_EQ(ascii->DestDirType(), form->FindComponent("psContainerDestDir"));
  EXPECT_EQ(ascii->DestDir(), "");
  EXPECT_EQ(ascii->OverwriteMode(), owVersionDate);
  EXPECT_EQ(ascii->FileType(), iftJustADLL);
  EXPECT_EQ(group->FindMember("QDMGR.CPL")->DestDirType(), form->FindComponent("psSystem"));
  EXPECT_EQ(group->FindMember("QDMGR.CPL")->IncludeFromDir(), kEngineDir);

  // Named QDEFile1, QDEFile2 ... in the order added, the template apart.
  EXPECT_EQ(group->FindMember("QDENG32.DLL")->Name(), "QDEFile1");
  EXPECT_EQ(group->FindMember("QDLOC32.DLL")->Name(), "QDEFile2");
  auto* templ = dynamic_cast<TInstallFile*>(group->ConfigTemplate());
  ASSERT_NE(templ, nullptr);
  EXPECT_EQ(templ->Name(), "QDEConfigFile");
  EXPECT_EQ(templ->IncludeFromDir(), kKitDir);
  EXPECT_EQ(templ->OverwriteMode(), owAlways);
  EXPECT_FALSE(templ->UpdateDLLCounter());
  EXPECT_EQ(templ->FileType(), iftNormal);

  // Removing frees the members: gone from the form and the file list.
  const int added = CustomInstallFileList().Count() - filesBefore;
  EXPECT_EQ(added, static_cast<int>(kCore80.size()) + 1);
  group->SetdrAscii(false);
  EXPECT_EQ(CustomInstallFileList().Count(), filesBefore + 1);  // qdcvt.dll
  EXPECT_EQ(form->FindComponent("QDEConfigFile"), nullptr);
  EXPECT_EQ(form->FindComponent("QDEFile1"), nullptr);

  // The applet comes from the system directory when the engine lacks it.
  DeleteMachineFile(EngineFile("QDMGR.CPL"));
  const std::string system = platform::system().SystemDirectory();
  testsupport::TestMachine::WriteFile(system + "\\QDMGR.CPL", "applet");
  group->SetdrAscii(true);
  EXPECT_EQ(group->FindMember("QDMGR.CPL")->IncludeFromDir(), system);
}

TEST_F(FileSetTest, FailuresRaiseTheirMessagesAndLeaveTheFlagOff) {
  const std::string engine = kEngineDir;
  struct Case {
    const char* what;
    std::function<void()> shape;  // the machine's defect
    std::function<void(TInstallQDE*)> act;
    const char* exception;
    std::string message;
    Getter flag;         // stays off; null: none
    const char* absent;  // a member that must not appear
  };
  const Case cases[] = {
      {"a driver's file is missing", [] { DeleteMachineFile(EngineFile("QDTXT32.DLL")); },
       [](TInstallQDE* g) { g->SetdrAscii(true); }, "IEQDEFileDoesNotExist",
       "Cannot find the file " + engine + "\\QDTXT32.DLL to add to the TInstallQDE component.",
       &TInstallQDE::drAscii, "QDTXT32.DLL"},
      {"the kit has no template", [] { DeleteMachineFile(std::string(kKitDir) + "\\QDENG32.CNF"); },
       [](TInstallQDE* g) { g->SetdrFolio(true); }, "IEQDEFileDoesNotExist",
       "Cannot find the QDENG32.CNF file in the Pellmore directory", &TInstallQDE::drFolio,
       "QDENG32.CNF"},
      {"no kit directory", [] { DeleteMachineFile(std::string(kKitDir) + "\\PKIT.TXT"); },
       [](TInstallQDE* g) { g->SetdrFolio(true); }, "IEQDEFileDoesNotExist",
       "Cannot find the QDENG32.CNF file in the Pellmore directory", &TInstallQDE::drFolio,
       "QDENG32.CNF"},
      {"LANGPACKDIR names no directory", [] { SetValue(kLocaleKey, "LANGPACKDIR", "C:\\Gone"); },
       [](TInstallQDE* g) { g->SetdrTabula(true); }, "IEInstallQDE",
       "There is no \\Software\\Quenby\\QDLOC32 key in the registry, no entries in this key, or "
       "the LANGPACKDIR entry does not point to a valid directory. Therefore the .QLL files could "
       "not be added",
       &TInstallQDE::drTabula, "lcus.qlt"},
      {"LANGPACKDIR is empty", [] { SetValue(kLocaleKey, "LANGPACKDIR", ""); },
       [](TInstallQDE* g) { g->SetdrTabula(true); }, "IEInstallQDE",
       "There is no \\Software\\Quenby\\QDLOC32 key", &TInstallQDE::drTabula, "lcus.qlt"},
      {"no QDLOC32 key (8.0)",
       [] { platform::registry().DeleteKey(platform::RootKey::LocalMachine, kLocaleKey); },
       [](TInstallQDE* g) { g->SetdrTabula(true); }, "IEInstallQDE",
       "There is no \\Software\\Quenby\\QDLOC32 key", &TInstallQDE::drTabula, "lcus.qlt"},
      {"no QDLOC32 key (7.5)",
       [] { platform::registry().DeleteKey(platform::RootKey::LocalMachine, kLocaleKey); },
       [](TInstallQDE* g) { TQDE75FileSet(g).AddAscii(); }, "IEInstallQDE",
       "There is no \\Software\\Quenby\\QDLOC32 key", nullptr, "QDE0009.QLL"},
      {"QDLOC32 without values (6.0)",
       [] {
         for (const char* v : {"LANGPACKDIR", "LANGPACK1", "LANGPACK2", "LANGPACK3", "OTHER"})
           platform::registry().DeleteValue(platform::RootKey::LocalMachine, kLocaleKey, v);
       },
       [](TInstallQDE* g) { TQDE60FileSet(g).AddAscii(); }, "IEInstallQDE",
       "There is no \\Software\\Quenby\\QDLOC32 key", nullptr, "QDE0009.QLL"},
      {"no Osprey entry",
       [] {
         platform::registry().DeleteValue(platform::RootKey::LocalMachine,
                                          "SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION",
                                          "HomeDir");
       },
       [](TInstallQDE* g) { g->SetslOsprey(true); }, "IEQDENoOspreyEntry",
       "Cannot find the \\SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION | HomeDir registry "
       "entry in your registry under the HKEY_LOCAL_MACHINE root key",
       &TInstallQDE::slOsprey, "OSPREY.MSG"},
      {"no Osprey message file",
       [] { DeleteMachineFile(std::string(kOspreyHome) + "\\OSPREY.MSG"); },
       [](TInstallQDE* g) { g->SetslOsprey(true); }, "IEQDENoOspreyMsgFile",
       "The Osprey MSG file could not be found", &TInstallQDE::slOsprey, "OSPMSG.MSG"},
      {"a file set without group", [] {}, [](TInstallQDE*) { TQDE80FileSet set(nullptr); },
       "Exception", "Cannot create QDE file set without passing valid InstallQDE", nullptr,
       "QDENG32.DLL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Each case on the whole fake engine with just its one defect.
    InstallFakeEngine();
    c.shape();
    Owned<TForm> form;
    TInstallQDE* group = NewGroup(form);
    try {
      c.act(group);
      ADD_FAILURE() << "nothing raised";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), c.exception);
      EXPECT_THAT(e.Message(), StartsWith(c.message));
    }
    if (c.flag) {
      EXPECT_FALSE((group->*c.flag)());
    }
    EXPECT_EQ(group->FindMember(c.absent), nullptr);
  }

  // The server's own key names the Osprey home before the client's does,
  // and the older message file name serves when the newer is missing.
  InstallFakeEngine();
  DeleteMachineFile(std::string(kOspreyHome) + "\\OSPREY.MSG");
  SetValue("SOFTWARE\\OSPREY\\SERVER\\CURRENTVERSION", "HomeDir", "C:\\OspreyServer");
  testsupport::TestMachine::WriteFile("C:\\OspreyServer\\OSPMSG.MSG", "old messages");
  Owned<TForm> form;
  TInstallQDE* group = NewGroup(form);
  group->SetslOsprey(true);
  EXPECT_TRUE(group->slOsprey());
  ASSERT_NE(group->FindMember("OSPMSG.MSG"), nullptr);
  EXPECT_EQ(group->FindMember("OSPMSG.MSG")->IncludeFromDir(), "C:\\OspreyServer");
  EXPECT_EQ(group->FindMember("OSP_KEY.DAT")->IncludeFromDir(), kKitDir);
  EXPECT_EQ(group->FindMember("OSPCLI32.DLL")->IncludeFromDir(),
            platform::system().SystemDirectory());
}

}  // namespace
}  // namespace dbenginetest
