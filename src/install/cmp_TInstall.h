// TCustomInstall / TInstall: the installer component, the top of the
// install object tree and the setup's top-level configuration. It checks
// how it was placed, parses the command line, finds the setup's
// bookkeeping key, chooses the initial install type and the run mode,
// starts the run when the main form is first activated (InstallRun.cpp)
// or finishes an installation after a restart (InstallResume.cpp).
// Exactly one may exist; every other component reaches it through
// Installer().
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Pictures.h"
#include "framework/TypeInfo.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstallInformation.h"
#include "platform/MachineLocks.h"

// The bookkeeping key's parent under HKEY_LOCAL_MACHINE.
inline constexpr const char* kInstallKeyParent = "\\SOFTWARE\\Pellmore\\Install";

using TRebootWindowsEvent = std::function<void(TObject* Install, bool& Continue)>;
using TCleanupEvent = std::function<void(TObject* Install, bool& Continue)>;
using TUserAbortEvent = std::function<void(TObject* Install, bool& QuitOut)>;
using TBeforeRunFileEvent =
    std::function<void(TObject* Install, TInstallFileRef FileToRun, bool& DefaultAction)>;

// The phases of a normal run (TCustomInstall::Process), in the order the
// run goes through them. The run records the one it is in, so whoever
// looks at a run that stopped can tell where.
enum TRunPhase {
  rpNone,                 // no run yet
  rpFreshStart,           // nothing deferred, counted or pending from before
  rpLoadingProgramCheck,  // the loading program passed its -s
  rpInstallKey,           // the setup lock, then the bookkeeping key found or made
  rpClearUnfinished,      // the previous run's unfinished entries dropped
  rpExtractionOffset,     // with -e: the self-extractor's trailer read
  rpArchiveInfo,          // the archive's file information read
  rpAfterInitialized,     // OnAfterInitialized
  rpStartupCalls,         // the start-up component calls, ending with the wizard pages
  rpInstallObjects,       // the installer's own container processing: the copying
  rpRetryRegistrations,   // failed self-registrations tried once more
  rpRunOnce,              // the RunOnce entry for unfinished work or a restart
  rpRestartQuestion,      // the reboot call and OnBeforeReboot
  rpRestart,              // the restart (or its refusal): the run ends for the resume run
  rpGoodInstall,          // the good-install tail: notices, clean-up, key removed, programs
};

// How the program's work ended, for its exit code.
enum TInstallOutcome { ioNone, ioFinished, ioFailed, ioCancelled, ioRestartRequired };
TInstallOutcome InstallOutcome() noexcept;
void SetInstallOutcome(TInstallOutcome outcome) noexcept;

class TCustomInstall;
// The one installer component, or null.
TCustomInstall* Installer() noexcept;

// The installer itself: the top of the install object tree, holding the setup's
// configuration and running the installation when the main form first appears.
class TCustomInstall : public TFileContainer {
  PELLMORE_CLASS(TCustomInstall, TFileContainer)

 public:
  // Raises IEInstall when an installer exists already or the owner is not a
  // form (or data module). At run time it becomes the application's
  // exception handler.
  explicit TCustomInstall(TComponent* owner);
  // Restores the main form's activation handler and the application's
  // previous exception handler, and clears the installer reference.
  ~TCustomInstall() override;

  // --- start-up ---------------------------------------------------------------
  // The switches of the process arguments (after the program itself).
  // Raises IException for an argument that is not "-" and a known letter.
  void ParseCommandLine();
  // Whether switch `letter` (b, f, d, e, r, s or c, either case) was given,
  // and the text after it.
  bool HasSwitch(char letter) const noexcept;
  const std::string& SwitchText(char letter) const noexcept;
  const std::string& SourceDirectory() const noexcept { return sourceDirectory_; }
  // The running program file (the module when the installer lives in a
  // library; this program is always an executable).
  std::string RunningProgramFile() const;
  // The main form's replacement activation handler: starts the run on the
  // first activation only.
  void FormActivated(TObject* Sender);
  TCustomForm* MainForm() const noexcept { return mainForm_; }
  bool Activated() const noexcept { return activated_; }
  bool Running() const noexcept { return running_; }
  // The phase of the normal run that was entered last (rpNone before one).
  TRunPhase RunPhase() const noexcept { return runPhase_; }

  // --- modes ------------------------------------------------------------------
  // The installation run: bookkeeping key, file information, the start-up
  // calls, the tree's installation, the retry list, then either the
  // restart (with the resume entry) or the good-install tail. An error or
  // a user's cancel leaves it as an exception for HandleException.
  void Process() override;
  // -b: builds from the directory named in BUILD.INF beside the program.
  // Every error ends in a message box; the application terminates.
  void BuildFromBuildInf();
  // Builds the distributables of `programFile` into `buildDirectory`.
  virtual void Build(const std::string& buildDirectory, const std::string& programFile,
                     bool standalone);
  // The build's packing step: the tree compressed with the options of
  // DistributeType into `mainArchive` (the installer's archive for the
  // duration), then "filelist.lst" for net distributions. The installer's
  // archive settings are put back on every path.
  void CompressForBuild(const std::string& mainArchive);
  // Writes "filelist.lst" for a net distribution: the install files the
  // build packed, in the directory of ArchiveFile below the net location's
  // path. Raises IEInstallNetLocNil without a net location, IEInstall for a
  // name the list cannot hold (before anything is written).
  void WriteFileList();
  // -f: copies the self-extracting setup onto floppies in `drive`; errors
  // end in a message box; the application terminates.
  void TransferToFloppies(const std::string& drive);
  // -r: finishes an installation left unfinished before a restart.
  virtual void ResumeAfterReboot();

  // --- bookkeeping --------------------------------------------------------------
  // The key "\SOFTWARE\Pellmore\Install\Install<n>" of this setup program
  // file (matched by size and date), refreshing its LastRunDate and Path;
  // with `create` a new number is taken when none matches. Empty when the
  // registry refuses or nothing matches; InstallKeyProblem() then says why.
  std::string FindInstallKey(bool create);
  // Why the last FindInstallKey found no key (the registry's or the file
  // system's own words); empty after a key was found.
  const std::string& InstallKeyProblem() const noexcept { return installKeyProblem_; }
  // Deletes InstallKey with its subkeys and recorded local archives, then
  // the parents that are left empty. Registry refusals are ignored.
  void RemoveInstallKey();
  const std::string& InstallKey() const noexcept { return installKey_; }
  void SetInstallKey(const std::string& key) { installKey_ = key; }
  // Start time of the current run (0 until a run has started).
  TDateTime RunStartTime() const noexcept { return runStartTime_; }

  // --- unfinished business (finished after a restart) ---------------------------
  // Each raises IEInstall "The TInstall could not either write or read
  // unfinished business from the registry" when InstallKey is empty.
  // Adds the entry `name` of `kind` (0: call that object's
  // ContinueAfterReboot; 1: delete that file) and counts it.
  void AddUnfinished(const std::string& name, int kind);
  // The entries as "name;kind" lines; empty when there are none.
  void ReadUnfinished(TStrings& list);
  // Deletes the list; a missing list or a refusal is ignored.
  void ClearUnfinished();
  // Entries added during this run.
  int UnfinishedCount() const noexcept { return unfinishedCount_; }
  // Registers this setup in RunOnce to be started with -r after the
  // restart. Raises IEInstall when the entry cannot be written.
  void RegisterRunOnce();
  // The command RegisterRunOnce writes.
  std::string RunOnceCommand();
  // What the resume command points the source at: the self-extracting
  // program with -e, the loaded setup with UseLoadingProgram, else the
  // running program.
  std::string SetupProgramPath();

  // --- the run's helpers ------------------------------------------------------
  // Reads the file information of the tree once per process.
  void ReadArchiveInfo();
  // -e: points the shared archive at "files.1" inside the self-extracting
  // program, as its trailer gives the offset. Raises IEInstall naming the
  // program when the trailer cannot be read.
  void ReadExtractionOffset();
  // The good-install phase (-995, -979) and the bad-install phase (-994,
  // -978), each between its OnBefore... and OnAfter... events.
  void NotifyGoodInstall();
  void NotifyBadInstall();
  // With UseLoadingProgram, -c and not -d: deletes the presetup files
  // beside the running program and writes the batch that removes the
  // running copy and its directory once the program has ended (started
  // when the installer is destroyed).
  void Cleanup();
  // The pending clean-up batch (empty when none).
  const std::string& CleanupBatch() const noexcept { return cleanupBatch_; }
  // OnBeforeShutdown, then terminates the application unless the handler
  // said no. True when the application was not terminated.
  bool Shutdown();
  // Starts every install file that runs after the installation, in the
  // process-wide list's order, unless OnBeforeRunFile declines.
  void RunFilesAfterInstall();
  // Asks Windows to restart; on failure OnFailedReboot or a message box.
  // True when the request was accepted.
  bool RebootWindows();
  // Writes the translator's target language as "Language" under
  // InstallKey (nothing without a translator).
  void SaveLanguage();
  // Sets the translator's target language from "Language" under
  // InstallKey; a missing or unusable value keeps the current language.
  void RestoreLanguage();
  void ReadArchiveInformation() override { ReadArchiveInfo(); }
  bool ArchiveInfoRead() const noexcept { return archiveInfoRead_; }
  // OnUserAbort with QuitOut = true; true when the user's cancel ends the
  // setup.
  bool UserAbort();
  // The application's exception handler: outside a run the exception is
  // shown in the framework's standard way; during a run a user's cancel
  // ends it through the bad-install phase, the clean-up and the key's
  // removal, any other error through the bad-install phase, the message
  // and the shutdown (the key and its unfinished list stay).
  void HandleException(TObject* Sender, Exception& E);

  // --- published properties -----------------------------------------------------
  bool AutoMaximizeWindow() const noexcept { return autoMaximizeWindow_; }
  void SetAutoMaximizeWindow(bool v);
  bool HideMainForm() const noexcept { return hideMainForm_; }
  void SetHideMainForm(bool v);
  TBuildInfo* BuildInfo() const noexcept { return buildInfo_.get(); }
  TPicture* DialogThemeBitmap() const noexcept { return dialogThemeBitmap_.get(); }
  TDistributeType DistributeType() const noexcept { return distributeType_; }
  void SetDistributeType(TDistributeType v);
  TInstallInformation* Information() const noexcept { return information_.get(); }
  void SetNetLocation(TComponent* value) override;
  TStringList* PresetupFiles() const noexcept { return presetupFiles_.get(); }
  // Copies the lines that are not blank after trimming.
  void SetPresetupFiles(const TStrings& files);
  // Appends `path` unless, with `checkDuplicates`, a line with the same
  // upper-cased file name part exists.
  void AddPresetupFile(const std::string& path, bool checkDuplicates);
  bool Reboot() const noexcept { return reboot_; }
  void SetReboot(bool v) { reboot_ = v; }
  bool RunAutomatic() const noexcept { return runAutomatic_; }
  void SetRunAutomatic(bool v) { runAutomatic_ = v; }
  bool UseLoadingProgram() const noexcept { return useLoadingProgram_; }
  void SetUseLoadingProgram(bool v);

  // Called first when the component is destroyed.
  std::function<void()> DestroyHook;
  // Build-mode notifications (unpublished): before and after "setup.1" is
  // made, the program or loader is copied, the tree is compressed, and the
  // archives are appended to "setup.exe".
  struct TBuildHooks {
    TNotifyEvent BeforeSetupArchive, AfterSetupArchive, BeforeCopy, AfterCopy, BeforeCompress,
        AfterCompress, BeforeAppend, AfterAppend;
  };
  TBuildHooks BuildHooks;

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

  PELLMORE_EVENT(TNotifyEvent, OnAfterInitialized)
  PELLMORE_EVENT(TNotifyEvent, OnBeforeReadArchiveInfo)
  PELLMORE_EVENT(TNotifyEvent, OnAfterReadArchiveInfo)
  PELLMORE_EVENT(TNotifyEvent, OnBeforeNotifyGoodInstall)
  PELLMORE_EVENT(TNotifyEvent, OnAfterNotifyGoodInstall)
  PELLMORE_EVENT(TNotifyEvent, OnBeforeNotifyBadInstall)
  PELLMORE_EVENT(TNotifyEvent, OnAfterNotifyBadInstall)
  PELLMORE_EVENT(TRebootWindowsEvent, OnBeforeReboot)
  PELLMORE_EVENT(TNotifyEvent, OnFailedReboot)
  PELLMORE_EVENT(TCleanupEvent, OnBeforeCleanup)
  PELLMORE_EVENT(TUserAbortEvent, OnBeforeShutdown)
  PELLMORE_EVENT(TUserAbortEvent, OnUserAbort)
  PELLMORE_EVENT(TBeforeRunFileEvent, OnBeforeRunFile)

 private:
  struct SwitchState {
    bool given = false;
    std::string text;
  };
  // The switch letters in their fixed order b, f, d, e, r, s, c.
  static int SwitchIndex(char letter) noexcept;
  void SelectInitialInstallType();
  void SelectMode();
  void HookMainForm();
  // Runs `work` and shows any error in a message box; then terminates.
  template <class F>
  void RunAndTerminate(F&& work);
  // The end of a good run and of the resume: good-install phase, clean-up,
  // key removal, shutdown, post-install programs.
  void FinishGoodInstall();
  // Starts the pending clean-up batch hidden; never throws.
  void StartPendingCleanup() noexcept;
  // One setup at a time on a machine: takes the machine-wide setup lock,
  // waiting a bounded time (with a status text) while another setup holds
  // it. Raises IEInstall when it stays taken or cannot be had at all.
  void TakeSetupLock();
  // Lets another setup start: the machine is no longer changed by the run.
  void ReleaseSetupLock() noexcept;

  std::array<SwitchState, 7> switches_{};
  std::string sourceDirectory_;
  TCustomForm* mainForm_ = nullptr;
  TNotifyEvent savedOnActivate_;
  bool activated_ = false;
  bool hookInstalled_ = false;
  bool running_ = false;
  TRunPhase runPhase_ = rpNone;
  std::string installKey_;
  std::string installKeyProblem_;
  std::unique_ptr<platform::HeldLock> setupLock_;
  TDateTime runStartTime_ = 0;
  int unfinishedCount_ = 0;
  bool archiveInfoRead_ = false;
  std::string cleanupBatch_;
  bool cleanupPending_ = false;
  bool ownsExceptionHandler_ = false;
  TExceptionEvent previousOnException_;

  bool autoMaximizeWindow_ = true;
  bool hideMainForm_ = false;
  Owned<TBuildInfo> buildInfo_;
  Owned<TPicture> dialogThemeBitmap_;
  TDistributeType distributeType_ = dtTraditional;
  Owned<TInstallInformation> information_;
  Owned<TStringList> presetupFiles_;
  bool reboot_ = false;
  bool runAutomatic_ = true;
  bool useLoadingProgram_ = true;
};

// The installer component an author places once on the main form, with every
// setting of the setup published.
class TInstall : public TCustomInstall {
  PELLMORE_CLASS(TInstall, TCustomInstall)

 public:
  using TCustomInstall::TCustomInstall;
};

// How long a run waits for another setup on the same machine to finish
// before it refuses to start (one minute); tests shorten it. Reset with the
// process state.
void SetSetupLockWait(std::chrono::milliseconds wait);
std::chrono::milliseconds SetupLockWait();

// The program-wide default net location (set through an installer's
// NetLocation), or null.
TComponent* DefaultNetLocation() noexcept;

// The default wizard picture: a 117 x 290, 16-colour bitmap file.
Bytes DefaultInstallThemeBitmap();
