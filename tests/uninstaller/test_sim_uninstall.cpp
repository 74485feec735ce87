// The uninstall program on simulated machines: the manifest's text, the
// command line, a whole uninstall scenario (shared DLL of a second program,
// engine still in use then its last user gone, a file that was there
// before, a help entry, an ActiveX library, a shortcut folder), and a table
// of damaged or surprising records in which nothing unnamed is touched.
#include <gmock/gmock.h>

#include <functional>

#include "files/UninstallManifest.h"
#include "framework/WidgetsetSlot.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "shell/routines_Registry.h"
#include "support/TestMachine.h"
#include "tools/pegen/PeWriter.h"
#include "uninstaller/Uninstall.h"
#include "uninstaller/UninstallProgram.h"

namespace uninstaller {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr auto kHKLM = platform::RootKey::LocalMachine;
const std::string kProduct = "Quenby Tools";
const std::string kKey = UninstallKeyOf(kProduct);
const char* const kShared = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kHelp = "\\SOFTWARE\\Microsoft\\Windows\\Help";

// --- the manifest's text and the command line ----------------------------------------------

TEST(UninstallManifest, RoundTripsAndRefusesDamagedTextWithoutGuessing) {
  const ManifestEntry e{1234, 0x00ABCDEF, true, "grp;Engine"};
  std::string why;
  EXPECT_EQ(EncodeManifestEntry(e), "size=1234;crc32=00ABCDEF;existed=1;group=grp;Engine");
  EXPECT_EQ(DecodeManifestEntry(EncodeManifestEntry(e), why), e);

  struct Case {
    const char* text;
    const char* why;
  };
  const Case cases[] = {
      {"", "no size"},
      {"size=;crc32=00000000;existed=0;group=", "no size"},
      {"size=-1;crc32=00000000;existed=0;group=", "no size"},
      {"size=12x;crc32=00000000;existed=0;group=", "no size"},
      {"size=99999999999999999999999;crc32=00000000;existed=0;group=", "no size"},
      {"size=1;crc32=0000;existed=0;group=", "no CRC-32"},
      {"size=1;crc32=0000000G;existed=0;group=", "no CRC-32"},
      {"size=1;crc=00000000;existed=0;group=", "no CRC-32"},
      {"size=1;crc32=00000000;existed=2;group=", "no existed flag"},
      {"size=1;crc32=00000000;existed=1", "no existed flag"},
      {"size=1;crc32=00000000;existed=1;", "no group"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    why.clear();
    EXPECT_EQ(DecodeManifestEntry(c.text, why), std::nullopt);
    EXPECT_EQ(why, c.why);
  }
  // Cut at every length: refused or decoded, never a crash or a read past the end.
  const std::string full = EncodeManifestEntry(e);
  for (size_t n = 0; n < full.size(); ++n) (void)DecodeManifestEntry(full.substr(0, n), why);
}

TEST(UninstallCommandLine, TheProductIsEverythingAfterTheProgram) {
  struct Case {
    const char* line;
    const char* product;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Quenby\\uninstall.exe Quenby Database Engine", "Quenby Database Engine"},
      {"\"C:\\Program Files\\Quenby\\uninstall.exe\" Quenby Database Engine",
       "Quenby Database Engine"},
      {"C:\\PROGRA~1\\Quenby\\UNINST~1.EXE \"Quenby Tools\"", "Quenby Tools"},
      {"C:\\my.exe.files\\uninstall.exe  Product.exe Suite ", "Product.exe Suite"},
      {"uninstall", ""},
      {"C:\\Quenby\\uninstall.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ProductFromCommandLine(c.line), c.product);
  }
}

// --- a machine with an installation recorded ------------------------------------------------

class UninstallRun : public ::testing::Test {
 public:
  testsupport::TestMachine machine;

  static void Put(const std::string& path, const std::string& bytes = "bytes of a file") {
    testsupport::TestMachine::WriteFile(path, bytes);
  }
  static bool Exists(const std::string& path) { return platform::files().Stat(path).has_value(); }
  static void Str(const std::string& key, const std::string& name, const std::string& data) {
    WriteRegString(kRootLocalMachine, key, name, data);
  }
  static std::optional<uint32_t> Count(const std::string& name) {
    const auto v = platform::registry().ReadValue(kHKLM, kShared, name);
    return v ? std::optional<uint32_t>(v->dword) : std::nullopt;
  }
  static void SetCount(const std::string& name, uint32_t n) {
    platform::registry().CreateKey(kHKLM, kShared);
    platform::registry().WriteValue(kHKLM, kShared, name, platform::RegValue::DWordValue(n));
  }
  // Records `path` as the installation does: a file put in place, its
  // record under Files, its manifest entry.
  void Installed(const std::string& path, const std::string& group = "grpTools",
                 bool existed = false, const std::string& bytes = "bytes of a file") {
    if (!existed) Put(path, bytes);
    Record("Files", path);
    WriteManifestEntry(kKey, path, path, existed, group);
  }
  void Record(const std::string& sub, const std::string& data) {
    const std::string key = kKey + "\\" + sub;
    const int n = std::stoi(ReadRegString(kRootLocalMachine, key, "Entries", "0")) + 1;
    Str(key, "File" + std::to_string(n), data);
    Str(key, "Entries", std::to_string(n));
  }
  void Registered() {
    Put("C:\\Quenby\\uninstall.exe", "the uninstall program");
    Str(kKey, "DisplayName", kProduct);
    Str(kKey, "UninstallString", "C:\\Quenby\\uninstall.exe " + kProduct);
  }
  void Running(const std::string& program) {
    machine.Sim()->ChangeSettings([&](platform::sim::MachineSettings& s) { s.program = program; });
  }
};

TEST_F(UninstallRun, RemovesWhatTheInstallationRecordedAndKeepsWhatOthersStillUse) {
  Registered();
  Running("C:\\Quenby\\uninstall.exe");
  // The product's own files, a help file, a shortcut in a folder of its
  // own, a DLL a second program shares, a file that was there before.
  Installed("C:\\Quenby\\Bin\\tools.exe");
  Installed("C:\\Quenby\\Bin\\TOOLS.HLP");
  Str(kHelp, "TOOLS.HLP", "C:\\Quenby\\Bin");
  Str(kHelp, "OTHER.HLP", "C:\\Other");
  const std::string programs =
      platform::registry()
          .ReadValue(platform::RootKey::CurrentUser,
                     "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Programs")
          .value()
          .text;
  Put(programs + "\\Quenby\\Tools.lnk", "shortcut");
  Record("Files", programs + "\\Quenby\\Tools.lnk");
  Installed("C:\\Windows\\System\\QTSHARE.DLL");
  SetCount("C:\\Windows\\System\\QTSHARE.DLL", 2);
  Put("C:\\Windows\\System\\QTOLD.DLL", "an older program's copy");
  Installed("C:\\Windows\\System\\QTOLD.DLL", "grpTools", /*existed=*/true);
  // An ActiveX library that unregisters.
  Put("C:\\Quenby\\Bin\\qtctl.ocx", [] {
    pegen::PeOptions o;
    o.exports = {{"DllRegisterServer", 0, 0}, {"DllUnregisterServer", 0, 0}};
    const auto pe = pegen::BuildPe(o);
    return std::string(pe.begin(), pe.end());
  }());
  Record("ActiveX", "C:\\Quenby\\Bin\\qtctl.ocx;0");
  WriteManifestEntry(kKey, "C:\\Quenby\\Bin\\qtctl.ocx", "C:\\Quenby\\Bin\\qtctl.ocx", false,
                     "grpTools");
  // The engine, used by another program too.
  Installed("C:\\Quenby\\Engine\\QDENG32.DLL", "grpEngine");
  SetCount("C:\\Quenby\\Engine\\QDENG32.DLL", 2);
  Str(kKey + "\\QDE", "Entries", "1");
  Str(kKey + "\\QDE", "Group", "grpEngine");
  Str(kEngineKey, "USECOUNT", "2");
  Put("C:\\Quenby\\notes.txt", "the user's own notes: no record names them");

  const UninstallPlan plan = ReadUninstallPlan(kProduct);
  EXPECT_THAT(plan.problems, IsEmpty());
  const UninstallResult r = uninstaller::Uninstall(plan);

  for (const std::string& gone : std::vector<std::string>{
           ("C:\\Quenby\\Bin\\tools.exe"), "C:\\Quenby\\Bin\\TOOLS.HLP",
           "C:\\Quenby\\Bin\\qtctl.ocx", "C:\\Quenby\\Bin", programs + "\\Quenby"})
    EXPECT_FALSE(Exists(gone)) << gone;
  // Untouched: the shell folder, the shared DLL with one use less, the
  // older copy, the engine with its count, the user's file.
  EXPECT_TRUE(Exists(programs));
  EXPECT_TRUE(Exists("C:\\Windows\\System\\QTSHARE.DLL"));
  EXPECT_EQ(Count("C:\\Windows\\System\\QTSHARE.DLL"), 1u);
  EXPECT_EQ(testsupport::TestMachine::ReadFile("C:\\Windows\\System\\QTOLD.DLL"),
            "an older program's copy");
  EXPECT_TRUE(Exists("C:\\Quenby\\Engine\\QDENG32.DLL"));
  EXPECT_EQ(Count("C:\\Quenby\\Engine\\QDENG32.DLL"), 1u);
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kEngineKey, "USECOUNT", ""), "1");
  EXPECT_TRUE(Exists("C:\\Quenby\\notes.txt"));
  // Registrations and records.
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kHelp, "TOOLS.HLP", "-"), "-");
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kHelp, "OTHER.HLP", "-"), "C:\\Other");
  EXPECT_FALSE(platform::registry().KeyExists(kHKLM, kKey));
  EXPECT_THAT(machine.Sim()->Starts(), IsEmpty()) << "unregistering is no registration";
  // The running uninstall program goes at the restart; its folder stays
  // (the user's notes are in it).
  EXPECT_THAT(r.ownAtRestart, ElementsAre("C:\\Quenby\\uninstall.exe"));
  EXPECT_THAT(r.notRemoved, IsEmpty());
  EXPECT_THAT(r.notes, IsEmpty());
  EXPECT_THAT(r.damaged, IsEmpty());
  EXPECT_THAT(r.kept,
              ElementsAre(HasSubstr("QTSHARE.DLL: still used by other programs (shared count 1)"),
                          HasSubstr("QTOLD.DLL: it was there before the installation"),
                          HasSubstr("QDENG32.DLL: the engine stays")));
  EXPECT_EQ(ExitCodeOf(r), kUninstallDone);
  machine.Sim()->Restart();
  EXPECT_FALSE(Exists("C:\\Quenby\\uninstall.exe"));
  EXPECT_TRUE(Exists("C:\\Quenby\\notes.txt"));
}

TEST_F(UninstallRun, TheEnginesLastUserTakesItsFilesConfigurationAndKeysAndTheEmptyFolders) {
  Registered();
  Running("C:\\Quenby\\uninstall.exe");
  Installed("C:\\Quenby\\Engine\\QDENG32.DLL", "grpEngine");
  Installed("C:\\Quenby\\Engine\\QDENG32.CNF", "grpEngine");
  SetCount("C:\\Quenby\\Engine\\QDENG32.DLL", 1);
  Str(kKey + "\\QDE", "Entries", "1");
  Str(kKey + "\\QDE", "Group", "grpEngine");
  Str(kEngineKey, "USECOUNT", "1");
  Put("C:\\Quenby\\Engine\\qdeng32.cfg", "[engine]");
  Str(kEngineKey, "CONFIGPATH", "C:\\Quenby\\Engine\\qdeng32.cfg");
  Str(kEngineKey + std::string("\\Settings"), "CHARSET", "ascii");
  Str("\\Software\\Quenby\\Other", "Kept", "1");

  const UninstallResult r = uninstaller::Uninstall(ReadUninstallPlan(kProduct));
  EXPECT_TRUE(r.engineRemoved);
  EXPECT_FALSE(Exists("C:\\Quenby\\Engine"));
  EXPECT_EQ(Count("C:\\Quenby\\Engine\\QDENG32.DLL"), std::nullopt);
  EXPECT_FALSE(platform::registry().KeyExists(kHKLM, kEngineKey));
  EXPECT_TRUE(platform::registry().KeyExists(kHKLM, "\\Software\\Quenby\\Other"));
  // Only the running program keeps its folder until the restart.
  EXPECT_THAT(r.ownAtRestart, ElementsAre("C:\\Quenby\\uninstall.exe", "C:\\Quenby"));
  EXPECT_THAT(r.atRestart, IsEmpty());
  EXPECT_EQ(ExitCodeOf(r), kUninstallDone);
  machine.Sim()->Restart();
  EXPECT_FALSE(Exists("C:\\Quenby"));
  EXPECT_TRUE(Exists("C:\\Program Files"));
}

// --- damaged records and surprising files ------------------------------------------------------

TEST_F(UninstallRun, DamagedRecordsAndSurprisingFilesAreReportedAndNothingUnnamedIsTouched) {
  struct Case {
    const char* what;
    std::function<void(UninstallRun&)> shape;
    const char* report;  // a line of notes, kept or notRemoved
    std::vector<std::string> stays;
    int exitCode;
  };
  const std::string a = "C:\\Quenby\\a.dll";
  const Case cases[] = {
      {"Entries not a number",
       [&](UninstallRun& t) {
         t.Installed(a);
         t.Str(kKey + "\\Files", "Entries", "one");
       },
       "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Tools\\Files: "
       "\"Entries\" is not a count (\"one\"); the files recorded there were left alone",
       {a},
       kUninstallIncomplete},
      {"Entries claims more than there are",
       [&](UninstallRun& t) {
         t.Installed(a);
         t.Str(kKey + "\\Files", "Entries", "2");
       },
       "\"File2\" is missing",
       {},
       kUninstallIncomplete},
      {"a relative path",
       [&](UninstallRun& t) {
         t.Put("C:\\Quenby\\rel.dll");
         t.Record("Files", "Quenby\\rel.dll");
       },
       "\"File1\" (Quenby\\rel.dll) is not a full path; skipped",
       {"C:\\Quenby\\rel.dll"},
       kUninstallIncomplete},
      {"a path climbing out",
       [&](UninstallRun& t) {
         t.Put("C:\\Windows\\win.ini", "[windows]");
         t.Record("Files", "C:\\Quenby\\..\\Windows\\win.ini");
       },
       "is not a plain path; skipped",
       {"C:\\Windows\\win.ini"},
       kUninstallIncomplete},
      {"a path climbing out by forward slashes",
       [&](UninstallRun& t) {
         t.Put("C:\\Windows\\win.ini", "[windows]");
         t.Record("Files", "C:\\Quenby\\x/../../Windows\\win.ini");
       },
       "is not a plain path; skipped",
       {"C:\\Windows\\win.ini"},
       kUninstallIncomplete},
      {"a path climbing out by dots and blanks",
       [&](UninstallRun& t) {
         t.Put("C:\\Quenby\\Data\\keep.db");
         t.Record("ActiveX", "C:\\Quenby\\Data\\. .\\keep.db;0");
       },
       "is not a plain path; skipped",
       {"C:\\Quenby\\Data\\keep.db"},
       kUninstallIncomplete},
      {"a folder",
       [&](UninstallRun& t) {
         t.Put("C:\\Quenby\\Data\\keep.db");
         t.Record("Files", "C:\\Quenby\\Data");
       },
       "(C:\\Quenby\\Data) is a folder; skipped",
       {"C:\\Quenby\\Data\\keep.db"},
       kUninstallIncomplete},
      {"an ActiveX record without its flag",
       [&](UninstallRun& t) {
         t.Put(a);
         t.Record("ActiveX", a);
       },
       "does not say how it was registered",
       {a},
       kUninstallIncomplete},
      {"a file already gone",
       [&](UninstallRun& t) {
         t.Installed(a);
         platform::files().DeleteFile(a);
       },
       "C:\\Quenby\\a.dll: was already gone",
       {},
       kUninstallDone},
      {"a file changed since",
       [&](UninstallRun& t) {
         t.Installed(a);
         testsupport::TestMachine::WriteFile(a, "the user edited this");
       },
       "C:\\Quenby\\a.dll: it changed since the installation",
       {a},
       kUninstallDone},
      {"a damaged manifest entry",
       [&](UninstallRun& t) {
         t.Installed(a);
         t.Str(kKey + "\\Manifest", a, "size=x");
       },
       "C:\\Quenby\\a.dll: its manifest entry is damaged (no size)",
       {a},
       kUninstallDone},
      {"a file in use",
       [&](UninstallRun& t) {
         t.Installed(a);
         t.machine.Sim()->Hold(a);
       },
       "",
       {a},
       kUninstallRestart},
      {"a library that will not unregister",
       [&](UninstallRun& t) {
         t.Put(a);
         t.Record("ActiveX", a + ";0");
       },
       "C:\\Quenby\\a.dll: could not be loaded to unregister it",
       {a},
       kUninstallIncomplete},
      {"engine count not a number",
       [&](UninstallRun& t) {
         t.Installed(a, "grpEngine");
         t.Str(kKey + "\\QDE", "Entries", "1");
         t.Str(kKey + "\\QDE", "Group", "grpEngine");
         t.Str(kEngineKey, "USECOUNT", "many");
       },
       "\"USECOUNT\" is not a count (\"many\"); the engine was left as it is",
       {a},
       kUninstallIncomplete},
      {"engine record without its group",
       [&](UninstallRun& t) {
         t.Installed(a);
         t.Str(kKey + "\\QDE", "Entries", "1");
         t.Str(kEngineKey, "USECOUNT", "1");
       },
       "\"Group\" is missing, so the engine's files cannot be told",
       {},
       kUninstallIncomplete},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    machine.Replace({});
    Registered();
    Put("C:\\Quenby\\unnamed.txt", "no record names me");
    c.shape(*this);
    const UninstallResult r = uninstaller::Uninstall(ReadUninstallPlan(kProduct));
    std::vector<std::string> lines = r.notes;
    lines.insert(lines.end(), r.damaged.begin(), r.damaged.end());
    lines.insert(lines.end(), r.kept.begin(), r.kept.end());
    lines.insert(lines.end(), r.notRemoved.begin(), r.notRemoved.end());
    if (*c.report) {
      EXPECT_THAT(lines, Contains(HasSubstr(c.report)));
    }
    for (const std::string& s : c.stays) EXPECT_TRUE(Exists(s)) << s;
    EXPECT_EQ(testsupport::TestMachine::ReadFile("C:\\Quenby\\unnamed.txt"), "no record names me");
    EXPECT_EQ(ExitCodeOf(r), c.exitCode);
    EXPECT_FALSE(platform::registry().KeyExists(kHKLM, kKey));
    if (std::string(c.what) == "a file in use") {
      EXPECT_THAT(r.atRestart, ElementsAre(a));
      machine.Sim()->Restart();
      EXPECT_FALSE(Exists(a));
    }
  }
}

// --- the program's questions ------------------------------------------------------------------

TEST_F(UninstallRun, AsksFirstAndAnUnknownProductChangesNothing) {
  std::vector<std::string> transcript;
  auto use = [&](const std::string& script) {
    platform::headless::HeadlessOptions o;
    o.script = script;
    o.scriptName = "uninstall.ui";
    o.transcript = [&](std::string_view line) { transcript.emplace_back(line); };
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(std::move(o)));
  };
  Registered();
  Installed("C:\\Quenby\\a.dll");
  use("answer No\n");
  EXPECT_EQ(RunUninstallProgram("C:\\Quenby\\uninstall.exe " + kProduct), kUninstallCancelled);
  EXPECT_TRUE(Exists("C:\\Quenby\\a.dll"));
  EXPECT_TRUE(platform::registry().KeyExists(kHKLM, kKey));

  use("");
  EXPECT_EQ(RunUninstallProgram("C:\\Quenby\\uninstall.exe Some Other Product"), kUninstallFailed);
  EXPECT_EQ(RunUninstallProgram("C:\\Quenby\\uninstall.exe"), kUninstallFailed);
  EXPECT_EQ(RunUninstallProgram("C:\\Quenby\\uninstall.exe ..\\..\\Run"), kUninstallFailed);
  EXPECT_TRUE(Exists("C:\\Quenby\\a.dll"));

  use("answer Yes\nanswer OK\n");
  EXPECT_EQ(RunUninstallProgram("C:\\Quenby\\uninstall.exe " + kProduct), kUninstallDone);
  EXPECT_FALSE(Exists("C:\\Quenby\\a.dll"));
  std::string all;
  for (const auto& l : transcript) all += l + "\n";
  EXPECT_THAT(all, HasSubstr("Some Other Product is not installed on this computer"));
  EXPECT_THAT(all, HasSubstr("Do you want to remove Quenby Tools and all of its components"));
  EXPECT_THAT(all, HasSubstr("Quenby Tools was removed from this computer."));
  InstallWidgetset(nullptr);
}

}  // namespace
}  // namespace uninstaller
