// The main link group: always below the program menu, its default folder,
// its place among a container's children, reading it from a form, and the
// program-wide reference with the one-group rule.
#include <gtest/gtest.h>

#include <functional>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/ProcessState.h"
#include "install/InstallRegistration.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace {

class MainLinkGroupTest : public PellmoreTest {
 protected:
  MainLinkGroupTest() : machine_(testsupport::ScratchNamed("pellmore-links")) {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterPathSpecifiers(r);
    RegisterInstallClasses(r);
    RegisterShellLinkClasses(r);
  }
  static TCustomPathSpecifier* Specifier(TComponent* form, const char* name) {
    return static_cast<TCustomPathSpecifier*>(form->FindComponent(name));
  }

 private:
  testsupport::TestMachine machine_;
};

TEST_F(MainLinkGroupTest, StaysBelowTheProgramMenuWhateverIsAssigned) {
  Owned<TForm> form(NewForm());
  auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
  TCustomPathSpecifier* programMenu = Specifier(form.get(), "psProgramMenu");
  ASSERT_NE(programMenu, nullptr);
  EXPECT_EQ(group->DestDirType(), programMenu);
  group->SetDestDir("\\Quenby");
  auto* files = New<TInstallFileGroup>(form.get(), "Files");

  // A new container would give an ordinary object its container's
  // directory and clear its DestDir; the main group keeps both.
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"another kind", [&] { group->SetDestDirType(Specifier(form.get(), "psSystem")); }},
      {"none", [&] { group->SetDestDirType(nullptr); }},
      {"a container", [&] { group->SetContainer(files); }},
      {"no container", [&] { group->SetContainer(nullptr); }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    change();
    EXPECT_EQ(group->DestDirType(), programMenu);
    EXPECT_EQ(group->DestDir(), "\\Quenby");
  }
  EXPECT_EQ(group->ResolveDestDir(), programMenu->GetPath(group) + "\\Quenby");
}

TEST_F(MainLinkGroupTest, NamedAfterTheProductAndPlacedAfterTheFileGroups) {
  {
    Owned<TForm> form(NewForm());
    EXPECT_EQ(New<TMainLinkGroup>(form.get(), "MainFolder")->DestDir(), "\\MainFolderName");
  }
  Owned<TForm> form(NewForm());
  auto* install = New<TInstall>(form.get(), "Install1");
  install->Information()->SetProductName("Quenby Database Engine");
  auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
  EXPECT_EQ(group->DestDir(), "\\Quenby Database Engine");
  EXPECT_TRUE(group->Include());
  EXPECT_TRUE(group->Installable());
  group->SetContainer(install);
  auto* files = New<TInstallFileGroup>(form.get(), "Files");
  files->SetContainer(install);
  ASSERT_EQ(install->ObjectCount(), 2);
  EXPECT_EQ(install->Objects(0), files);
  EXPECT_EQ(install->Objects(1), group);
}

TEST_F(MainLinkGroupTest, ReadFromAFormItTakesTheProgramMenuStoredAfterIt) {
  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object T: TForm\n"
           "  object MainFolder: TMainLinkGroup\n"
           "    Container = Files\n    DestDir = '\\Quenby Tools'\n    Include = False\n"
           "  end\n"
           "  object Files: TInstallFileGroup\n  end\n"
           "  object psProgramMenu: TpsProgramMenu\n  end\n"
           "end\n",
           "links.dfm");
  auto* group = static_cast<TMainLinkGroup*>(form->FindComponent("MainFolder"));
  ASSERT_EQ(MainLinkGroup(), group);
  EXPECT_EQ(group->DestDirType(), Specifier(form.get(), "psProgramMenu"));
  EXPECT_EQ(group->DestDir(), "\\Quenby Tools");
  EXPECT_FALSE(group->Include());
  EXPECT_EQ(group->Container(), form->FindComponent("Files"));
  Specifier(form.get(), "psProgramMenu")->Free();
  EXPECT_EQ(group->DestDirType(), nullptr);
}

TEST_F(MainLinkGroupTest, OneMainGroupAtATimeAndTheReferenceFollowsIt) {
  Owned<TForm> form(NewForm());
  auto* first = New<TMainLinkGroup>(form.get(), "First");
  EXPECT_EQ(MainLinkGroup(), first);
  try {
    New<TMainLinkGroup>(form.get(), "Second");
    ADD_FAILURE() << "a second main group was made";
  } catch (const IEShellLinkGroup& e) {
    EXPECT_EQ(e.Message(), "You can only have one TMainLinkGroup component in your project");
  }
  EXPECT_EQ(MainLinkGroup(), first);  // and nothing leaked (the fixture checks)
  first->Free();
  EXPECT_EQ(MainLinkGroup(), nullptr);
  New<TMainLinkGroup>(form.get(), "Again");
  form.reset();
  EXPECT_EQ(MainLinkGroup(), nullptr);

  Owned<TForm> other(NewForm());
  New<TMainLinkGroup>(other.get(), "Reset");
  ProcessState::ResetAll();
  EXPECT_EQ(MainLinkGroup(), nullptr);
}

}  // namespace
