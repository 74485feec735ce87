// Installing links on simulated machines: which kind of shortcut each
// machine and setting gets and what it says, the failures with the result
// text and code the user sees, links whose object was not installed, the
// link group's step, and the uninstall record.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/ProcessState.h"
#include "install/ComponentCalls.h"
#include "install/InstallRegistration.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TInstall.h"
#include "install/uninstall/cmp_TUninstallEXE.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/ShellLinks.h"
#include "shell/cmp_TProgramManager.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace {

// The uninstall program as a run leaves it: copied.
class CopiedUninstaller : public TUninstallEXE {
 public:
  using TUninstallEXE::TUninstallEXE;
  void MarkInstalled() { SetInstalled(true); }
};

constexpr const char* kKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Link Test";

class ShellLinkInstall : public PellmoreTest {
 protected:
  ShellLinkInstall() {
    RegisterClasses();
    platform::shellLinks().InitializeCom();
  }

  static void RegisterClasses() {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterPathSpecifiers(r);
    RegisterInstallClasses(r);
    RegisterInstallFile(r);
    RegisterShellLinkClasses(r);
  }

  // A fresh machine of `kind`, with COM initialised as at program start.
  // The program-wide state goes first: the Program Manager conversation
  // belongs to the machine it was opened on.
  void Use(const char* kind) {
    ProcessState::ResetAll();
    RegisterClasses();
    platform::sim::MachineOptions o;
    o.kind = kind;
    machine_.Replace(o);
    platform::shellLinks().InitializeCom();
  }

  // A link to C:\Prog\Tool.exe (which exists) in C:\Menu\Tools.
  TInstallShellLink* ToolLink(TForm* form) {
    testsupport::TestMachine::WriteFile("C:\\Prog\\Tool.exe", "MZ");
    auto* link = New<TInstallShellLink>(form, "Link");
    link->SetDestDirType(nullptr);
    link->SetDestDir("C:\\Menu\\Tools");
    link->SetTarget("C:\\Prog\\Tool.exe");
    link->SetArguments("/in %w");
    link->SetHotKey(0x0654);
    return link;
  }

  static std::string Failure(TInstallShellLink* link) {
    try {
      link->InstallObjects();
    } catch (const IEInstallShellLink& e) {
      return e.Message();
    }
    return "(nothing raised)";
  }

  testsupport::TestMachine machine_{testsupport::ScratchNamed("pellmore-link-install")};
};

TEST_F(ShellLinkInstall, EachMachineGetsItsKindOfShortcut) {
  enum Kind { kShellLink, kInternet, kNothing };
  struct Case {
    const char* kind;
    uint8_t method;
    const char* name;
    Kind expected;
  };
  const Case cases[] = {
      {"nt4", 0, "Tool.lnk", kShellLink},
      {"95", 0, "Tool.lnk", kShellLink},
      {"xp", 0, "Tool.LNK", kShellLink},
      {"win32s", 1, "Tool.lnk", kShellLink},
      {"nt4", 0, "Site.URL", kInternet},
      {"win32s", 2, "Site.url", kInternet},
      // A Program Manager item only stands for the program menu: a link
      // elsewhere writes nothing at all.
      {"nt4", 2, "Tool.lnk", kNothing},
      {"nt351", 0, "Tool.lnk", kNothing},
      {"win32s", 0, "Tool.lnk", kNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.method) + " " + c.name);
    Use(c.kind);
    if (c.expected == kShellLink && std::string(c.kind) == "win32s") {
      // No shell-link class on Win32s: the object's refusal passes on as
      // the system raised it.
      Owned<TForm> form(NewForm());
      TInstallShellLink* link = ToolLink(form.get());
      link->SetLinkName(c.name);
      link->SetLinkMethod(c.method);
      try {
        link->InstallObjects();
        ADD_FAILURE() << "installed";
      } catch (const platform::OsError& e) {
        EXPECT_EQ(e.Code(), 0x80040154u);
      }
      continue;
    }
    Owned<TForm> form(NewForm());
    TInstallShellLink* link = ToolLink(form.get());
    link->SetLinkName(c.name);
    link->SetLinkMethod(c.method);
    if (c.expected == kInternet) link->SetTarget("http://example.test/tool");
    link->InstallObjects();
    EXPECT_TRUE(link->Installed());
    const std::string file = link->LinkFileName();
    EXPECT_EQ(file, std::string("C:\\Menu\\Tools\\") + c.name);
    switch (c.expected) {
      case kShellLink: {
        auto read = platform::shellLinks().Read(file);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->path, "C:\\Prog\\Tool.exe");
        EXPECT_EQ(read->arguments, "/in " + WindowsDirectory());
        EXPECT_EQ(read->workingDirectory, "C:\\Prog");
        EXPECT_EQ(read->hotKey, 0x0654);
        EXPECT_EQ(read->description, "");
        EXPECT_TRUE(link->ComReady());
        break;
      }
      case kInternet:
        EXPECT_EQ(platform::iniFiles().ReadString(file, "InternetShortcut", "URL", "?"),
                  "http://example.test/tool");
        EXPECT_FALSE(platform::shellLinks().Read(file).has_value());
        break;
      case kNothing:
        EXPECT_FALSE(platform::files().FileExists(file));
        EXPECT_FALSE(link->ComReady());
        break;
    }
  }
}

TEST_F(ShellLinkInstall, ProgramManagerItemsGoIntoTheMenuFoldersGroup) {
  struct Case {
    const char* kind;
    uint8_t method;
    bool existingItem;
  };
  // Machines without the shell-link class get an item by platform; any
  // machine when asked to.
  const Case cases[] = {{"win32s", 0, false}, {"nt351", 0, true}, {"nt4", 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Use(c.kind);
    Owned<TForm> form(NewForm());
    TInstallShellLink* link = ToolLink(form.get());
    link->SetDestDirType(FindPathSpecifier<TpsProgramMenu>());
    link->SetDestDir("\\Quenby Tools ");
    link->SetLinkName("Tool Box.lnk");
    link->SetLinkMethod(c.method);
    if (c.existingItem) {
      TProgramManager& pm = ProgramManager();
      pm.CreateGroup("Quenby Tools");
      pm.AddItem("old.exe", "Tool Box", "", 0, "", "");
    }
    link->InstallObjects();
    const auto groups = machine_.Sim()->DdeServer().Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].name, "Quenby Tools");
    ASSERT_EQ(groups[0].items.size(), 1u) << "an old item of the name is replaced";
    const platform::sim::SimProgmanItem& item = groups[0].items[0];
    EXPECT_EQ(item.name, "Tool Box");
    EXPECT_EQ(item.command, "\"C:\\Prog\\Tool.exe\" /in " + WindowsDirectory());
    EXPECT_EQ(item.directory, "C:\\Prog");
    const auto commands = machine_.Sim()->DdeServer().Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back().text, "[AddItem(\"C:\\Prog\\Tool.exe\" /in " + WindowsDirectory() +
                                        ",Tool Box,,0,,,\"C:\\Prog\",)]");
    EXPECT_EQ(item.iconPath, "");
    EXPECT_FALSE(platform::files().FileExists(link->LinkFileName())) << "no shortcut file";
    // An item is no file the uninstall program could remove.
    link->WriteUninstallInfo(kKey);
    EXPECT_EQ(ReadRegString(kRootLocalMachine, std::string(kKey) + "\\Files", "Entries", "?"), "?");
  }
}

TEST_F(ShellLinkInstall, FailuresNameTheLinkTheResultAndItsCode) {
  const std::string prefix =
      "The TCustomInstallShellLink Link name could not be installed. The following error was "
      "reported ";
  struct Case {
    const char* what;
    std::function<void(TInstallShellLink*)> arrange;
    std::string message;
    bool linkRemains;
  };
  const Case cases[] = {
      {"a blank name", [](TInstallShellLink* l) { l->SetLinkName("  "); },
       "The LinkName is blank for Link and therefore could not be installed", false},
      {"a path of 260 units",
       [](TInstallShellLink* l) {
         l->SetDestDir("C:\\" + std::string(240, 'd'));
         l->SetLinkName(std::string(12, 'n') + ".lnk");  // 3 + 240 + 1 + 16 = 260
       },
       prefix + "Indicates one or more arguments are invalid. Error code -2147024809", false},
      {"a full disk",
       [](TInstallShellLink*) { platform::files().CreateDirectories("C:\\Menu\\Tools"); },
       prefix + "There is not enough space on the disk.. Error code -2147024784", false},
      {"a link held by another program",
       [](TInstallShellLink*) {
         testsupport::TestMachine::WriteFile("C:\\Menu\\Tools\\Tool.lnk", "old");
       },
       prefix + "The process cannot access the file because it is being used by another process.. "
                "Error code -2147024864",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Use("nt4");
    Owned<TForm> form(NewForm());
    TInstallShellLink* link = ToolLink(form.get());
    c.arrange(link);
    if (std::string(c.what) == "a full disk") machine_.Sim()->SetFreeSpace('C', 0);
    if (std::string(c.what) == "a link held by another program")
      machine_.Sim()->Hold("C:\\Menu\\Tools\\Tool.lnk");
    EXPECT_EQ(Failure(link), c.message);
    EXPECT_EQ(platform::files().FileExists(link->LinkFileName()), c.linkRemains);
    EXPECT_FALSE(link->Installed());
  }
  // Whatever result comes back has a text: the table's, the system's, or
  // none for success.
  EXPECT_EQ(ShellLinkResultText(int32_t(0x8000FFFF)), "Indicates an unexpected error occurred");
  EXPECT_EQ(ShellLinkResultText(int32_t(0x80040110)),
            "Indicates this class cannot be created as part of an aggregate");
  EXPECT_EQ(ShellLinkResultText(int32_t(0x80040154)),
            "Indicates that a specified class is not registered in the registration database");
  EXPECT_EQ(ShellLinkResultText(int32_t(0x8007000E)), "Out of memory");
  EXPECT_EQ(ShellLinkResultText(0), "");
  EXPECT_EQ(ShellLinkResultText(int32_t(0x80070005)), "Access is denied.");
  EXPECT_EQ(ShellLinkResultText(int32_t(0x80004005)), "Error 0x80004005.");
}

TEST_F(ShellLinkInstall, ObjectLinksInstallOnlyAfterTheirObjectAndGroupsMakeTheirFolder) {
  Owned<TForm> form(NewForm());
  auto* install = New<TInstall>(form.get(), "Install1");
  install->Information()->SetProductName("Link Test");
  auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
  group->SetContainer(install);
  std::vector<int> calls;
  auto* grab = New<TGrabCall>(form.get(), "Grab");
  grab->SetContainer(group);
  grab->SetOnCall([&](TObject*, int call, TObject*) { calls.push_back(call); });

  // A link to a file this run did not install is left out silently.
  auto* file = New<TInstallFile>(form.get(), "Tool");
  file->SetDestDirType(nullptr);
  file->SetDestDir("C:\\Prog");
  file->SetDestName("TOOL.EXE");
  auto* toFile = New<TInstallShellLink>(form.get(), "ToFile");
  toFile->SetObjectLink(file);
  toFile->SetContainer(group);
  toFile->SetDestDirType(FindPathSpecifier<TpsContainerDestDir>());
  // A link to the group opens its folder; without a container of its own
  // it sits in the group and is installed with it.
  auto* toGroup = New<TInstallShellLink>(form.get(), "ToGroup");
  toGroup->SetObjectLink(group);
  toGroup->SetDestDirType(FindPathSpecifier<TpsDesktopMenu>());
  ASSERT_EQ(toGroup->Container(), group);

  const std::string folder = group->ResolveDestDir();
  ASSERT_EQ(folder, FindPathSpecifier<TpsProgramMenu>()->GetPath(group) + "\\Link Test");
  EXPECT_FALSE(platform::files().DirectoryExists(folder));
  group->InstallObjects();
  EXPECT_EQ(calls, std::vector<int>{kCallLinkGroups});
  EXPECT_TRUE(platform::files().DirectoryExists(folder)) << "made with its missing parents";
  EXPECT_FALSE(platform::files().FileExists(folder + "\\TOOL.lnk"));
  const std::string desktopLink =
      FindPathSpecifier<TpsDesktopMenu>()->GetPath(toGroup) + "\\MainFolder.lnk";
  EXPECT_EQ(toGroup->LinkFileName(), desktopLink);
  // Only what was written is recorded for the uninstall program.
  const std::string files = std::string(kKey) + "\\Files";
  EXPECT_EQ(ReadRegString(kRootLocalMachine, files, "Entries", "?"), "1");
  EXPECT_EQ(ReadRegString(kRootLocalMachine, files, "File1", "?"), desktopLink);
  auto read = platform::shellLinks().Read(desktopLink);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->path, folder);
}

TEST_F(ShellLinkInstall, ALinkToTheUninstallProgramPassesTheProductName) {
  for (const bool withInstaller : {true, false}) {
    SCOPED_TRACE(withInstaller ? "with an installer" : "without one");
    Owned<TForm> form(NewForm());
    if (withInstaller)
      New<TInstall>(form.get(), "Install1")->Information()->SetProductName("Link Test");
    auto* uninstaller = New<CopiedUninstaller>(form.get(), "Uninstaller");
    uninstaller->SetDestDirType(nullptr);
    uninstaller->SetDestDir("C:\\Prog");
    uninstaller->SetDestName("uninstall.exe");
    uninstaller->MarkInstalled();
    auto* link = New<TInstallShellLink>(form.get(), "Remove");
    link->SetObjectLink(uninstaller);
    link->SetContainer(nullptr);
    link->SetDestDirType(nullptr);
    link->SetDestDir("C:\\Menu");
    link->SetArguments("/ignored");
    if (!withInstaller) {
      EXPECT_EQ(Failure(link),
                "Remove cannot perform operation because there is no TInstall component");
      continue;
    }
    link->InstallObjects();
    auto read = platform::shellLinks().Read("C:\\Menu\\uninstall.lnk");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->path, "C:\\Prog\\uninstall.exe");
    EXPECT_EQ(read->arguments, "Link Test");
    EXPECT_EQ(read->workingDirectory, "C:\\Prog");
  }
}

TEST_F(ShellLinkInstall, TheUninstallRecordCountsOnFromWhatIsThere) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> before;  // key suffix, Entries
    std::string key, value, entries;
  };
  const Case cases[] = {
      {"nothing yet", {}, "Files", "File1", "1"},
      {"two entries", {{"Files", "2"}}, "Files", "File3", "3"},
      {"an unreadable count is passed over",
       {{"Files", "many"}, {"Files1", "4"}},
       "Files1",
       "File5",
       "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Use("nt4");
    for (const auto& [sub, entries] : c.before)
      WriteRegString(kRootLocalMachine, std::string(kKey) + "\\" + sub, "Entries", entries);
    Owned<TForm> form(NewForm());
    TInstallShellLink* link = ToolLink(form.get());
    link->SetLinkName("Tool.lnk");
    link->InstallObjects();
    link->WriteUninstallInfo(kKey);
    const std::string sub = std::string(kKey) + "\\" + c.key;
    EXPECT_EQ(ReadRegString(kRootLocalMachine, sub, c.value, "?"), "C:\\Menu\\Tools\\Tool.lnk");
    EXPECT_EQ(ReadRegString(kRootLocalMachine, sub, "Entries", "?"), c.entries);
    for (const auto& [other, entries] : c.before) {
      if (other == c.key) continue;
      EXPECT_EQ(ReadRegString(kRootLocalMachine, std::string(kKey) + "\\" + other, "Entries", "?"),
                entries);
    }
  }
}

}  // namespace
