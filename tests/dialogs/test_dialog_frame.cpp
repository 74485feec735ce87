// The page frame of the wizard-like phases, driven by the scripted user:
// a phase without pages, skipping pages at either end, the exchange sort,
// cancels confirmed and declined, the frame's placement, and the pairing
// of form units with their component units.
#include <gmock/gmock.h>

#include "DialogFixture.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "framework/Forms.h"

using namespace dialogtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Frame : public DialogTest {
 protected:
  // Pages P, Q and R registered by their form units (no component unit).
  void StartPageUnits() {
    StartFormUnit<TPageP>(PageForms());
    StartFormUnit<TPageQ>(PageForms());
    StartFormUnit<TPageR>(PageForms());
  }
  // The phase as the run starts it; the frame must be gone afterwards.
  void RunPhase(TDialogManager* dm) {
    const int formsBefore = Screen().FormCount();
    try {
      dm->HandleComponentCall(install, kCallGoodInstallPhase, nullptr);
    } catch (...) {
      EXPECT_EQ(Screen().FormCount(), formsBefore);
      EXPECT_EQ(CurrentDialogManager(), nullptr);
      throw;
    }
    EXPECT_EQ(Screen().FormCount(), formsBefore);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }
};

TEST_F(Frame, APhaseWithoutPagesReturnsAtOnceWithoutShowingAnything) {
  // P belongs to the good-install manager: the before-install phase has
  // no page although the registry is not empty.
  NewManager(form.get(), dmAfterGoodInstall);
  TDialogManager* before = NewManager(form.get(), dmBeforeInstall, "Before");
  StartFormUnit<TPageP>(PageForms());
  const size_t alive = TComponent::LiveCount();
  before->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
  EXPECT_EQ(TComponent::LiveCount(), alive);
  EXPECT_EQ(CurrentDialogManager(), nullptr);
  EXPECT_THAT(Pages().shown, IsEmpty());
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(Frame, NextOnTheLastShownPageFinishesAlthoughLaterPagesSkip) {
  UseScript("press Next\npress Next\n");
  TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
  Pages().builtInOrder = {{"TPageP", 1}, {"TPageQ", 2}, {"TPageR", 3}};
  Pages().skip["TPageR"] = true;
  StartPageUnits();
  RunPhase(dm);
  // Q is not the last page (R exists), so Next re-shows Q and finishes.
  EXPECT_THAT(Pages().shown, ElementsAre("P^", "Q", "Q"));
  EXPECT_THAT(Pages().left, ElementsAre("P"));
  EXPECT_NE(lines.back().find("\"event\":\"close\""), std::string::npos);
  EXPECT_NE(lines.back().find("mrOk"), std::string::npos);
}

TEST_F(Frame, BackOnTheFirstShownPageShowsItAgain) {
  UseScript("press Back\npress Next\npress Next\n");
  TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
  Pages().builtInOrder = {{"TPageP", 1}, {"TPageQ", 2}, {"TPageR", 3}};
  Pages().skip["TPageP"] = true;
  StartPageUnits();
  RunPhase(dm);
  // On the real last page Next finds nothing either way and finishes.
  EXPECT_THAT(Pages().shown, ElementsAre("Q^", "Q^", "R$"));
}

TEST_F(Frame, EqualOrdersEndAsTheExchangeSortLeavesThem) {
  struct Case {
    const char* what;
    std::vector<int32_t> orders;  // of P, Q, R in registration order
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"1 1 0", {1, 1, 0}, {"R", "Q", "P"}},
      {"0 1 1", {0, 1, 1}, {"P", "Q", "R"}},
      {"1 0 1", {1, 0, 1}, {"Q", "P", "R"}},
      {"2 1 0", {2, 1, 0}, {"R", "Q", "P"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TForm> owner(NewForm());
    std::vector<TBaseInstallForm*> pages;
    for (size_t i = 0; i < 3; ++i) {
      auto* p = New<TBaseInstallForm>(owner.get(), std::string(1, char('P' + i)));
      p->SetOrder(c.orders[i]);
      pages.push_back(p);
    }
    ExchangeSortByOrder(pages);
    std::vector<std::string> names;
    for (TBaseInstallForm* p : pages) names.push_back(p->Name());
    EXPECT_EQ(names, c.expected);
  }
  // The same through the frame: the pages show in that order.
  UseScript("press Next\npress Next\npress Next\n");
  TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
  Pages().builtInOrder = {{"TPageP", 1}, {"TPageQ", 1}, {"TPageR", 0}};
  StartPageUnits();
  RunPhase(dm);
  EXPECT_THAT(Pages().shown, ElementsAre("R^", "Q", "P$"));
}

TEST_F(Frame, ACancelEndsThePhaseOnlyWhenTheInstallerAgrees) {
  struct Case {
    const char* what;
    bool quitOut;
    const char* script;
    bool raises;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"confirmed", true, "press Next\npress Cancel\n", true, {"P^", "Q$"}},
      {"declined", false, "press Cancel\npress Next\npress Next\n", false, {"P^", "Q$"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pages() = PageScript{};
    PageForms().Clear();
    form.reset(NewForm());
    install = nullptr;
    UseScript(c.script);
    TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
    int asked = 0;
    install->SetOnUserAbort([&](TObject*, bool& quitOut) {
      ++asked;
      quitOut = c.quitOut;
    });
    StartFormUnit<TPageP>(PageForms());
    StartFormUnit<TPageQ>(PageForms());
    Pages().builtInOrder = {{"TPageP", 1}, {"TPageQ", 2}};
    if (c.raises)
      EXPECT_THROW(RunPhase(dm), EPLUserAbort);
    else
      EXPECT_NO_THROW(RunPhase(dm));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Pages().shown, c.shown);
  }
}

TEST_F(Frame, TheFrameTakesTheManagersSizeAndPlace) {
  TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
  dm->SetPosition(vdpBottomRight);
  dm->SetRelativeLeftOffset(10);
  dm->SetRelativeTopOffset(20);
  StartFormUnit<TPageP>(PageForms());
  RunPhase(dm);
  ASSERT_EQ(Pages().frameBounds.size(), 1u);
  EXPECT_EQ(Pages().frameBounds[0], Bounds(312, 600 - 18 - 395 - 20, 478, 395));

  Pages() = PageScript{};
  dm->SetPosition(vdpCenter);
  dm->SetRelativeLeftOffset(0);
  dm->SetRelativeTopOffset(0);
  dm->SetWidth(501);
  dm->SetHeight(301);
  RunPhase(dm);
  ASSERT_EQ(Pages().frameBounds.size(), 1u);
  // 400 - 250.5 and 300 - 150.5: the halves go to the even neighbour.
  EXPECT_EQ(Pages().frameBounds[0], Bounds(150, 150, 501, 301));
}

TEST_F(Frame, AFormUnitTakesPartInEveryRunUnlessItsComponentUnitIsLinked) {
  TDialogManager* dm = NewManager(form.get(), dmAfterGoodInstall);
  TDialogManager* other = NewManager(form.get(), dmAfterGoodInstall, "Other");

  // Without its component unit: in every run of its phase.
  StartFormUnit<TPageP>(PageForms());
  RunPhase(dm);
  RunPhase(dm);
  EXPECT_THAT(Pages().shown, ElementsAre("P^$", "P^$"));

  // With it: the form unit's entry is gone, only components count.
  Pages() = PageScript{};
  PageForms().Clear();
  StartFormUnit<TPageP>(PageForms());
  StartComponentUnit<TPageP>(PageForms());
  RunPhase(dm);
  EXPECT_THAT(Pages().shown, IsEmpty());

  auto* mine = New<TPagePDlg>(form.get(), "MineDlg");
  mine->SetContainer(install);
  mine->SetDialogManager(dm);
  auto* notMine = New<TPagePDlg>(form.get(), "OtherDlg");
  notMine->SetContainer(install);
  notMine->SetDialogManager(other);
  auto* declines = New<TPagePDlg>(form.get(), "DeclinesDlg");
  declines->SetDialogManager(dm);
  declines->Shows = false;
  EXPECT_EQ(dm->DialogCount(), 2);
  RunPhase(dm);
  EXPECT_THAT(Pages().shown, ElementsAre("P^$"));
  EXPECT_EQ(mine->Form(), nullptr);  // the page went with the frame

  // A component removed from the form leaves its manager and the registry.
  declines->Free();
  EXPECT_EQ(dm->DialogCount(), 1);
  EXPECT_EQ(PageForms().Count(), 2);
  // A manager going away leaves its components without one.
  other->Free();
  EXPECT_EQ(notMine->DialogManager(), nullptr);
}

}  // namespace
