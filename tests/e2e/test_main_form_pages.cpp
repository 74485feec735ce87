// The closing pages of the setup's own main form, read in process: which
// forms the registries hold once the program has started, and what the
// good-install, bad-install and reboot phases of that configuration show.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "app/SetupRegistration.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TInstall.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"
#include "support/SimMachineHome.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class MainFormPages : public PellmoreTest {
 protected:
  MainFormPages() {
    home_.Install(platform::sim::MachineOptions{});
    platform::headless::HeadlessOptions o;
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(std::move(o)));
    RegisterSetupClasses(ClassRegistry::Global());
    form = Application().CreateForm<TfmMain>();
  }
  ~MainFormPages() override {
    ProcessState::ResetAll();  // the form goes while the machine exists
    platform::Install(nullptr);
  }

  static std::vector<std::string> Entries(const TFormRegistry& registry) {
    std::vector<std::string> out;
    for (const TFormRegistryEntry& e : registry.Snapshot())
      out.push_back(std::string(e.formClass->name) + " by " +
                    (e.component ? e.component->Name() : std::string("its unit")));
    return out;
  }
  // Broadcasts `call` to the installer's dialog children, as the run does.
  void Broadcast(int call) { Installer()->BroadcastCall(Installer(), call, nullptr); }
  std::vector<std::string> FormRecords() const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (l.find("\"event\":\"form\"") != std::string::npos) out.push_back(l);
    return out;
  }

  testsupport::SimMachineHome home_{"pellmore-mainform-pages"};
  std::vector<std::string> lines;
  TfmMain* form = nullptr;
};

TEST_F(MainFormPages, OnlyTheMainFormsComponentsStandForForms) {
  EXPECT_THAT(Entries(DuringCopyForms()), ElementsAre("TCopyFileForm by CopyFileDlg"));
  EXPECT_THAT(Entries(PageForms()),
              ElementsAre("TGoodInstallForm by GoodInstallationDlg", "TRebootForm by RebootDlg"));
  EXPECT_THAT(Entries(ChangeDiskForms()), IsEmpty());
  struct Case {
    const char* component;
    const char* manager;
  };
  for (const Case& c :
       {Case{"GoodInstallationDlg", "DialogManager1"}, Case{"RebootDlg", "DialogManager5"}}) {
    SCOPED_TRACE(c.component);
    auto* dlg = dynamic_cast<TCustomBaseInstallDlg*>(form->FindComponent(c.component));
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->DialogManager(), form->FindComponent(c.manager));
    EXPECT_EQ(dlg->Container(), Installer());
    EXPECT_EQ(dlg->Order(), 10);
    EXPECT_TRUE(dlg->ThemeBitmap()->Empty());
  }
}

TEST_F(MainFormPages, TheGoodPhaseShowsOnePageWithFinishAndTheBadPhaseNone) {
  Broadcast(kCallBadInstallNotice);
  Broadcast(kCallBadInstallPhase);
  EXPECT_THAT(FormRecords(), IsEmpty());

  // The notice that a component without a manager would answer: here the
  // component has one, so only the phase shows the page.
  Broadcast(kCallGoodInstallNotice);
  EXPECT_THAT(FormRecords(), IsEmpty());
  Broadcast(kCallGoodInstallPhase);
  const auto records = FormRecords();
  ASSERT_EQ(records.size(), 1u);
  // In the setup's language: the caption matched by its English text,
  // Finish by its id.
  EXPECT_THAT(records[0], HasSubstr("\"caption\":\"安装完成\""));
  EXPECT_THAT(records[0], HasSubstr("\"name\":\"FinishBtn\",\"text\":\"完成\""));
  EXPECT_THAT(records[0], Not(HasSubstr("\"name\":\"BackBtn\"")));
  EXPECT_THAT(records[0], Not(HasSubstr("\"name\":\"ProceedBtn\"")));
  EXPECT_THAT(lines.back(), HasSubstr("mrOk"));
}

TEST_F(MainFormPages, TheRebootPhaseOpensOnTheInstallersAnswer) {
  Installer()->SetReboot(true);
  Broadcast(kCallReboot);
  const auto records = FormRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_THAT(records[0], HasSubstr("\"caption\":\"重新启动 Windows\""));
  // The radio items are translated by their texts.
  EXPECT_THAT(records[0], HasSubstr("是，我要重新启动 Windows"));
  EXPECT_THAT(records[0], HasSubstr("\"index\":0"));
  EXPECT_TRUE(Installer()->Reboot());
}

}  // namespace
