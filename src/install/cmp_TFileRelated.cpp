// TFileRelated (see cmp_TFileRelated.h): archive references, the local
// archive record under the bookkeeping key, download progress.
#include "install/cmp_TFileRelated.h"

#include "framework/StrUtils.h"
#include "install/ComponentCalls.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"

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
  if (Container()) Container()->DoInformationEventControl(this, kInfoDownloadStatus, &p);
}

void TFileRelated::Download() {
  throw IEInstall("Downloading from a net location is not available in this build yet");
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
