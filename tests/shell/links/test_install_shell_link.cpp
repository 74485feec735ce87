// Shortcut components without a run: how LinkName, Target, TargetType and
// ObjectLink keep each other consistent, what psObjectLink resolves and
// refuses, the program-wide lists, reading a link from a form, and a link
// going away with the object it points at.
#include <gtest/gtest.h>

#include <functional>

#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "install/InstallRegistration.h"
#include "install/cmp_TFileContainer.h"
#include "paths/cmp_TPathSpecifier.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace {

class ShellLinkRules : public PellmoreTest {
 protected:
  ShellLinkRules() : machine_(testsupport::ScratchNamed("pellmore-link-rules")) {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterPathSpecifiers(r);
    RegisterInstallClasses(r);
    RegisterInstallFile(r);
    RegisterShellLinkClasses(r);
  }

  template <class E, class F>
  static std::string MessageOf(F&& action) {
    try {
      action();
    } catch (const E& e) {
      return e.Message();
    }
    return "(nothing raised)";
  }
  testsupport::TestMachine& machine() { return machine_; }

 private:
  testsupport::TestMachine machine_;
};

TEST_F(ShellLinkRules, LinkNameFollowsWhatTheLinkPointsAt) {
  struct Case {
    const char* what;
    std::function<void(TForm*, TInstallShellLink*)> act;
    const char* linkName;
    bool keepsObjectLink;
    const char* target;
  };
  const Case cases[] = {
      {"a file",
       [](TForm* f, TInstallShellLink* l) {
         auto* file = New<TInstallFile>(f, "SetupFile");
         file->SetDestName("SETUP.EXE");
         l->SetObjectLink(file);
       },
       "SETUP.lnk", true, ""},
      {"a file group",
       [](TForm* f, TInstallShellLink* l) {
         auto* group = New<TInstallFileGroup>(f, "ToolFiles");
         group->SetGroupName("Tools");
         l->SetObjectLink(group);
       },
       "Tools.lnk", true, ""},
      {"another object by its name",
       [](TForm* f, TInstallShellLink* l) {
         l->SetObjectLink(New<TMainLinkGroup>(f, "MainFolder"));
       },
       "MainFolder.lnk", true, ""},
      {"another extension takes the old one",
       [](TForm*, TInstallShellLink* l) {
         l->SetLinkName("a.LNK");
         l->SetLinkName("Readme.txt");
       },
       "Readme.LNK", false, ""},
      {"another extension without an old one",
       [](TForm*, TInstallShellLink* l) { l->SetLinkName("Readme.txt"); }, "Readme.LNK", false, ""},
      {"no extension", [](TForm*, TInstallShellLink* l) { l->SetLinkName("Readme"); }, "Readme.LNK",
       false, ""},
      {".lnk in any case stays", [](TForm*, TInstallShellLink* l) { l->SetLinkName("x.lnk"); },
       "x.lnk", false, ""},
      {".url drops the object",
       [](TForm* f, TInstallShellLink* l) {
         auto* file = New<TInstallFile>(f, "SetupFile");
         file->SetDestName("SETUP.EXE");
         l->SetObjectLink(file);
         l->SetLinkName("site.url");
         l->SetTarget("http://example.test/");  // settable again without the specifier
       },
       "site.url", false, "http://example.test/"},
      {"an HTTP target names an Internet shortcut",
       [](TForm*, TInstallShellLink* l) { l->SetTarget("see hTTp://www.example.test"); },
       "www.example.test.URL", false, "see hTTp://www.example.test"},
      {"an FTP target", [](TForm*, TInstallShellLink* l) { l->SetTarget("ftp://files.test"); },
       "files.test.URL", false, "ftp://files.test"},
      {"a path target", [](TForm*, TInstallShellLink* l) { l->SetTarget("C:\\Tools\\Edit.com"); },
       "Edit.LNK", false, "C:\\Tools\\Edit.com"},
      {"a bare .LNK name is derived again",
       [](TForm*, TInstallShellLink* l) {
         l->SetLinkName(".LNK");
         l->SetTarget("C:\\Tools\\Edit.com");
       },
       "Edit.LNK", false, "C:\\Tools\\Edit.com"},
      {"a given name is kept",
       [](TForm*, TInstallShellLink* l) {
         l->SetLinkName("Mine.lnk");
         l->SetTarget("C:\\Tools\\Edit.com");
       },
       "Mine.lnk", false, "C:\\Tools\\Edit.com"},
      {"no Target beside the object",
       [](TForm* f, TInstallShellLink* l) {
         l->SetTarget("C:\\Old.exe");
         auto* group = New<TInstallFileGroup>(f, "DocFiles");
         group->SetGroupName("Docs");
         l->SetObjectLink(group);
         l->SetTarget("C:\\Ignored.exe");
       },
       "Docs.lnk", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> form(NewForm());
    auto* link = New<TInstallShellLink>(form.get(), "Link");
    c.act(form.get(), link);
    EXPECT_EQ(link->LinkName(), c.linkName);
    EXPECT_EQ(link->ObjectLink() != nullptr, c.keepsObjectLink);
    EXPECT_EQ(link->Target(), c.target);
    if (c.keepsObjectLink) {
      EXPECT_EQ(link->TargetType(), ObjectLinkSpecifier());
      EXPECT_EQ(link->Container(), link->ObjectLink()) << "the object became its container";
    }
  }
}

TEST_F(ShellLinkRules, TheObjectLinkSpecifierResolvesAndRefuses) {
  Owned<TForm> form(NewForm());
  auto* link = New<TInstallShellLink>(form.get(), "Link");
  TpsObjectLink* specifier = ObjectLinkSpecifier();
  ASSERT_NE(specifier, nullptr) << "made sure of with the first link on a form";
  EXPECT_EQ(specifier->Name(), "psObjectLink");
  EXPECT_EQ(specifier->Owner(), form.get());
  EXPECT_EQ(specifier->Description(), "Path of the file or file group in the ObjectLink property");

  link->SetLinkName("Tool.lnk");
  EXPECT_EQ(MessageOf<IEPathSpecifier>([&] { link->SetTargetType(specifier); }),
            "Cannot use ddObjectLink for Tool.lnk unless you assign a value to ObjectLink");
  EXPECT_EQ(link->TargetType(), nullptr) << "a refusal keeps the old specifier";
  auto* group = New<TInstallFileGroup>(form.get(), "Files");
  EXPECT_EQ(MessageOf<IEPathSpecifier>([&] { specifier->GetPath(group); }),
            "Files must be a TCustomInstallShellLink to use the psObjectLink path specifier");

  // A file resolves to its full destination path, a group to its folder;
  // neither with a trailing backslash.
  group->SetDestDirType(nullptr);
  group->SetDestDir(machine().At("App\\"));
  auto* file = New<TInstallFile>(form.get(), "Tool");
  file->SetDestDirType(nullptr);
  file->SetDestDir(machine().At("App\\Bin"));
  file->SetDestName("TOOL.EXE");
  link->SetObjectLink(file);
  EXPECT_EQ(link->TargetPath(), machine().At("App\\Bin\\TOOL.EXE"));
  link->SetObjectLink(group);
  EXPECT_EQ(link->TargetPath(), machine().At("App"));
  // Emptying the object empties the specifier with it.
  link->SetObjectLink(nullptr);
  EXPECT_EQ(link->TargetType(), nullptr);
  link->SetContainer(nullptr);
  link->SetTarget(machine().At("Other\\"));
  EXPECT_EQ(link->TargetPath(), machine().At("Other"));
}

TEST_F(ShellLinkRules, ListsFollowTheLiveLinksAndGroupsAndGoWithTheirObjects) {
  EXPECT_EQ(MessageOf<IEInstallShellLinkList>([] { InstallShellLinkList().Add(nullptr); }),
            "Cannot add a blank entry to the shell link list");
  EXPECT_EQ(MessageOf<IEInstallShellLinkList>([] { ShellLinkGroupList().Add(nullptr); }),
            "Cannot add a blank entry to the shell link list");
  {
    Owned<TForm> form(NewForm());
    auto* group = New<TMainLinkGroup>(form.get(), "MainFolder");
    auto* file = New<TInstallFile>(form.get(), "Tool");
    auto* toFile = New<TInstallShellLink>(form.get(), "ToFile");
    auto* inGroup = New<TInstallShellLink>(form.get(), "InGroup");
    auto* plain = New<TInstallShellLink>(form.get(), "Plain");
    toFile->SetObjectLink(file);
    inGroup->SetContainer(group);
    plain->SetTarget("C:\\x.exe");
    EXPECT_EQ(InstallShellLinkList().Count(), 3);
    EXPECT_EQ(ShellLinkGroupList().Count(), 1);

    // The object pointed at and the link's container take the link along;
    // a destroyed specifier is only forgotten.
    file->Free();
    EXPECT_EQ(form->FindComponent("ToFile"), nullptr);
    EXPECT_FALSE(InstallShellLinkList().Contains(toFile));
    group->Free();
    EXPECT_EQ(form->FindComponent("InGroup"), nullptr);
    EXPECT_EQ(ShellLinkGroupList().Count(), 0);
    auto* custom = New<TCustomPathSpecifier>(form.get(), "Custom");
    plain->SetTargetType(custom);
    custom->Free();
    EXPECT_EQ(plain->TargetType(), nullptr);
    EXPECT_EQ(InstallShellLinkList().Count(), 1);
  }
  EXPECT_EQ(InstallShellLinkList().Count(), 0);
}

TEST_F(ShellLinkRules, AFormDeclaresALinkWithItsPublishedProperties) {
  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object T: TForm\n"
           "  object Tool: TInstallFile\n    DestName = 'TOOL.EXE'\n  end\n"
           "  object ToolLink: TInstallShellLink\n"
           "    Arguments = '/open %w'\n    HotKey = 1620\n    LinkMethod = 1\n"
           "    LinkName = 'My Tool.txt'\n    ObjectLink = Tool\n    TargetType = psObjectLink\n"
           "  end\n"
           "  object psObjectLink: TpsObjectLink\n  end\n"
           "end\n",
           "links.dfm");
  auto* link = static_cast<TInstallShellLink*>(form->FindComponent("ToolLink"));
  ASSERT_NE(link, nullptr);
  // Stored values come back as they were written: no setter rule runs while
  // the form is read, and the form's own psObjectLink is the one used.
  EXPECT_EQ(link->LinkName(), "My Tool.txt");
  EXPECT_EQ(link->ObjectLink(), form->FindComponent("Tool"));
  EXPECT_EQ(link->TargetType(), form->FindComponent("psObjectLink"));
  EXPECT_EQ(link->Arguments(), "/open %w");
  EXPECT_EQ(link->HotKey(), 1620);
  EXPECT_EQ(link->LinkMethod(), 1);
  EXPECT_EQ(link->RegisteredType(), 8000);
  EXPECT_EQ(form->FindComponent("psObjectLink1"), nullptr) << "no second specifier";
}

}  // namespace
