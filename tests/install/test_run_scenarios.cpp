// The installation run's outcomes on the test machine, the same on both
// builds: a clean install, a restart declined by the reboot page or by
// OnBeforeReboot, the application kept open while post-install programs
// still start, a user's cancel, an unexpected error and a registration
// that succeeds on its retry. The installer is built in code: on Windows
// the running program is the test itself, whose own switches no installer
// would accept. No scenario here may reach a real restart request.
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RunStandIns.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "support/GuardedBackend.h"
#include "tools/pegen/PeWriter.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

using namespace runtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class RunScenario : public RunBase {
 protected:
  RunScenario() {
#ifdef _WIN32
    auto guarded = std::make_unique<testsupport::GuardedBackend>(platform::CreateDefaultBackend());
    guarded_ = guarded.get();
    platform::Install(std::move(guarded));
#else
    // The installer knows its bookkeeping key by the running program's
    // file, which a fresh simulated machine does not hold yet.
    const std::string program = platform::system().ModuleFileName();
    if (!platform::files().FileExists(program)) PutFile(program, "program", kProgramDate);
#endif
  }
  ~RunScenario() override {
#ifdef _WIN32
    form_.reset();
    // The test machine puts the registry back through the real system.
    platform::Install(platform::CreateDefaultBackend());
#endif
  }

  // An installer as a program without a loading program has it: no
  // switches are needed to run.
  TInstall* Build() {
    TForm* form = NewForm();
    New<TInstall>(form, "Install1")->SetUseLoadingProgram(false);
    return Adopt(form);
  }

  // Whether the machine was asked to restart.
  bool RestartAsked() {
#ifdef _WIN32
    return guarded_->RestartRequests() > 0;
#else
    return Machine().RestartRequested();
#endif
  }
  // The command lines of the programs that started.
  std::vector<std::string> StartedOk() {
    std::vector<std::string> lines;
#ifdef _WIN32
    for (const testsupport::GuardedBackend::Start& s : guarded_->Starts())
      if (s.result > 31) lines.push_back(s.commandLine);
#else
    for (const platform::sim::SimStart& s : Machine().Starts())
      if (s.kind == platform::sim::SimStartKind::Start) lines.push_back(s.commandLine);
#endif
    return lines;
  }
  // A program that exits at once.
  std::string PutProgram(const std::string& relative) {
    pegen::PeOptions options;
    options.machine = pegen::kLoadableMachine;
    options.kind = pegen::ImageKind::Exe;
    const std::vector<uint8_t> image = pegen::BuildPe(options);
    const std::string path = At(relative);
    testsupport::TestMachine::WriteFile(path, std::string(image.begin(), image.end()));
    return path;
  }

#ifdef _WIN32
  testsupport::GuardedBackend* guarded_ = nullptr;
#endif
};

TEST_F(RunScenario, CleanInstallCreatesItsKeyAndRemovesItAtTheEnd) {
  Build();
  std::vector<std::string> keysDuringRun;
  install_->SetOnAfterInitialized([&](TObject*) { keysDuringRun = InstallKeys(); });
  std::vector<std::string> events;
  install_->SetOnBeforeNotifyGoodInstall([&](TObject*) { events.push_back("before good"); });
  install_->SetOnAfterNotifyGoodInstall([&](TObject*) { events.push_back("after good"); });
  install_->SetOnBeforeShutdown([&](TObject*, bool&) { events.push_back("shutdown"); });

  StartRun();

  EXPECT_THAT(keysDuringRun, SizeIs(1));
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_THAT(events, ElementsAre("before good", "after good", "shutdown"));
  EXPECT_TRUE(dialog_->Heard(-995) && dialog_->Heard(-979));
  EXPECT_FALSE(dialog_->Heard(-994) || dialog_->Heard(kCallReboot));
  EXPECT_THAT(RunOnceValues(), IsEmpty());
  EXPECT_EQ(Shown("error", ""), 0);
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(install_->Running());
  EXPECT_FALSE(RestartAsked());
}

// Declined by the reboot page or by the handler, the restart is left to the
// user: the key and the RunOnce entry that resumes the run stay, the
// good-install phase never comes.
TEST_F(RunScenario, DeclinedRestartKeepsTheResumeEntryAndSkipsTheGoodPhase) {
  for (const bool byHandler : {false, true}) {
    SCOPED_TRACE(byHandler ? "OnBeforeReboot" : "reboot page");
    Build();
    TRunFile* file = AddFile("QDEFile");
    file->LeaveUnfinished = true;
    file->NeedsRestart = true;
    bool continueGiven = false;
    if (byHandler) {
      install_->SetOnBeforeReboot([&](TObject*, bool& Continue) {
        continueGiven = Continue;
        Continue = false;
      });
    } else {
      dialog_->OnCall = [&](int call) {
        if (call == kCallReboot) install_->SetReboot(false);  // the page's "later"
      };
    }

    StartRun();

    EXPECT_TRUE(dialog_->Heard(kCallReboot));
    EXPECT_EQ(continueGiven, byHandler);
    EXPECT_FALSE(dialog_->Heard(-995) || dialog_->Heard(-979) || dialog_->Heard(-994));
    EXPECT_THAT(RunOnceValues(), ElementsAre("PellmoreUnfinished"));
    EXPECT_THAT(InstallKeys(), SizeIs(1));
    TStringList unfinished;
    install_->ReadUnfinished(unfinished);
    EXPECT_THAT(unfinished.ToVector(), ElementsAre("QDEFile;0"));
    EXPECT_FALSE(RestartAsked());
    EXPECT_EQ(Shown("message", ""), 0);  // no "could not reboot" either
    EXPECT_EQ(InstallOutcome(), ioRestartRequired);
    EXPECT_TRUE(Application().Terminated());

    form_.reset();
    Reg().DeleteKey(platform::RootKey::LocalMachine, kRunOnceKey);
    DeleteRegKeyTree(kRootLocalMachine, kInstallParent);
  }
}

TEST_F(RunScenario, KeptOpenByOnBeforeShutdownStillStartsThePostInstallPrograms) {
  const std::string runMePath = PutProgram("App\\Run Me.exe");
  const std::string otherPath = PutProgram("App\\Other.exe");
  Build();
  AddFile("Plain")->Path = At("App\\Plain.dll");
  TRunFile* runMe = AddFile("RunMe");
  runMe->RunAfterInstall = true;
  runMe->Path = runMePath;
  TRunFile* declined = AddFile("Declined");
  declined->RunAfterInstall = true;
  declined->Path = otherPath;
  std::vector<std::string> offered;
  install_->SetOnBeforeRunFile([&](TObject*, TInstallFileRef file, bool& DefaultAction) {
    offered.push_back(file->Name());
    if (file == declined) DefaultAction = false;
  });
  install_->SetOnBeforeShutdown([](TObject*, bool& QuitOut) { QuitOut = false; });

  StartRun();

  EXPECT_THAT(offered, ElementsAre("RunMe", "Declined"));
  EXPECT_THAT(StartedOk(), ElementsAre("\"" + runMePath + "\""));
  EXPECT_FALSE(Application().Terminated());
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_EQ(Shown("error", ""), 0);
#ifdef _WIN32
  // The started program runs on its own; its image stays locked until it
  // has ended, and the scratch directory goes after the test.
  for (int i = 0; i < 100; ++i) {
    try {
      platform::files().DeleteFile(runMePath);
      break;
    } catch (const Exception&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
#endif
}

TEST_F(RunScenario, UserCancelRunsTheBadPhaseAndRemovesTheKey) {
  Build();
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
  EXPECT_THAT(RunOnceValues(), IsEmpty());
  EXPECT_EQ(Shown("error", ""), 0);  // a cancel is no error
  EXPECT_EQ(InstallOutcome(), ioCancelled);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(install_->Running());
}

TEST_F(RunScenario, UnexpectedErrorKeepsTheKeyWithItsUnfinishedList) {
  Build()->SetRunAutomatic(false);
  AddFile("First")->LeaveUnfinished = true;
  TRunFile* failing = AddFile("Failing");
  failing->RegistrationFails = true;
  failing->RetryFails = true;

  StartRun();

  EXPECT_EQ(failing->Retries, 1);
  EXPECT_EQ(Shown("error", "registration of Failing failed again"), 1);
  EXPECT_TRUE(dialog_->Heard(-994) && dialog_->Heard(-978));
  EXPECT_FALSE(dialog_->Heard(-995));
  EXPECT_THAT(InstallKeys(), SizeIs(1));
  TStringList unfinished;
  install_->ReadUnfinished(unfinished);
  EXPECT_THAT(unfinished.ToVector(), ElementsAre("First;0"));
  EXPECT_THAT(RunOnceValues(), IsEmpty());
  EXPECT_EQ(InstallOutcome(), ioFailed);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(RegistrationFailuresDeferred());
  EXPECT_FALSE(RestartAsked());
}

TEST_F(RunScenario, RegistrationFailingDuringTheRunSucceedsOnTheRetry) {
  Build();
  TRunFile* file = AddFile("Ocx");
  file->RegistrationFails = true;

  StartRun();

  EXPECT_EQ(file->Retries, 1);
  EXPECT_EQ(Shown("error", ""), 0);
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_FALSE(RegistrationFailuresDeferred());

  // A second run starts with an empty retry list.
  Application().Terminate();
  file->RegistrationFails = false;
  StartRun();
  EXPECT_EQ(file->Retries, 1);
  EXPECT_EQ(InstallOutcome(), ioFinished);
}

}  // namespace
