// The authoring command: a form with the engine group and its member files
// has a flag cleared and set again; the written form lacks, then holds, the
// feature's members and reads again with the flags it says. Unknown flags
// and kit errors leave the form file untouched, from the command line too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "FakeEngine.h"
#include "app/SetupRegistration.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "support/Fixture.h"
#include "support/SimMachineHome.h"
#include "support/TestMachine.h"
#include "tools/author/Author.h"
#include "tools/pack/DesignForm.h"

namespace dbenginetest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// The engine group of an 8.2 distribution with its declared member files.
std::string EngineForm() {
  struct Member {
    const char* file;
    int order, id;
  };
  const Member members[] = {
      {"QDENG32.DLL", 0, 1},    {"QDLOC32.DLL", 30, 2},  {"QDDRV32.DLL", 29, 3},
      {"QDBMV32.DLL", 28, 4},   {"lceast.qlt", 26, 6},   {"lcwest.qlt", 25, 7},
      {"lcasia.qlt", 24, 8},    {"lcjpn.qlt", 23, 9},    {"lcmisc.qlt", 22, 10},
      {"lcus.qlt", 21, 11},     {"charset.qcv", 20, 12}, {"qdcvt.dll", 19, 13},
      {"QDRS0009.DLL", 18, 14}, {"QDMGR.EXE", 17, 16},   {"QDMGR.HLP", 16, 17},
      {"QDMGR.CNT", 15, 18},    {"QDMGR.CPL", 14, 19},   {"QDVLT32.DLL", 13, 20},
      {"QDVOB32.DLL", 12, 21},  {"QDTXT32.DLL", 11, 22}, {"QDFOL32.DLL", 10, 23},
      {"QDOBR32.DLL", 9, 24},   {"QDTAB32.DLL", 8, 25},  {"QDLSQ32.DLL", 7, 26},
      {"QDQBF32.DLL", 6, 27},   {"QLKKST32.DLL", 5, 30}, {"QLKHCL32.DLL", 4, 31},
      {"QLKOSP32.DLL", 3, 32},  {"SRVLNK32.HLP", 2, 28}, {"SRVLNK32.CNT", 1, 29},
  };
  std::ostringstream f;
  f << "object Form1: TForm\n";
  for (const char* ps : {"QDEDLL", "CommonFiles", "ContainerArchiveFile", "ContainerDestDir",
                         "MainInstall", "ProgramFiles", "System", "MainArchiveFile", "Window"})
    f << "  object ps" << ps << ": Tps" << ps << "\n  end\n";
  f << "  object Install1: TInstall\n"
       "    DestDirType = psQDEDLL\n"
       "    Information.ProductName = 'Quenby Database Engine'\n"
       "    InstallTypes = [itCustom]\n"
       "  end\n"
       "  object QDE: TInstallQDE\n"
       "    ArchiveFileType = psContainerArchiveFile\n"
       "    Container = Install1\n"
       "    DestDirType = psQDEDLL\n"
       "    Order = 0\n"
       "    drVault = True\n    drAscii = True\n    drFolio = True\n    drFull = True\n"
       "    drODBC = True\n    drTabula = True\n    drSQLEngine = True\n"
       "    drQBFEngine = True\n"
       "    LanguageDLL = '0009'\n"
       "    slKestrel = True\n    slHeronClassic = True\n"
       "    ServerLinkEntries.Strings = (\n"
       "      '[SESSION-KESTREL]'\n      'HOST=KST_SERVER'\n      '  ')\n"
       "  end\n";
  const auto common = [&](const char* file, int order, int id) {
    f << "    ArchiveFileType = psContainerArchiveFile\n    Container = QDE\n"
      << "    Net = True\n    Order = " << order << "\n    DestName = '" << file << "'\n"
      << "    FileName = '" << file << "'\n    UniqueID = " << id << "\n";
  };
  f << "  object QDEConfigFile: TInstallFile\n";
  common("QDENG32.CNF", 27, 5);
  f << "    DestDirType = psContainerDestDir\n    IncludeFromDir = '" << kKitDir << "'\n  end\n";
  int n = 0;
  for (const Member& m : members) {
    f << "  object QDEFile" << (n ? std::to_string(n) : "") << ": TInstallFile\n";
    ++n;
    common(m.file, m.order, m.id);
    f << "    DestDirType = "
      << (std::string(m.file) == "QDMGR.CPL" ? "psSystem" : "psContainerDestDir")
      << "\n    IncludeFromDir = '" << kEngineDir << "'\n"
      << "    FileType = iftJustADLL\n    OverwriteMode = owVersionDate\n"
      << "    UpdateDLLCounter = True\n  end\n";
  }
  f << "end\n";
  return f.str();
}

class AuthoringTest : public PellmoreTest {
 protected:
  AuthoringTest() : machine_(testsupport::ScratchNamed("pellmore-author")) {
    RegisterSetupClasses(ClassRegistry::Global());
    InstallFakeEngine();
  }
  testsupport::TestMachine machine_;
};

TEST_F(AuthoringTest, ClearingAndSettingVaultRewritesTheFormsMembers) {
  const std::string form = EngineForm();
  // Vault alone leaves the object library to ODBC; clearing ODBC too takes
  // it (and, through the core rule, the administrator tool, which comes
  // back with the core).
  const author::AuthorResult cleared =
      author::SetEngineFlags(form, "Engine.dfm", {{"drvault", false}, {"drODBC", false}});
  ASSERT_EQ(cleared.changes.size(), 2u);
  const author::FlagChange& vault = cleared.changes[0];
  EXPECT_EQ(vault.flag, "drVault");
  EXPECT_TRUE(vault.before);
  EXPECT_FALSE(vault.after);
  EXPECT_EQ(Sorted(vault.removed), (std::vector<std::string>{"QDMGR.CNT", "QDMGR.CPL", "QDMGR.EXE",
                                                             "QDMGR.HLP", "QDVLT32.DLL"}));
  EXPECT_TRUE(vault.added.empty());
  EXPECT_THAT(author::DescribeChange(vault), StartsWith("drVault = False: removed "));
  EXPECT_EQ(Sorted(cleared.changes[1].removed),
            (std::vector<std::string>{"QDOBR32.DLL", "QDVOB32.DLL"}));
  EXPECT_THAT(cleared.formText, HasSubstr("drVault = False"));
  EXPECT_THAT(cleared.formText, HasSubstr("drODBC = False"));
  EXPECT_THAT(cleared.formText, Not(HasSubstr("QDVLT32.DLL")));
  EXPECT_THAT(cleared.formText, Not(HasSubstr("QDVOB32.DLL")));
  EXPECT_THAT(cleared.formText, HasSubstr("QDTXT32.DLL"));  // the other drivers stay

  const author::AuthorResult set =
      author::SetEngineFlags(cleared.formText, "Engine.dfm", {{"drVault", true}});
  const std::vector<std::string> vaultAndTool = {"QDMGR.CNT", "QDMGR.CPL",   "QDMGR.EXE",
                                                 "QDMGR.HLP", "QDVLT32.DLL", "QDVOB32.DLL"};
  EXPECT_EQ(Sorted(set.changes[0].added), vaultAndTool);
  EXPECT_TRUE(set.changes[0].removed.empty());
  EXPECT_THAT(set.formText, HasSubstr("drVault = True"));

  // The written form reads again, with the members and flags it says.
  Owned<TComponent> root = pack::ReadAtDesignTime(set.formText, "Engine.dfm");
  TInstallQDE* group = QDEGroup();
  ASSERT_NE(group, nullptr);
  for (bool on : {group->drVault(), group->drAscii(), group->drSQLEngine(), group->slKestrel(),
                  group->slHeronClassic()})
    EXPECT_TRUE(on);
  // ODBC's bridge stays out; Osprey's client library and key were never in.
  for (bool off : {group->drODBC(), group->drFull(), group->slOsprey()}) EXPECT_FALSE(off);
  ASSERT_NE(group->FindMember("QDVLT32.DLL"), nullptr);
  EXPECT_EQ(group->FindMember("QDVLT32.DLL")->IncludeFromDir(), kEngineDir);
  EXPECT_EQ(group->ServerLinkEntries()->Strings(0), "[SESSION-KESTREL]");
}

TEST_F(AuthoringTest, RefusedRequestsChangeNothing) {
  const std::string form = EngineForm();
  try {
    author::SetEngineFlags(form, "Engine.dfm", {{"drAscii", false}, {"drParadise", true}});
    ADD_FAILURE() << "an unknown flag was accepted";
  } catch (const Exception& e) {
    EXPECT_THAT(e.Message(), HasSubstr("Unknown engine flag drParadise"));
    EXPECT_THAT(e.Message(), HasSubstr("drVault, drAscii, drFolio, drFull, drODBC, drTabula, "
                                       "drSQLEngine, drQBFEngine, slKestrel, slHeronClassic, "
                                       "slOsprey, slPlover, slWren, slTern, slHeronNext"));
  }
  EXPECT_THROW(
      author::SetEngineFlags("object Form1: TForm\nend\n", "Bare.dfm", {{"drVault", true}}),
      Exception);

  // From the command line: the kit's message, exit 1, the form as it was.
  const std::string dir = machine_.Home().Dir().String();
  const std::string file = dir + "/Engine.dfm";
  std::ofstream(file, std::ios::binary) << form;
  DeleteMachineFile(std::string(kOspreyHome) + "\\OSPREY.MSG");
  const std::string machineDir = machine_.Home().MachineDir();
  const auto run = [&](const std::string& args) {
    const std::string command = std::string("'") + PELLMORE_AUTHOR_EXE + "' '" + machineDir +
                                "' '" + file + "' " + args + " >'" + dir + "/out.txt' 2>'" + dir +
                                "/err.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const auto host = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(run("-drAscii +slOsprey"), 1);
  EXPECT_THAT(host(dir + "/err.txt"), HasSubstr("The Osprey MSG file could not be found"));
  EXPECT_EQ(host(file), form);

  EXPECT_EQ(run("-drAscii -o '" + dir + "/Out.dfm'"), 0);
  EXPECT_THAT(host(dir + "/out.txt"), StartsWith("drAscii = False: removed "));
  EXPECT_THAT(host(dir + "/out.txt"), HasSubstr("QDTXT32.DLL"));
  EXPECT_EQ(host(file), form);
  EXPECT_THAT(host(dir + "/Out.dfm"), HasSubstr("drAscii = False"));
  EXPECT_EQ(run("-drAscii -o '" + dir + "/missing/Out.dfm'"), 1);
  EXPECT_THAT(host(dir + "/err.txt"), HasSubstr("missing/Out.dfm"));
}

}  // namespace
}  // namespace dbenginetest
