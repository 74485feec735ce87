// The demo sample uninstalled end to end: the setup installs it (with the
// kit's uninstall program, registered as "UninstallString"), then the
// uninstall program runs as Windows would start it from that string,
// answered by a UI script. Alone on the machine nothing of the product is
// left once the restart removed the uninstall program; next to a second
// program that shares the engine library, a file that was there before and
// the user's own file, exactly those stay. The sample's program-menu folder
// with its two shortcuts goes in both cases.
#include <gmock/gmock.h>

#include "InstallRunFixture.h"
#include "framework/StrUtils.h"
#include "platform/ShellLinks.h"

namespace e2e {
namespace {

using platform::RootKey;

const char* const kProductKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database Engine";
const char* const kSharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
const char* const kBase = "C:\\Program Files\\Quenby";

// The demo form with the engine library counted as a shared DLL and the
// manager's help file registered.
std::string CountingForm() {
  std::string text = ReadHostFile(PELLMORE_DEMO_FORM);
  for (const auto& [file, flag] :
       {std::pair{"QDENG32.DLL", "UpdateDLLCounter"}, std::pair{"QDMGR.HLP", "RegisterAsHelp"}}) {
    const std::string line = std::string("    FileName = '") + file + "'\n";
    const size_t at = text.find(line);
    if (at == std::string::npos) return {};
    text.insert(at + line.size(), std::string("    ") + flag + " = True\n");
  }
  return text;
}

TEST_F(InstallRun, TheDemoSampleUninstallsThroughItsRegisteredProgram) {
  struct Case {
    const char* what;
    bool neighbours;  // a second program, a file there before, the user's file
  };
  const std::string engineDll = std::string(kEngineDir) + "\\QDENG32.DLL";
  const std::string older = std::string(kEngineDir) + "\\lcus.qlt";
  const std::string notes = std::string(kEngineDir) + "\\notes.txt";
  const std::string program = std::string(kBase) + "\\uninstall.exe";
  const std::string form = WriteForm("counting.dfm", CountingForm());
  ASSERT_FALSE(CountingForm().empty());
  for (const Case c : {Case{"alone", false}, Case{"with neighbours", true}}) {
    SCOPED_TRACE(c.what);
    FreshTarget();
    if (c.neighbours) PutFile(older, "an older program's locale table");
    const Outcome setup = Run({"-sC:\\SETUP"}, form);
    ASSERT_EQ(setup.code, 0) << setup.Dump();
    const auto command = Value(kProductKey, "UninstallString");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->text, program + " Quenby Database Engine");
    EXPECT_TRUE(FileExists(program));
    const std::string installedOlder = c.neighbours ? ReadFile(older) : "";
    // The shortcuts, read back as a shell reads them.
    std::string folder;
    {
      auto machine = Open();
      const auto programs = machine->registry().ReadValue(
          RootKey::CurrentUser,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs");
      ASSERT_TRUE(programs.has_value());
      folder = programs->text + "\\Quenby Database Engine";
      const auto admin = machine->shellLinks().Read(folder + "\\Engine Administrator.lnk");
      ASSERT_TRUE(admin.has_value());
      EXPECT_TRUE(EndsText(admin->path, "\\QDMGR.EXE")) << admin->path;
      const auto remove =
          machine->shellLinks().Read(folder + "\\Uninstall Quenby Database Engine.lnk");
      ASSERT_TRUE(remove.has_value());
      EXPECT_EQ(remove->path, program);
      EXPECT_EQ(remove->arguments, "Quenby Database Engine");
    }
    if (c.neighbours) {
      // The second program's installation counted the engine library too.
      auto machine = Open();
      const auto n = machine->registry().ReadValue(RootKey::LocalMachine, kSharedDlls, engineDll);
      ASSERT_TRUE(n.has_value());
      machine->registry().WriteValue(RootKey::LocalMachine, kSharedDlls, engineDll,
                                     platform::RegValue::DWordValue(n->dword + 1));
      machine.reset();
      PutFile(notes, "the user's own notes");
    }

    // Started as Windows starts "UninstallString": that very command line,
    // an unquoted program path with blanks followed by the product name.
    const std::string script = home_->Dir().Write("uninstall.ui", "answer Yes\nanswer OK\n");
    const Outcome u = RunSetup(PELLMORE_UNINSTALL_EXE, MachineDir(), {}, dir_,
                               {{"PELLMORE_PROGRAM", program},
                                {"PELLMORE_COMMAND_LINE", command->text},
                                {"PELLMORE_UI_SCRIPT", script}});
    EXPECT_EQ(u.code, 0) << u.Dump() << u.errors;
    EXPECT_TRUE(u.Has("message", "it is removed at the next restart")) << u.Dump();

    for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
      const std::string path = std::string(kEngineDir) + "\\" + f.name;
      const bool stays = c.neighbours && (path == engineDll || path == older);
      EXPECT_EQ(FileExists(path), stays) << path;
    }
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(Open()->files().DirectoryExists(folder)) << "the program-menu folder stays";
    EXPECT_FALSE(Value(kHelpKey, "QDMGR.HLP").has_value());
    const auto count = Value(kSharedDlls, engineDll);
    if (c.neighbours) {
      ASSERT_TRUE(count.has_value());
      EXPECT_EQ(count->dword, 1u);
      EXPECT_EQ(ReadFile(older), installedOlder);
      EXPECT_EQ(ReadFile(notes), "the user's own notes");
    } else {
      EXPECT_FALSE(count.has_value());
    }
    // The program could not delete itself while it ran; the restart does.
    EXPECT_TRUE(FileExists(program));
    Open()->Restart();
    EXPECT_FALSE(FileExists(program));
    EXPECT_EQ(Open()->files().DirectoryExists(kBase), c.neighbours);
    EXPECT_TRUE(Open()->files().DirectoryExists("C:\\Program Files"));
  }
}

}  // namespace
}  // namespace e2e
