// The main link group: always resolving through the program-menu
// specifier, its default folder with and without an installer, its place
// among a container's children, reading it from a form description, and
// the program-wide reference with the one-group rule.
#include <gtest/gtest.h>

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

TEST_F(MainLinkGroupTest, DestDirTypeStaysTheProgramMenuWhateverIsAssigned) {
  Owned<TForm> form(NewForm());
  auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
  TCustomPathSpecifier* programMenu = Specifier(form.get(), "psProgramMenu");
  ASSERT_NE(programMenu, nullptr);  // a form with an install object holds every specifier
  EXPECT_EQ(group->DestDirType(), programMenu);
  group->SetDestDir("\\Quenby");

  struct Case {
    const char* what;
    TCustomPathSpecifier* assigned;
  };
  const Case cases[] = {
      {"another kind", Specifier(form.get(), "psSystem")},
      {"the container's directory", Specifier(form.get(), "psContainerDestDir")},
      {"none", nullptr},
      {"the program menu itself", programMenu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    group->SetDestDirType(c.assigned);
    EXPECT_EQ(group->DestDirType(), programMenu);
    EXPECT_EQ(group->DestDir(), "\\Quenby");  // the folder is not touched
  }

  // A container of its own changes neither: the folder never lives in the
  // container's directory.
  auto* files = New<TInstallFileGroup>(form.get(), "Files");
  group->SetContainer(files);
  EXPECT_EQ(group->Container(), files);
  EXPECT_EQ(group->DestDirType(), programMenu);
  EXPECT_EQ(group->DestDir(), "\\Quenby");
  group->SetContainer(nullptr);
  EXPECT_EQ(group->DestDirType(), programMenu);

  // It resolves below the Programs folder, whatever that is on this machine.
  EXPECT_EQ(group->ResolveDestDir(), programMenu->GetPath(group) + "\\Quenby");
}

TEST_F(MainLinkGroupTest, DefaultFolderIsTheProductNameOrAPlaceholder) {
  {
    Owned<TForm> form(NewForm());
    auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
    EXPECT_EQ(group->DestDir(), "\\MainFolderName");  // no installer yet
    EXPECT_TRUE(group->Include());
    EXPECT_TRUE(group->Installable());
  }
  Owned<TForm> form(NewForm());
  auto* install = New<TInstall>(form.get(), "Install1");
  install->Information()->SetProductName("Quenby Database Engine");
  auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
  EXPECT_EQ(group->DestDir(), "\\Quenby Database Engine");

  // Among the installer's children link groups come after the file groups,
  // whichever joined first.
  group->SetContainer(install);
  auto* files = New<TInstallFileGroup>(form.get(), "Files");
  files->SetContainer(install);
  ASSERT_EQ(install->ObjectCount(), 2);
  EXPECT_EQ(install->Objects(0), files);
  EXPECT_EQ(install->Objects(1), group);
}

TEST_F(MainLinkGroupTest, ReadFromAFormItTakesTheProgramMenuStoredAfterIt) {
  // The specifier is stored after the group, so it does not exist yet when
  // the group is made; the group still ends up using it.
  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object T: TForm\n"
           "  object MainFolder: TMainLinkGroup\n"
           "    Container = Files\n"
           "    DestDir = '\\Quenby Tools'\n"
           "    Include = False\n"
           "  end\n"
           "  object Files: TInstallFileGroup\n  end\n"
           "  object psProgramMenu: TpsProgramMenu\n  end\n"
           "end\n",
           "links.dfm");
  auto* group = static_cast<TMainLinkGroup*>(form->FindComponent("MainFolder"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(MainLinkGroup(), group);
  EXPECT_EQ(group->DestDirType(), Specifier(form.get(), "psProgramMenu"));
  EXPECT_EQ(group->DestDir(), "\\Quenby Tools");
  EXPECT_FALSE(group->Include());
  EXPECT_EQ(group->Container(), form->FindComponent("Files"));

  // Without a program-menu specifier there is nothing to resolve through.
  Specifier(form.get(), "psProgramMenu")->Free();
  EXPECT_EQ(group->DestDirType(), nullptr);
}

TEST_F(MainLinkGroupTest, OneMainGroupAtATimeAndTheReferenceFollowsIt) {
  Owned<TForm> form(NewForm());
  EXPECT_EQ(MainLinkGroup(), nullptr);
  auto* first = New<TMainLinkGroup>(form.get(), "First");
  EXPECT_EQ(MainLinkGroup(), first);

  // A second one is refused and leaves nothing behind: the first stays the
  // main group (the fixture checks that nothing leaked).
  try {
    New<TMainLinkGroup>(form.get(), "Second");
    FAIL() << "a second main group was made";
  } catch (const IEShellLinkGroup& e) {
    EXPECT_EQ(e.Message(), "You can only have one TMainLinkGroup component in your project");
  }
  EXPECT_EQ(MainLinkGroup(), first);
  EXPECT_EQ(form->FindComponent("Second"), nullptr);

  first->Free();
  EXPECT_EQ(MainLinkGroup(), nullptr);
  auto* again = New<TMainLinkGroup>(form.get(), "Again");
  EXPECT_EQ(MainLinkGroup(), again);

  // Destroyed with its owner, it takes the reference with it.
  form.reset();
  EXPECT_EQ(MainLinkGroup(), nullptr);

  // A process-state reset empties the reference like the other lists.
  Owned<TForm> other(NewForm());
  New<TMainLinkGroup>(other.get(), "Reset");
  ASSERT_TRUE(ProcessState::IsRegistered("links.MainLinkGroup"));
  ProcessState::ResetAll();
  EXPECT_EQ(MainLinkGroup(), nullptr);
}

}  // namespace
