// The installation run from start to end as the loading program starts
// it: the phases in their order, the bookkeeping key's life, a restart
// asked for or declined by platform kind, the shutdown and post-install
// programs in the machine's start log, a user's cancel with the clean-up
// batch, the loading-program check and the -e trailer, each with the
// outcome the exit code comes from. The outcomes that need no shaped
// machine run on both builds (test_run_scenarios.cpp).
#include "RunFixture.h"
#include "archive/ExtractionTrailer.h"
#include "archive/cmp_TVrexCompress.h"
#include "i18n/cmp_TTranslator.h"

using namespace runtest;
using platform::RootKey;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class TheRun : public RunTest {};

TEST_F(TheRun, CleanRunGoesThroughThePhasesAndRemovesItsKey) {
  Load("-sC:\\SRC");
  std::vector<std::string> keysDuringRun;
  install_->SetOnAfterInitialized([&](TObject*) { keysDuringRun = InstallKeys(); });
  std::vector<std::string> events;
  install_->SetOnBeforeNotifyGoodInstall([&](TObject*) { events.push_back("before good"); });
  install_->SetOnAfterNotifyGoodInstall([&](TObject*) { events.push_back("after good"); });
  install_->SetOnBeforeShutdown([&](TObject*, bool&) { events.push_back("shutdown"); });

  StartRun();

  EXPECT_THAT(keysDuringRun, ElementsAre("Install0"));
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, kInstallParent));
  EXPECT_THAT(events, ElementsAre("before good", "after good", "shutdown"));
  // Start-up calls in their order, then the good-install phase; no status
  // text is left showing.
  const std::vector<int>& c = dialog_->Calls;
  const std::vector<int> startup{-986, -976, -975, -982, -981, -977, -980};
  EXPECT_NE(std::search(c.begin(), c.end(), startup.begin(), startup.end()), c.end());
  const std::vector<int> good{-995, -979};
  EXPECT_NE(std::search(c.begin(), c.end(), good.begin(), good.end()), c.end());
  EXPECT_FALSE(dialog_->Heard(-994) || dialog_->Heard(-987));
  EXPECT_EQ(std::count(c.begin(), c.end(), -974), std::count(c.begin(), c.end(), -973));
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(install_->Running());
  EXPECT_FALSE(RegistrationFailuresDeferred());
  EXPECT_THAT(RunOnceValues(), IsEmpty());
  EXPECT_EQ(Shown("error", ""), 0);
}

TEST_F(TheRun, DeclinedRestartEndsWithoutGoodPhaseAndKeepsTheResumeEntry) {
  Load("-sC:\\SRC");
  TRunFile* file = AddFile("QDEFile");
  file->LeaveUnfinished = true;
  file->NeedsRestart = true;
  dialog_->OnCall = [&](int call) {
    if (call == kCallReboot) install_->SetReboot(false);  // the reboot page's "later"
  };

  StartRun();

  EXPECT_TRUE(dialog_->Heard(kCallReboot));
  EXPECT_FALSE(dialog_->Heard(-995) || dialog_->Heard(-979) || dialog_->Heard(-994));
  EXPECT_THAT(RunOnceValues(), ElementsAre("PellmoreUnfinished"));
  EXPECT_THAT(InstallKeys(), ElementsAre("Install0"));
  TStringList unfinished;
  install_->ReadUnfinished(unfinished);
  EXPECT_THAT(unfinished.ToVector(), ElementsAre("QDEFile;0"));
  EXPECT_FALSE(Machine().RestartRequested());
  EXPECT_EQ(InstallOutcome(), ioRestartRequired);
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(TheRun, RestartSavesTheLanguageAndAsksByPlatformKind) {
  struct Case {
    const char* kind;
    bool restarts;
  };
  for (const Case& c :
       {Case{"nt4", true}, Case{"95", true}, Case{"nt351", false}, Case{"win32s", false}}) {
    SCOPED_TRACE(c.kind);
    SetKind(c.kind);
    Load("-sC:\\SRC", "    Reboot = True");
    auto* translator = New<TTranslator>(form_.get(), "MainTranslator");
    translator->SetTranslateIntoLanguage(vlGerman);
    const int shownBefore = Shown("message", "Could not reboot windows");

    StartRun();

    EXPECT_EQ(Machine().RestartRequested(), c.restarts);
    EXPECT_EQ(Shown("message", "Could not reboot windows. Please manually reboot windows."),
              shownBefore + (c.restarts ? 0 : 1));
    EXPECT_EQ(ReadRegInteger(kRootLocalMachine, install_->InstallKey(), "Language", -1),
              static_cast<int>(vlGerman));
    EXPECT_EQ(InstallOutcome(), ioRestartRequired);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(dialog_->Heard(-995));
    form_.reset();
    Reg().DeleteKey(RootKey::LocalMachine, kRunOnceKey);
    dynamic_cast<platform::sim::SimRestart&>(platform::restart()).ClearRequest();
  }
}

TEST_F(TheRun, FailedRestartCallsOnFailedRebootInsteadOfTheMessage) {
  SetKind("win32s");
  Load("-sC:\\SRC", "    Reboot = True");
  int failed = 0;
  install_->SetOnFailedReboot([&](TObject*) { ++failed; });
  StartRun();
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(Shown("message", "Could not reboot"), 0);
  EXPECT_EQ(InstallOutcome(), ioRestartRequired);
}

TEST_F(TheRun, OnBeforeRebootDecliningLeavesNoRestartRequest) {
  Load("-sC:\\SRC", "    Reboot = True");
  bool continueGiven = false;
  install_->SetOnBeforeReboot([&](TObject*, bool& Continue) {
    continueGiven = Continue;
    Continue = false;
  });
  StartRun();
  EXPECT_TRUE(continueGiven);
  EXPECT_FALSE(Machine().RestartRequested());
  EXPECT_THAT(RunOnceValues(), SizeIs(1));
  EXPECT_FALSE(dialog_->Heard(-995));
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(InstallOutcome(), ioRestartRequired);
}

TEST_F(TheRun, ShutdownDeclinedStillStartsThePostInstallPrograms) {
  PutFile("C:\\App\\Run Me.exe", "MZ", kProgramDate);
  PutFile("C:\\App\\Other.exe", "MZ", kProgramDate);
  Machine().SetProgram("C:\\App\\Run Me.exe", {});
  Machine().SetProgram("C:\\App\\Other.exe", {});
  Load("-sC:\\SRC");
  TRunFile* plain = AddFile("Plain");
  plain->Path = "C:\\App\\Plain.dll";
  TRunFile* runMe = AddFile("RunMe");
  runMe->RunAfterInstall = true;
  runMe->Path = "C:\\App\\Run Me.exe";
  TRunFile* declined = AddFile("Declined");
  declined->RunAfterInstall = true;
  declined->Path = "C:\\App\\Other.exe";
  std::vector<std::string> offered;
  install_->SetOnBeforeRunFile([&](TObject*, TInstallFileRef file, bool& DefaultAction) {
    offered.push_back(file->Name());
    if (file == declined) DefaultAction = false;
  });
  install_->SetOnBeforeShutdown([](TObject*, bool& QuitOut) { QuitOut = false; });

  StartRun();

  EXPECT_THAT(offered, ElementsAre("RunMe", "Declined"));
  EXPECT_THAT(Started(), ElementsAre("\"C:\\App\\Run Me.exe\""));
  EXPECT_FALSE(Application().Terminated());
  EXPECT_EQ(InstallOutcome(), ioFinished);
}

TEST_F(TheRun, UserCancelRunsTheBadPhaseCleansUpAndRemovesTheKey) {
  Load("-sC:\\SRC -c");
  AddFile("QDEFile")->LeaveUnfinished = true;
  dialog_->OnCall = [](int call) {
    if (call == kCallBeforeInstallPhase) throw EPLUserAbort("Aborted by user");
  };

  StartRun();

  const std::vector<int>& c = dialog_->Calls;
  const std::vector<int> bad{-994, -978};
  EXPECT_NE(std::search(c.begin(), c.end(), bad.begin(), bad.end()), c.end());
  EXPECT_FALSE(dialog_->Heard(-995));
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_FALSE(install_->CleanupBatch().empty());  // -c with the loading program
  EXPECT_EQ(Shown("error", ""), 0);                // a cancel is no error
  EXPECT_EQ(InstallOutcome(), ioCancelled);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(install_->Running());
}

TEST_F(TheRun, LoadingProgramWithoutSourceSwitchFailsBeforeAnyKey) {
  Load("");
  StartRun();
  EXPECT_EQ(Shown("error",
                  "The path of the loading program was not passed correctly. If you are running "
                  "your install project in the IDE, then you need to add two command line "
                  "parameters. In Run | Parameters | \\\"Run Parameters\\\", type in: -d "
                  "\\\"-sBUILDPATH\\\" where BUILDPATH is the path into which you built the "
                  "distributables. Example: -d \\\"-sC:\\\\My Build\\\"."),
            1);
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_EQ(InstallOutcome(), ioFailed);

  // Without the loading program no source switch is needed.
  form_.reset();
  Load("", "    UseLoadingProgram = False");
  StartRun();
  EXPECT_EQ(InstallOutcome(), ioFinished);
}

TEST_F(TheRun, SelfExtractorTrailerGivesTheArchiveOffset) {
  // A loading program of 100 bytes, "setup.1" up to 0x1233, "files.1" from
  // 0x1234 to the trailer.
  const std::string exe(0x1300, 'x');
  const auto trailer = extraction_trailer::Encode({100, 0x1233, 0x1234, 0x12ff});
  PutFile("C:\\SRC\\SETUPX.EXE", exe + std::string(trailer.begin(), trailer.end()), kProgramDate);
  PutFile("C:\\SRC\\TINY.EXE", std::string(55, 'x'), kProgramDate);
  // A program without a trailer: its last bytes say nothing sensible.
  PutFile("C:\\SRC\\PLAIN.EXE", std::string(300, '\0'), kProgramDate);

  Load("-sC:\\SRC -eSETUPX.EXE");
  StartRun();
  EXPECT_EQ(TVrexCompress::Shared().Offset(), 0x1234);
  EXPECT_EQ(InstallOutcome(), ioFinished);

  for (const char* name : {"TINY.EXE", "MISSING.EXE", "PLAIN.EXE"}) {
    SCOPED_TRACE(name);
    form_.reset();
    Load(std::string("-sC:\\SRC -e") + name);
    StartRun();
    EXPECT_EQ(Shown("error", std::string("Could not read the extraction info from the archive "
                                         "file C:\\\\SRC\\\\") +
                                 name + " when trying to find the correct offset"),
              1);
    EXPECT_EQ(InstallOutcome(), ioFailed);
  }
}

}  // namespace
