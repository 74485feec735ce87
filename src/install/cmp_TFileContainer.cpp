// TFileContainer and TInstallFileGroup (see cmp_TFileContainer.h):
// installing and copying a subtree, byte totals, and the information
// events that climb from install files to the installer.
#include "install/cmp_TFileContainer.h"

#include "archive/cmp_TVrexCompress.h"
#include "framework/Forms.h"
#include "framework/RunAndFinish.h"
#include "framework/StrUtils.h"
#include "install/InstallErrors.h"

TFileRelated* AsInstallFile(TObject* o) {
  if (!o || !o->Is<TFileRelated>()) return nullptr;
  auto* f = static_cast<TFileRelated*>(o);
  try {
    return f->IsInstallFile() ? f : nullptr;
  } catch (const IEInstallContainer&) {
    return nullptr;
  }
}

namespace {

TParameterList& RequireList(TObject* PO) {
  if (!PO->Is<TParameterList>())
    throw IException("DoInformationEventControl--PO is not a TList object");
  return static_cast<TParameterList&>(*PO);
}

}  // namespace

TFileContainer::TFileContainer(TComponent* owner) : TFileRelated(owner) {}

TFileContainer::~TFileContainer() = default;

void TFileContainer::BeforeDestruction() noexcept {
  // The container's files go with it, before the containment is torn down.
  try {
    FreeFiles();
  } catch (...) {
    // Freeing cannot fail short of a broken class; the teardown goes on.
  }
  TFileRelated::BeforeDestruction();
}

// --- information events -----------------------------------------------------------

void TFileContainer::PassUp(TObject* Sender, int code, TObject* PO) {
  if (TInstallContainer* c = Container()) c->DoInformationEventControl(Sender, code, PO);
}

void TFileContainer::DoInformationEventControl(TObject* Sender, int code, TObject* PO) {
  if (state_ != fcsIdle) HandleInformationEvent(code, PO);
  PassUp(Sender, code, PO);
}

void TFileContainer::HandleInformationEvent(int code, TObject* PO) {
  switch (code) {
    case kInfoReplacing:
    case kInfoStatusInstalling:
    case kInfoStatusCompressing:
    case kInfoStatusCopying:
    case kInfoNewDisk:
    case kInfoDownloadStatus:
    case kInfoInstallSkipped:
    case kInfoFileKept:
      if (!PO) throw IException("%s got a nil PO parameter", Name());
      break;
    default:
      return;  // 1012/1013 and the job notices only climb
  }
  switch (code) {
    case kInfoReplacing:
    case kInfoInstallSkipped:
    case kInfoFileKept: {
      TFileRelated* file = AsInstallFile(PO);
      if (!file) throw IException("DoInformationEventControl parameter is not TInstallFile");
      if (code == kInfoReplacing)
        Replacing(file);
      else
        FileDone(file);
      return;
    }
    case kInfoStatusInstalling:
    case kInfoStatusCompressing:
    case kInfoStatusCopying: {
      TParameterList& list = RequireList(PO);
      if (list.Count() < 2)
        throw IException("DoInformationEventControl--Not engouh parameters for status event");
      TFileRelated* file = AsInstallFile(list.Items[0]);
      if (!file) throw IException("DoInformationEventControl says bad first parameter");
      TObject* second = list.Items[1];
      if (!second || !second->Is<TFileStatusParameter>())
        throw IException("DoInformationEventControl says bad second parameter");
      auto& status = static_cast<TFileStatusParameter&>(*second);
      Status(file, status);
      if (status.Stats.Finished && state_ != fcsIdle) bytesDone_ += status.BytesDone;
      return;
    }
    case kInfoNewDisk: {
      TParameterList& list = RequireList(PO);
      TFileRelated* file = list.Count() > 0 ? AsInstallFile(list.Items[0]) : nullptr;
      if (!file) throw IEFileContainer("DoInformationEventControl says bad %d parameter", 1);
      TObject* second = list.Count() > 1 ? list.Items[1] : nullptr;
      if (!second || !second->Is<TDiskParameter>())
        throw IEFileContainer("DoInformationEventControl says bad %d parameter", 2);
      NewDisk(file, static_cast<TDiskParameter&>(*second));
      return;
    }
    case kInfoDownloadStatus: {
      if (!PO->Is<TDownloadStatusParameter>())
        throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object",
                              Name());
      auto& p = static_cast<TDownloadStatusParameter&>(*PO);
      if (OnDataReceived())
        OnDataReceived()(this, p.FileName, p.Number, p.BytesReceived, p.TotalSize, nullptr);
      BroadcastCall(this, kCallDownloadStatus, &p);
      return;
    }
    default:
      return;
  }
}

void TFileContainer::FillTotals(TFileStatusParameter& status) const {
  status.TotalBytesDone = bytesDone_ + status.BytesDone;
  status.TotalPercent = PercentDone(status.TotalBytesDone, totalBytes_);
}

void TFileContainer::Status(TFileRelated* file, TFileStatusParameter& status) {
  FillTotals(status);
  if (onStatus_) onStatus_(file, status.FilePercent, status.TotalPercent);
  BroadcastCall(this, kCallFileStatus, &status);
}

void TFileContainer::FileDone(TFileRelated* file) {
  TFileStatusParameter status;
  status.BytesDone = file->StoredFileSize();
  status.FilePercent = 100;
  status.FileName = file->StatusFileName();
  status.Stats.Finished = true;
  FillTotals(status);
  if (onStatus_) onStatus_(file, status.FilePercent, status.TotalPercent);
  BroadcastCall(this, kCallFileStatus, &status);
  bytesDone_ += status.BytesDone;
}

void TFileContainer::Replacing(TFileRelated* file) {
  if (onReplacing_) onReplacing_(file);
  BroadcastCall(this, kCallReplacing, file);
}

void TFileContainer::NewDisk(TFileRelated* file, TDiskParameter& disk) {
  if (onNewDisk_) {
    std::string path = disk.Path;
    onNewDisk_(file, disk.DiskNumber, path);
    file->SetTag(1);  // answered: the file asks nobody else
    disk.Path = path;
  }
  TParameterList list{file, &disk};
  BroadcastCall(this, kCallChangeDisk, &list);
}

// --- byte totals ---------------------------------------------------------------------

int64_t TFileContainer::DirectByteTotal(bool all) {
  int64_t total = 0;
  for (int i = 0; i < ObjectCount(); ++i) {
    TFileRelated* file = AsInstallFile(Objects(i));
    if (file && (all || file->WillInstall())) total += file->StoredFileSize();
  }
  return total;
}

int64_t TFileContainer::RecursiveByteTotal(bool all) {
  int64_t total = DirectByteTotal(all);
  for (int i = 0; i < ObjectCount(); ++i) {
    TInstallObject* o = Objects(i);
    if (o->Is<TFileContainer>() && (all || o->WillInstall()))
      total += static_cast<TFileContainer*>(o)->RecursiveByteTotal(all);
  }
  return total;
}

int64_t TFileContainer::CompressedByteTotal(bool all) {
  int64_t total = 0;
  for (int i = 0; i < ObjectCount(); ++i) {
    TInstallObject* o = Objects(i);
    if (TFileRelated* file = AsInstallFile(o)) {
      if (all || file->WillInstall()) total += file->StoredCompressedFileSize();
    } else if (o->Is<TFileContainer>() && (all || o->WillInstall())) {
      total += static_cast<TFileContainer*>(o)->CompressedByteTotal(all);
    }
  }
  return total;
}

int64_t TFileContainer::ByteTotal(bool all, bool recursive) {
  return recursive ? RecursiveByteTotal(all) : DirectByteTotal(all);
}

// --- operations ------------------------------------------------------------------------

void TFileContainer::ReadArchiveInformation() {
  for (int i = 0; i < ObjectCount(); ++i) {
    TInstallObject* o = Objects(i);
    if (o->Is<TFileRelated>()) static_cast<TFileRelated*>(o)->ReadArchiveInformation();
  }
}

void TFileContainer::ReadSourceInformation() {
  for (int i = 0; i < ObjectCount(); ++i) {
    TInstallObject* o = Objects(i);
    if (o->Is<TFileRelated>()) static_cast<TFileRelated*>(o)->ReadSourceInformation();
  }
}

void TFileContainer::InstallObjects() {
  state_ = fcsInstalling;
  try {
    // The hourglass until the last file is in, however that ends.
    TBusyCursor busy;
    ReadArchiveInformation();
    BroadcastCall(this, kCallInstallObjectsBegins, nullptr);
    PassUp(this, kInfoContainerStarts, this);
    totalBytes_ = RecursiveByteTotal(false);
    bytesDone_ = 0;
    if (onBeforeInstallObjects_) onBeforeInstallObjects_(this);
    TFileRelated::InstallObjects();
    PassUp(this, kInfoContainerEnds, this);
  } catch (...) {
    state_ = fcsIdle;
    // The copy is over however it ended: its progress windows close now,
    // not when the program ends. What that says cannot replace the
    // failure that ended the copy.
    try {
      BroadcastCall(this, kCallCopyEnded, nullptr);
    } catch (...) {
    }
    throw;
  }
  const bool aborted = TVrexCompress::Shared().Abort();
  try {
    BroadcastCall(this, kCallCopyEnded, nullptr);
  } catch (...) {
    state_ = fcsIdle;
    throw;
  }
  state_ = fcsIdle;
  if (onAfterInstallObjects_) onAfterInstallObjects_(this, aborted);
}

void TFileContainer::CopyFiles() {
  state_ = fcsCopying;
  RunAndFinish(
      [this] {
        if (OnBeforeProcess()) OnBeforeProcess()(this);
        if (Include()) {
          PassUp(this, kInfoContainerStarts, this);
          ReadSourceInformation();
          totalBytes_ = RecursiveByteTotal(false);
          bytesDone_ = 0;
          for (int i = 0; i < ObjectCount(); ++i)
            if (TFileRelated* file = AsInstallFile(Objects(i))) file->CopyFromSource();
          for (int i = 0; i < ObjectCount(); ++i)
            if (Objects(i)->Is<TFileContainer>())
              static_cast<TFileContainer*>(Objects(i))->CopyFiles();
        }
        if (OnAfterProcess()) OnAfterProcess()(this);
        if (Include()) PassUp(this, kInfoContainerEnds, this);
      },
      [this] {
        state_ = fcsIdle;
        BroadcastCall(this, kCallCopyEnded, nullptr);
      });
}

void TFileContainer::RunAs(int kind) {
  try {
    switch (kind) {
      case fcsCompressing:
        Compress(0);
        break;
      case fcsInstalling:
        Process();
        break;
      case fcsCopying:
        CopyFiles();
        break;
      default:
        break;
    }
  } catch (...) {
    state_ = fcsIdle;
    throw;
  }
  state_ = fcsIdle;
}

void TFileContainer::FreeFiles() {
  for (int i = ObjectCount(); i-- > 0;) {
    if (i >= ObjectCount()) continue;
    if (TFileRelated* file = AsInstallFile(Objects(i))) file->Free();
  }
}

TFileRelated* TFileContainer::FindFile(const std::string& sourcePath) {
  for (int i = 0; i < ObjectCount(); ++i) {
    TInstallObject* o = Objects(i);
    if (TFileRelated* file = AsInstallFile(o)) {
      if (SameText(file->SourcePath(), sourcePath)) return file;
    } else if (o->Is<TFileContainer>()) {
      if (TFileRelated* found = static_cast<TFileContainer*>(o)->FindFile(sourcePath)) return found;
    }
  }
  return nullptr;
}

std::string TFileContainer::LocalArchivePath() {
  if (!HasLocalArchive())
    throw IEFileContainer(
        "%s has not yet downloaded the archive file and therefore cannot retrieve the path of "
        "the archive file",
        Name());
  return LocalArchive();
}

// --- TInstallFileGroup ------------------------------------------------------------------

TInstallFileGroup::TInstallFileGroup(TComponent* owner)
    : TFileContainer(owner), defaultName_("Unnamed File Group") {
  SetGroupName(defaultName_);
}

void TInstallFileGroup::Loaded() {
  TFileContainer::Loaded();
  defaultName_.clear();
}

void TInstallFileGroup::ContainerChanged(TInstallContainer* newContainer) {
  TFileContainer::ContainerChanged(newContainer);
  // A name somebody chose (or a description gave) is never replaced.
  if (defaultName_.empty() || GroupName() != defaultName_) return;
  defaultName_ = newContainer ? "Group #" + std::to_string(newContainer->FileContainerCount())
                              : std::string("Unnamed File Group");
  SetGroupName(defaultName_);
}
