// The file group page over an installer with nested groups on a machine
// with drives C:, D: and E: of known free space: when it shows, its rows
// beside the tree, the sizes and the drive table as boxes are cleared, the
// details of the selected group (typed and browsed destinations), a UI
// script that unticks a group, picks one and types its directory, and the
// two errors of a page without a file container to show.
#include <gmock/gmock.h>

#include <filesystem>

#include "DialogFixture.h"
#include "dialogs/DialogControls.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TFileGroupSelect.h"
#include "dialogs/frmdlg_FileGroupSelect.h"
#include "framework/ClassRegistry.h"
#include "framework/ExtCtrls.h"
#include "i18n/cmp_TTranslateControls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TFileContainer.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"
#include "support/TempDir.h"

using namespace dialogtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// An install file of a fixed size.
class TSizedFile : public TFileRelated {
  PELLMORE_CLASS(TSizedFile, TFileRelated)

 public:
  using TFileRelated::TFileRelated;
  int RegisteredType() const override { return kRegisteredInstallFile; }
  int64_t StoredFileSize() const override { return Size; }
  int64_t Size = 0;
};

constexpr uint64_t kFreeC = 10'000'000, kFreeD = 234, kFreeE = 1'000'000;

class FileGroupPage : public DialogTest {
 protected:
  FileGroupPage() {
    platform::sim::MachineOptions o;
    o.extraDrives = "DE";
    platform::sim::SimMachine& m = Machine().Replace(o);
    m.SetFreeSpace('C', kFreeC);
    m.SetFreeSpace('D', kFreeD);
    m.SetFreeSpace('E', kFreeE);
    RegisterFileGroupSelect(ClassRegistry::Global());
  }

  // Install (C:\Quenby, 1000 bytes of its own) holding Drivers (D:\Drivers,
  // 234 bytes) with Locales (E:\Locales, 5000 bytes) inside, and Help
  // ("\Help", no drive, 70 bytes, neither choice nor directory change).
  void BuildInstallation(TInstallType type = itCustom) {
    NewManager(form.get(), dmBeforeInstall);
    programFiles = install->DestDirType();
    install->SetGroupName("Quenby Database Engine");
    Place(install, nullptr, "C:\\Quenby", 1000);
    drivers = Group("Drivers", install, "D:\\Drivers", 234);
    locales = Group("Locales", drivers, "E:\\Locales", 5000);
    help = Group("Help", install, "\\Help", 70);
    help->SetAllowChoice(false);
    help->SetAllowChangeDir(false);
    help->Description()->SetText("Help files\nfor the administrator\n");
    install->SetInstallType(type);
  }
  TInstallFileGroup* Group(const std::string& name, TInstallContainer* in, const std::string& dir,
                           int64_t bytes) {
    auto* g = New<TInstallFileGroup>(form.get(), name);
    g->SetContainer(in);
    g->SetGroupName(name);
    Place(g, in, dir, bytes);
    return g;
  }
  void Place(TFileContainer* c, TInstallContainer*, const std::string& dir, int64_t bytes) {
    c->SetDestDirType(nullptr);
    c->SetDestDir(dir);
    auto* f = New<TSizedFile>(form.get(), c->Name() + "File");
    f->Size = bytes;
    f->SetContainer(c);
  }

  TFileGroupSelectForm& NewPage() {
    page = TCustomForm::Create<TFileGroupSelectForm>(form.get());
    return *page;
  }

  TTranslator& UseTranslator(TVrexLanguage target) {
    auto* t = New<TTranslator>(form.get(), "MainTranslator");
    for (TVrexLanguage l : {vlEnglish, vlChineseSimplified})
      t->Language(l)->Strings()->SetText(testsupport::ReadHostFile(
          std::filesystem::path(PELLMORE_I18N_TABLES) / (LanguageStem(l) + ".txt")));
    t->SetTranslateIntoLanguage(target);
    return *t;
  }

  // What the page's visible rows show: "node|box|size", the box as
  // "x" (ticked) or "-" with "!" when disabled.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    const TIncludeList& boxes = page->IncludeBoxes();
    const TSizeList& sizes = page->SizeLabels();
    const std::vector<TTreeNode*> nodes = page->GroupTree()->VisibleNodes();
    for (int i = 0; i < boxes.Count() && boxes.Items(i)->Visible(); ++i) {
      const TIncludeCheckBox& box = *boxes.Items(i);
      const TSizeLabel& size = *sizes.Items(i);
      const TRect r = nodes.at(static_cast<size_t>(i))->DisplayRect(false);
      // Each row control sits on its tree row and holds its container.
      EXPECT_EQ(box.Top(), r.top);
      EXPECT_EQ(box.Height(), r.Height());
      EXPECT_EQ(size.Top(), r.top);
      EXPECT_EQ(box.Container(), nodes[static_cast<size_t>(i)]->Data());
      EXPECT_EQ(size.Container(), box.Container());
      out.push_back(nodes[static_cast<size_t>(i)]->Text() + "|" + (box.Checked() ? "x" : "-") +
                    (box.Enabled() ? "" : "!") + "|" + size.Caption());
    }
    return out;
  }
  // The drive list's rows: "drive|required|free|state".
  std::vector<std::string> DriveRows() const {
    std::vector<std::string> out;
    const TListItems& items = *page->DriveList()->Items();
    for (int i = 0; i < items.Count(); ++i) {
      const TListItem& it = *items.Item(i);
      EXPECT_EQ(it.ImageIndex(), 0);
      out.push_back(it.Caption() + "|" + it.SubItems()->Strings(0) + "|" +
                    it.SubItems()->Strings(1) + "|" + std::to_string(it.StateIndex()));
    }
    return out;
  }

  TCustomPathSpecifier* programFiles = nullptr;  // the installer's own specifier
  TInstallFileGroup* drivers = nullptr;
  TInstallFileGroup* locales = nullptr;
  TInstallFileGroup* help = nullptr;
  TFileGroupSelectForm* page = nullptr;
};

TEST_F(FileGroupPage, SkipsUnlessTheInstallationIsCustomOrAlways) {
  struct Case {
    const char* what;
    TInstallType type;
    bool skips;
  };
  const Case cases[] = {{"typical", itDefault, true},
                        {"compact", itCompact, true},
                        {"full", itFull, true},
                        {"custom", itCustom, false},
                        {"always", itAlways, false}};
  BuildInstallation();
  TFileGroupSelectForm& p = NewPage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    install->SetInstallType(c.type);
    EXPECT_EQ(p.SkipPage(), c.skips);
  }
  // Through the phase: a typical installation shows nothing, a custom one
  // shows the page (and Next, the default answer, ends the phase).
  auto* dlg = New<TFileGroupSelectDlg>(form.get(), "GroupsDlg");
  EXPECT_EQ(dlg->Order(), 50);
  TDialogManager* dm = static_cast<TDialogManager*>(form->FindComponent("DM"));
  install->SetInstallType(itDefault);
  dm->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
  EXPECT_THAT(Events(), ::testing::IsEmpty());
  install->SetInstallType(itCustom);
  dm->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
  ASSERT_FALSE(lines.empty());
  EXPECT_THAT(lines.front(), HasSubstr("\"caption\":\"Select components to install\""));
  EXPECT_THAT(lines.back(), HasSubstr("mrOk"));
}

TEST_F(FileGroupPage, ClearingABoxKeepsTheRowsAndDropsItsBytesFromSizesAndDrives) {
  BuildInstallation();
  UseTranslator(vlEnglish);
  TFileGroupSelectForm& p = NewPage();
  p.RefreshPage();
  EXPECT_TRUE(p.GroupTree()->HorzScrollBarAlways());
  EXPECT_THAT(Rows(), ElementsAre("Quenby Database Engine|x|6,304 bytes", "Drivers|x|5,234 bytes",
                                  "Help|x!|70 bytes"));
  // Help's "\Help" has no drive; D: needs exactly what is free: warning.
  EXPECT_THAT(DriveRows(),
              ElementsAre("C|1,000 bytes|10,000,000 bytes|-1", "D|234 bytes|234 bytes|1",
                          "E|5,000 bytes|1,000,000 bytes|-1"));
  EXPECT_EQ(p.DriveSpacePanel()->Height(), 61);

  p.IncludeBoxes().Items(1)->SetChecked(false);  // the user clears Drivers
  EXPECT_FALSE(drivers->Include());
  EXPECT_TRUE(locales->Include());
  // Same rows; the installer no longer counts Drivers' 5,234 bytes, D: is
  // still listed (with nothing), E: is reached only through Drivers.
  EXPECT_THAT(Rows(), ElementsAre("Quenby Database Engine|x|1,070 bytes", "Drivers|-|5,234 bytes",
                                  "Help|x!|70 bytes"));
  EXPECT_THAT(DriveRows(),
              ElementsAre("C|1,000 bytes|10,000,000 bytes|-1", "D|0 bytes|234 bytes|-1"));
  EXPECT_EQ(p.DriveSpacePanel()->Height(), 2 * 18 + 25);

  // A box that offers no choice still shows the group's inclusion.
  help->SetInclude(false);
  drivers->SetDestDir("C:\\Drivers");
  p.RefreshPage();
  EXPECT_THAT(Rows(), ElementsAre("Quenby Database Engine|x|1,000 bytes", "Drivers|-|5,234 bytes",
                                  "Help|-!|70 bytes"));
  EXPECT_THAT(DriveRows(), ElementsAre("C|1,000 bytes|10,000,000 bytes|-1"));
  EXPECT_EQ(p.DriveSpacePanel()->Height(), 43);
}

TEST_F(FileGroupPage, DriveTableCases) {
  BuildInstallation();
  const auto table = [&] {
    std::vector<std::string> out;
    for (const TDriveSpaceEntry& e :
         BuildDriveTable(*install, [](const std::string& d) { return d == "C" ? 5 : 100; }))
      out.push_back(e.Drive + ":" + std::to_string(e.Required) + "/" + std::to_string(e.Free));
    return out;
  };
  struct Case {
    const char* what;
    std::function<void()> change;
    std::vector<std::string> drives;
  };
  const Case cases[] = {
      {"as built", [] {}, {"C:1000/5", "D:234/100", "E:5000/100"}},
      {"lower-case destination",
       [&] { drivers->SetDestDir("d:\\drv"); },
       {"C:1000/5", "D:234/100", "E:5000/100"}},
      {"installer without drive",
       [&] { install->SetDestDir("\\Quenby"); },
       {"D:234/100", "E:5000/100"}},
      {"empty destination", [&] { install->SetDestDir(""); }, {"D:234/100", "E:5000/100"}},
      {"sub-group on a listed drive",
       [&] { locales->SetDestDir("C:\\Locales"); },
       {"C:6000/5", "D:234/100"}},
      {"excluded group still lists its own drive",
       [&] { drivers->SetInclude(false); },
       {"C:1000/5", "D:0/100"}},
      {"excluded sub-group reached elsewhere",
       [&] {
         drivers->SetInclude(false);
         help->SetDestDir("E:\\Help");
       },
       {"C:1000/5", "D:0/100", "E:70/100"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    install->SetDestDir("C:\\Quenby");
    drivers->SetDestDir("D:\\Drivers");
    drivers->SetInclude(true);
    locales->SetDestDir("E:\\Locales");
    help->SetDestDir("\\Help");
    c.change();
    EXPECT_EQ(table(), c.drives);
  }

  // 26 drive letters: the first 25 are listed, the last one is left out.
  std::vector<TInstallFileGroup*> many;
  for (char d = 'A'; d <= 'Z'; ++d)
    many.push_back(Group(std::string("G") + d, help, std::string(1, d) + ":\\G", 1));
  help->SetDestDir("\\Help");
  install->SetDestDir("\\Quenby");
  drivers->SetInclude(false);
  drivers->SetDestDir("\\Drivers");
  const std::vector<TDriveSpaceEntry> all = BuildDriveTable(*install, [](auto&) { return 0; });
  ASSERT_EQ(all.size(), kMaxDriveEntries);
  EXPECT_EQ(all.front().Drive, "A");
  EXPECT_EQ(all.back().Drive, "Y");

  // The platform's answer: the machine's free space; 0 for a drive the
  // machine lacks or a character that is no drive letter.
  EXPECT_EQ(PlatformDriveFreeSpace("D"), static_cast<int64_t>(kFreeD));
  EXPECT_EQ(PlatformDriveFreeSpace("Q"), 0);
  EXPECT_EQ(PlatformDriveFreeSpace("1"), 0);
}

TEST_F(FileGroupPage, DetailsOfTheSelectedGroupAndTypingItsDirectory) {
  BuildInstallation();
  TFileGroupSelectForm& p = NewPage();
  p.RefreshPage();
  // The root is selected: its directory, no description.
  EXPECT_EQ(p.DirectoryLabel()->Text(), "C:\\Quenby");
  EXPECT_TRUE(p.BrowseBtn()->Enabled());
  EXPECT_FALSE(p.DescriptionMemo()->Visible());

  p.GroupTree()->SetSelected(p.GroupTree()->Items()->Item(3));  // Help
  EXPECT_EQ(p.DirectoryLabel()->Text(), "\\Help");
  EXPECT_FALSE(p.BrowseBtn()->Enabled());
  EXPECT_TRUE(p.DirectoryLabel()->ReadOnly());
  EXPECT_TRUE(p.DescriptionMemo()->Visible());
  EXPECT_THAT(p.DescriptionMemo()->Lines()->ToVector(),
              ElementsAre("Help files", "for the administrator"));
  EXPECT_EQ(help->DestDir(), "\\Help");  // showing it changed nothing

  // Locales below the program files folder: typing replaces the pair.
  ASSERT_NE(programFiles, nullptr);
  locales->SetDestDirType(programFiles);
  locales->SetDestDir("\\Locales");
  const std::string resolved = locales->ResolveDestDir();
  ASSERT_NE(resolved, "\\Locales");
  p.GroupTree()->SetSelected(p.GroupTree()->Items()->Item(2));  // Locales, inside Drivers
  EXPECT_EQ(p.DirectoryLabel()->Text(), resolved);
  EXPECT_EQ(locales->DestDir(), "\\Locales");  // showing it changed nothing
  EXPECT_FALSE(p.DescriptionMemo()->Visible());
  EXPECT_FALSE(p.DirectoryLabel()->ReadOnly());
  p.DirectoryLabel()->SetText("F:\\Locales");
  EXPECT_EQ(locales->DestDir(), "F:\\Locales");
  EXPECT_EQ(locales->DestDirType(), nullptr);
  EXPECT_EQ(drivers->DestDir(), "D:\\Drivers");
}

TEST_F(FileGroupPage, BrowsingSetsTheSelectedGroupsDirectoryAndRemovesWhatItMadeForTheBrowser) {
  struct Case {
    const char* what;
    bool startExists;  // E:\Locales exists before
    std::string script;
    std::string destDir;  // Locales' DestDir afterwards
    std::vector<std::string> drives;
  };
  const Case cases[] = {
      {"missing start, confirmed elsewhere",
       false,
       "form FolderBrowser\ntype PathEdit D:\\Picked\\\npress OK\n",
       "D:\\Picked",
       {"C|1,000 Bytes|10,000,000 Bytes|-1", "D|5,234 Bytes|234 Bytes|1"}},
      {"missing start, cancelled",
       false,
       "form FolderBrowser\npress Cancel\n",
       "E:\\Locales",
       {"C|1,000 Bytes|10,000,000 Bytes|-1", "D|234 Bytes|234 Bytes|1",
        "E|5,000 Bytes|1,000,000 Bytes|-1"}},
      {"existing start, confirmed as it is",
       true,
       "form FolderBrowser\npress OK\n",
       "E:\\Locales",
       {"C|1,000 Bytes|10,000,000 Bytes|-1", "D|234 Bytes|234 Bytes|1",
        "E|5,000 Bytes|1,000,000 Bytes|-1"}},
  };
  platform::FileSystem& fs = platform::files();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form.reset(NewForm());
    install = nullptr;
    UseScript(c.script);
    BuildInstallation();
    locales->SetDestDir("E:\\Locales");
    if (c.startExists) fs.CreateDirectories("E:\\Locales");
    TFileGroupSelectForm& p = NewPage();
    p.RefreshPage();
    p.GroupTree()->SetSelected(p.GroupTree()->Items()->Item(2));  // Locales
    p.BrowseBtn()->Click();
    EXPECT_EQ(locales->DestDir(), c.destDir);
    EXPECT_EQ(p.DirectoryLabel()->Text(), c.destDir);
    // Made for the browser: gone again; there before: still there.
    EXPECT_EQ(fs.DirectoryExists("E:\\Locales"), c.startExists);
    EXPECT_EQ(DriveRows(), c.drives);
    EXPECT_NE(lines.back().find("\"form\":\"FolderBrowser\""), std::string::npos);
    if (c.startExists) testsupport::TestMachine::RemoveTree("E:\\Locales");
    if (fs.DirectoryExists("D:\\Picked")) fs.RemoveDirectory("D:\\Picked");
  }
}

TEST_F(FileGroupPage, RowsFollowExpansionScrollingAndTheMovingKeys) {
  BuildInstallation();
  for (int i = 1; i <= 9; ++i) Group("Extra" + std::to_string(i), install, "C:\\X", 1);
  TFileGroupSelectForm& p = NewPage();
  p.RefreshPage();
  TGroupTreeView& tree = *p.GroupTree();
  const auto visibleBoxes = [&] {
    int n = 0;
    for (int i = 0; i < p.IncludeBoxes().Count(); ++i) n += p.IncludeBoxes().Items(i)->Visible();
    return n;
  };
  // 12 rows of 16 pixels in a 120-pixel tree: rows starting at 0 .. 112.
  EXPECT_EQ(tree.Height(), 120);
  EXPECT_EQ(visibleBoxes(), 8);
  // The side columns end above the tree's scroll bar.
  const TPanel& spacer = DescribedControl<TPanel>(p, "pnlIncludeSpacer");
  EXPECT_TRUE(spacer.Visible());
  EXPECT_EQ(spacer.Height(), 16);
  EXPECT_EQ(p.IncludeBoxes().Items(0)->Left(), 3);
  EXPECT_EQ(p.IncludeBoxes().Items(0)->Width(), 20 - 3 - 3);
  EXPECT_EQ(p.SizeLabels().Items(0)->Left(), 1);
  // The size column is 110 pixels wide: a size in the millions with its
  // unit needs that much.
  EXPECT_EQ(p.SizeLabels().Items(0)->Width(), 110 - 3 - 3);

  tree.SetTopItem(tree.VisibleNodes()[5]);  // scrolled by the user
  EXPECT_EQ(p.IncludeBoxes().Items(0)->Container(), tree.VisibleNodes()[5]->Data());
  EXPECT_EQ(visibleBoxes(), 7);

  // A key that moves the tree brings the rows along; another key does not.
  auto scrollQuietly = [&](int row) {
    auto onScroll = tree.OnScroll;
    tree.OnScroll = nullptr;
    tree.SetTopItem(tree.VisibleNodes()[static_cast<size_t>(row)]);
    tree.OnScroll = onScroll;
  };
  scrollQuietly(0);
  tree.WidgetKey(false, 'A', 0);
  EXPECT_EQ(p.IncludeBoxes().Items(0)->Container(), tree.VisibleNodes()[5]->Data());
  tree.WidgetKey(false, 0x22 /* Page Down */, 0);
  EXPECT_EQ(p.IncludeBoxes().Items(0)->Container(), install);

  tree.Items()->Item(1)->Expand(false);  // Drivers opens: Locales gets a row
  EXPECT_EQ(Rows().at(2), "Locales|x|5,000 Bytes");
  tree.Items()->Item(0)->Collapse(false);
  EXPECT_EQ(visibleBoxes(), 1);
  EXPECT_EQ(p.IncludeBoxes().Count(), 8);  // kept for reuse
}

TEST_F(FileGroupPage, AScriptUnticksAGroupPicksAnotherAndTypesItsDirectory) {
  UseScript(
      "form \"Select components to install\"\n"
      "untick IncludeCheckBox2\n"
      "pick GroupTreeView Locales\n"
      "type DirectoryLabel F:\\Locales\n"
      "press Next\n");
  BuildInstallation();
  New<TFileGroupSelectDlg>(form.get(), "GroupsDlg");
  auto* dm = static_cast<TDialogManager*>(form->FindComponent("DM"));
  dm->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
  EXPECT_FALSE(drivers->Include());
  EXPECT_FALSE(drivers->WillInstall());
  EXPECT_EQ(locales->DestDir(), "F:\\Locales");
  EXPECT_THAT(
      Events(),
      ElementsAre("form BaseFormContainer", "untick BaseFormContainer", "form BaseFormContainer",
                  "pick BaseFormContainer", "form BaseFormContainer", "type BaseFormContainer",
                  "form BaseFormContainer", "press BaseFormContainer", "close BaseFormContainer"));
}

TEST_F(FileGroupPage, SizesAndColumnsInChinese) {
  BuildInstallation();
  UseTranslator(vlChineseSimplified);
  TFileGroupSelectForm& p = NewPage();
  p.TranslateForm();
  p.RefreshPage();
  EXPECT_EQ(p.SizeLabels().Items(0)->Caption(), "6,304 字节");
  EXPECT_EQ(DriveRows().front(), "C|1,000 字节|10,000,000 字节|-1");
  EXPECT_EQ(p.DriveList()->Columns()->Items(1)->Caption(), "所需空间：");
  EXPECT_EQ(p.DriveList()->Columns()->Items(2)->Caption(), "可用空间：");
  EXPECT_EQ(p.BrowseBtn()->Caption(), "浏览(&B)...");
}

TEST_F(FileGroupPage, EveryControlFitsThePageInEnglishAndChinese) {
  for (TVrexLanguage language : {vlEnglish, vlChineseSimplified}) {
    SCOPED_TRACE(language == vlEnglish ? "English" : "Chinese");
    form.reset(NewForm());
    install = nullptr;
    BuildInstallation();
    UseTranslator(language);
    TFileGroupSelectForm& p = NewPage();
    p.TranslateForm();
    p.RefreshPage();
    p.GroupTree()->SetSelected(p.GroupTree()->Items()->Item(3));  // with a description
    EXPECT_EQ(p.ClientWidth(), 470);
    EXPECT_EQ(p.ClientHeight(), 368);
    const std::function<void(const TWinControl&)> check = [&](const TWinControl& parent) {
      for (int i = 0; i < parent.ControlCount(); ++i) {
        const TControl& c = *parent.Controls(i);
        if (!c.Visible()) continue;
        SCOPED_TRACE(c.Name());
        EXPECT_GE(c.Left(), 0);
        EXPECT_GE(c.Top(), 0);
        EXPECT_LE(c.Left() + c.Width(), parent.ClientWidth());
        EXPECT_LE(c.Top() + c.Height(), parent.ClientHeight());
        EXPECT_GT(c.Height(), 0);
        if (c.Is<TWinControl>()) check(static_cast<const TWinControl&>(c));
      }
    };
    check(p);
    // The description label shows all its lines.
    const auto& top = DescribedControl<TTranslateLabel>(p, "TopDescriptionLabel");
    EXPECT_EQ(top.Height(),
              static_cast<int>(top.DisplayLines().size()) * p.Canvas()->TextHeight("0"));
  }
}

TEST_F(FileGroupPage, APageWithoutAFileContainerSaysWhy) {
  struct Case {
    const char* what;
    std::function<void()> step;
    const char* message;
  };
  const auto expectFailures = [](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      try {
        c.step();
        ADD_FAILURE() << "no exception";
      } catch (const IEFileGroupSelectForm& e) {
        EXPECT_EQ(std::string(e.Message()), c.message);
      }
    }
  };
  // No installer anywhere: the page skips, and shown anyway it says so.
  TFileGroupSelectForm& orphan = NewPage();
  EXPECT_TRUE(orphan.SkipPage());
  const char* blank = "Cannot show the install file groups dialog for blank container property";
  expectFailures({{"tree, no installer", [&] { orphan.BuildTree(); }, blank},
                  {"drives, no installer", [&] { orphan.RebuildDriveList(); }, blank}});

  // A component whose container holds no file groups (a dialog manager).
  BuildInstallation();
  TFileGroupSelectForm& p = NewPage();
  auto* dlg = New<TFileGroupSelectDlg>(form.get(), "GroupsDlg");
  dlg->SetContainer(static_cast<TInstallContainer*>(form->FindComponent("DM")));
  p.SetDC(dlg);
  EXPECT_FALSE(p.SkipPage());  // the manager's type is itAlways
  expectFailures({{"tree, no file container", [&] { p.BuildTree(); },
                   "Container is not a TFileContainer for GroupTreeView"},
                  {"drives, no file container", [&] { p.RebuildDriveList(); },
                   "Container is not a TFileContainer for DriveSpaceListView"}});
  EXPECT_TRUE(drivers->Include());  // nothing changed
  EXPECT_EQ(p.DriveList()->Items()->Count(), 0);
}

}  // namespace
