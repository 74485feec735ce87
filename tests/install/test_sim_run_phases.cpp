// The run's named phases: each hook of a clean run sees the phase it
// belongs to, in order, and a run that stops (failure, cancel, restart)
// is left in the phase where it stopped, with its usual outcome.
#include <functional>
#include <vector>

#include "RunFixture.h"

using namespace runtest;

namespace {

class RunPhases : public RunTest {};

TEST_F(RunPhases, HooksSeeTheirPhaseInOrder) {
  Load("-sC:\\SRC");
  std::vector<TRunPhase> seen;
  install_->SetOnAfterInitialized([&](TObject*) { seen.push_back(install_->RunPhase()); });
  dialog_->OnCall = [&](int call) {
    if (call == kCallInitialized || call == kCallProcessBegins)
      seen.push_back(install_->RunPhase());
  };
  install_->SetOnBeforeNotifyGoodInstall([&](TObject*) { seen.push_back(install_->RunPhase()); });
  EXPECT_EQ(install_->RunPhase(), rpNone);

  StartRun();

  EXPECT_EQ(seen, (std::vector<TRunPhase>{rpAfterInitialized, rpStartupCalls, rpInstallObjects,
                                          rpGoodInstall}));
  EXPECT_EQ(InstallOutcome(), ioFinished);
}

TEST_F(RunPhases, AStoppedRunIsLeftInThePhaseWhereItStopped) {
  PutFile("C:\\SRC\\TINY.EXE", std::string(55, 'x'), kProgramDate);
  struct Case {
    const char* what;
    std::string args;
    std::function<void()> shape;
    TRunPhase phase;
    TInstallOutcome outcome;
  };
  const Case cases[] = {
      {"no -s for the loading program", "", nullptr, rpLoadingProgramCheck, ioFailed},
      {"a trailer too short", "-sC:\\SRC -eTINY.EXE", nullptr, rpExtractionOffset, ioFailed},
      {"cancelled on a wizard page", "-sC:\\SRC",
       [this] {
         dialog_->OnCall = [](int call) {
           if (call == kCallBeforeInstallPhase) throw EPLUserAbort("Aborted by user");
         };
       },
       rpStartupCalls, ioCancelled},
      {"unfinished work waits for the restart", "-sC:\\SRC",
       [this] { AddFile("QDEFile")->LeaveUnfinished = true; }, rpRestart, ioRestartRequired},
      {"a clean run", "-sC:\\SRC", nullptr, rpGoodInstall, ioFinished},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form_.reset();
    Load(c.args);
    if (c.shape) c.shape();
    StartRun();
    EXPECT_EQ(install_->RunPhase(), c.phase);
    EXPECT_EQ(InstallOutcome(), c.outcome);
  }
}

}  // namespace

// The hourglass: on while the file information is read (after its "before"
// call) and while the objects install, off afterwards, and off again when
// an install fails half-way, so a failed run never leaves a busy cursor.
// The end of the copy (-996, which closes the progress windows) is told
// however the copy ends.
TEST_F(RunPhases, TheHourglassShowsWhileTheRunWorksAndNeverOutlivesIt) {
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "a file fails" : "a clean run");
    form_.reset();
    Load("-sC:\\SRC");
    AddFile("QDEFile");
    std::vector<std::pair<int, TCursor>> seen;
    dialog_->OnCall = [&](int call) {
      if (call == kCallBeforeReadArchiveInfo || call == kCallAfterReadArchiveInfo ||
          call == kCallInstallObjectsBegins || call == kCallCopyEnded)
        seen.emplace_back(call, Screen().Cursor());
      if (fails && call == kCallInstallObjectsBegins) throw IEInstall("The disk is full");
    };
    StartRun();
    std::vector<std::pair<int, TCursor>> expected = {{kCallBeforeReadArchiveInfo, crDefault},
                                                     {kCallAfterReadArchiveInfo, crDefault},
                                                     {kCallInstallObjectsBegins, crHourGlass}};
    expected.emplace_back(kCallCopyEnded, crDefault);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Screen().Cursor(), crDefault);
    EXPECT_EQ(InstallOutcome(), fails ? ioFailed : ioFinished);
  }
}
