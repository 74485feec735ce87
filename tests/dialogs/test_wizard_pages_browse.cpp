// The setup-type page's Browse button with the folder browser answered by
// the scripted user: a destination that does not exist is made only for as
// long as the browser needs it, however browsing ends, and a confirmed
// folder becomes the installer's destination.
#include <gmock/gmock.h>

#include "DialogFixture.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TInstallType.h"
#include "framework/ClassRegistry.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "support/TestMachine.h"

using namespace dialogtest;
using ::testing::HasSubstr;

namespace {

// Below the machine's program files folder; removed before and after.
const char* const kProduct = "PagesBrowse";

class WizardBrowse : public DialogTest {
 protected:
  WizardBrowse() {
    RegisterOpenFolderDialog(ClassRegistry::Global());
    RegisterWizardPages(ClassRegistry::Global());
    manager = NewManager(form.get(), dmBeforeInstall, "DialogManager");
    install->SetInstallTypes(TInstallTypeSet{itDefault, itCustom});
    install->SetInstallType(itDefault);
    programFiles = FindByClass<TpsProgramFiles>();
    root = programFiles->GetPath(install) + "\\" + kProduct;
    Clean();
    New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  }
  ~WizardBrowse() override { Clean(); }

  void Clean() {
    if (platform::files().DirectoryExists(root)) testsupport::TestMachine::RemoveTree(root);
  }
  void RunPhase() { manager->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr); }
  static bool Exists(const std::string& p) { return platform::files().DirectoryExists(p); }
  // JSON text of a path as the transcript writes it.
  static std::string Json(const std::string& s) {
    std::string out;
    for (char ch : s) {
      if (ch == '\\') out += '\\';
      out += ch;
    }
    return out;
  }
  // The folder browser's records in the transcript.
  std::vector<std::string> BrowserLines() const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (l.find("\"event\":\"form\",\"form\":\"FolderBrowser\"") != std::string::npos)
        out.push_back(l);
    return out;
  }

  TDialogManager* manager = nullptr;
  TCustomPathSpecifier* programFiles = nullptr;
  std::string root;
};

TEST_F(WizardBrowse, AMissingDestinationExistsOnlyWhileTheBrowserIsOpen) {
  struct Case {
    const char* what;
    const char* script;
    const char* chosen;  // the DestDir afterwards; null: the missing directory itself
    bool confirmed;
  };
  const Case cases[] = {
      {"another folder confirmed",
       "press Browse\nform FolderBrowser\ntype PathEdit C:\\Windows\npress OK\npress Next\n",
       "C:\\Windows", true},
      {"the missing folder itself confirmed",
       "press Browse\nform FolderBrowser\npress OK\npress Next\n", nullptr, true},
      {"cancelled", "press Browse\nform FolderBrowser\npress Cancel\npress Next\n", nullptr, false},
      {"closed", "press Browse\nform FolderBrowser\nclose\npress Next\n", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    install->SetDestDirType(programFiles);
    install->SetDestDir(std::string("\\") + kProduct + "\\Engine");
    const std::string missing = install->ResolveDestDir();
    ASSERT_FALSE(Exists(missing));
    lines.clear();
    UseScript(c.script);
    RunPhase();
    // The browser opened with the directory selected: it existed then...
    const std::vector<std::string> browser = BrowserLines();
    ASSERT_FALSE(browser.empty());
    EXPECT_THAT(browser.front(),
                HasSubstr("\"name\":\"Selection\",\"text\":\"" + Json(missing) + "\""));
    // ... and is gone again, whatever the user did.
    EXPECT_FALSE(Exists(missing));
    if (c.confirmed) {
      EXPECT_EQ(install->DestDirType(), nullptr);
      EXPECT_EQ(install->DestDir(), c.chosen ? c.chosen : missing);
    } else {
      EXPECT_EQ(install->DestDirType(), programFiles);
      EXPECT_EQ(install->DestDir(), std::string("\\") + kProduct + "\\Engine");
    }
  }
}

TEST_F(WizardBrowse, AnExistingDestinationIsLeftAloneAndTheChoiceShowsAtOnce) {
  platform::files().CreateDirectories(root + "\\Old");
  install->SetDestDirType(nullptr);
  install->SetDestDir(root + "\\Old");
  // The second browse starts where the first one ended.
  UseScript("press Browse\ntype PathEdit " + root +
            "\\New\\\npress OK\n"
            "press Browse\npress Cancel\npress Next\n");
  RunPhase();
  EXPECT_TRUE(Exists(root + "\\Old"));
  // The browser made the chosen folder; no trailing backslash is kept.
  EXPECT_TRUE(Exists(root + "\\New"));
  EXPECT_EQ(install->DestDir(), root + "\\New");
  const std::vector<std::string> browser = BrowserLines();
  ASSERT_GE(browser.size(), 2u);
  EXPECT_THAT(browser.front(),
              HasSubstr("\"name\":\"Selection\",\"text\":\"" + Json(root + "\\Old")));
  EXPECT_THAT(browser.back(),
              HasSubstr("\"name\":\"Selection\",\"text\":\"" + Json(root + "\\New")));
  // The edit showed the choice before Next was pressed.
  bool shown = false;
  for (const std::string& l : lines)
    if (l.find("\"name\":\"edDestDir\",\"text\":\"" + Json(root + "\\New") + "\"") !=
        std::string::npos)
      shown = true;
  EXPECT_TRUE(shown);
}

TEST_F(WizardBrowse, AFolderMadeInsideTheDirectoryMadeForBrowsingKeepsBoth) {
  // The user makes the chosen folder inside the directory made for the
  // browser: removing that directory would take the choice with it, so
  // the page leaves both, and the run goes on.
  install->SetDestDirType(programFiles);
  install->SetDestDir(std::string("\\") + kProduct + "\\Engine");
  const std::string missing = install->ResolveDestDir();
  UseScript("press Browse\ntype PathEdit " + missing +
            "\\Data\npress CreateBtn\nform FolderBrowser\npress OK\npress Next\n");
  EXPECT_NO_THROW(RunPhase());
  EXPECT_TRUE(Exists(missing + "\\Data"));
  EXPECT_EQ(install->DestDir(), missing + "\\Data");
  EXPECT_EQ(install->DestDirType(), nullptr);
  EXPECT_THAT(lines.back(), HasSubstr("\"result\":\"mrOk\""));
}

TEST_F(WizardBrowse, ADestinationThatCannotBeMadeStillOpensTheBrowser) {
  // No drive Q: nothing can be made for the browser, which opens without a
  // selection; cancelling it leaves the destination as it was.
  install->SetDestDirType(nullptr);
  install->SetDestDir("Q:\\Nowhere\\Quenby");
  UseScript("press Browse\nform FolderBrowser\npress Cancel\npress Next\n");
  EXPECT_NO_THROW(RunPhase());
  EXPECT_EQ(BrowserLines().size(), 1u);
  EXPECT_EQ(install->DestDir(), "Q:\\Nowhere\\Quenby");
  EXPECT_FALSE(Exists("Q:\\Nowhere"));
}

}  // namespace
