// The installation run (see cmp_TInstall.h): Process with its phases, the
// good-install tail it shares with the resume run, and the end of a run:
// clean-up batch, shutdown, post-install programs and the restart.
#include "archive/cmp_TVrexCompress.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/ExtractionInfo.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/RetryList.h"
#include "install/UserAbortFlag.h"
#include "install/cmp_TInstall.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "platform/SystemInfo.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"

namespace {

// The text id of the restart failure in the translator's tables.
constexpr int32_t kRebootFailedGlid = 56;
constexpr const char* kRebootFailed = "Could not reboot windows. Please manually reboot windows.";

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

void TCustomInstall::Process() {
  runPhase_ = rpFreshStart;
  runStartTime_ = platform::clock().Now();
  SetRegistrationFailuresDeferred(true);
  ClearRetryList();
  unfinishedCount_ = 0;
  cleanupBatch_.clear();
  cleanupPending_ = false;
  running_ = true;
  // A cancel belongs to the run it was given in.
  TVrexCompress::Shared().SetAbort(false);
  SetUserAbortFlag(false);

  runPhase_ = rpLoadingProgramCheck;
  if (useLoadingProgram_ && !HasSwitch('s'))
    throw IEInstall(
        "The path of the loading program was not passed correctly. If you are running your "
        "install project in the IDE, then you need to add two command line parameters. In Run | "
        "Parameters | \"Run Parameters\", type in: -d \"-sBUILDPATH\" where BUILDPATH is the path "
        "into which you built the distributables. Example: -d \"-sC:\\My Build\".");

  runPhase_ = rpInstallKey;
  // Before the first look at the registry: from here on the run reads,
  // changes and writes records another setup would change too.
  TakeSetupLock();
  installKey_ = FindInstallKey(true);

  // Without a key nothing could be resumed: ClearUnfinished raises.
  runPhase_ = rpClearUnfinished;
  ClearUnfinished();

  if (HasSwitch('e')) {
    runPhase_ = rpExtractionOffset;
    ReadExtractionOffset();
  }
  runPhase_ = rpArchiveInfo;
  ReadArchiveInfo();
  runPhase_ = rpAfterInitialized;
  if (OnAfterInitialized_) OnAfterInitialized_(this);

  runPhase_ = rpStartupCalls;
  for (int call : {kCallInitialized, kCallPhase976, kCallPhase975, kCallPhase982, kCallPhase981,
                   kCallPhase977, kCallBeforeInstallPhase})
    BroadcastCall(this, call, nullptr);

  // The container processing of the installer itself (it swallows the
  // silent abort).
  runPhase_ = rpInstallObjects;
  TFileContainer::Process();
  // A cancel the user confirmed in the copy window after the last check
  // of the copy loop still ends the run as cancelled, never as finished.
  if (UserAbortFlag()) throw EPLUserAbort(TranslateExceptionText("Aborted by user"));

  // Registrations that failed while copying get one more try; a failure
  // now is an error of the run.
  runPhase_ = rpRetryRegistrations;
  SetRegistrationFailuresDeferred(false);
  for (TFileRelated* file : TakeRetryList()) file->RetryRegistration();

  runPhase_ = rpRunOnce;
  if (unfinishedCount_ > 0 || reboot_) RegisterRunOnce();

  // Unfinished entries need the restart too, even when nobody set Reboot:
  // the good-install tail would remove the key and its list that the
  // RunOnce entry just written is going to finish.
  runPhase_ = rpRestartQuestion;
  const bool restartNeeded = reboot_ || unfinishedCount_ > 0;
  if (reboot_) BroadcastCall(this, kCallReboot, nullptr);
  if (reboot_ && OnBeforeReboot_) {
    bool proceed = reboot_;
    OnBeforeReboot_(this, proceed);
    reboot_ = proceed;
  }

  // The key and the RunOnce entry stay for the resume run, whether the
  // restart happens now or later.
  if (restartNeeded) {
    runPhase_ = rpRestart;
    if (reboot_) SaveLanguage();
    // The resume run after the restart is a setup too (on some systems
    // the restart's RunOnce commands start at once).
    ReleaseSetupLock();
    if (reboot_) RebootWindows();
    running_ = false;
    SetInstallOutcome(ioRestartRequired);
    Application().Terminate();
    return;
  }

  runPhase_ = rpGoodInstall;
  FinishGoodInstall();
}

void TCustomInstall::FinishGoodInstall() {
  NotifyGoodInstall();
  Cleanup();
  RemoveInstallKey();
  if (runAutomatic_) Shutdown();
  // The programs started now may be setups of their own.
  ReleaseSetupLock();
  RunFilesAfterInstall();
  running_ = false;
  SetInstallOutcome(ioFinished);
}

void TCustomInstall::ReadExtractionOffset() {
  const extraction_trailer::Offsets offsets = ReadExtractionInfo(ResolveArchiveFile());
  TVrexCompress::Shared().SetOffset(static_cast<int32_t>(offsets.filesStart));
}

void TCustomInstall::NotifyGoodInstall() {
  if (OnBeforeNotifyGoodInstall_) OnBeforeNotifyGoodInstall_(this);
  BroadcastCall(this, kCallGoodInstallNotice, nullptr);
  BroadcastCall(this, kCallGoodInstallPhase, nullptr);
  if (OnAfterNotifyGoodInstall_) OnAfterNotifyGoodInstall_(this);
}

void TCustomInstall::NotifyBadInstall() {
  if (OnBeforeNotifyBadInstall_) OnBeforeNotifyBadInstall_(this);
  BroadcastCall(this, kCallBadInstallNotice, nullptr);
  BroadcastCall(this, kCallBadInstallPhase, nullptr);
  if (OnAfterNotifyBadInstall_) OnAfterNotifyBadInstall_(this);
}

void TCustomInstall::Cleanup() {
  if (!useLoadingProgram_ || !HasSwitch('c') || HasSwitch('d') || InState(csDesigning)) return;
  bool proceed = true;
  if (OnBeforeCleanup_) OnBeforeCleanup_(this, proceed);
  if (!proceed) return;

  platform::FileSystem& fs = platform::files();
  const std::string program = RunningProgramFile();
  const std::string programDir = ExtractFilePath(program);
  for (int i = 0; i < presetupFiles_->Count(); ++i) {
    const std::string path = programDir + ExtractFileName(presetupFiles_->Strings(i));
    try {
      if (fs.FileExists(path)) fs.DeleteFile(path);
    } catch (const Exception&) {
      // The directory goes with the batch anyway; a file that refuses now
      // does not make the installation fail.
    }
  }

  // Only the unique name is wanted; the batch takes it with ".bat".
  const std::string batch = ChangeFileExt(TempFileName(false), ".bat");
  // NT's command interpreter has no DELTREE; both split unquoted paths at
  // blanks.
  const bool nt = platform::system().Version().platformId == platform::kPlatformNT;
  const std::string removeDir = nt ? "RMDIR /S /Q " : "DELTREE /Y ";
  const std::string text = "ERASE " + Quoted(program) + "\r\n" + removeDir +
                           Quoted(ExcludeTrailingBackslash(programDir)) + "\r\n" + "ERASE " +
                           Quoted(ChangeFileExt(batch, ".PIF")) + "\r\n" + "ERASE " +
                           Quoted(batch) + "\r\n";
  std::unique_ptr<platform::File> f = fs.Create(batch);
  f->Write(text.data(), text.size());
  f->Close();
  cleanupBatch_ = batch;
  cleanupPending_ = true;
}

void TCustomInstall::StartPendingCleanup() noexcept {
  if (!cleanupPending_) return;
  cleanupPending_ = false;
  try {
    platform::processes().Start(Quoted(cleanupBatch_), platform::ShowMode::Hidden);
  } catch (...) {
    // The program is ending; the leftover copy is all that is lost.
  }
}

bool TCustomInstall::Shutdown() {
  bool quitOut = true;
  if (OnBeforeShutdown_) OnBeforeShutdown_(this, quitOut);
  if (quitOut) Application().Terminate();
  return !quitOut;
}

void TCustomInstall::RunFilesAfterInstall() {
  // A handler may free files: walk by index against the live count.
  TCustomInstallFileList& files = CustomInstallFileList();
  for (int i = 0; i < files.Count(); ++i) {
    TFileRelated* file = files.Items(i);
    if (!file->StartsAfterInstall()) continue;
    bool defaultAction = true;
    if (OnBeforeRunFile_) OnBeforeRunFile_(this, file, defaultAction);
    if (defaultAction)
      platform::processes().Start(Quoted(file->InstalledPath()), platform::ShowMode::Normal);
  }
}

bool TCustomInstall::RebootWindows() {
  bool restarted = false;
  try {
    const platform::WindowsVersion v = platform::system().Version();
    if (v.platformId == platform::kPlatformWindows)
      restarted = platform::restart().RequestRestart(false);
    else if (v.platformId == platform::kPlatformNT && v.major >= 4)
      restarted = platform::restart().RequestRestart(true);
    // Win32s and NT 3.5x cannot be restarted from here.
  } catch (const Exception&) {
    restarted = false;
  }
  if (restarted) return true;
  if (OnFailedReboot_) {
    OnFailedReboot_(this);
  } else {
    const TTranslator* translator = MainTranslator();
    const std::string text =
        translator ? translator->TextByGLID(kRebootFailedGlid, kRebootFailed) : kRebootFailed;
    Application().MessageBox(text, Application().Title(), MB_OK);
  }
  return false;
}

void TCustomInstall::SaveLanguage() {
  if (const TTranslator* translator = MainTranslator())
    WriteRegInteger(kRootLocalMachine, installKey_, "Language",
                    static_cast<int32_t>(translator->TranslateIntoLanguage()));
}
