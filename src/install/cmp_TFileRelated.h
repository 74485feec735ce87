#pragma once

#include <cstdint>
#include <string>

#include "archive/cmp_TVrexCompress.h"
#include "framework/DateTime.h"
#include "install/FileList.h"
#include "install/cmp_TInstallContainer.h"

// TFileRelated: an install object that has an archive file (ArchiveFile
// under its ArchiveFileType specifier), a net location and possibly a
// local copy of a downloaded archive recorded under the setup's
// bookkeeping key. It also holds the extension points through which file
// containers ask install files (registered type 2000) for their sizes,
// their stored information, their copies and their build-mode steps.
class TFileRelated : public TInstallObject {
  PELLMORE_CLASS(TFileRelated, TInstallObject)

 public:
  // Installable, Net true.
  explicit TFileRelated(TComponent* owner);

  // --- virtual operations, in slot order ----------------------------------
  // Download progress: OnDataReceived, then information event 1014 to the
  // container with a TDownloadStatusParameter.
  virtual void DownloadProgress(const std::string& FileName, int64_t Bytes, int64_t TotalBytes,
                                int64_t FileSize, const uint8_t* Buffer);
  // Fetches this object's own net archive, "<Name>.1" in the directory of
  // its net location (DownloadLocation), into a fresh file in the
  // temporary directory and records it (RecordLocalArchive). The bytes go
  // into a temporary name first and take the recorded name only once the
  // transfer is complete; a failed, cancelled or partial transfer is
  // deleted and nothing is recorded. A cancel raises EPLUserAbort; the
  // location's errors pass unchanged.
  virtual void Download();
  virtual bool HasLocalArchive() const { return !localArchive_.empty(); }
  // Remembers `path` as the local copy of this object's archive and records
  // it under the bookkeeping key (write errors are ignored: the record
  // only saves a later download).
  virtual void RecordLocalArchive(const std::string& path);
  // Outside loading, ignored while ArchiveFileType is psContainerArchiveFile
  // or psMainArchiveFile (the name comes from the specifier then).
  virtual void SetArchiveFile(const std::string& value);
  // Outside loading the specifier first checks that it can serve this
  // object (CheckUsage); psContainerArchiveFile and psMainArchiveFile
  // clear ArchiveFile.
  virtual void SetArchiveFileType(TCustomPathSpecifier* value);
  virtual void SetNet(bool value) { net_ = value; }
  virtual void SetNetLocation(TComponent* value);
  // ArchiveFileType's directory followed by ArchiveFile, one trailing
  // backslash removed.
  virtual std::string ResolveArchiveFile();

  // The location this object downloads from: its own NetLocation, else the
  // nearest container's, else the program's default; null when none.
  TComponent* DownloadLocation() const;
  // The local copy of the net archive this object installs from: its own
  // when it is a container or keeps an archive of its own (a NetLocation,
  // or KeepsOwnNetArchive), else its container's. A copy not yet recorded
  // is downloaded first.
  std::string LocalNetArchive();
  // Takes the size, date and version a net distribution's list of files
  // gives for this object (install files override; the information then
  // counts as read).
  virtual void TakeListedInformation(int64_t /*size*/, TDateTime /*date*/,
                                     const std::string& /*version*/) {}

  // --- extension points for install files and file containers ------------
  // An install file is an install object of registered type 2000.
  bool IsInstallFile() const { return RegisteredType() == kRegisteredInstallFile; }
  // Uncompressed and compressed sizes as stored for the file (0 here).
  virtual int64_t StoredFileSize() const { return 0; }
  virtual int64_t StoredCompressedFileSize() const { return 0; }
  // The name progress reports show for the file.
  virtual std::string StatusFileName() const { return Name(); }
  // The file's source path (IncludeFromDir + "\" + FileName); empty here.
  virtual std::string SourcePath() const { return {}; }
  // Reads the stored information from the archive / the source file.
  virtual void ReadArchiveInformation() {}
  virtual void ReadSourceInformation() {}
  // Copies the file straight from its source directory.
  virtual void CopyFromSource() {}
  // Whether the run starts the file as a program when it ends, and the
  // full path it is installed under (empty here).
  virtual bool StartsAfterInstall() const { return false; }
  virtual std::string InstalledPath() { return {}; }
  // Registers the file again after its self-registration failed during the
  // run (see RetryList.h); a failure now raises.
  virtual void RetryRegistration() {}

  // --- build-mode steps (install files and file containers override) -------
  // Packs the object into the archive its settings name for this build:
  // an install file packs itself, a container its subtree (`options` are
  // the container packing bits of ContainerCompress.h).
  virtual void Compress(uint32_t /*options*/) {}
  // Whether a net install file without a location of its own keeps an
  // archive of its own, because it replaces by version or date, rather than
  // sharing its container's.
  virtual bool KeepsOwnNetArchive() const { return false; }
  // The markers the build leaves on install files: packed as a net file.
  virtual void SetNetPacked(bool /*value*/) {}
  virtual void ClearBuildMarkers() {}
  // The record "filelist.lst" keeps of an install file the last build
  // packed; false for anything else.
  virtual bool PackedFileListRecord(FileListRecord& /*record*/) const { return false; }

  // --- properties ----------------------------------------------------------
  const std::string& ArchiveFile() const noexcept { return archiveFile_; }
  TCustomPathSpecifier* ArchiveFileType() const noexcept { return archiveFileType_; }
  // How the build step treats an existing archive.
  TlzhCommand AddToArchive() const noexcept { return addToArchive_; }
  void SetAddToArchive(TlzhCommand v) { addToArchive_ = v; }
  bool Net() const noexcept { return net_; }
  TComponent* NetLocation() const noexcept { return netLocation_; }
  bool InformationRead() const noexcept { return informationRead_; }
  void SetInformationRead(bool v) noexcept { informationRead_ = v; }
  // The recorded local archive (empty when none).
  const std::string& LocalArchive() const noexcept { return localArchive_; }
  const TDataReceivedEvent& OnDataReceived() const noexcept { return onDataReceived_; }
  void SetOnDataReceived(TDataReceivedEvent e) { onDataReceived_ = std::move(e); }

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  // Notification drops only specifiers and the net location, all linked by
  // FreeNotification (see TInstallContainer).
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }

  // Looks under the bookkeeping key for this object's recorded local
  // archive; an existing file becomes its local archive.
  void LookupLocalArchive();

 protected:
  void ContainerChanged(TInstallContainer* newContainer) override;
  void AssignArchiveFileType(TCustomPathSpecifier* specifier);
  // A default ArchiveFileType: the standard specifier of class `kind`. With
  // `dropIfUnset` loading drops it when the stored configuration does not
  // set the property; otherwise loading keeps it, taking it then when the
  // specifier did not exist yet at construction.
  void SetDefaultArchiveFileType(const TMetaClass& kind, bool dropIfUnset);
  void AssignArchiveFile(std::string v) { archiveFile_ = std::move(v); }

 private:
  bool UsesSpecifierArchive() const;

  bool archiveFileTypeSet_ = false;
  bool archiveDefaultPending_ = false;
  std::string localArchive_;
  TlzhCommand addToArchive_ = lzcOverwrite;
  bool informationRead_ = false;
  std::string archiveFile_;
  TCustomPathSpecifier* archiveFileType_ = nullptr;
  const TMetaClass* archiveDefaultKind_ = nullptr;  // kept through loading
  bool net_ = true;
  TComponent* netLocation_ = nullptr;
  TDataReceivedEvent onDataReceived_;
};
