// The path specifiers: what each kind resolves to (engine directory with
// its first-entry rule and fallback, container-relative destinations, the
// main archive), every usage check with its message, the lists and the
// standard set a form receives, the wiring into install objects, and the
// same resolutions on two differently shaped machines.
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

class PathSpecifiers : public PathsTest {
 protected:
  template <class T>
  T* Specifier() {
    return FindByClass<T>();
  }
  // The exception's class and message, or "ok: <result>".
  template <class F>
  std::string Outcome(F&& f) {
    try {
      return "ok: " + f();
    } catch (const Exception& e) {
      return e.ClassName() + std::string(": ") + e.Message();
    }
  }
  static TInstall* InstallOf(TForm* form) {
    return static_cast<TInstall*>(form->FindComponent("Install1"));
  }
};

TEST_F(PathSpecifiers, EngineDirectoryIsTheFirstEntryElseUnderProgramFiles) {
  Owned<TForm> form(new TForm(nullptr));
  EnsureStandardSpecifiers(nullptr, form.get(), false);
  auto* specifier = Specifier<TpsQDEDLL>();
  SetValue(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir", "D:\\Apps\\");
  const struct {
    const char* stored;  // null: value missing
    const char* expected;
  } cases[] = {
      {"C:\\QDE\\BIN;C:\\Other", "C:\\QDE\\BIN"},
      {"C:\\QDE\\", "C:\\QDE\\"},  // as stored
      {nullptr, "D:\\Apps\\Quenby\\Common Files\\QDE"},
      {"", "D:\\Apps\\Quenby\\Common Files\\QDE"},
      {";C:\\Second", "D:\\Apps\\Quenby\\Common Files\\QDE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    if (c.stored)
      SetValue(kRootLocalMachine, kEngineKey, "EnginePath", c.stored);
    else
      DeleteValue(kRootLocalMachine, kEngineKey, "EnginePath");
    EXPECT_EQ(specifier->GetPath(nullptr), c.expected);
  }
}

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

TEST_F(PathSpecifiers, UsageChecksNameTheirMisuse) {
  Owned<TForm> form(new TForm(nullptr));
  auto* group = New<TTestGroup>(form.get(), "Group");  // brings the standard set
  auto* object = New<TTestObject>(form.get(), "Dlg");
  auto* loose = New<TTestObject>(form.get(), "Loose");
  auto* plain = New<TComponent>(form.get(), "Plain");
  object->SetContainer(group);
  auto* child = New<TTestGroup>(form.get(), "Child");
  child->SetContainer(group);
  auto* underObject = New<TTestObject>(form.get(), "Under");
  underObject->SetContainer(object);  // container is not file-related

  const std::string noInstall =
      "IEPathSpecifier: There is no TInstall component so the path specifier could not be "
      "expanded for ";
  const struct {
    TCustomPathSpecifier* specifier;
    TComponent* component;
    std::string expected;
  } cases[] = {
      {Specifier<TpsContainerDestDir>(), plain,
       "IEPathSpecifier: Plain must be a TInstallObject to use the psContainerDestDir path "
       "specifier"},
      {Specifier<TpsContainerDestDir>(), loose,
       "IEPathSpecifier: Cannot use ddContainerDestDir for Loose unless you assign a Container"},
      {Specifier<TpsContainerArchiveFile>(), plain,
       "IEPathSpecifier: Plain must be a TInstallObject to use the psContainerArchiveFile path "
       "specifier"},
      {Specifier<TpsContainerArchiveFile>(), loose,
       "IEPathSpecifier: Cannot use ddContainerArchiveFile for Loose unless you assign a "
       "Container"},
      {Specifier<TpsContainerArchiveFile>(), underObject,
       "IEPathSpecifier: Cannot use the ddContainerArchiveFile path specifier for Under because "
       "the Container is not a TFileRelated descendant"},
      {Specifier<TpsInstallSource>(), object, noInstall + "Dlg"},
      {Specifier<TpsMainInstall>(), object, noInstall + "Dlg"},
      {Specifier<TpsMainArchiveFile>(), child, noInstall + "Child"},
      {Specifier<TpsContainerDestDir>(), nullptr,
       "IEPathSpecifier:  must be a TInstallObject to use the psContainerDestDir path specifier"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.specifier->Name() + " for " + (c.component ? c.component->Name() : "null"));
    EXPECT_EQ(Outcome([&] {
                c.specifier->CheckUsage(c.component);
                return std::string("accepted");
              }),
              c.expected);
    // Resolving checks first, with the same message.
    EXPECT_EQ(Outcome([&] { return c.specifier->GetPath(c.component); }), c.expected);
  }
  // Kinds that need no component accept anything.
  EXPECT_NO_THROW(Specifier<TpsWindow>()->CheckUsage(nullptr));
  EXPECT_EQ(Specifier<TpsWindow>()->GetPath(nullptr), "C:\\WINNT");
  EXPECT_EQ(Specifier<TpsSystem>()->GetPath(plain), "C:\\WINNT\\System32");
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

TEST_F(PathSpecifiers, NamesDescriptionsAndLists) {
  Owned<TForm> form(new TForm(nullptr));
  EXPECT_THROW(FindByClass<TpsSystem>(), IEPathSpecifier);
  EnsureStandardSpecifiers(nullptr, form.get(), true);
  ASSERT_EQ(form->ComponentCount(), 14);
  const char* names[] = {"psQDEDLL",           "psCommonFiles",  "psContainerArchiveFile",
                         "psContainerDestDir", "psDesktopMenu",  "psInstallSource",
                         "psMainInstall",      "psProgramFiles", "psProgramMenu",
                         "psStartMenu",        "psStartupMenu",  "psSystem",
                         "psMainArchiveFile",  "psWindow"};
  for (int i = 0; i < 14; ++i) {
    auto* specifier = static_cast<TCustomPathSpecifier*>(form->Components(i));
    EXPECT_EQ(specifier->Name(), names[i]);
    EXPECT_EQ(specifier->StandardName(), names[i]);
    EXPECT_EQ(std::string("T") + names[i], specifier->ClassName());
  }
  EXPECT_EQ(PathSpecifierList().Count(), 14);
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  EXPECT_EQ(Specifier<TpsStartupMenu>()->Description(),
            "Path of the Startup folder in the Programs folder under the Start Menu");

  // A custom specifier joins only the list of all specifiers.
  auto* custom = New<TCustomPathSpecifier>(form.get(), "Custom");
  EXPECT_EQ(custom->DescriptionFor(custom), "Unspecified");
  EXPECT_EQ(custom->GetPath(nullptr), "");
  custom->SetOnGetPath([](TComponent* c, std::string& path) { path = "X:\\" + c->Name(); });
  EXPECT_EQ(custom->GetPath(form.get()), "X:\\");
  EXPECT_EQ(PathSpecifierList().Count(), 15);
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  EXPECT_THROW(PathSpecifierList().Add(nullptr), IEPathSpecifierList);

  // Without only-if-missing a second set comes, numbered where names clash;
  // without an owner nothing happens.
  EnsureStandardSpecifiers(nullptr, form.get(), false);
  EXPECT_NE(form->FindComponent("psWindow1"), nullptr);
  EnsureStandardSpecifiers(nullptr, nullptr, false);
  EXPECT_EQ(StandardPathSpecifierList().Count(), 28);
  form.reset();
  EXPECT_EQ(PathSpecifierList().Count(), 0);
  EXPECT_EQ(StandardPathSpecifierList().Count(), 0);
}

TEST_F(PathSpecifiers, ContainerDescriptionNamesTheGroup) {
  Owned<TForm> form(new TForm(nullptr));
  auto* group = New<TTestGroup>(form.get(), "Group");
  group->SetGroupName("Engine files");
  auto* object = New<TTestObject>(form.get(), "Obj");
  auto* inner = New<TTestObject>(form.get(), "Inner");
  auto* specifier = Specifier<TpsContainerDestDir>();
  EXPECT_EQ(specifier->DescriptionFor(object), "Path of the group (container)");  // no container
  object->SetContainer(group);
  inner->SetContainer(object);
  EXPECT_EQ(specifier->DescriptionFor(object), "Path of the <Engine files> group");
  EXPECT_EQ(specifier->DescriptionFor(inner), "Path of the <Obj> group");
}

TEST_F(PathSpecifiers, OneStandardSetPerProcessWhateverTheForms) {
  Owned<TForm> form(new TForm(nullptr));
  New<TTestGroup>(form.get(), "A");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  New<TTestGroup>(form.get(), "B");
  Owned<TForm> other(new TForm(nullptr));
  New<TTestGroup>(other.get(), "C");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  EXPECT_EQ(other->ComponentCount(), 1);
  // Not for owners that are no form.
  Owned<TComponent> bare(new TComponent(nullptr));
  form.reset();
  New<TTestGroup>(bare.get(), "D");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 0);
}

TEST_F(PathSpecifiers, FormsDeclaringTheirSpecifiersAfterTheInstallerStillRead) {
  Machine().SetCommandLine("C:\\SETUP\\SETUP.EXE -sD:\\DIST");
  Owned<TForm> form(new TForm(nullptr));
  ReadForm(*form,
           "object T: TForm\n  object Install1: TInstall\n    RunAutomatic = False\n  end\n" +
               StandardSpecifierObjects() + "end\n",
           "after.dfm");
  EXPECT_EQ(form->ComponentCount(), 15);
  EXPECT_EQ(InstallOf(form.get())->ArchiveFileType(), Specifier<TpsMainArchiveFile>());
  EXPECT_EQ(InstallOf(form.get())->ResolveArchiveFile(), "D:\\DIST\\files.1");

  // A form without any stored specifier receives the standard set.
  Owned<TForm> bare(new TForm(nullptr));
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
