// The path specifiers that need the installer read from a form with its
// command line (install source, main archive, assignment checks, late
// specifier declarations) and the same resolutions on two differently
// shaped simulated machines.
#include <gmock/gmock.h>

#include "PathsFixture.h"
#include "framework/FormReader.h"
#include "install/InstallErrors.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

using namespace pathstest;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

TEST_F(PathSpecifiers, ContainerRelativeDestinationsLoseOneTrailingBackslash) {
  Owned<TForm> form(LoadInstaller("-sD:\\DIST\\", "DestDir = '\\Top\\'"));
  TInstall* install = InstallOf(form.get());
  install->SetDestDirType(Specifier<TpsProgramFiles>());
  auto* group = New<TTestGroup>(form.get(), "Group");
  group->SetContainer(install);
  EXPECT_EQ(group->DestDirType(), Specifier<TpsContainerDestDir>());
  EXPECT_EQ(group->ArchiveFileType(), Specifier<TpsContainerArchiveFile>());
  group->SetDestDir("\\Name\\");
  EXPECT_EQ(install->ResolveDestDir(), "C:\\Program Files\\Top");
  EXPECT_EQ(group->ResolveDestDir(), "C:\\Program Files\\Top\\Name");
  EXPECT_EQ(Specifier<TpsContainerDestDir>()->GetPath(group), "C:\\Program Files\\Top");
  EXPECT_EQ(Specifier<TpsMainInstall>()->GetPath(group), "C:\\Program Files\\Top");
  EXPECT_EQ(Specifier<TpsInstallSource>()->GetPath(group), "D:\\DIST");
  // The group's archive is the installer's: the main archive file.
  EXPECT_EQ(group->ResolveArchiveFile(), "D:\\DIST\\files.1");

  // A user's new destination shows at once in every dependent path.
  install->SetDestDir("\\Elsewhere");
  EXPECT_EQ(group->ResolveDestDir(), "C:\\Program Files\\Elsewhere\\Name");
  // Without a specifier the text alone.
  group->SetDestDirType(nullptr);
  EXPECT_EQ(group->ResolveDestDir(), "\\Name");
}

TEST_F(PathSpecifiers, MainArchiveFile) {
  const struct {
    const char* args;
    const char* expected;
  } cases[] = {
      {"-sD:\\DIST", "ok: D:\\DIST\\files.1"},
      {"-sD:\\", "ok: D:\\files.1"},  // no second backslash
      {"-sD:\\DIST -eSetup.exe", "ok: D:\\DIST\\Setup.exe"},
      {"-sD:\\DIST -e",
       "IEInstall: You forgot to pass in the name of the self-extracting "
       "executable. Usage example: \"-eSetup.exe\""},
      {"-sD:\\DIST \"-e  \"",
       "IEInstall: You forgot to pass in the name of the self-extracting "
       "executable. Usage example: \"-eSetup.exe\""},
      {"", "ok: C:\\SETUP\\files.1"},  // the running program's directory
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Owned<TForm> form(LoadInstaller(c.args));
    TInstall* install = InstallOf(form.get());
    EXPECT_EQ(install->ArchiveFileType(), Specifier<TpsMainArchiveFile>());
    EXPECT_EQ(Outcome([&] { return install->ResolveArchiveFile(); }), c.expected);
  }
}

TEST_F(PathSpecifiers, AssignmentChecksFirstAndKeepsTheOldValue) {
  Owned<TForm> form(LoadInstaller("-sD:\\DIST"));
  TInstall* install = InstallOf(form.get());
  EXPECT_EQ(install->DestDirType(), nullptr);  // default dropped: not stored
  install->SetDestDirType(Specifier<TpsWindow>());
  EXPECT_EQ(Outcome([&] {
              install->SetDestDirType(Specifier<TpsMainInstall>());
              return std::string("assigned");
            }),
            "IEPathSpecifier: Cannot use the ddMainInstallDir path specifier for a TInstall "
            "component");
  EXPECT_EQ(install->DestDirType(), Specifier<TpsWindow>());

  // Created in code without a container: its default archive specifier
  // cannot serve it, so a resolution says why.
  auto* loose = New<TTestGroup>(form.get(), "Loose");
  EXPECT_EQ(loose->ArchiveFileType(), Specifier<TpsContainerArchiveFile>());
  EXPECT_THROW(loose->ResolveArchiveFile(), IEPathSpecifier);
  loose->SetArchiveFileType(nullptr);
  loose->SetArchiveFile("own.1");
  EXPECT_THROW(loose->SetArchiveFileType(Specifier<TpsContainerArchiveFile>()), IEPathSpecifier);
  EXPECT_EQ(loose->ArchiveFile(), "own.1");
  // A main-archive specifier names the file itself: ArchiveFile goes and
  // stays empty.
  loose->SetArchiveFileType(Specifier<TpsMainArchiveFile>());
  EXPECT_EQ(loose->ArchiveFile(), "");
  loose->SetArchiveFile("ignored.1");
  EXPECT_EQ(loose->ArchiveFile(), "");
  loose->SetArchiveFileType(Specifier<TpsInstallSource>());
  loose->SetArchiveFile("extra.1");
  EXPECT_EQ(loose->ResolveArchiveFile(), "D:\\DISTextra.1");  // appended directly
}

TEST_F(PathSpecifiers, FormsDeclaringTheirSpecifiersAfterTheInstallerStillRead) {
  Machine().SetCommandLine("C:\\SETUP\\SETUP.EXE -sD:\\DIST");
  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object T: TForm\n  object Install1: TInstall\n    RunAutomatic = False\n  end\n" +
               StandardSpecifierObjects() + "end\n",
           "after.dfm");
  EXPECT_EQ(form->ComponentCount(), 15);
  EXPECT_EQ(InstallOf(form.get())->ArchiveFileType(), Specifier<TpsMainArchiveFile>());
  EXPECT_EQ(InstallOf(form.get())->ResolveArchiveFile(), "D:\\DIST\\files.1");

  // A form without any stored specifier receives the standard set.
  Owned<TForm> bare(NewForm());
  form.reset();
  ReadForm(*bare, "object T: TForm\n  object G: TTestGroup\n  end\nend\n", "bare.dfm");
  EXPECT_EQ(bare->ComponentCount(), 15);
  EXPECT_EQ(static_cast<TTestGroup*>(bare->FindComponent("G"))->DestDirType(), nullptr);
}

// The same questions on two machines of different shapes; every answer
// comes from the simulated machine, none from the host.
TEST_F(PathSpecifiers, ResolutionsFollowTheMachine) {
  struct Shape {
    platform::sim::MachineOptions options;
    std::vector<std::string> expected;
  };
  platform::sim::MachineOptions win95;
  win95.kind = "95";
  win95.windowsDir = "D:\\WIN95";
  win95.extraDrives = "E";
  platform::sim::MachineOptions nt4;
  nt4.kind = "nt4";
  nt4.windowsDir = "C:\\OS";
  nt4.userName = "Kim";
  const Shape shapes[] = {
      {win95,
       {"D:\\WIN95", "D:\\WIN95\\System", "D:\\WIN95\\Start Menu",
        "D:\\WIN95\\Start Menu\\Programs", "D:\\WIN95\\Start Menu\\Programs\\StartUp",
        "D:\\WIN95\\Desktop", "D:\\Program Files", "D:\\Program Files\\Common Files",
        "D:\\Program Files\\Quenby\\Common Files\\QDE", "D:\\Program Files\\App\\Sub",
        "D:\\WIN95\\Startmen\\Programs", "E:\\Program Files"}},
      {nt4,
       {"C:\\OS", "C:\\OS\\System32", "C:\\OS\\Profiles\\Kim\\Start Menu",
        "C:\\OS\\Profiles\\Kim\\Start Menu\\Programs",
        "C:\\OS\\Profiles\\Kim\\Start Menu\\Programs\\Startup", "C:\\OS\\Profiles\\Kim\\Desktop",
        "C:\\Program Files", "C:\\Program Files\\Common Files",
        "C:\\Program Files\\Quenby\\Common Files\\QDE", "C:\\Program Files\\App\\Sub",
        "C:\\OS\\Startmen\\Programs", "C:\\Program Files"}},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.options.kind);
    UseMachine(shape.options);
    Owned<TForm> form(
        LoadInstaller("-sD:\\DIST", "DestDirType = psProgramFiles\nDestDir = '\\App'"));
    auto* group = New<TTestGroup>(form.get(), "Group");
    group->SetContainer(InstallOf(form.get()));
    group->SetDestDir("\\Sub\\");
    std::vector<std::string> got = {Specifier<TpsWindow>()->GetPath(nullptr),
                                    Specifier<TpsSystem>()->GetPath(nullptr),
                                    Specifier<TpsStartMenu>()->GetPath(nullptr),
                                    Specifier<TpsProgramMenu>()->GetPath(nullptr),
                                    Specifier<TpsStartupMenu>()->GetPath(nullptr),
                                    Specifier<TpsDesktopMenu>()->GetPath(nullptr),
                                    Specifier<TpsProgramFiles>()->GetPath(nullptr),
                                    Specifier<TpsCommonFiles>()->GetPath(nullptr),
                                    Specifier<TpsQDEDLL>()->GetPath(nullptr),
                                    group->ResolveDestDir()};
    // The fallbacks, too, come from the machine.
    for (const char* name : {"Start Menu", "Programs"})
      DeleteValue(kRootCurrentUser, kShellFolders, name);
    DeleteValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir");
    got.push_back(Specifier<TpsProgramMenu>()->GetPath(nullptr));
    platform::system().SetCurrentDirectory(shape.options.kind == "95" ? "E:\\" : "C:\\OS");
    got.push_back(Specifier<TpsProgramFiles>()->GetPath(nullptr));
    EXPECT_THAT(got, ElementsAreArray(shape.expected));
    for (const std::string& path : got) EXPECT_THAT(path, ::testing::Not(HasSubstr(HostDir())));
  }
}

}  // namespace
