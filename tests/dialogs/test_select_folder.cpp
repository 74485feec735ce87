// The program folder page on any machine: what the edit holds becomes the
// main link group's folder at once, and when the page takes part.
#include "SelectFolderFixture.h"

using namespace dialogtest;

namespace {

using SelectFolder = SelectFolderTest;

TEST_F(SelectFolder, TheEditIsTheMainGroupsFolderAtOnce) {
  struct Case {
    const char* what;
    const char* destDir;  // the group's folder before the page
    const char* script;
    bool finished;
    const char* shownFirst;  // the edit when the page appears
    const char* destDirAfter;
  };
  const Case cases[] = {
      {"typed, then Next", "\\Quenby", "type FolderEdit Quenby Tools\npress Next\n", true, "Quenby",
       "\\Quenby Tools"},
      // Nothing waits for Next: a cancelled setup has the typed folder too.
      {"typed, then Cancel", "\\Quenby", "type FolderEdit Quenby Tools\npress Cancel\n", false,
       "Quenby", "\\Quenby Tools"},
      {"Next at once", "\\Quenby", "press Next\n", true, "Quenby", "\\Quenby"},
      // The edit shows the last level only, and what it shows is used.
      {"a nested folder", "\\Quenby\\Engine", "press Next\n", true, "Engine", "\\Engine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> owner(NewForm());
    BuildSetup(owner.get(), true, c.destDir);
    lines.clear();
    UseScript(c.script);
    EXPECT_EQ(RunPhase(), c.finished);
    EXPECT_EQ(group->DestDir(), c.destDirAfter);
    EXPECT_EQ(group->DestDirType(), FindPathSpecifier<TpsProgramMenu>());
    EXPECT_TRUE(Logged("\"caption\":\"Select folder in start menu\""));
    EXPECT_TRUE(Logged("\"name\":\"FolderEdit\",\"text\":\"" + std::string(c.shownFirst) + "\""));
  }
}

TEST_F(SelectFolder, ThePageTakesPartWithAMainGroupThroughItsComponentOrItsFormUnitAlone) {
  struct Case {
    const char* what;
    bool group, component;
    int formUnit;  // 0 not started, 1 alone, 2 with its component unit
    bool shown;
  };
  const Case cases[] = {
      {"component", true, true, 0, true},
      {"component, no main group", false, true, 0, false},
      {"form unit alone", true, false, 1, true},
      {"form unit with its component unit", true, false, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> owner(NewForm());
    BuildSetup(owner.get(), c.group, "\\Quenby", c.component);
    if (c.formUnit) StartSelectFolderUnits(c.formUnit == 2);
    lines.clear();
    UseScript("press Next\n");
    EXPECT_TRUE(RunPhase());
    EXPECT_EQ(Logged("Select folder in start menu"), c.shown);
    if (c.formUnit) PageForms().Clear();  // only the form unit's entries are there
  }
}

}  // namespace
