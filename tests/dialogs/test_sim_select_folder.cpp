// The program folder page on simulated machines whose Programs folder and
// platform kind the cases choose: the list of existing folders by kind,
// the folder the edit starts from, and a folder picked from the list.
#include <gmock/gmock.h>

#include "SelectFolderFixture.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"
#include "shell/routines_Registry.h"
#include "support/TestMachine.h"

using namespace dialogtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr const char* kPrograms = "C:\\Menu\\Programs";

class SelectFolderSim : public SelectFolderTest {
 protected:
  // The user's Programs folder becomes kPrograms, holding `folders` (and
  // a file, and a folder one level down, that are no program folders).
  void ProgramsHolds(const std::vector<std::string>& folders) {
    WriteRegString(kRootCurrentUser,
                   "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Programs", kPrograms);
    platform::FileSystem& fs = platform::files();
    fs.CreateDirectories(kPrograms);
    testsupport::TestMachine::WriteFile(std::string(kPrograms) + "\\Readme.txt", "not a folder");
    for (const std::string& f : folders) fs.CreateDirectories(std::string(kPrograms) + "\\" + f);
    if (!folders.empty())
      fs.CreateDirectories(std::string(kPrograms) + "\\" + folders.front() + "\\Inner");
  }
  static void UseKind(const char* kind) {
    dynamic_cast<platform::sim::SimMachine&>(platform::Current())
        .ChangeSettings([kind](platform::sim::MachineSettings& s) { s.Set("kind", kind); });
  }
  static std::vector<std::string> Items(const TSelectFolderForm& page) {
    return page.FolderListBox()->Items()->ToVector();
  }
};

TEST_F(SelectFolderSim, TheListHoldsTheProgramsFoldersSubdirectoriesOnNewerSystemsOnly) {
  ProgramsHolds({"Zeta", "accessories", "Quenby Tools"});
  BuildSetup(form.get(), true, "\\Quenby");
  struct Case {
    const char* kind;
    std::vector<std::string> listed;
  };
  const std::vector<std::string> all{"accessories", "Quenby Tools", "Zeta"};
  // The Program Manager's groups of the older systems are not asked yet.
  const Case cases[] = {{"95", all},   {"98", all},   {"nt4", all},
                        {"2000", all}, {"nt351", {}}, {"win32s", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    UseKind(c.kind);
    Owned<TSelectFolderForm> page = NewPage();
    EXPECT_EQ(Items(*page), c.listed);
    EXPECT_EQ(page->FolderEdit()->Text(), "Quenby");
    EXPECT_EQ(group->DestDir(), "\\Quenby");
  }

  // A Programs folder that does not exist lists nothing and is no error.
  UseKind("nt4");
  platform::files().MoveFile(kPrograms, "C:\\Menu\\Gone", 0);
  EXPECT_THAT(Items(*NewPage()), IsEmpty());
}

TEST_F(SelectFolderSim, TheEditStartsFromTheGroupsFolderElseTheFirstExistingOne) {
  struct Case {
    const char* what;
    std::vector<std::string> folders;
    const char* destDir;
    bool programMenu;  // the group resolves through a program-menu specifier
    const char* edit;
    const char* destDirAfter;
  };
  const Case cases[] = {
      {"the group's folder", {"Zeta", "Alpha"}, "\\Quenby", true, "Quenby", "\\Quenby"},
      {"a trailing backslash", {}, "\\Quenby\\", true, "Quenby", "\\Quenby"},
      {"no folder named", {"Zeta", "Alpha"}, "\\", true, "Alpha", "\\Alpha"},
      {"no folder named, none exists", {}, "", true, "", ""},
      {"no program-menu specifier, none exists", {}, "\\Quenby", false, "", "\\Quenby"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramsHolds(c.folders);
    Owned<TForm> owner(NewForm());
    BuildSetup(owner.get(), true, c.destDir);
    if (!c.programMenu) owner->FindComponent("psProgramMenu")->Free();
    Owned<TSelectFolderForm> page = NewPage();
    EXPECT_EQ(page->FolderEdit()->Text(), c.edit);
    EXPECT_EQ(group->DestDir(), c.destDirAfter);
    EXPECT_EQ(group->DestDirType() != nullptr, c.programMenu);
    page.reset();
    owner.reset();
    testsupport::TestMachine::RemoveTree(kPrograms);
  }
}

TEST_F(SelectFolderSim, PickingAFolderFromTheListMakesItTheGroupsFolder) {
  ProgramsHolds({"Zeta", "accessories", "Quenby Tools"});
  BuildSetup(form.get(), true, "\\Quenby");
  UseScript("form \"Select folder in start menu\"\npick FolderListBox Zeta\npress Next\n");
  EXPECT_TRUE(RunPhase());
  EXPECT_EQ(group->DestDir(), "\\Zeta");
  EXPECT_EQ(group->DestDirType(), FindPathSpecifier<TpsProgramMenu>());
  EXPECT_EQ(Shown("FolderListBox", "items"), "[\"accessories\",\"Quenby Tools\",\"Zeta\"]");
  EXPECT_EQ(Shown("FolderEdit", "text"), "\"Zeta\"");
}

}  // namespace
