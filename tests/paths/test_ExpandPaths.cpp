// The folder lookups (registry value as stored, else the fallback, one
// trailing backslash off) and the meta-variable expander's scanner rules,
// replacements and errors.
#include <gmock/gmock.h>

#include "PathsFixture.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

using namespace pathstest;

namespace {

class ExpandPaths : public PathsTest {
 protected:
  std::string Expand(const std::string& text, TComponent* component = nullptr) {
    std::string result;
    ExpandMetaVariables(text, component, result);
    return result;
  }
  // The exception's class and message, or "expanded: <result>".
  std::string ExpandError(const std::string& text, TComponent* component) {
    std::string result = "untouched";
    try {
      ExpandMetaVariables(text, component, result);
    } catch (const Exception& e) {
      EXPECT_EQ(result, "untouched");
      return e.ClassName() + std::string(": ") + e.Message();
    }
    return "expanded: " + result;
  }
};

TEST_F(ExpandPaths, FoldersComeFromTheRegistryWithOneTrailingBackslashOff) {
  SetValue(kRootCurrentUser, kShellFolders, "Start Menu", "E:\\Menu\\");
  SetValue(kRootCurrentUser, kShellFolders, "Programs", "E:\\Progs\\\\");
  SetValue(kRootCurrentUser, kShellFolders, "Desktop", "E:\\Desk");
  SetValue(kRootCurrentUser, kShellFolders, "Startup", "E:\\Boot\\");
  SetValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir", "E:\\Apps\\");
  SetValue(kRootLocalMachine, kCurrentVersion, "CommonFilesDir", "E:\\Shared");
  EXPECT_EQ(StartMenuDir(), "E:\\Menu");
  EXPECT_EQ(ProgramsMenuDir(), "E:\\Progs\\");  // exactly one removed
  EXPECT_EQ(DesktopDir(), "E:\\Desk");
  EXPECT_EQ(StartupDir(), "E:\\Boot");
  EXPECT_EQ(ProgramFilesPath(), "E:\\Apps");
  EXPECT_EQ(CommonFilesPath(), "E:\\Shared");
  EXPECT_EQ(Expand("%b|%d|%f|%m|%M"), "E:\\Progs|E:\\Desk|E:\\Shared|E:\\Menu|E:\\Menu");
}

TEST_F(ExpandPaths, MissingValuesFallBack) {
  platform::sim::MachineOptions options;
  options.windowsDir = "D:\\OS";
  options.extraDrives = "E";
  UseMachine(options);
  for (const char* name : {"Start Menu", "Programs", "Desktop", "Startup"})
    DeleteValue(kRootCurrentUser, kShellFolders, name);
  DeleteValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir");
  // An empty stored value names no folder either.
  SetValue(kRootLocalMachine, kCurrentVersion, "CommonFilesDir", "");
  platform::system().SetCurrentDirectory("E:\\");

  EXPECT_EQ(StartMenuDir(), "D:\\OS\\Startmen");
  EXPECT_EQ(ProgramsMenuDir(), "D:\\OS\\Startmen\\Programs");
  EXPECT_EQ(DesktopDir(), "D:\\OS\\Desktop");
  EXPECT_EQ(StartupDir(), "D:\\OS\\Startup");
  // The drive of the current directory, not the system drive.
  EXPECT_EQ(ProgramFilesPath(), "E:\\Program Files");
  EXPECT_EQ(CommonFilesPath(), "E:\\Program Files\\Common Files");

  // Programs falls back on a Start menu that is itself in the registry.
  SetValue(kRootCurrentUser, kShellFolders, "Start Menu", "F:\\M\\");
  EXPECT_EQ(ProgramsMenuDir(), "F:\\M\\Programs");
}

TEST_F(ExpandPaths, ScannerRules) {
  SetValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files\\");
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"100%%", "100%"},
      {"%%%%", "%%"},
      {"%%p", "%p"},       // the doubled sign is literal
      {"a%zb", "ab"},      // unknown letter: both vanish
      {"x%1y%-z", "xyz"},  // any other character too
      {"end%", "end"},     // trailing sign dropped
      {"%%%", "%"},        // pair, then trailing sign
      {"%P\\App", "C:\\Program Files\\App"},
      {"%p\\App", "C:\\Program Files\\App"},
      {"[%w|%W]", "[C:\\WINNT|C:\\WINNT]"},
      {"%S", "C:\\WINNT\\System32"},
      {"\"%P\\A B\\x.exe\" /y", "\"C:\\Program Files\\A B\\x.exe\" /y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Expand(c.text), c.expected);
  }
}

TEST_F(ExpandPaths, ComponentVariables) {
  Owned<TForm> form(
      LoadInstaller("-sC:\\SRC", "DestDirType = psProgramFiles\nDestDir = '\\App\\'"));
  auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
  auto* group = New<TTestGroup>(form.get(), "Group");
  group->SetContainer(install);
  group->SetDestDir("\\Sub");
  auto* link = New<TTestObject>(form.get(), "Link");
  link->SetContainer(group);
  link->SetDestDir("\\Link\\");

  EXPECT_EQ(Expand("%i", nullptr), "C:\\Program Files\\App");
  EXPECT_EQ(Expand("%c", group), "C:\\Program Files\\App");
  EXPECT_EQ(Expand("%a|%c", link), "C:\\Program Files\\App\\Sub\\Link|C:\\Program Files\\App\\Sub");
}

TEST_F(ExpandPaths, ErrorsLeaveTheResultAlone) {
  Owned<TForm> form(new TForm(nullptr));
  auto* loose = New<TTestObject>(form.get(), "Loose");
  auto* plain = New<TComponent>(form.get(), "Plain");
  const struct {
    const char* text;
    TComponent* component;
    const char* expected;
  } cases[] = {
      {"x%ay", nullptr,
       "EPLCannotExpandContainerDirMV: Cannot expand the %a meta variable because the component "
       "is Nil"},
      {"%c", nullptr,
       "EPLCannotExpandContainerDirMV: Cannot expand the %c meta variable because the component "
       "is Nil"},
      {"%c", loose,
       "EPLCannotExpandContainerDirMV: Cannot expand the %c meta variable because the Container "
       "property is Nil"},
      {"%C", plain,
       "EPLCannotExpandContainerDirMV: Cannot expand the %c meta variable because the Container "
       "property is Nil"},
      {"%w\\%i", nullptr,
       "EPLCannotExpandInstallDirMV: Cannot expand the %i meta variable because there is no "
       "TInstall component"},
      // Escaped or unknown letters raise nothing.
      {"%%a%%c%%i", nullptr, "expanded: %a%c%i"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ExpandError(c.text, c.component), c.expected);
  }
}

}  // namespace
