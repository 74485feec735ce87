// The program folder page on any machine: what the edit holds becomes the
// main link group's folder at once (Next, Cancel or nothing typed), the
// page passes when there is no main group, its form and component units,
// and the spacers after a resize.
#include <gmock/gmock.h>

#include <algorithm>

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
    // Whatever the Programs folder holds here, the group names a folder,
    // so the list's first entry is not used.
    lines.clear();
    UseScript(c.script);
    TCustomPathSpecifier* programMenu = FindPathSpecifier<TpsProgramMenu>();
    ASSERT_NE(programMenu, nullptr);

    EXPECT_EQ(RunPhase(), c.finished);
    EXPECT_EQ(group->DestDir(), c.destDirAfter);
    EXPECT_EQ(group->DestDirType(), programMenu);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("\"caption\":\"Select folder in start menu\""), std::string::npos);
    EXPECT_NE(lines.front().find("\"name\":\"FolderEdit\",\"text\":\"" + std::string(c.shownFirst) +
                                 "\""),
              std::string::npos);
  }
}

TEST_F(SelectFolder, WithoutAMainGroupThePageIsPassedOver) {
  BuildSetup(form.get(), false);
  UseScript("");
  EXPECT_TRUE(RunPhase());
  EXPECT_THAT(Events(), ::testing::IsEmpty());
  EXPECT_EQ(MainLinkGroup(), nullptr);
}

TEST_F(SelectFolder, TheFormUnitAloneShowsThePageInEveryBeforeInstallPhase) {
  struct Case {
    const char* what;
    bool componentUnitLinked;
    bool shown;
  };
  const Case cases[] = {
      {"form unit alone", false, true},
      {"with its component unit", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> owner(NewForm());
    install = nullptr;
    dm = NewManager(owner.get(), dmBeforeInstall);
    New<TMainLinkGroup>(owner.get(), "MainFolder")->SetContainer(install);
    StartWizardPageUnits(c.componentUnitLinked);
    lines.clear();
    UseScript("press Next\n");
    EXPECT_TRUE(RunPhase());
    const bool shown = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.find("\"caption\":\"Select folder in start menu\"") != std::string::npos;
    });
    EXPECT_EQ(shown, c.shown);
    PageForms().Clear();  // no component registered anything here
  }
}

TEST_F(SelectFolder, AResizePutsTheSpacersBack) {
  BuildSetup(form.get(), true);
  Owned<TSelectFolderForm> page = NewPage();
  const char* const names[] = {"lblSpacer1", "lblSpacer2", "lblSpacer3", "lblSpacer4"};
  for (const char* name : names) static_cast<TControl*>(page->FindComponent(name))->SetHeight(30);
  page->SetClientWidth(page->ClientWidth() + 20);
  std::vector<int> heights;
  for (const char* name : names)
    heights.push_back(static_cast<TControl*>(page->FindComponent(name))->Height());
  // The fourth spacer keeps whatever it has.
  EXPECT_THAT(heights, ::testing::ElementsAre(18, 8, 8, 30));
}

}  // namespace
