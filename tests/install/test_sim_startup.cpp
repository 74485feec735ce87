// The installer's start-up: construction rules, the command line and the
// checks of Loaded, the initial install type, mode selection, the main
// form's activation hook (one run only), hiding the main form, the setter
// rules, and what destruction gives back.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "framework/WidgetsetSlot.h"
#include "install/InstallErrors.h"
#include "platform/headless/HeadlessWidgetset.h"

using namespace installtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// A non-form owner the installer accepts (the class name is what counts).
class TDataModule : public TComponent {
  PELLMORE_CLASS(TDataModule, TComponent)

 public:
  using TComponent::TComponent;
};

class Startup : public InstallTest {
 protected:
  // Reads a form holding one TCountingInstall with `props`, the program
  // started with `args`.
  TForm* Load(const std::string& args, const std::string& props = "") {
    SetCommandLine("C:\\SETUP\\SETUP.EXE " + args);
    return ReadForm(
        "object T: TForm\n  Width = 480\n  Height = 435\n"
        "  object Install1: TCountingInstall\n" +
        props + "\n  end\nend\n");
  }
  TCountingInstall* Of(TForm* form) {
    return static_cast<TCountingInstall*>(form->FindComponent("Install1"));
  }
  std::string LoadError(const std::string& args, const std::string& props = "") {
    try {
      Owned<TForm> form(Load(args, props));
    } catch (const Exception& e) {
      return e.ClassName() + std::string(": ") + e.Message();
    }
    return "loaded";
  }
};

TEST_F(Startup, ConstructionRefusesASecondInstallerAndNonFormOwners) {
  Owned<TForm> form(NewForm());
  New<TInstall>(form.get(), "First");
  EXPECT_THROW(
      try { new TInstall(form.get()); } catch (const IEInstall& e) {
        EXPECT_THAT(e.Message(), HasSubstr("does not currently support the use of 2 TInstall"));
        throw;
      },
      IEInstall);
  form.reset();
  EXPECT_EQ(Installer(), nullptr);

  Owned<TComponent> plain(new TComponent(nullptr));
  EXPECT_THROW(new TInstall(plain.get()), IEInstall);
  EXPECT_THROW(new TInstall(nullptr), IEInstall);
  Owned<TDataModule> module(new TDataModule(nullptr));
  EXPECT_NO_THROW(new TInstall(module.get()));
  EXPECT_NE(Installer(), nullptr);
}

TEST_F(Startup, CommandLineErrorsQuoteTheArgument) {
  const std::string invalid =
      ". Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e "
      "(Called by self-extractor), -r (After reboot)";
  const std::string forgot =
      "IEInstall: You forgot to pass in the build directory. In Run | Parameters, follow this "
      "format: -d \"-sC:\\My Build\"";
  struct Case {
    const char* args;
    std::string expected;
  };
  const Case cases[] = {
      {"-s\"C:\\a b\" x", "IException: Invalid parameter <x>" + invalid},
      {"-b -q", "IException: Invalid parameter <-q>" + invalid},
      {"-d \"-s   \"", forgot},
      // The resume finds no key: the message, and under it why.
      {"-r",
       "IEInstall: The TInstall could not either write or read unfinished business from the "
       "registry\nThe setup program C:\\SETUP\\SETUP.EXE cannot be found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(LoadError(c.args), c.expected);
    EXPECT_EQ(Installer(), nullptr);  // the failed read destroyed it
  }
}

TEST_F(Startup, SwitchesAndSourceDirectory) {
  struct Case {
    const char* args;
    const char* source;
  };
  const Case cases[] = {
      {"", "C:\\SETUP"},
      {"\"-sC:\\My Build\"", "C:\\My Build"},
      {"-SC:\\Upper", "C:\\Upper"},
      {"-sC:\\first -sC:\\last", "C:\\last"},
      {"-d -sC:\\dbg -c", "C:\\dbg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    Owned<TForm> form(Load(c.args));
    EXPECT_EQ(Of(form.get())->SourceDirectory(), c.source);
  }
  Owned<TForm> form(Load("-eSETUPX.EXE -c"));
  TCountingInstall* install = Of(form.get());
  EXPECT_TRUE(install->HasSwitch('e') && install->HasSwitch('C'));
  EXPECT_FALSE(install->HasSwitch('b') || install->HasSwitch('x'));
  EXPECT_EQ(install->SwitchText('E'), "SETUPX.EXE");
}

TEST_F(Startup, InitialInstallTypeIsTheFirstOfDefaultCompactFullCustom) {
  struct Case {
    const char* types;
    TInstallType expected;
  };
  for (const Case& c :
       {Case{"[itCompact, itFull]", itCompact}, Case{"[itCustom, itDefault]", itDefault},
        Case{"[itAlways]", itAlways}, Case{"[itCustom]", itCustom}}) {
    SCOPED_TRACE(c.types);
    Owned<TForm> form(Load("", std::string("    InstallTypes = ") + c.types));
    EXPECT_EQ(Of(form.get())->CurrentInstallType(), c.expected);
  }
}

TEST_F(Startup, BuildSwitchWinsOverResumeAndTerminates) {
  std::vector<std::string> transcript;
  platform::headless::HeadlessOptions options;
  options.transcript = [&](std::string_view line) { transcript.emplace_back(line); };
  InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(options));

  Owned<TForm> form(Load("-b -r"));
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(InstallOutcome(), ioFailed);
  ASSERT_EQ(transcript.size(), 1u);
  EXPECT_THAT(transcript[0], HasSubstr("Need to have a BUILD.INF file in this directory"));
  EXPECT_EQ(Of(form.get())->Runs, 0);
}

TEST_F(Startup, HideMainFormMovesTheFormOffScreen) {
  Owned<TForm> form(Load("", "    HideMainForm = True"));
  EXPECT_EQ(form->Left(), -960);
  EXPECT_EQ(form->Top(), -870);
  EXPECT_EQ(form->Width(), 480);
  EXPECT_TRUE(Of(form.get())->AutoMaximizeWindow());  // loading applies no setter rule
}

TEST_F(Startup, OnlyTheFirstActivationStartsTheRun) {
  Owned<TForm> form(NewForm());
  int ownActivations = 0;
  form->OnActivate = [&](TObject* sender) {
    EXPECT_EQ(sender, form.get());
    ++ownActivations;
  };
  auto* install = New<TCountingInstall>(form.get(), "Install1");
  install->Loaded();
  form->OnActivate(form.get());
  EXPECT_EQ(install->Runs, 1);
  EXPECT_EQ(ownActivations, 1);
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->OnActivate(form.get());  // the form's own handler is back
  install->FormActivated(form.get());
  EXPECT_EQ(install->Runs, 1);
  EXPECT_EQ(ownActivations, 2);

  // Without RunAutomatic the program starts the run itself.
  Owned<TForm> other(NewForm());
  delete install;
  auto* manual = New<TCountingInstall>(other.get(), "Install1");
  manual->SetRunAutomatic(false);
  manual->Loaded();
  other->OnActivate(other.get());
  EXPECT_TRUE(manual->Activated());
  EXPECT_EQ(manual->Runs, 0);
  // Destroyed, it leaves no handler behind that would call into it.
  delete manual;
  EXPECT_FALSE(static_cast<bool>(other->OnActivate));
  EXPECT_FALSE(static_cast<bool>(Application().OnException));
}

TEST_F(Startup, SetterRules) {
  Owned<TForm> form(NewForm());
  auto* install = New<TInstall>(form.get(), "Install1");
  install->SetHideMainForm(true);
  EXPECT_FALSE(install->AutoMaximizeWindow());
  install->SetAutoMaximizeWindow(true);
  EXPECT_FALSE(install->HideMainForm());

  EXPECT_THROW(install->SetDistributeType(dtWeb), IEInstall);
  install->SetDesigning(true);
  EXPECT_THROW(install->SetDistributeType(dtWeb), IEInstallNetLocNil);
  auto* net = New<TComponent>(form.get(), "Net");
  install->SetNetLocation(net);
  EXPECT_EQ(DefaultNetLocation(), net);
  install->SetDistributeType(dtWeb);
  EXPECT_EQ(install->DistributeType(), dtWeb);
  delete net;  // removal clears the default and the distribution type
  EXPECT_EQ(DefaultNetLocation(), nullptr);
  EXPECT_EQ(install->DistributeType(), dtTraditional);

  TStringList files;
  files.SetText("C:\\a\\QDSETUP.DLL\n   \n\nC:\\b\\other.dll\n");
  install->SetPresetupFiles(files);
  install->AddPresetupFile("D:\\x\\qdsetup.dll", true);   // same name part: dropped
  install->AddPresetupFile("D:\\x\\qdsetup.dll", false);  // unchecked: kept
  EXPECT_THAT(install->PresetupFiles()->ToVector(),
              ElementsAre("C:\\a\\QDSETUP.DLL", "C:\\b\\other.dll", "D:\\x\\qdsetup.dll"));
}

}  // namespace
