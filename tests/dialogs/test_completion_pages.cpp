// The closing pages (good install, bad install, reboot) and their dialog
// components, driven by the scripted user: the layout and texts of each
// page, which of Back, Next and Finish a page shows where it stands in its
// phase, the reboot page's answer feeding the installer's Reboot flag, and
// the components on their own (without a manager) on the run's calls.
#include <gmock/gmock.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TGoodInstallation.h"
#include "dialogs/dlgcmp_TPageDlg.h"
#include "dialogs/dlgcmp_TReboot.h"
#include "dialogs/frmdlg_BadInstall.h"
#include "dialogs/frmdlg_GoodInstall.h"
#include "dialogs/frmdlg_Reboot.h"
#include "framework/ClassRegistry.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "i18n/cmp_TTranslateControls.h"

using namespace dialogtest;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

class CompletionPages : public DialogTest {
 protected:
  CompletionPages() { RegisterCompletionDialogs(ClassRegistry::Global()); }

  // Runs `dm`'s phase as the run starts it (the call of its phase); the
  // frame and the current manager must be gone afterwards, however it ends.
  void RunPhase(TDialogManager* dm, int call) {
    const int formsBefore = Screen().FormCount();
    try {
      dm->HandleComponentCall(install, call, nullptr);
    } catch (...) {
      EXPECT_EQ(Screen().FormCount(), formsBefore);
      EXPECT_EQ(CurrentDialogManager(), nullptr);
      throw;
    }
    EXPECT_EQ(Screen().FormCount(), formsBefore);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }

  // The transcript's "form" records whose caption is `caption`.
  std::vector<std::string> FormRecords(const std::string& caption) const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (l.find("\"event\":\"form\"") != std::string::npos &&
          l.find("\"caption\":\"" + caption + "\"") != std::string::npos)
        out.push_back(l);
    return out;
  }
  // Which of the page buttons a form record shows, in reading order, with
  // a "*" on the default one.
  static std::vector<std::string> Buttons(const std::string& record) {
    std::vector<std::pair<size_t, std::string>> found;
    for (const char* name : {"BackBtn", "ProceedBtn", "FinishBtn", "CancelBtn"}) {
      const size_t at = record.find(std::string("\"name\":\"") + name + "\"");
      if (at == std::string::npos) continue;
      const size_t end = record.find('}', at);
      const bool isDefault =
          record.substr(at, end - at).find("\"default\":true") != std::string::npos;
      found.emplace_back(at, std::string(name) + (isDefault ? "*" : ""));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    for (auto& f : found) out.push_back(f.second);
    return out;
  }
  // The last "close" record's result.
  std::string LastClose() const {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->find("\"event\":\"close\"") != std::string::npos) {
        const size_t at = it->find("\"result\":\"") + 10;
        return it->substr(at, it->find('"', at) - at);
      }
    return "";
  }
};

// Each page finds its phase's manager and has its built-in place; only
// the good- and bad-install pages stay on top; none can be cancelled.
TEST_F(CompletionPages, EachPageBelongsToItsPhaseAndHasNoCancel) {
  struct Case {
    const char* what;
    TCustomForm* (*create)(TComponent*);
    TManagerType phase;
    int clientWidth;
    TFormStyle style;
  };
  const Case cases[] = {
      {"good install", PageFormFactory<TGoodInstallForm>(), dmAfterGoodInstall, 470, fsStayOnTop},
      {"bad install", PageFormFactory<TBadInstallForm>(), dmAfterBadInstall, 470, fsStayOnTop},
      {"reboot", PageFormFactory<TRebootForm>(), dmReboot, 475, fsNormal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDialogManager* other = NewManager(form.get(), dmBeforeInstall, "Other");
    TDialogManager* dm = NewManager(form.get(), c.phase, std::string("DM") + c.what[0]);
    Owned<TCustomForm> page(c.create(form.get()));
    auto& p = static_cast<TCompletionPageForm&>(*page);
    EXPECT_EQ(p.DM(), dm);
    EXPECT_EQ(p.Order(), 10);
    EXPECT_EQ(p.ClientWidth(), c.clientWidth);
    EXPECT_EQ(p.FormStyle(), c.style);
    EXPECT_EQ(p.FindComponent("CancelBtn"), nullptr);
    EXPECT_EQ(p.FinishBtn()->ModalResult(), mrNone);  // only a component makes it close
    // Outside a frame no page is first or last.
    p.RefreshPage();
    EXPECT_TRUE(p.BackBtn()->Visible());
    EXPECT_TRUE(p.ProceedBtn()->Visible());
    EXPECT_FALSE(p.FinishBtn()->Visible());
    page.reset();
    dm->Free();
    other->Free();
  }
}

// Where a good-install page stands in its phase decides its buttons, and
// the visible one of Next and Finish is what the default answer presses.
TEST_F(CompletionPages, TheGoodInstallPageShowsBackNextAndFinishByItsPlaceInThePhase) {
  struct Case {
    const char* what;
    std::optional<int32_t> otherOrder;  // a stand-in page P in the same phase
    const char* script;
    std::vector<std::string> buttons;  // of the good-install page
    std::vector<std::string> shown;    // P's showings
  };
  const Case cases[] = {
      {"alone, default answer", std::nullopt, "", {"FinishBtn*"}, {}},
      {"alone, Finish pressed", std::nullopt, "press Finish\n", {"FinishBtn*"}, {}},
      {"first of two", 20, "press Next\npress Next\n", {"ProceedBtn*"}, {"P$"}},
      {"last of two", 5, "press Next\n", {"BackBtn", "FinishBtn*"}, {"P^"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pages() = PageScript{};
    PageForms().Clear();
    lines.clear();
    form.reset(NewForm());
    install = nullptr;
    UseScript(c.script);
    TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
    StartFormUnit<TGoodInstallForm>(PageForms());
    if (c.otherOrder) {
      Pages().builtInOrder["TPageP"] = *c.otherOrder;
      StartFormUnit<TPageP>(PageForms());
    }
    EXPECT_NO_THROW(RunPhase(dm, kCallGoodInstallPhase));
    const auto records = FormRecords("Setup complete");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Buttons(records[0]), c.buttons);
    EXPECT_EQ(Pages().shown, c.shown);
    EXPECT_EQ(LastClose(), "mrOk");
    EXPECT_THAT(lines.back(), Not(HasSubstr("unused")));
  }
}

// The reboot page opens on the installer's answer and writes the user's
// choice into it at once, before Finish; with or without a component.
TEST_F(CompletionPages, TheRebootPageShowsAndSetsTheInstallersRebootFlag) {
  struct Case {
    const char* what;
    bool component;
    bool rebootBefore;
    const char* script;
    bool cancelled;
    const char* opensOn;
    bool rebootAfter;
  };
  const char* const yes = "Yes, I would like to reboot windows";
  const char* const no = "No, I would not like to reboot windows";
  const Case cases[] = {
      {"flag clear, Finish", true, false, "press Finish\n", false, no, false},
      {"flag set, default answer", true, true, "", false, yes, true},
      {"flag clear, Yes then Finish", true, false, "pick RG 0\npress Finish\n", false, no, true},
      {"flag set, No then Finish", true, true, "pick RG 1\npress Finish\n", false, yes, false},
      {"Yes is kept although the frame is closed", true, false, "pick RG 0\nclose\n", true, no,
       true},
      {"without a component: flag set, No", false, true,
       "pick RG No, I would not like to reboot windows\npress Finish\n", false, yes, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageForms().Clear();
    lines.clear();
    form.reset(NewForm());
    install = nullptr;
    UseScript(c.script);
    TDialogManager* dm = NewManager(form.get(), dmReboot);
    if (c.component) {
      auto* dlg = New<TRebootDlg>(form.get(), "RebootDlg");
      dlg->SetContainer(install);
      EXPECT_EQ(dlg->DialogManager(), dm);  // the installer's manager of its phase
    } else {
      StartFormUnit<TRebootForm>(PageForms());
    }
    install->SetReboot(c.rebootBefore);
    if (c.cancelled)
      EXPECT_THROW(RunPhase(dm, kCallReboot), EPLUserAbort);
    else
      EXPECT_NO_THROW(RunPhase(dm, kCallReboot));
    const auto records = FormRecords("Reboot windows");
    ASSERT_FALSE(records.empty());
    EXPECT_THAT(records[0], HasSubstr(std::string("\"index\":") + (c.opensOn == yes ? "0" : "1")));
    // A single page: Finish only, never a way back, never a cancel.
    EXPECT_EQ(Buttons(records[0]), std::vector<std::string>{"FinishBtn*"});
    EXPECT_EQ(install->Reboot(), c.rebootAfter);
  }
}

// Without a manager each component shows its page on its own call, as a
// modal dialog: Next closes it with OK, any other way out is the user's
// cancel. Other calls, and the same call with a manager, show nothing.
TEST_F(CompletionPages, ComponentsWithoutAManagerShowTheirPageOnTheirOwnCall) {
  struct Case {
    const char* what;
    bool reboot;  // TRebootDlg, else TGoodInstallationDlg
    bool withManager;
    int call;
    const char* script;
    const char* caption;  // of the form shown, or null for none
    bool raises;
  };
  const Case cases[] = {
      {"good, -995, Next", false, false, kCallGoodInstallNotice, "press Next\n", "Setup complete",
       false},
      {"good, -995, default", false, false, kCallGoodInstallNotice, "", "Setup complete", false},
      {"good, -995, closed", false, false, kCallGoodInstallNotice, "close\n", "Setup complete",
       true},
      {"good, -987", false, false, kCallReboot, "", nullptr, false},
      {"good, -979 without manager", false, false, kCallGoodInstallPhase, "", nullptr, false},
      {"good, -995 with manager", false, true, kCallGoodInstallNotice, "", nullptr, false},
      {"reboot, -987, Next", true, false, kCallReboot, "press Next\n", "Reboot windows", false},
      {"reboot, -987, closed", true, false, kCallReboot, "close\n", "Reboot windows", true},
      {"reboot, -995", true, false, kCallGoodInstallNotice, "", nullptr, false},
      {"reboot, -987 with manager", true, true, kCallReboot, "", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageForms().Clear();
    lines.clear();
    form.reset(NewForm());
    install = New<TInstall>(form.get(), "Install");
    install->SetReboot(true);
    UseScript(c.script);
    TDialogManager* dm = nullptr;
    if (c.withManager) dm = NewManager(form.get(), c.reboot ? dmReboot : dmAfterGoodInstall);
    TPageDlg* dlg = c.reboot ? static_cast<TPageDlg*>(New<TRebootDlg>(form.get(), "Dlg"))
                             : New<TGoodInstallationDlg>(form.get(), "Dlg");
    EXPECT_EQ(dlg->Order(), 10);  // built in (joining the installer renumbers it)
    dlg->SetContainer(install);
    EXPECT_EQ(dlg->DialogManager(), dm);
    int before = 0, after = 0;
    dlg->SetOnBeforeExecute([&](TObject*) { ++before; });
    dlg->SetOnAfterExecute([&](TObject*) { ++after; });
    const int formsBefore = Screen().FormCount();
    if (c.raises)
      EXPECT_THROW(dlg->HandleComponentCall(install, c.call, nullptr), EPLUserAbort);
    else
      EXPECT_NO_THROW(dlg->HandleComponentCall(install, c.call, nullptr));
    EXPECT_EQ(Screen().FormCount(), formsBefore);
    EXPECT_EQ(dlg->Form(), nullptr);
    if (!c.caption) {
      EXPECT_THAT(lines, IsEmpty());
      EXPECT_EQ(before, 0);
      continue;
    }
    const auto records = FormRecords(c.caption);
    ASSERT_EQ(records.size(), 1u);
    // The way back is hidden; a stand-alone page is neither first nor last.
    EXPECT_EQ(Buttons(records[0]), std::vector<std::string>{"ProceedBtn*"});
    if (c.reboot) {
      EXPECT_THAT(records[0], HasSubstr("\"index\":0"));  // the installer's Yes
    }
    EXPECT_EQ(LastClose(), c.raises ? "mrCancel" : "mrOk");
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, c.raises ? 0 : 1);
  }
}

// What a component does to its page before showing it, whatever the page
// shows: Next and Finish both close a stand-alone form with OK, the theme
// picture comes from the component or else the installer, no way back.
TEST_F(CompletionPages, ComponentsMakeBothClosingButtonsAnswerOkAndFillTheThemePicture) {
  NewManager(form.get(), dmAfterGoodInstall);
  ASSERT_GT(install->DialogThemeBitmap()->Width(), 7);
  TPicture own;
  own.Bitmap()->SetSize(7, 9);
  int n = 0;
  for (bool reboot : {false, true}) {
    for (bool ownPicture : {false, true}) {
      const std::string name = "Dlg" + std::to_string(n++);
      SCOPED_TRACE(std::string(reboot ? "reboot" : "good") + (ownPicture ? ", own picture" : ""));
      TPageDlg* dlg = reboot ? static_cast<TPageDlg*>(New<TRebootDlg>(form.get(), name))
                             : New<TGoodInstallationDlg>(form.get(), name);
      dlg->SetContainer(install);
      if (ownPicture) dlg->SetThemeBitmap(&own);
      Owned<TCustomForm> created(dlg->CreateForm(form.get()));
      auto& page = static_cast<TCompletionPageForm&>(*created);
      dlg->SetForm(&page);
      dlg->AssignDialogProperties();
      EXPECT_EQ(page.DC(), dlg);
      EXPECT_EQ(page.ProceedBtn()->ModalResult(), mrOk);
      EXPECT_EQ(page.FinishBtn()->ModalResult(), mrOk);
      EXPECT_FALSE(page.BackBtn()->Visible());
      EXPECT_EQ(page.ThemeImage()->Picture()->Width(),
                ownPicture ? 7 : install->DialogThemeBitmap()->Width());
      created.reset();
      dlg->Free();
    }
  }
  EXPECT_EQ(PageForms().Count(), 0);  // each withdrew its entry
}

}  // namespace
