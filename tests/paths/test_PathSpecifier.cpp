// The path specifiers: what each kind resolves to on the machine as it is
// (engine directory with its first-entry rule and fallback, destinations
// under Program Files), every usage check with its message, the lists and
// the standard set a form receives.
#include <gmock/gmock.h>

#include <optional>
#include <string>

#include "PathsFixture.h"
#include "install/InstallErrors.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

using namespace pathstest;

namespace {

TEST_F(PathSpecifiers, EngineDirectoryIsTheFirstEntryElseUnderProgramFiles) {
  Owned<TForm> form(NewForm());
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

// The kinds on the machine as it is: every answer is what the system or
// the registry says, whatever the Windows and its folders.
TEST_F(PathSpecifiers, StandardKindsAnswerWhatTheMachineSays) {
  Owned<TForm> form(NewInstallerForm("\\App"));
  auto* group = New<TTestGroup>(form.get(), "Group");
  group->SetContainer(InstallOf(form.get()));
  group->SetDestDir("\\Sub\\");
  const std::string windows = platform::system().WindowsDirectory();
  const std::string programFiles = ProgramFilesFromRegistry();
  // A stored folder as the lookups give it: one trailing backslash off.
  auto stored = [](platform::RootKey root, const char* key,
                   const char* name) -> std::optional<std::string> {
    auto value = platform::registry().ReadValue(root, key, name);
    if (!value || value->text.empty()) return std::nullopt;
    std::string dir = value->text;
    if (dir.back() == '\\') dir.pop_back();
    return dir;
  };

  EXPECT_EQ(Specifier<TpsWindow>()->GetPath(nullptr), windows);
  EXPECT_EQ(Specifier<TpsSystem>()->GetPath(nullptr), platform::system().SystemDirectory());
  EXPECT_EQ(Specifier<TpsProgramFiles>()->GetPath(nullptr), programFiles);
  if (auto common = stored(platform::RootKey::LocalMachine, kCurrentVersion, "CommonFilesDir")) {
    EXPECT_EQ(Specifier<TpsCommonFiles>()->GetPath(nullptr), *common);
  }
  const struct {
    TCustomPathSpecifier* specifier;
    const char* value;
  } folders[] = {{Specifier<TpsStartMenu>(), "Start Menu"},
                 {Specifier<TpsProgramMenu>(), "Programs"},
                 {Specifier<TpsStartupMenu>(), "Startup"},
                 {Specifier<TpsDesktopMenu>(), "Desktop"}};
  for (const auto& f : folders) {
    SCOPED_TRACE(f.value);
    if (auto dir = stored(platform::RootKey::CurrentUser, kShellFolders, f.value)) {
      EXPECT_EQ(f.specifier->GetPath(nullptr), *dir);
    }
  }

  EXPECT_EQ(InstallOf(form.get())->ResolveDestDir(), programFiles + "\\App");
  EXPECT_EQ(group->ResolveDestDir(), programFiles + "\\App\\Sub");
  EXPECT_EQ(Specifier<TpsMainInstall>()->GetPath(group), programFiles + "\\App");
  EXPECT_EQ(Specifier<TpsContainerDestDir>()->GetPath(group), programFiles + "\\App");

  // Without an engine entry, nor menu folders in the registry, the
  // fallbacks build on the same directories.
  DeleteValue(kRootLocalMachine, kEngineKey, "EnginePath");
  EXPECT_EQ(Specifier<TpsQDEDLL>()->GetPath(nullptr), programFiles + "\\Quenby\\Common Files\\QDE");
  DeleteValue(kRootCurrentUser, kShellFolders, "Start Menu");
  DeleteValue(kRootCurrentUser, kShellFolders, "Programs");
  EXPECT_EQ(Specifier<TpsStartMenu>()->GetPath(nullptr), windows + "\\Startmen");
  EXPECT_EQ(Specifier<TpsProgramMenu>()->GetPath(nullptr), windows + "\\Startmen\\Programs");
}

TEST_F(PathSpecifiers, UsageChecksNameTheirMisuse) {
  Owned<TForm> form(NewForm());
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
  EXPECT_EQ(Specifier<TpsWindow>()->GetPath(nullptr), platform::system().WindowsDirectory());
  EXPECT_EQ(Specifier<TpsSystem>()->GetPath(plain), platform::system().SystemDirectory());
}

TEST_F(PathSpecifiers, NamesDescriptionsAndLists) {
  Owned<TForm> form(NewForm());
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
  Owned<TForm> form(NewForm());
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
  Owned<TForm> form(NewForm());
  New<TTestGroup>(form.get(), "A");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  New<TTestGroup>(form.get(), "B");
  Owned<TForm> other(NewForm());
  New<TTestGroup>(other.get(), "C");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 14);
  EXPECT_EQ(other->ComponentCount(), 1);
  // Not for owners that are no form.
  Owned<TComponent> bare(new TComponent(nullptr));
  form.reset();
  New<TTestGroup>(bare.get(), "D");
  EXPECT_EQ(StandardPathSpecifierList().Count(), 0);
}

}  // namespace
