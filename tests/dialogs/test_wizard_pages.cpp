// The welcome, licence, readme and setup-type pages before installing,
// placed by their components and driven by the scripted user: Back and
// Next through all of them, cancelling, the texts in German, and the
// setup-type page's rules (which tabs show, skipping, the destination and
// the install type going straight into the installer).
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "DialogFixture.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TInstallType.h"
#include "dialogs/dlgcmp_TLicense.h"
#include "dialogs/dlgcmp_TReadme.h"
#include "dialogs/dlgcmp_TWelcome.h"
#include "dialogs/frmdlg_InstallType.h"
#include "dialogs/frmdlg_License.h"
#include "dialogs/frmdlg_Readme.h"
#include "dialogs/frmdlg_Welcome.h"
#include "framework/ClassRegistry.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "i18n/cmp_TTranslateControls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TFileContainer.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "support/TempDir.h"

using namespace dialogtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string Field(const std::string& line, const char* key) {
  const std::string k = std::string("\"") + key + "\":\"";
  const size_t at = line.find(k);
  if (at == std::string::npos) return {};
  const size_t from = at + k.size();
  return line.substr(from, line.find('"', from) - from);
}

class WizardPages : public DialogTest {
 protected:
  WizardPages() {
    RegisterWizardPages(ClassRegistry::Global());
    // An installer offering two types, with a destination of its own.
    manager = NewManager(form.get(), dmBeforeInstall, "DialogManager");
    install->SetInstallTypes(TInstallTypeSet{itDefault, itCustom});
    install->SetInstallType(itDefault);
    install->SetDestDirType(nullptr);
    install->SetDestDir("C:\\Quenby");
  }

  // The four components, as a program's form declares them.
  void PlaceAllPages() {
    New<TWelcomeDlg>(form.get(), "WelcomeDlg");
    New<TLicenseDlg>(form.get(), "LicenseDlg");
    New<TReadmeDlg>(form.get(), "ReadmeDlg");
    New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  }

  // The dmBeforeInstall phase as the run starts it.
  void RunPhase() { manager->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr); }

  // The captions of the frame each time the scripted user saw a new page.
  std::vector<std::string> PagesSeen() const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (Field(l, "event") == "form") out.push_back(Field(l, "caption"));
    return out;
  }
  std::string LastLine() const { return lines.empty() ? std::string() : lines.back(); }

  // A setup-type page on its own (outside a frame), refreshed.
  TInstallTypeForm* NewInstallTypePage() {
    auto* page = TCustomForm::Create<TInstallTypeForm>(form.get());
    page->RefreshPage();
    return page;
  }

  platform::FileSystem& Files() { return platform::Current().files(); }

  TTranslator& UseTranslator(TVrexLanguage target) {
    auto* t = New<TTranslator>(form.get(), "MainTranslator");
    for (TVrexLanguage l : {vlEnglish, target})
      t->Language(l)->Strings()->SetText(testsupport::ReadHostFile(
          std::filesystem::path(PELLMORE_I18N_TABLES) / (LanguageStem(l) + ".txt")));
    t->SetTranslateIntoLanguage(target);
    return *t;
  }

  TDialogManager* manager = nullptr;
};

TEST_F(WizardPages, BackAndNextLeadThroughEveryPageInItsOrder) {
  // Placed in another order than they show: Order decides.
  New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  New<TReadmeDlg>(form.get(), "ReadmeDlg");
  New<TWelcomeDlg>(form.get(), "WelcomeDlg");
  New<TLicenseDlg>(form.get(), "LicenseDlg");
  UseScript(
      "form Welcome\npress Next\n"
      "form \"Software license agreement\"\npress Next\n"
      "form \"Readme information\"\npress Next\n"
      "form \"Setup type\"\npress Previous\n"
      "form \"Readme information\"\npress Previous\n"
      "press Previous\n"
      "form Welcome\npress Next\npress Next\npress Next\npress Next\n");
  EXPECT_NO_THROW(RunPhase());
  EXPECT_THAT(
      PagesSeen(),
      ElementsAre("Welcome", "Software license agreement", "Readme information", "Setup type",
                  "Readme information", "Software license agreement", "Welcome",
                  "Software license agreement", "Readme information", "Setup type"));
  EXPECT_THAT(LastLine(), HasSubstr("\"result\":\"mrOk\""));
  // The first page hides Previous, the others show it; every page has
  // Cancel.
  std::vector<std::string> forms;
  for (const std::string& l : lines)
    if (Field(l, "event") == "form") forms.push_back(l);
  ASSERT_EQ(forms.size(), 10u);
  EXPECT_EQ(forms[0].find("\"name\":\"BackBtn\""), std::string::npos);
  for (size_t i = 1; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_THAT(forms[i], HasSubstr("\"name\":\"BackBtn\""));
    EXPECT_THAT(forms[i], HasSubstr("\"name\":\"CancelBtn\""));
  }
  // Nothing was chosen on the way: the installer is as it was.
  EXPECT_EQ(install->CurrentInstallType(), itDefault);
  EXPECT_EQ(install->DestDir(), "C:\\Quenby");
}

TEST_F(WizardPages, CancelEndsThePhaseOnlyWhenTheInstallerAgrees) {
  struct Case {
    const char* what;
    bool agree;
    const char* script;
    bool raises;
    std::vector<std::string> seen;
  };
  const Case cases[] = {
      {"confirmed on the licence",
       true,
       "press Next\npress Cancel\n",
       true,
       {"Welcome", "Software license agreement"}},
      {"declined on the setup type",
       false,
       "press Next\npress Next\npress Next\npress Cancel\npress Next\n",
       false,
       {"Welcome", "Software license agreement", "Readme information", "Setup type"}},
  };
  PlaceAllPages();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    UseScript(c.script);
    int asked = 0;
    install->SetOnUserAbort([&](TObject*, bool& quitOut) {
      ++asked;
      quitOut = c.agree;
    });
    const int formsBefore = Screen().FormCount();
    if (c.raises)
      EXPECT_THROW(RunPhase(), EPLUserAbort);
    else
      EXPECT_NO_THROW(RunPhase());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PagesSeen(), c.seen);
    EXPECT_EQ(Screen().FormCount(), formsBefore);  // frame and pages gone
  }
}

TEST_F(WizardPages, PagesShowInGermanByIdAndByMatchedText) {
  UseTranslator(vlGerman);
  struct Case {
    const char* control;
    const char* text;
  };
  struct Page {
    const char* what;
    std::function<TWizardPageForm*()> make;
    std::vector<Case> texts;
  };
  const Page pages[] = {
      {"welcome",
       [&] { return TCustomForm::Create<TWelcomeForm>(form.get()); },
       {{"", "Willkommen"},
        {"lblWelcome", "Dieses Programm installiert die Software auf Ihrem Computer."},
        {"lblClickNext", "Klicken Sie auf „Weiter“, um mit der Installation fortzufahren."},
        {"ProceedBtn", "Weiter >"},
        {"BackBtn", "< Zurück"},
        {"CancelBtn", "Abbrechen"}}},
      {"licence",
       [&] { return TCustomForm::Create<TLicenseForm>(form.get()); },
       {{"", "Software-Lizenzvertrag"},
        {"lblReadLicense", "Bitte lesen Sie den folgenden Lizenzvertrag."}}},
      {"readme",
       [&] { return TCustomForm::Create<TReadmeForm>(form.get()); },
       {{"", "Liesmich-Informationen"},
        {"lblReadInformation",
         "Bitte lesen Sie die folgenden Informationen, bevor Sie diese Software auf Ihrem "
         "Computer installieren."}}},
      {"setup type",
       [&] { return TCustomForm::Create<TInstallTypeForm>(form.get()); },
       {{"", "Setup-Typ"},
        {"TypicalTab", "Standard"},
        {"CompactTab", "Minimal"},
        {"FullTab", "Vollständig"},
        {"CustomTab", "Benutzerdefiniert"},
        {"lblFull", "Das Programm wird mit allen Optionen installiert."},
        {"DirectoryGroupBox", "Zielverzeichnis"},
        {"BrowseBtn", "&Durchsuchen"}}},
  };
  for (const Page& p : pages) {
    SCOPED_TRACE(p.what);
    Owned<TWizardPageForm> page(p.make());
    page->TranslateForm();
    for (const Case& c : p.texts) {
      SCOPED_TRACE(c.control);
      const TControl* control =
          *c.control ? dynamic_cast<TControl*>(page->FindComponent(c.control)) : page.get();
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(control->Caption(), c.text);
    }
  }
  // The placeholder texts are no table's texts: they stay as they are.
  Owned<TLicenseForm> licence(TCustomForm::Create<TLicenseForm>(form.get()));
  const std::vector<std::string> before = licence->Agreement()->Lines()->ToVector();
  licence->TranslateForm();
  EXPECT_EQ(licence->Agreement()->Lines()->ToVector(), before);
  EXPECT_TRUE(licence->Agreement()->ReadOnly());
  EXPECT_EQ(licence->Agreement()->ScrollBars(), ssVertical);
}

// An author's text replaces the kit's placeholder on the page the component
// makes; a component without text leaves the placeholder.
TEST_F(WizardPages, TheLicenceAndReadmeComponentsPutTheirOwnTextOnTheirPages) {
  auto* licenceDlg = New<TLicenseDlg>(form.get(), "LicenseDlg");
  auto* readmeDlg = New<TReadmeDlg>(form.get(), "ReadmeDlg");
  licenceDlg->Agreement()->Add("LARKSPUR NOTES LICENCE");
  licenceDlg->Agreement()->Add("You may use this program on any number of computers.");

  // As the page frame makes a component's page.
  const auto page = [&](TCustomBaseInstallDlg* dlg) {
    auto* made = static_cast<TBasePellmoreForm*>(dlg->CreateForm(form.get()));
    dlg->SetForm(made);
    dlg->AssignDialogProperties();
    return Owned<TCustomForm>(made);
  };
  Owned<TCustomForm> licence = page(licenceDlg);
  EXPECT_EQ(static_cast<TLicenseForm*>(licence.get())->Agreement()->Lines()->ToVector(),
            licenceDlg->Agreement()->ToVector());
  Owned<TCustomForm> readme = page(readmeDlg);
  Owned<TReadmeForm> plain(TCustomForm::Create<TReadmeForm>(form.get()));
  const std::vector<std::string> placeholder = plain->Information()->Lines()->ToVector();
  ASSERT_FALSE(placeholder.empty());
  EXPECT_EQ(static_cast<TReadmeForm*>(readme.get())->Information()->Lines()->ToVector(),
            placeholder);
  licenceDlg->SetForm(nullptr);
  readmeDlg->SetForm(nullptr);
}

TEST_F(WizardPages, TheSetupTypePageShowsTheOfferedTypesAndSkipsWhenThereIsNoChoice) {
  struct Case {
    const char* what;
    TInstallTypeSet types;
    TInstallType current;
    std::vector<std::string> tabs;  // visible tabs, in page order
    const char* active;
    bool skips;
  };
  const Case cases[] = {
      {"only custom", {itCustom}, itCustom, {"CustomTab"}, "CustomTab", false},
      {"all four",
       {itFull, itDefault, itCompact, itCustom},
       itCompact,
       {"TypicalTab", "CompactTab", "FullTab", "CustomTab"},
       "CompactTab",
       false},
      {"typical and full, full chosen",
       {itDefault, itFull},
       itFull,
       {"TypicalTab", "FullTab"},
       "FullTab",
       false},
      {"nothing to choose", {itAlways}, itAlways, {}, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    install->SetInstallTypes(c.types);
    install->SetInstallType(c.current);
    Owned<TInstallTypeForm> page(NewInstallTypePage());
    EXPECT_EQ(page->SkipPage(), c.skips);
    if (c.skips) continue;
    std::vector<std::string> tabs;
    for (TTabSheet* t : page->PageControl()->TabSheets()) tabs.push_back(t->Name());
    EXPECT_EQ(tabs, c.tabs);
    EXPECT_EQ(page->PageControl()->ActivePage()->Name(), c.active);
    EXPECT_EQ(install->CurrentInstallType(), c.current);  // refreshing chose nothing
  }
  // Without any installer there is nothing to set up either.
  form.reset(NewForm());
  install = nullptr;
  Owned<TInstallTypeForm> alone(TCustomForm::Create<TInstallTypeForm>(form.get()));
  EXPECT_TRUE(alone->SkipPage());
  EXPECT_NO_THROW(alone->RefreshPage());
}

TEST_F(WizardPages, APhaseWhoseInstallerOffersNoChoicePassesOverTheSetupType) {
  install->SetInstallTypes(TInstallTypeSet{itAlways});
  PlaceAllPages();
  UseScript("press Next\npress Next\npress Next\n");
  RunPhase();
  EXPECT_THAT(PagesSeen(),
              ElementsAre("Welcome", "Software license agreement", "Readme information"));
  EXPECT_THAT(LastLine(), HasSubstr("\"result\":\"mrOk\""));
}

TEST_F(WizardPages, PickingATabSetsTheTypeOfTheInstallerAndEveryChild) {
  install->SetInstallTypes(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  auto* group = New<TInstallFileGroup>(form.get(), "Engine");
  group->SetContainer(install);
  struct Case {
    const char* tab;
    TInstallType type;
  };
  const Case cases[] = {
      {"Full", itFull}, {"Compact", itCompact}, {"Custom", itCustom}, {"Typical", itDefault}};
  New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    UseScript(std::string("pick PageControl ") + c.tab + "\npress Next\n");
    RunPhase();
    EXPECT_EQ(install->CurrentInstallType(), c.type);
    EXPECT_EQ(group->CurrentInstallType(), c.type);
  }
}

TEST_F(WizardPages, PickingTheOnlyTabAgainChangesNothing) {
  install->SetInstallTypes(TInstallTypeSet{itCustom});
  install->SetInstallType(itCustom);
  // A group that joins later keeps its own type unless the page sets one.
  auto* group = New<TInstallFileGroup>(form.get(), "Engine");
  group->SetContainer(install);
  const TInstallType groupType = group->CurrentInstallType();
  ASSERT_NE(groupType, itCustom);
  New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  UseScript("pick PageControl Custom\npick PageControl CustomTab\npress Next\n");
  RunPhase();
  EXPECT_EQ(install->CurrentInstallType(), itCustom);
  EXPECT_EQ(group->CurrentInstallType(), groupType);
}

TEST_F(WizardPages, TheDestinationEditShowsTheExpandedDirectoryAndTypingReplacesIt) {
  auto* programFiles = FindByClass<TpsProgramFiles>();
  ASSERT_NE(programFiles, nullptr);
  struct Case {
    const char* what;
    TCustomPathSpecifier* type;
    const char* destDir;
    bool boxShows;
  };
  const Case cases[] = {
      {"plain directory", nullptr, "D:\\Apps\\Quenby", true},
      {"below a specifier", programFiles, "\\Quenby", true},
      {"empty", nullptr, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    install->SetDestDirType(c.type);
    install->SetDestDir(c.destDir);
    Owned<TInstallTypeForm> page(NewInstallTypePage());
    EXPECT_EQ(page->DirectoryGroupBox()->Visible(), c.boxShows);
    EXPECT_EQ(page->DestDirEdit()->Text(), install->ResolveDestDir());
    // Showing the directory is no edit: the specifier stays.
    EXPECT_EQ(install->DestDirType(), c.type);
    EXPECT_EQ(install->DestDir(), c.destDir);
  }

  // Typed text is the destination at once, without a specifier.
  install->SetDestDirType(programFiles);
  install->SetDestDir("\\Quenby");
  New<TInstallTypeDlg>(form.get(), "InstallTypeDlg");
  UseScript("type edDestDir E:\\Data\\Quenby Engine\npress Next\n");
  RunPhase();
  EXPECT_EQ(install->DestDirType(), nullptr);
  EXPECT_EQ(install->DestDir(), "E:\\Data\\Quenby Engine");
  EXPECT_EQ(install->CurrentInstallType(), itDefault);
}

}  // namespace

// Lines a label needs at its width must fit its height, every control must
// lie inside its parent, and a button's caption (with its glyph) inside
// the button: in English, and in the languages whose texts are longest
// (German) or widest per character (Chinese Simplified), on the page's own
// 470 x 368 client area.
TEST_F(WizardPages, NothingIsClippedInEnglishGermanOrChinese) {
  const TVrexLanguage languages[] = {vlEnglish, vlGerman, vlChineseSimplified};
  for (TVrexLanguage language : languages) {
    SCOPED_TRACE(LanguageStem(language));
    form.reset(NewForm());
    install = nullptr;
    manager = NewManager(form.get(), dmBeforeInstall, "DialogManager");
    install->SetInstallTypes(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
    install->SetDestDir("C:\\Program Files\\Quenby\\Database Engine");
    if (language != vlEnglish) UseTranslator(language);
    const std::function<TWizardPageForm*()> makers[] = {
        [&] { return TCustomForm::Create<TWelcomeForm>(form.get()); },
        [&] { return TCustomForm::Create<TLicenseForm>(form.get()); },
        [&] { return TCustomForm::Create<TReadmeForm>(form.get()); },
        [&] { return TCustomForm::Create<TInstallTypeForm>(form.get()); },
    };
    for (const auto& make : makers) {
      Owned<TWizardPageForm> page(make());
      SCOPED_TRACE(page->ClassName());
      page->TranslateForm();
      page->RefreshPage();
      ASSERT_EQ(page->ClientWidth(), 470);
      ASSERT_EQ(page->ClientHeight(), 368);
      std::function<void(const TWinControl&)> check = [&](const TWinControl& parent) {
        for (int i = 0; i < parent.ControlCount(); ++i) {
          const TControl& c = *parent.Controls(i);
          if (!c.Visible()) continue;
          SCOPED_TRACE(c.Name());
          const TRect r = c.BoundsRect();
          EXPECT_GE(r.left, 0);
          EXPECT_GE(r.top, 0);
          EXPECT_LE(r.right, parent.ClientWidth());
          EXPECT_LE(r.bottom, parent.ClientHeight());
          const TFontData& font = c.Font()->Data();
          const int lineHeight = FixedTextExtent(font, "X").cy;
          if (const auto* label = dynamic_cast<const TCustomLabel*>(&c);
              label && !label->Caption().empty()) {
            EXPECT_LE(int(label->DisplayLines().size()) * lineHeight, r.Height());
          }
          if (const auto* button = dynamic_cast<const TBitBtn*>(&c)) {
            const int glyph = button->Glyph()->Empty()
                                  ? 0
                                  : button->Glyph()->Width() / std::max(1, button->NumGlyphs()) + 4;
            EXPECT_LE(FixedTextExtent(font, StripAccelChars(button->Caption())).cx + glyph + 8,
                      r.Width());
          }
          if (dynamic_cast<const TCustomMemo*>(&c)) {
            EXPECT_GE(r.Height(), 8 * lineHeight);
          }
          if (const auto* tabs = dynamic_cast<const TPageControl*>(&c)) {
            int row = 0;
            for (const TTabSheet* t : tabs->TabSheets())
              row += FixedTextExtent(font, t->Caption()).cx + 12;
            EXPECT_LE(row, r.Width());
          }
          if (const auto* w = dynamic_cast<const TWinControl*>(&c)) check(*w);
        }
      };
      check(*page);
    }
  }
}

TEST_F(WizardPages, FormUnitsWithoutTheirComponentUnitsTakePartInEveryRun) {
  struct Case {
    const char* what;
    bool componentUnitsLinked;
    std::vector<std::string> seen;
  };
  const Case cases[] = {
      {"form units alone",
       false,
       {"Welcome", "Software license agreement", "Readme information", "Setup type"}},
      {"component units linked, no component placed", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageForms().Clear();
    StartWizardPageUnits(c.componentUnitsLinked);
    lines.clear();
    UseScript("press Next\npress Next\npress Next\npress Next\n");
    RunPhase();
    EXPECT_EQ(PagesSeen(), c.seen);
  }
}
