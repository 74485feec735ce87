// The folder lookups' fallbacks when the registry names no folder, on a
// simulated machine whose Windows directory and current drive the test
// chooses.
#include "PathsFixture.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

using namespace pathstest;

namespace {

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

}  // namespace
