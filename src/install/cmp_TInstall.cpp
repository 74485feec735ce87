// TCustomInstall (see cmp_TInstall.h): construction rules, the property
// setters with their start-up rules, the process-wide installer state,
// the exception handler and the reading of the file information.
#include "install/cmp_TInstall.h"

#include <algorithm>

#include "common/exceptions_Pellmore.h"
#include "framework/Forms.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "install/FileList.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/NetLocationAccess.h"
#include "install/RetryList.h"
#include "install/UserAbortFlag.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace {

struct GlobalState {
  TCustomInstall* installer = nullptr;
  TComponent* defaultNetLocation = nullptr;
  TInstallOutcome outcome = ioNone;
};

GlobalState& Globals() {
  static GlobalState globals;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("install.Installer", [] { Globals() = GlobalState{}; });
  }
  return globals;
}

// The bytes of the downloaded list, as far as its count says it reaches:
// never more than the file holds, so a huge count reads no further.
std::string ReadListBytes(const std::string& path) {
  auto file = platform::files().OpenRead(path);
  const uint64_t size = file->Size();
  std::string head(4, '\0');
  if (size < 4 || file->Read(head.data(), 4) != 4) return {};
  const auto* p = reinterpret_cast<const uint8_t*>(head.data());
  const uint64_t count =
      uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 24;
  const uint64_t wanted = std::min(size - 4, count * kFileListRecordSize);
  std::string bytes = head + std::string(static_cast<size_t>(wanted), '\0');
  size_t done = 4;
  while (done < bytes.size()) {
    const size_t n = file->Read(bytes.data() + done, bytes.size() - done);
    if (n == 0) break;
    done += n;
  }
  bytes.resize(done);
  return bytes;
}

// ReadArchiveInfo's step for net distributions: "filelist.lst" from the
// installer's location into a temporary file (deleted however this ends),
// each record's size, date and version given to the install file of that
// component name, ignoring case; names no file has are skipped.
void ApplyRemoteFileList(TCustomInstall& install) {
  INetInstallLocation* location = AsNetInstallLocation(install.NetLocation());
  if (!location) throw IEInstallNetLocNil("%s does not have a net location", install.Name());
  platform::SystemInfo& sys = platform::system();
  std::string temp;
  try {
    temp = sys.TempFileName(sys.TempDirectory(), "lst");
  } catch (const platform::OsError&) {
  }
  if (temp.empty())
    throw IEInstall("Cannot create a temporary file for the download in %s", sys.TempDirectory());
  auto removeTemp = [&temp] {
    try {
      if (platform::files().FileExists(temp)) platform::files().DeleteFile(temp);
    } catch (const std::exception&) {
      // A list left in the temporary directory harms nothing.
    }
  };
  std::optional<std::vector<FileListRecord>> records;
  try {
    location->Download("filelist.lst", temp,
                       [&install](const std::string& name, int64_t block, int64_t total,
                                  int64_t expected, const uint8_t* data) {
                         install.DownloadProgress(name, block, total, expected, data);
                       });
    if (UserAbortFlag()) throw EPLUserAbort(TranslateExceptionText("Aborted by user"));
    try {
      records = DecodeFileList(ReadListBytes(temp));
    } catch (const platform::OsError&) {
      records.reset();
    }
    if (!records) throw IEInstall("Cannot read the remote list of files: %s", temp);
  } catch (...) {
    removeTemp();
    throw;
  }
  removeTemp();
  TCustomInstallFileList& files = CustomInstallFileList();
  for (const FileListRecord& r : *records) {
    for (int i = 0; i < files.Count(); ++i) {
      TFileRelated* file = files.Items(i);
      if (file && SameText(file->Name(), r.name)) {
        file->TakeListedInformation(r.size, r.date, r.version);
        break;
      }
    }
  }
}

}  // namespace

TCustomInstall* Installer() noexcept {
  return Globals().installer;
}
TComponent* DefaultNetLocation() noexcept {
  return Globals().defaultNetLocation;
}
TInstallOutcome InstallOutcome() noexcept {
  return Globals().outcome;
}
void SetInstallOutcome(TInstallOutcome outcome) noexcept {
  Globals().outcome = outcome;
}

TCustomInstall::TCustomInstall(TComponent* owner) : TFileContainer(owner) {
  if (Globals().installer)
    throw IEInstall(
        "The TInstall component does not currently support the use of 2 TInstall components in "
        "the same project");
  if (!owner || !(owner->Is<TCustomForm>() || owner->InheritsFrom("TDataModule")))
    throw IEInstall("The owner of the TInstall component must be a form");
  buildInfo_.reset(new TBuildInfo);
  information_.reset(new TInstallInformation);
  presetupFiles_.reset(new TStringList);
  dialogThemeBitmap_.reset(new TPicture);
  dialogThemeBitmap_->Bitmap()->LoadFromFile(DefaultInstallThemeBitmap());

  SetDefaultArchiveFileType(TpsMainArchiveFile::StaticMetaClass(), InState(csDesigning));
  SetDefaultDestDirType(FindPathSpecifier<TpsProgramFiles>());
  AssignDestDir("\\MyApplication");
  SetGroupName("Main");

  Globals().installer = this;
  if (!InState(csDesigning)) {
    TApplication& app = Application();
    previousOnException_ = app.OnException;
    app.OnException = [this](TObject* Sender, Exception& E) { HandleException(Sender, E); };
    ownsExceptionHandler_ = true;
  }
}

TCustomInstall::~TCustomInstall() {
  if (DestroyHook) {
    try {
      DestroyHook();
    } catch (...) {
      // A destructor never throws; the hook's failure has nowhere to go.
    }
  }
  // The form must not keep calling into a destroyed installer, whether or
  // not it had a handler of its own before.
  if (mainForm_ && hookInstalled_ && !mainForm_->InState(csDestroying) && mainForm_->Is<TForm>())
    mainForm_->OnActivate = savedOnActivate_;
  if (Globals().installer == this) Globals().installer = nullptr;
  // The copy the loading program unpacked removes itself once we are gone.
  StartPendingCleanup();
  if (ownsExceptionHandler_) Application().OnException = previousOnException_;
}

// --- setters ---------------------------------------------------------------------------

void TCustomInstall::SetAutoMaximizeWindow(bool v) {
  autoMaximizeWindow_ = v;
  if (v && !InState(csLoading)) hideMainForm_ = false;
}

void TCustomInstall::SetHideMainForm(bool v) {
  hideMainForm_ = v;
  if (v && !InState(csLoading)) autoMaximizeWindow_ = false;
}

void TCustomInstall::SetUseLoadingProgram(bool v) {
  useLoadingProgram_ = v;
  if (v && !InState(csLoading)) {
    SetArchiveFileType(FindByClass<TpsMainArchiveFile>());
    AssignArchiveFile({});
  }
}

void TCustomInstall::SetDistributeType(TDistributeType v) {
  if (v == distributeType_) return;
  const bool loading = InState(csLoading);
  if (!InState(csDesigning) && !loading)
    throw IEInstall("DistributeType can only be set at design-time");
  // While loading the net location may not be resolved yet; Loaded checks.
  if (v != dtTraditional && !NetLocation() && !loading)
    throw IEInstallNetLocNil(
        "Must assign a net location via the NetLocation property before you can set the "
        "distribute type");
  distributeType_ = v;
}

void TCustomInstall::SetNetLocation(TComponent* value) {
  TFileContainer::SetNetLocation(value);
  Globals().defaultNetLocation = value;
  if (!value) distributeType_ = dtTraditional;
}

void TCustomInstall::SetPresetupFiles(const TStrings& files) {
  const std::vector<std::string> lines = files.ToVector();  // files may be our own list
  presetupFiles_->BeginUpdate();
  presetupFiles_->Clear();
  for (const std::string& line : lines)
    if (!Trim(line).empty()) presetupFiles_->Add(line);
  presetupFiles_->EndUpdate();
}

void TCustomInstall::AddPresetupFile(const std::string& path, bool checkDuplicates) {
  if (checkDuplicates) {
    const std::string name = UpperCase(ExtractFileName(path));
    for (int i = 0; i < presetupFiles_->Count(); ++i)
      if (UpperCase(ExtractFileName(presetupFiles_->Strings(i))) == name) return;
  }
  presetupFiles_->Add(path);
}

void TCustomInstall::Notification(TComponent* c, TOperation op) {
  const bool wasNetLocation = op == opRemove && c && c == NetLocation();
  TFileContainer::Notification(c, op);
  if (op != opRemove || !c) return;
  if (wasNetLocation) distributeType_ = dtTraditional;
  if (c == Globals().defaultNetLocation) Globals().defaultNetLocation = nullptr;
  if (c == mainForm_) {
    mainForm_ = nullptr;
    hookInstalled_ = false;
  }
}

// --- the run's helpers -------------------------------------------------------------------

bool TCustomInstall::UserAbort() {
  bool quitOut = true;
  if (OnUserAbort_) OnUserAbort_(this, quitOut);
  return quitOut;
}

void TCustomInstall::HandleException(TObject*, Exception& E) {
  if (!running_) {
    SetInstallOutcome(ioFailed);
    Application().ShowException(E);
    return;
  }
  running_ = false;
  SetRegistrationFailuresDeferred(false);
  // A cancel ends like a finished run without its good phase: the copied
  // files stay, but nothing is left to resume. Another error keeps the
  // key and its unfinished list for a resume entry already written.
  const bool cancelled = dynamic_cast<const EPLUserAbort*>(&E) != nullptr;
  SetInstallOutcome(cancelled ? ioCancelled : ioFailed);
  try {
    NotifyBadInstall();
    if (cancelled) {
      Cleanup();
      RemoveInstallKey();
      if (runAutomatic_) Shutdown();
    } else {
      Application().ShowException(E);
      Shutdown();
    }
  } catch (const EAbort&) {
    if (runAutomatic_) Application().Terminate();
  } catch (const Exception& again) {
    // The end of the run failed too: that is shown as well, and the
    // program's work counts as failed even after a cancel.
    SetInstallOutcome(ioFailed);
    Application().ShowException(again);
    if (runAutomatic_) Application().Terminate();
  } catch (const std::exception& again) {
    SetInstallOutcome(ioFailed);
    Application().ShowException(EExternalException(again.what()));
    if (runAutomatic_) Application().Terminate();
  }
  // The run is over, however it ended.
  ReleaseSetupLock();
}

void TCustomInstall::ReadArchiveInfo() {
  if (archiveInfoRead_) return;
  if (OnBeforeReadArchiveInfo_) OnBeforeReadArchiveInfo_(this);
  BroadcastCall(this, kCallBeforeReadArchiveInfo, nullptr);
  {
    TBusyCursor busy;
    ShowStatus("Reading file information...");
    try {
      // The list comes first: a net file it describes then holds its
      // information, so reading the tree does not download its archive
      // now, only when the copy needs it, with the copy dialog showing
      // the transfer.
      if (distributeType_ != dtTraditional) ApplyRemoteFileList(*this);
      TFileContainer::ReadArchiveInformation();
    } catch (...) {
      HideStatus();
      throw;
    }
    HideStatus();
  }
  archiveInfoRead_ = true;
  if (OnAfterReadArchiveInfo_) OnAfterReadArchiveInfo_(this);
  BroadcastCall(this, kCallAfterReadArchiveInfo, nullptr);
}
