// References between components: path specifiers and net locations that
// go away are dropped, a destroyed container leaves no dangling links in
// either direction, constructor defaults the stored configuration did not
// set are undone while loading, and the process-wide lists empty
// themselves.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "paths/cmp_TPathSpecifier.h"

using namespace installtest;
using ::testing::ElementsAre;

namespace {

// The standard path specifiers on a form of their own, and one custom
// specifier ("psOther") that answers with its name.
class References : public InstallTest {
 protected:
  References() {
    specs_.reset(NewForm());
    EnsureStandardSpecifiers(nullptr, specs_.get(), false);
    auto* other = New<TCustomPathSpecifier>(specs_.get(), "psOther");
    other->SetOnGetPath([](TComponent*, std::string& path) { path = "C:\\psOther"; });
  }
  TCustomPathSpecifier* Specifier(const char* kind) {
    return static_cast<TCustomPathSpecifier*>(specs_->FindComponent(kind));
  }
  Owned<TForm> specs_;
};

TEST_F(References, ContainerChangesSetAndDropContainerSpecifiers) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* file = New<TTestFile>(form.get(), "F");
  file->SetDestDir("\\old");
  file->SetArchiveFile("old.1");
  file->SetContainer(top);
  EXPECT_EQ(file->DestDirType(), Specifier("psContainerDestDir"));
  EXPECT_EQ(file->DestDir(), "");
  EXPECT_EQ(file->ArchiveFileType(), Specifier("psContainerArchiveFile"));
  EXPECT_EQ(file->ArchiveFile(), "");
  file->SetArchiveFile("ignored.1");  // the name comes from the specifier now
  EXPECT_EQ(file->ArchiveFile(), "");
  top->SetDestDirType(Specifier("psOther"));
  top->SetDestDir("\\Top");
  EXPECT_EQ(file->ResolveDestDir(), "C:\\psOther\\Top");

  file->SetContainer(nullptr);
  EXPECT_EQ(file->DestDirType(), nullptr);
  EXPECT_EQ(file->ArchiveFileType(), nullptr);
  file->SetDestDir("\\dest\\");
  EXPECT_EQ(file->ResolveDestDir(), "\\dest");
}

TEST_F(References, RemovedComponentsAreDroppedEverywhere) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* net = New<TComponent>(form.get(), "Net");
  top->SetDestDirType(Specifier("psOther"));
  top->SetArchiveFileType(Specifier("psOther"));
  top->SetNetLocation(net);
  delete net;
  EXPECT_EQ(top->NetLocation(), nullptr);
  specs_.reset();  // every specifier goes (another owner: free notifications)
  EXPECT_EQ(top->DestDirType(), nullptr);
  EXPECT_EQ(top->ArchiveFileType(), nullptr);
}

TEST_F(References, DestroyedContainersLeaveNoLinks) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* mid = New<TTestGroup>(form.get(), "Mid");
  auto* dialog = New<TTestDialog>(form.get(), "Dlg");
  auto* file = New<TTestFile>(form.get(), "F");
  mid->SetContainer(top);
  dialog->SetContainer(mid);
  file->SetContainer(mid);
  const int before = InstallContainerList().Count();

  // A file container frees its install files with it; other children just
  // lose their container, and the parent drops it.
  mid->Free();
  EXPECT_EQ(top->ObjectCount(), 0);
  EXPECT_EQ(dialog->Container(), nullptr);
  EXPECT_EQ(form->FindComponent("F"), nullptr);
  EXPECT_EQ(InstallContainerList().Count(), before - 2);

  dialog->SetContainer(top);
  form.reset();
  EXPECT_EQ(InstallContainerList().Count(), 0);
}

#ifndef _WIN32  // loading an installer reads the command line, on Windows the test program's
TEST_F(References, LoadingUndoesConstructorDefaultsNotStored) {
  // The installer's constructor names psProgramFiles; a stored DestDirType
  // keeps its value, a missing one drops the default.
  {
    Owned<TForm> form(ReadForm("object T: TForm\n object Install1: TInstall\n end\nend\n"));
    auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
    EXPECT_EQ(install->DestDirType(), nullptr);
    EXPECT_EQ(install->ArchiveFileType(), Specifier("psMainArchiveFile"));  // kept at run time
    EXPECT_EQ(install->DestDir(), "\\MyApplication");
  }
  Owned<TForm> code(NewForm());
  auto* install = New<TInstall>(code.get(), "I");
  EXPECT_EQ(install->DestDirType(), Specifier("psProgramFiles"));
}
#endif

TEST_F(References, NewGroupsAreNamedAfterTheFileContainersOfTheirContainer) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* other = New<TTestGroup>(form.get(), "Other");
  EXPECT_EQ(top->GroupName(), "Unnamed File Group");  // no container yet

  // Each new group counts the file containers its container then holds,
  // itself included; install files and dialogs are not file containers.
  New<TTestFile>(form.get(), "File")->SetContainer(top);
  New<TTestDialog>(form.get(), "Dialog")->SetContainer(top);
  auto* first = New<TTestGroup>(form.get(), "First");
  first->SetContainer(top);
  EXPECT_EQ(first->GroupName(), "Group #1");
  auto* second = New<TTestGroup>(form.get(), "Second");
  second->SetContainer(top);
  EXPECT_EQ(second->GroupName(), "Group #2");

  // A default name follows a move; a chosen one never changes.
  second->SetContainer(other);
  EXPECT_EQ(second->GroupName(), "Group #1");
  second->SetContainer(nullptr);
  EXPECT_EQ(second->GroupName(), "Unnamed File Group");
  first->SetGroupName("Tools");
  first->SetContainer(other);
  EXPECT_EQ(first->GroupName(), "Tools");
  EXPECT_EQ(top->GroupName(), "Unnamed File Group");  // containers are not renamed

#ifndef _WIN32  // reading an installer's form reads the command line (see above)
  // A group read from a description keeps the name it was given, or the
  // stored default, whatever container it sits in and wherever it moves.
  Owned<TForm> read(ReadForm(
      "object T: TForm\n object Outer: TInstallFileGroup\n end\n"
      " object A: TInstallFileGroup\n  Container = Outer\n end\n"
      " object B: TInstallFileGroup\n  Container = Outer\n  GroupName = 'Docs'\n end\nend\n"));
  auto* a = static_cast<TInstallFileGroup*>(read->FindComponent("A"));
  auto* b = static_cast<TInstallFileGroup*>(read->FindComponent("B"));
  EXPECT_EQ(a->GroupName(), "Unnamed File Group");
  EXPECT_EQ(b->GroupName(), "Docs");
  a->SetContainer(top);
  EXPECT_EQ(a->GroupName(), "Unnamed File Group");
  a->SetContainer(nullptr);
#endif
}

TEST_F(References, ListsRefuseBlankEntries) {
  EXPECT_THROW(InstallContainerList().Add(nullptr), IEContainerList);
  EXPECT_THROW(CustomInstallFileList().Add(nullptr), IECustomInstallFileList);
}

}  // namespace
