// The setup's main form as the program builds it: the embedded Main.dfm
// read through the program's own registration list, FormCreate covering
// the screen, and the installer's configuration as stored.
#include <gmock/gmock.h>

#include "app/Main.h"
#include "app/SetupRegistration.h"
#include "decor/cmp_Rotate3DLabel.h"
#include "decor/cmp_TBackDrop.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "framework/WidgetsetSlot.h"
#include "install/cmp_TInstall.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "platform/sim/SimMachine.h"
#include "support/Fixture.h"
#include "support/SimMachineHome.h"

namespace {

using ::testing::ElementsAre;

class MainForm : public PellmoreTest {
 protected:
  MainForm() {
    platform::sim::MachineOptions options;
    options.screenWidth = 1280;
    options.screenHeight = 1024;
    home_.Install(options);
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>());
    RegisterSetupClasses(ClassRegistry::Global());
  }
  ~MainForm() override {
    ProcessState::ResetAll();  // the form goes while the machine exists
    platform::Install(nullptr);
  }
  testsupport::SimMachineHome home_{"pellmore-mainform"};
};

TEST_F(MainForm, EmbeddedDescriptionDeclaresTheInstaller) {
  TfmMain* form = Application().CreateForm<TfmMain>();
  EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1280, 1024}));

  auto* install = dynamic_cast<TInstall*>(form->FindComponent("Install1"));
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(Installer(), install);
  EXPECT_EQ(install->MainForm(), form);
  EXPECT_FALSE(install->AutoMaximizeWindow());
  EXPECT_FALSE(install->HideMainForm());
  EXPECT_TRUE(install->RunAutomatic());
  EXPECT_TRUE(install->UseLoadingProgram());
  EXPECT_EQ(install->DistributeType(), dtTraditional);
  EXPECT_EQ(install->DestDir(), "\\MyApplication");
  EXPECT_EQ(install->Information()->CompanyName(), "My Company");
  EXPECT_EQ(install->Information()->ProductName(), "Quenby Database Engine");
  EXPECT_EQ(install->Information()->Version(), "8.2.0");
  EXPECT_EQ(install->InstallTypes(), TInstallTypeSet{itCustom});
  EXPECT_EQ(install->CurrentInstallType(), itCustom);
  EXPECT_EQ(install->Description()->Count(), 1);
  ASSERT_EQ(install->PresetupFiles()->Count(), 1);
  EXPECT_EQ(ExtractFileName(install->PresetupFiles()->Strings(0)), "QDSETUP.DLL");
  EXPECT_EQ(install->DialogThemeBitmap()->Width(), 117);
  EXPECT_EQ(install->DialogThemeBitmap()->Height(), 290);
  EXPECT_EQ(install->SourceDirectory(), "C:\\SETUP");
}

// The backdrop with the title comes first and fills the screen-sized form.
TEST_F(MainForm, TheBackdropAndTheTitleComeFirst) {
  TfmMain* form = Application().CreateForm<TfmMain>();
  ASSERT_GE(form->ComponentCount(), 2);
  auto* backdrop = dynamic_cast<TBackdrop*>(form->Components(0));
  auto* title = dynamic_cast<TRotate3DLabel*>(form->Components(1));
  ASSERT_NE(backdrop, nullptr);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(backdrop->Name(), "BackDrop");
  EXPECT_EQ(title->Name(), "ProductLabel");
  EXPECT_EQ(TBackdrop::Designated(), backdrop);
  EXPECT_EQ(TRotate3DLabel::Designated(), title);
  EXPECT_EQ(backdrop->BoundsRect(), form->ClientRect());
  EXPECT_EQ(backdrop->Width(), 1280 - 8);  // inside the sizeable frame
  EXPECT_EQ(backdrop->Direction(), bdUp);
  EXPECT_EQ(backdrop->StartColor(), 0xFF0000);
  EXPECT_EQ(backdrop->EndColor(), 0x808040);

  EXPECT_EQ(title->Parent(), backdrop);
  EXPECT_EQ(title->Align(), alTop);
  EXPECT_EQ(title->Height(), 65);
  EXPECT_EQ(title->Caption(), form->Caption());
  EXPECT_EQ(title->Font()->Data(), (TFontData{"\xE5\xAE\x8B\xE4\xBD\x93", -35, GB2312_CHARSET,
                                              clYellow, TFontStyles{fsBold, fsItalic}}));
  const TLabelStyle& style = *title->LabelStyle();
  EXPECT_FALSE(style.AShadeLTSet());
  EXPECT_EQ(style.AStyle3D(), A3dRaised);
  EXPECT_EQ(style.Angle(), 0);
  EXPECT_TRUE(title->MyTransparent());
}

}  // namespace
