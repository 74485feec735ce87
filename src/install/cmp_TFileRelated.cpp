// TFileRelated (see cmp_TFileRelated.h): archive references, the local
// archive record under the bookkeeping key, downloading a net archive and
// its progress.
#include "install/cmp_TFileRelated.h"

#include "framework/StrUtils.h"
#include "install/ComponentCalls.h"
#include "install/ContainerCompress.h"
#include "install/InstallErrors.h"
#include "install/NetLocationAccess.h"
#include "install/UserAbortFlag.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace {

// Deletes a file if it is there; a file that cannot be deleted stays (the
// caller is already on its way out with the real failure).
void DeleteQuietly(const std::string& path) {
  if (path.empty()) return;
  try {
    platform::FileSystem& fs = platform::files();
    if (fs.FileExists(path)) fs.DeleteFile(path);
  } catch (const std::exception&) {
  }
}

// A name of its own in the temporary directory, reserved by the system as
// an empty file.
std::string ReserveTempName(const char* prefix) {
  platform::SystemInfo& sys = platform::system();
  try {
    const std::string name = sys.TempFileName(sys.TempDirectory(), prefix);
    if (!name.empty()) return name;
  } catch (const platform::OsError&) {
  }
  throw IEInstall("Cannot create a temporary file for the download in %s", sys.TempDirectory());
}

// Raises when the drive of `path` has less room than `expected` bytes.
void RefuseIfNoRoom(const std::string& path, const std::string& remote, int64_t expected) {
  if (expected <= 0) return;
  uint64_t free = 0;
  try {
    free = platform::files().FreeSpace(path).freeBytes;
  } catch (const platform::OsError&) {
    return;  // unknown: the writes will tell
  }
  if (free >= static_cast<uint64_t>(expected)) return;
  throw IEInstall(
      "There is not enough space on the disk to download %s: %s bytes are needed in %s, %s bytes "
      "are free",
      remote, std::to_string(expected), ExtractFileDir(path), std::to_string(free));
}

}  // namespace

TFileRelated::TFileRelated(TComponent* owner) : TInstallObject(owner) {
  SetInstallable(true);
  SetDefaultArchiveFileType(TpsContainerArchiveFile::StaticMetaClass(), true);
}

void TFileRelated::DownloadProgress(const std::string& FileName, int64_t Bytes, int64_t TotalBytes,
                                    int64_t FileSize, const uint8_t* Buffer) {
  if (onDataReceived_) onDataReceived_(this, FileName, Bytes, TotalBytes, FileSize, Buffer);
  TDownloadStatusParameter p;
  p.Number = Bytes;
  p.FileName = FileName;
  p.TotalSize = FileSize;
  p.BytesReceived = TotalBytes;
  p.Percent = PercentDone(TotalBytes, FileSize);
  // The top container (the installer) has nobody above it: it hears its
  // own download, so the copy dialog still shows it.
  if (Container())
    Container()->DoInformationEventControl(this, kInfoDownloadStatus, &p);
  else if (Is<TFileContainer>())
    static_cast<TFileContainer*>(this)->DoInformationEventControl(this, kInfoDownloadStatus, &p);
}

TComponent* TFileRelated::DownloadLocation() const {
  const TInstallContainer* o = this;
  // Bounded: containment cannot form a cycle, but a broken tree must not
  // hang the run.
  for (int depth = 0; o && depth < 1000; ++depth) {
    if (o->Is<TFileRelated>()) {
      if (TComponent* location = static_cast<const TFileRelated*>(o)->NetLocation())
        return location;
    }
    o = o->Is<TInstallObject>() ? static_cast<const TInstallObject*>(o)->Container() : nullptr;
  }
  return DefaultNetLocation();
}

std::string TFileRelated::LocalNetArchive() {
  TFileRelated* holder = this;
  if (IsInstallFile() && !NetLocation() && !KeepsOwnNetArchive()) {
    TInstallContainer* c = Container();
    if (!c || !c->Is<TFileContainer>())
      throw IEFileContainer(
          "%s cannot perform ReadInfoFromArchive because either no container is assigned or the "
          "container is not TFileContainer",
          Name());
    holder = static_cast<TFileRelated*>(c);
  }
  // A recorded copy that has gone since (cleaned temporary directory) is
  // fetched again rather than failing on a missing archive.
  if (!holder->HasLocalArchive() || !platform::files().FileExists(holder->LocalArchive()))
    holder->Download();
  return holder->LocalArchive();
}

void TFileRelated::Download() {
  INetInstallLocation* location = AsNetInstallLocation(DownloadLocation());
  if (!location) throw IEFileRel_NoNetLocation("%s does not have a net location", Name());
  if (!location->LoginFilledIn())
    throw IEInstall("%s cannot download its archive: the login information of %s is not filled in",
                    Name(), DownloadLocation()->Name());
  const std::string remote = Name() + ".1";
  // The recorded name is reserved first, so a complete copy can always
  // take it; the transfer writes into a second name of its own.
  const std::string local = ReserveTempName("net");
  std::string partial;
  try {
    partial = ReserveTempName("dl");
    location->Download(remote, partial,
                       [this, &partial](const std::string& name, int64_t block, int64_t total,
                                        int64_t expected, const uint8_t* data) {
                         // Known at the first block: an archive the disk cannot
                         // hold stops now, not when the disk is full.
                         if (total == block) RefuseIfNoRoom(partial, name, expected);
                         DownloadProgress(name, block, total, expected, data);
                       });
    if (UserAbortFlag()) throw EPLUserAbort(TranslateExceptionText("Aborted by user"));
    platform::files().MoveFile(partial, local, platform::kMoveReplaceExisting);
  } catch (...) {
    DeleteQuietly(partial);
    DeleteQuietly(local);
    throw;
  }
  RecordLocalArchive(local);
}

void TFileRelated::RecordLocalArchive(const std::string& path) {
  localArchive_ = path;
  TCustomInstall* installer = Installer();
  if (!installer || installer->InstallKey().empty() || Name().empty()) return;
  try {
    WriteRegString(kRootLocalMachine, installer->InstallKey() + "\\" + Name(), "LocalFile", path);
  } catch (const std::exception&) {
    // Only a later download is saved by the record; losing it is harmless.
  }
}

void TFileRelated::LookupLocalArchive() {
  TCustomInstall* installer = Installer();
  if (!installer || installer->InstallKey().empty() || Name().empty()) return;
  const std::string path =
      ReadRegString(kRootLocalMachine, installer->InstallKey() + "\\" + Name(), "LocalFile", "");
  if (!Trim(path).empty() && platform::files().FileExists(path)) localArchive_ = path;
}

bool TFileRelated::UsesSpecifierArchive() const {
  return archiveFileType_ && (archiveFileType_->Is<TpsContainerArchiveFile>() ||
                              archiveFileType_->Is<TpsMainArchiveFile>());
}

void TFileRelated::SetArchiveFile(const std::string& value) {
  // While loading the specifier may not be resolved yet: store as given.
  if (!InState(csLoading) && UsesSpecifierArchive()) return;
  archiveFile_ = value;
}

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* value) {
  const bool loading = InState(csLoading);
  if (value && !loading) value->CheckUsage(this);
  archiveFileTypeSet_ = true;
  AssignArchiveFileType(value);
  if (!loading && UsesSpecifierArchive()) archiveFile_.clear();
}

void TFileRelated::AssignArchiveFileType(TCustomPathSpecifier* specifier) {
  archiveFileType_ = specifier;
  if (specifier) specifier->FreeNotification(this);
}

void TFileRelated::SetDefaultArchiveFileType(const TMetaClass& kind, bool dropIfUnset) {
  TCustomPathSpecifier* specifier = StandardPathSpecifierList().Find(kind);
  AssignArchiveFileType(specifier);
  archiveDefaultPending_ = dropIfUnset && specifier;
  archiveDefaultKind_ = dropIfUnset ? nullptr : &kind;
}

void TFileRelated::SetNetLocation(TComponent* value) {
  netLocation_ = value;
  if (value) value->FreeNotification(this);
}

std::string TFileRelated::ResolveArchiveFile() {
  return ResolveWith(archiveFileType_, archiveFile_);
}

void TFileRelated::ContainerChanged(TInstallContainer* newContainer) {
  TInstallObject::ContainerChanged(newContainer);
  if (newContainer && newContainer->Is<TFileRelated>()) {
    AssignArchiveFileType(FindPathSpecifier<TpsContainerArchiveFile>());
    archiveFile_.clear();
  } else if (archiveFileType_ && archiveFileType_->Is<TpsContainerArchiveFile>()) {
    archiveFileType_ = nullptr;
  }
}

void TFileRelated::Loaded() {
  TInstallObject::Loaded();
  if (archiveDefaultPending_ && !archiveFileTypeSet_) archiveFileType_ = nullptr;
  archiveDefaultPending_ = false;
  // A kept default whose specifier the form declared after this object.
  if (archiveDefaultKind_ && !archiveFileTypeSet_ && !archiveFileType_)
    AssignArchiveFileType(StandardPathSpecifierList().Find(*archiveDefaultKind_));
  archiveDefaultKind_ = nullptr;
  if (!InState(csDesigning)) LookupLocalArchive();
}

void TFileRelated::Notification(TComponent* c, TOperation op) {
  TInstallObject::Notification(c, op);
  if (op != opRemove || !c) return;
  if (c == archiveFileType_) archiveFileType_ = nullptr;
  if (c == netLocation_) netLocation_ = nullptr;
}
