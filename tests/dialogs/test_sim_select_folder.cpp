// The program folder page on simulated machines whose Programs folder and
// platform kind the cases choose: the existing folders by kind, the folder
// the edit starts from, and a folder picked from the list.
#include "SelectFolderFixture.h"
#include "platform/FileSystem.h"
#include "platform/sim/SimMachine.h"
#include "shell/routines_Registry.h"
#include "support/TestMachine.h"

using namespace dialogtest;

namespace {

constexpr const char* kPrograms = "C:\\Menu\\Programs";

class SelectFolderSim : public SelectFolderTest {
 protected:
  // The Programs folder becomes kPrograms holding `folders`, a file and a
  // folder one level down (neither is a program folder).
  static void ProgramsHolds(const std::vector<std::string>& folders) {
    WriteRegString(kRootCurrentUser,
                   "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Programs", kPrograms);
    testsupport::TestMachine::WriteFile(std::string(kPrograms) + "\\Readme.txt", "a file");
    for (const std::string& f : folders)
      platform::files().CreateDirectories(std::string(kPrograms) + "\\" + f + "\\Inner");
  }
  static void UseKind(const char* kind) {
    dynamic_cast<platform::sim::SimMachine&>(platform::Current())
        .ChangeSettings([kind](platform::sim::MachineSettings& s) { s.Set("kind", kind); });
  }
};

TEST_F(SelectFolderSim, TheListHoldsTheProgramsFoldersSubdirectoriesOnNewerSystemsOnly) {
  ProgramsHolds({"Zeta", "accessories", "Quenby Tools"});
  BuildSetup(form.get(), true);
  const std::vector<std::string> all{"accessories", "Quenby Tools", "Zeta"};
  // The Program Manager's groups of the older systems are not asked yet.
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"95", all}, {"nt4", all}, {"2000", all}, {"nt351", {}}, {"win32s", {}}};
  for (const auto& [kind, listed] : cases) {
    SCOPED_TRACE(kind);
    UseKind(kind);
    Owned<TSelectFolderForm> page = NewPage();
    EXPECT_EQ(page->FolderListBox()->Items()->ToVector(), listed);
    EXPECT_EQ(page->FolderEdit()->Text(), "Quenby");
  }
  // A Programs folder that does not exist lists nothing and is no error.
  UseKind("nt4");
  testsupport::TestMachine::RemoveTree(kPrograms);
  EXPECT_EQ(NewPage()->FolderListBox()->Items()->Count(), 0);
}

TEST_F(SelectFolderSim, TheEditStartsFromTheGroupsFolderElseTheFirstExistingOne) {
  struct Case {
    const char* what;
    std::vector<std::string> folders;
    const char* destDir;
    bool programMenu;  // a program-menu specifier exists
    const char* edit;
    const char* destDirAfter;
  };
  const Case cases[] = {
      {"the group's folder", {"Zeta", "Alpha"}, "\\Quenby\\", true, "Quenby", "\\Quenby"},
      {"no folder named", {"Zeta", "Alpha"}, "\\", true, "Alpha", "\\Alpha"},
      {"no folder named, none exists", {}, "", true, "", ""},
      {"not below the program menu, none exists", {}, "\\Quenby", false, "", "\\Quenby"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramsHolds(c.folders);
    Owned<TForm> owner(NewForm());
    BuildSetup(owner.get(), true, c.destDir);
    if (!c.programMenu) owner->FindComponent("psProgramMenu")->Free();
    EXPECT_EQ(NewPage()->FolderEdit()->Text(), c.edit);
    EXPECT_EQ(group->DestDir(), c.destDirAfter);
    owner.reset();
    testsupport::TestMachine::RemoveTree(kPrograms);
  }
}

TEST_F(SelectFolderSim, PickingAFolderFromTheListMakesItTheGroupsFolder) {
  ProgramsHolds({"Zeta", "accessories", "Quenby Tools"});
  BuildSetup(form.get(), true);
  UseScript("form \"Select folder in start menu\"\npick FolderListBox Zeta\npress Next\n");
  EXPECT_TRUE(RunPhase());
  EXPECT_EQ(group->DestDir(), "\\Zeta");
  EXPECT_TRUE(Logged("\"items\":[\"accessories\",\"Quenby Tools\",\"Zeta\"]"));
  EXPECT_TRUE(Logged("\"name\":\"FolderEdit\",\"text\":\"Zeta\""));
}

}  // namespace
