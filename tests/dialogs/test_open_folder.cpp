// The open-folder dialog on the headless widgetset, driven by UI scripts:
// where the browser starts, typed paths, the create button (typed missing
// path, a named folder, the veto, a cancelled name box), the browse-again
// loop after a created folder, cancels, and failures raised out of the
// browser.
#include <gmock/gmock.h>

#include "DialogFixture.h"
#include "dialogs/dlgcmp_TOpenFolderDialog.h"
#include "framework/Forms.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "support/TestMachine.h"

using namespace dialogtest;
using ::testing::ElementsAreArray;

namespace {

const char* const kRoot = "C:\\OfdTest";

class OpenFolder : public DialogTest {
 protected:
  OpenFolder() {
    Clean();
    platform::files().CreateDirectories(R("Quenby\\Data"));
  }
  ~OpenFolder() override { Clean(); }

  static void Clean() {
    if (platform::files().DirectoryExists(kRoot)) testsupport::TestMachine::RemoveTree(kRoot);
  }
  static std::string R(const std::string& rel) { return std::string(kRoot) + "\\" + rel; }
  static bool Exists(const std::string& p) { return platform::files().DirectoryExists(p); }

  // The values a field takes in the FolderBrowser's form records, in order
  // ("Selection" label, "PathEdit" ...): what the user saw at each wait.
  std::vector<std::string> Shown(const std::string& control) const {
    std::vector<std::string> out;
    const std::string key = "\"name\":\"" + control + "\"";
    for (const std::string& l : lines) {
      if (l.find("\"event\":\"form\",\"form\":\"FolderBrowser\"") == std::string::npos) continue;
      const size_t at = l.find(key);
      if (at == std::string::npos) {
        out.push_back("(hidden)");
        continue;
      }
      const size_t text = l.find("\"text\":\"", at);
      const size_t end = l.find('}', at);
      if (text == std::string::npos || text > end) {
        out.push_back("");
        continue;
      }
      out.push_back(Unescape(l.substr(text + 8, l.find('"', text + 8) - text - 8)));
    }
    return out;
  }
  static std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\\' && i + 1 < s.size()) ++i;
      out += s[i];
    }
    return out;
  }
};

TEST_F(OpenFolder, TheBrowserStartsOnTheDeepestExistingDirectory) {
  struct Case {
    const char* name;
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {"existing", R("Quenby\\Data"), R("Quenby\\Data")},
      {"trailing backslash dropped", R("Quenby\\Data\\"), R("Quenby\\Data")},
      {"several backslashes dropped", R("Quenby\\Data\\\\"), R("Quenby\\Data")},
      {"missing levels stripped", R("Quenby\\Data\\New\\Deeper"), R("Quenby\\Data")},
      {"a file is not a directory", R("Quenby\\Data\\file.txt"), R("Quenby\\Data")},
      {"down to the drive", "C:\\OfdMissing\\Sub", "C:\\"},
      {"drive root keeps its backslash", "C:\\", "C:\\"},
      {"drive gets a backslash", "C:", "C:\\"},
      {"surrounding blanks", "  " + R("Quenby") + " ", R("Quenby")},
      {"blank", "", ""},
      {"only blanks", "   ", ""},
      {"no such drive", "Q:\\Nowhere\\At\\All", ""},
      {"relative name", "Nowhere", ""},
  };
  testsupport::TestMachine::WriteFile(R("Quenby\\Data\\file.txt"), "x");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TOpenFolderDialog::InitialDirectory(c.path), c.expected);
  }

  // The browser selects it and shows it in the path edit; with nothing to
  // select OK is off and so the create button is hidden.
  UseScript("press Cancel\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(R("Quenby\\Data\\New\\Deeper\\"));
  EXPECT_FALSE(d.Execute());
  EXPECT_THAT(Shown("Selection"), ElementsAreArray({R("Quenby\\Data")}));
  EXPECT_THAT(Shown("PathEdit"), ElementsAreArray({R("Quenby\\Data")}));
  EXPECT_THAT(Shown("CreateBtn"), ElementsAreArray({"New Folder"}));

  lines.clear();
  UseScript("press Cancel\n");
  d.SetPath("");
  EXPECT_FALSE(d.Execute());
  EXPECT_THAT(Shown("PathEdit"), ElementsAreArray({""}));
  EXPECT_THAT(Shown("CreateBtn"), ElementsAreArray({"(hidden)"}));
}

// One browse from `start` with a script; what Execute returns, the Path
// afterwards, which directories exist and which forms closed how.
TEST_F(OpenFolder, ScriptedBrowsesEndWithTheRightPathAndDirectories) {
  struct Case {
    const char* name;
    std::string start;
    std::string script;
    bool veto;
    bool result;
    std::string path;  // Path afterwards
    std::vector<std::string> created;
    std::vector<std::string> absent;
    std::vector<std::string> closes;  // "form result" in order
  };
  const std::string start = R("Quenby\\Data\\Sub");
  const Case cases[] = {
      {"cancel keeps Path and creates nothing",
       start,
       "press Cancel\n",
       false,
       false,
       start,
       {},
       {start},
       {"FolderBrowser mrCancel"}},
      {"OK takes the initial selection",
       start,
       "press OK\n",
       false,
       true,
       R("Quenby\\Data"),
       {},
       {start},
       {"FolderBrowser mrOk"}},
      {"a typed existing path",
       start,
       "type PathEdit " + R("Quenby") + "\npress OK\n",
       false,
       true,
       R("Quenby"),
       {},
       {start},
       {"FolderBrowser mrOk"}},
      {"a typed missing path is created on OK",
       start,
       "type PathEdit " + R("New\\Deep") + "\npress OK\n",
       false,
       true,
       R("New\\Deep"),
       {R("New\\Deep")},
       {},
       {"FolderBrowser mrOk"}},
      {"typed then cancelled creates nothing",
       start,
       "type PathEdit " + R("New\\Deep") + "\npress Cancel\n",
       false,
       false,
       start,
       {},
       {R("New")},
       {"FolderBrowser mrCancel"}},
      {"create makes the typed missing path, then browses again from it",
       start,
       "type PathEdit " + R("Made\\Here") + "\npress CreateBtn\npress OK\n",
       false,
       true,
       R("Made\\Here"),
       {R("Made\\Here")},
       {},
       {"FolderBrowser mrOk", "FolderBrowser mrOk"}},
      {"create below an existing typed path asks for the name",
       start,
       "type PathEdit " + R("Quenby") +
           "\npress CreateBtn\ntype Value Reports\npress OK\n"
           "press OK\n",
       false,
       true,
       R("Quenby\\Reports"),
       {R("Quenby\\Reports")},
       {},
       {"InputQuery mrOk", "FolderBrowser mrOk", "FolderBrowser mrOk"}},
      {"create below the selection",
       start,
       "press CreateBtn\ntype Value \"Sub Two\"\npress OK\npress OK\n",
       false,
       true,
       R("Quenby\\Data\\Sub Two"),
       {R("Quenby\\Data\\Sub Two")},
       {},
       {"InputQuery mrOk", "FolderBrowser mrOk", "FolderBrowser mrOk"}},
      {"create at a drive's root adds one backslash",
       "C:\\",
       "press CreateBtn\ntype Value OfdTest\\Top\npress OK\npress OK\n",
       false,
       true,
       R("Top"),
       {R("Top")},
       {},
       {"InputQuery mrOk", "FolderBrowser mrOk", "FolderBrowser mrOk"}},
      {"a cancelled name box ends the click, the browser stays",
       start,
       "press CreateBtn\npress Cancel\npress Cancel\n",
       false,
       false,
       start,
       {},
       {start},
       {"InputQuery mrCancel", "FolderBrowser mrCancel"}},
      {"a blank name creates nothing",
       start,
       "press CreateBtn\ntype Value \"  \"\npress OK\npress OK\n",
       false,
       true,
       R("Quenby\\Data"),
       {},
       {start},
       {"InputQuery mrOk", "FolderBrowser mrOk"}},
      {"the veto stops the click",
       start,
       "type PathEdit " + R("Vetoed") + "\npress CreateBtn\npress Cancel\n",
       true,
       false,
       start,
       {},
       {R("Vetoed")},
       {"FolderBrowser mrCancel"}},
      {"browsing again after a created folder, then cancelled",
       start,
       "type PathEdit " + R("Kept") + "\npress CreateBtn\npress Cancel\n",
       false,
       false,
       start,
       {R("Kept")},
       {},
       {"FolderBrowser mrOk", "FolderBrowser mrCancel"}},
      {"twice created, then a typed choice",
       start,
       "type PathEdit " + R("One") + "\npress CreateBtn\ntype PathEdit " + R("One\\Two") +
           "\npress CreateBtn\ntype PathEdit " + R("Quenby") + "\npress OK\n",
       false,
       true,
       R("Quenby"),
       {R("One\\Two")},
       {},
       {"FolderBrowser mrOk", "FolderBrowser mrOk", "FolderBrowser mrOk"}},
      {"a confirm with a blank path is a cancel",
       start,
       "type PathEdit \"\"\npress OK\n",
       false,
       false,
       start,
       {},
       {},
       {"FolderBrowser mrOk"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lines.clear();
    UseScript(c.script);
    TOpenFolderDialog d(form.get());
    d.SetPath(c.start);
    int asked = 0;
    if (c.veto) d.SetOnCreateFolder([&](TObject*, bool& allow) { ++asked, allow = false; });
    const int formsBefore = Screen().FormCount();
    EXPECT_EQ(d.Execute(), c.result);
    EXPECT_EQ(Screen().FormCount(), formsBefore);
    EXPECT_EQ(d.Path(), c.path);
    if (c.veto) {
      EXPECT_EQ(asked, 1);
    }
    for (const std::string& p : c.created) EXPECT_TRUE(Exists(p)) << p;
    for (const std::string& p : c.absent) EXPECT_FALSE(Exists(p)) << p;
    std::vector<std::string> closes;
    for (const std::string& l : lines)
      if (l.find("\"event\":\"close\"") != std::string::npos) {
        const size_t f = l.find("\"form\":\"") + 8;
        const size_t r = l.find("\"result\":\"") + 10;
        closes.push_back(l.substr(f, l.find('"', f) - f) + " " + l.substr(r, l.find('"', r) - r));
      }
    EXPECT_THAT(closes, ElementsAreArray(c.closes));
    EXPECT_EQ(lines.back().find("\"event\":\"unused\""), std::string::npos) << lines.back();
    Clean();
    platform::files().CreateDirectories(R("Quenby\\Data"));
  }
}

TEST_F(OpenFolder, TheSecondBrowserStartsOnTheCreatedFolderAndPicksSubfolders) {
  platform::files().CreateDirectories(R("Quenby\\Data\\Old"));
  UseScript(
      "press CreateBtn\ntype Value Fresh\npress OK\npick Folders Fresh\n"
      "form FolderBrowser\npress OK\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(R("Quenby"));
  const int formsBefore = Screen().FormCount();
  // Picking the created folder's own name is not possible: the second
  // browser lists the subfolders of the created, still empty folder. So the
  // pick must fail with the script's error naming the line.
  try {
    d.Execute();
    ADD_FAILURE() << "the pick of a folder that is not listed was answered";
  } catch (const Exception& e) {
    EXPECT_THAT(e.Message(), ::testing::HasSubstr("line 4"));
  }
  EXPECT_EQ(Screen().FormCount(), formsBefore);
  EXPECT_THAT(Shown("Selection"), ElementsAreArray({R("Quenby"), R("Quenby\\Fresh")}));

  // Picking a listed subfolder selects it and shows it in the edit.
  lines.clear();
  UseScript("pick Folders Old\npress OK\n");
  d.SetPath(R("Quenby\\Data"));
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.Path(), R("Quenby\\Data\\Old"));
}

TEST_F(OpenFolder, FailuresLeaveThroughExecuteWithTheBrowserClosed) {
  // A folder that cannot be made: the error comes out of Execute, after
  // the browser closed, and Path is unchanged.
  UseScript("type PathEdit Q:\\Nowhere\npress CreateBtn\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(R("Quenby"));
  const int formsBefore = Screen().FormCount();
  EXPECT_THROW(d.Execute(), platform::OsError);
  EXPECT_EQ(Screen().FormCount(), formsBefore);
  EXPECT_EQ(d.Path(), R("Quenby"));

  // A handler's exception the same way.
  UseScript("press CreateBtn\n");
  d.SetOnCreateFolder([](TObject*, bool&) { throw Exception("handler failed"); });
  EXPECT_THROW(d.Execute(), Exception);
  EXPECT_EQ(Screen().FormCount(), formsBefore);

  // With nobody to answer (the null widgetset) the browser is cancelled.
  InstallWidgetset(nullptr);
  d.SetOnCreateFolder(nullptr);
  EXPECT_FALSE(d.Execute());
  EXPECT_EQ(d.Path(), R("Quenby"));
}

}  // namespace
