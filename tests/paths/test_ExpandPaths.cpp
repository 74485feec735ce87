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

TEST_F(ExpandPaths, ScannerRules) {
  SetValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files\\");
  // The Windows and system directories are the machine's own.
  const std::string windows = platform::system().WindowsDirectory();
  const std::string system = platform::system().SystemDirectory();
  const struct {
    const char* text;
    std::string expected;
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
      {"[%w|%W]", "[" + windows + "|" + windows + "]"},
      {"%S", system},
      {"%s\\x.dll", system + "\\x.dll"},
      {"\"%P\\A B\\x.exe\" /y", "\"C:\\Program Files\\A B\\x.exe\" /y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Expand(c.text), c.expected);
  }
}

TEST_F(ExpandPaths, ComponentVariables) {
  // The installer is made in code: reading one from a form would parse the
  // test program's own command line on Windows.
  Owned<TForm> form(NewInstallerForm("\\App\\"));
  auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
  const std::string app = ProgramFilesFromRegistry() + "\\App";
  auto* group = New<TTestGroup>(form.get(), "Group");
  group->SetContainer(install);
  group->SetDestDir("\\Sub");
  auto* link = New<TTestObject>(form.get(), "Link");
  link->SetContainer(group);
  link->SetDestDir("\\Link\\");

  EXPECT_EQ(Expand("%i", nullptr), app);
  EXPECT_EQ(Expand("%c", group), app);
  EXPECT_EQ(Expand("%a|%c", link), app + "\\Sub\\Link|" + app + "\\Sub");
}

TEST_F(ExpandPaths, ErrorsLeaveTheResultAlone) {
  Owned<TForm> form(NewForm());
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
