// TCustomInstallFile / TInstallFile: the install object for one file. In
// build mode it packs its source file into the archive (compress), during
// the run it extracts its member onto the machine with the overwrite rule
// (install), and it can copy its source file as it is (copy).
#pragma once

#include <cstdint>
#include <string>

#include "files/InstallFileInfo.h"
#include "files/version/cmp_TVersion.h"
#include "framework/TypeInfo.h"
#include "install/InstallErrors.h"
#include "install/cmp_TFileContainer.h"

class ClassRegistry;
class TVrexCompress;
struct TlzhFileStats;

PELLMORE_DECLARE_EXCEPTION(IECustomInstallFile, IException);
PELLMORE_DECLARE_EXCEPTION(IEfcDuplicateFile, IException);

enum TInstallFileType {
  iftNormal,
  iftJustADLL,
  iftApplicationSpecificDLL,
  iftVendorSharedDLL,
  iftSystemWideDLL
};

// The job a file is doing; assigning a job to State runs it.
enum : int { ifsIdle = 0, ifsCompressing = 1, ifsInstalling = 2, ifsCopying = 3 };

// Storage once the file has been packed into its archive.
inline constexpr int kStoragePacked = 2;

inline constexpr const char* kMsgArchiveBlank =
    "Cannot either compress or decompress the following file because it's archive file property "
    "is blank. File is :%s";
inline constexpr const char* kMsgDestBlank =
    "Cannot compress,copy, or install the following file because it's destination directory is "
    "blank. File is :%s";

// The common ground of install files: one file that the build packs into the
// archive and the run extracts onto the machine under its overwrite rule.
class TCustomInstallFile : public TFileRelated {
  PELLMORE_CLASS(TCustomInstallFile, TFileRelated)

 public:
  // Takes the lowest free unique id and joins the list of install files.
  explicit TCustomInstallFile(TComponent* owner);
  // Both split `sourcePath` into IncludeFromDir (no trailing backslash)
  // and FileName; the second also places the file in `container`.
  TCustomInstallFile(TComponent* owner, const std::string& sourcePath);
  TCustomInstallFile(TComponent* owner, TInstallContainer* container,
                     const std::string& sourcePath);
  // Frees its unique id and leaves the list of install files.
  ~TCustomInstallFile() override;

  int RegisteredType() const override { return kRegisteredInstallFile; }

  // --- virtual operations, in slot order ----------------------------------
  // The archive's OnAborted: the user confirmed a cancel.
  virtual void UserAbortStep();
  // Self-registration of the installed file: a library's DllRegisterServer
  // (OLE initialised around it) or a program started with /REGSERVER. Both
  // need an existing destination and run with the destination directory as
  // the current directory. Failures raise IECustomInstallFile.
  virtual void RegisterActiveXLibrary();
  virtual void RegisterActiveXProgram();
  // OnReplacing, -997, 1003, marks the file as going to be installed. The
  // destination is not touched: the new copy replaces it only once it has
  // been extracted completely, and if the destination is in use then, the
  // copy takes a numbered name and waits for the restart (see
  // DestinationInUse and ScheduleReplacement).
  virtual void ReplaceExisting();
  virtual void SetActiveX(bool value);
  virtual void SetDestName(const std::string& value);
  virtual void SetFileName(const std::string& value);
  virtual void SetFileType(TInstallFileType value);
  virtual void SetIncludeFromDir(const std::string& value);
  // 1, 2 or 3 runs compress, install or copy; idle (0) again afterwards.
  virtual void SetState(int value);
  virtual void Compress();
  virtual void Copy();
  virtual void ReadInfoFromArchive();
  virtual void ReadInfoFromSource();
  // Whether the source file's version resource asks for self-registration.
  virtual bool HasSelfRegister();
  // Adds one to the destination's count in SharedDLLs (under its short
  // name when a value exists there, else under the full path). Raises when
  // the key cannot be opened; false when the count cannot be written.
  virtual bool IncrementDLLCount();
  // Help, shared-DLL and ActiveX steps after a file was installed or kept.
  virtual void AfterInstallSteps();
  // Registers the file with the extension's way (".EXE": program, else
  // library); failures raise.
  void RegisterActiveX();

  // --- container operations ---------------------------------------------------
  void SetContainer(TInstallContainer* value) override;
  void SetDestDir(const std::string& value) override;
  void SetDestDirType(TCustomPathSpecifier* value) override;
  // The install step (run by Process).
  void InstallObjects() override;
  // The uninstall records under `key`: "ActiveX" (path;1 for programs,
  // path;0 otherwise) or "Files" (the path), each "File<n>" with "Entries".
  void WriteUninstallInfo(const std::string& key) override;
  // The resume after the restart registers a deferred ActiveX file.
  void ContinueAfterReboot() override;
  // The end of the run registers once more a file whose registration
  // failed during the run; a failure now raises.
  void RetryRegistration() override;

  // --- file-related extension points -----------------------------------------
  int64_t StoredFileSize() const override { return storedSize_; }
  int64_t StoredCompressedFileSize() const override { return storedCompressedSize_; }
  std::string StatusFileName() const override { return fileName_; }
  std::string SourcePath() const override { return includeFromDir_ + "\\" + fileName_; }
  void ReadArchiveInformation() override { ReadInfoFromArchive(); }
  // The list of files gives no compressed size; the rest counts as read.
  void TakeListedInformation(int64_t size, TDateTime date, const std::string& version) override;
  // Whether the file's archive comes from the net for this distribution:
  // every file of dtWeb, the Net files of dtTraditionalNet (a file without
  // an installer counts as dtTraditionalNet). Reading the information and
  // installing both ask this, so they read the same archive.
  bool ArchiveFromNet() const;
  void ReadSourceInformation() override { ReadInfoFromSource(); }
  void CopyFromSource() override { SetState(ifsCopying); }
  void Compress(uint32_t /*options*/) override { SetState(ifsCompressing); }
  bool KeepsOwnNetArchive() const override {
    return overwriteMode_ == owVersion || overwriteMode_ == owDate ||
           overwriteMode_ == owVersionDate;
  }
  bool StartsAfterInstall() const override { return runAfterInstall_; }
  // The destination directory followed by DestName.
  std::string InstalledPath() override { return ResolveDestDir() + "\\" + destName_; }

  void Loaded() override;

  // --- published properties -------------------------------------------------
  bool ActiveX() const noexcept { return activeX_; }
  const std::string& DestName() const noexcept { return destName_; }
  const std::string& FileName() const noexcept { return fileName_; }
  TInstallFileType FileType() const noexcept { return fileType_; }
  const std::string& IncludeFromDir() const noexcept { return includeFromDir_; }
  TOverwriteType OverwriteMode() const noexcept { return overwriteMode_; }
  void SetOverwriteMode(TOverwriteType v) { overwriteMode_ = v; }
  bool RegisterAsHelp() const noexcept { return registerAsHelp_; }
  void SetRegisterAsHelp(bool v) { registerAsHelp_ = v; }
  bool RunAfterInstall() const noexcept { return runAfterInstall_; }
  void SetRunAfterInstall(bool v) { runAfterInstall_ = v; }
  bool UpdateDLLCounter() const noexcept { return updateDLLCounter_; }
  void SetUpdateDLLCounter(bool v) { updateDLLCounter_ = v; }

  PELLMORE_EVENT(TInstallFileNotifyEvent, OnAfterCompress)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnAfterCopy)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnAfterInstall)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnBeforeCompress)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnBeforeCopy)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnBeforeInstall)
  PELLMORE_EVENT(TInstallFileNotifyEvent, OnReplacing)
  PELLMORE_EVENT(TInstallFileStatusEvent, OnStatus)
  PELLMORE_EVENT(TInstallFileNewDiskEvent, OnNewDisk)

  // --- stored, not published --------------------------------------------------
  int UniqueID() const noexcept { return uniqueID_; }
  // Streamed as "UniqueID"; IECustomInstallFile outside 0..1999.
  void SetUniqueID(int value);
  int State() const noexcept { return state_; }
  int64_t StoredSize() const noexcept { return storedSize_; }
  int64_t StoredCompressedSize() const noexcept { return storedCompressedSize_; }
  TDateTime StoredDate() const noexcept { return storedDate_; }
  const std::string& StoredVersion() const noexcept { return storedVersion_; }
  bool InfoRead() const noexcept { return InformationRead(); }
  int Storage() const noexcept { return storage_; }
  const std::string& StorageArchive() const noexcept { return storageArchive_; }
  bool DestExisted() const noexcept { return destExisted_; }
  // The file's own "will install" flag (set by ReplaceExisting); not the
  // install-type test WillInstall() of the object model.
  bool FileWillInstall() const noexcept { return fileWillInstall_; }
  bool ReplacePending() const noexcept { return replacePending_; }
  // The build markers: packed by the last build, and packed as a net file.
  bool Packed() const noexcept { return storage_ == kStoragePacked; }
  bool NetPacked() const noexcept { return netPacked_; }
  void SetNetPacked(bool v) noexcept override { netPacked_ = v; }
  void ClearBuildMarkers() noexcept override;
  bool PackedFileListRecord(FileListRecord& record) const override;

  // The record written to the build's file list.
  TFileInfoRecord InfoRecord() const;
  // The destination directory + "\" + DestName.
  std::string DestinationPath();
  // The path the file has once installed: the destination path, or while
  // a replacement waits for the restart, the path the numbered copy will
  // be moved onto.
  std::string FinalPath();

  // Lets code that packs or installs outside the run fill the stored
  // information (the archive directory normally does).
  void SetStoredInfo(int64_t size, int64_t compressedSize, TDateTime date,
                     const std::string& version);

 protected:
  // Information event to the container (if any).
  void Notify(int code, TObject* PO);
  // Component call to the whole installation (through the installer).
  void Broadcast(int code, TObject* PO);

 private:
  // The property rules, applied together to a proposed set of values.
  struct Values;
  Values Current() const;
  void Apply(Values v, unsigned changed);
  void ApplyPathSplit(const std::string& sourcePath);

  // Jobs (InstallFileJobs.cpp).
  void InstallStep();
  void Extract(const std::string& destDir);
  // Raises the archive's "Cannot create the file %s" (`dest`) when DestName
  // is no plain file name, before anything is looked at or written.
  void RefuseUnsafeDestName(const std::string& dest) const;
  void CompressStep();
  void CopyStep();
  TVrexCompress& InstallArchive(Owned<TVrexCompress>& privateArchive, std::string& path);
  void AttachAdapters(TVrexCompress& archive, bool newDisk);
  void StatusAdapter(const TlzhFileStats& stats);
  void NewDiskAdapter(TVrexCompress& archive, int disk, std::string& path);
  void FinishJob();
  // In-use replacement (InstallFileInUse.cpp). The archive could not swap
  // the new copy in: choose the numbered name for it (sets ReplacePending
  // and DestName). After the copy is there, schedule its move onto the
  // held file for the restart.
  bool DestinationInUse(const std::string& destDir, std::string& name);
  void ScheduleReplacement(const std::string& destDir);
  void WriteReplacementBatch(const std::string& shortDest, const std::string& shortNew);
  // Uninstall records (InstallFileRegistration.cpp).
  void WriteFilesRecord(const std::string& key, const std::string& path);

  bool activeX_ = false;
  std::string destName_;
  std::string fileName_;
  TInstallFileType fileType_ = iftNormal;
  std::string includeFromDir_;
  TOverwriteType overwriteMode_ = owAlways;
  bool registerAsHelp_ = false;
  bool runAfterInstall_ = false;
  bool updateDLLCounter_ = false;

  int uniqueID_ = 0;
  int state_ = ifsIdle;
  int64_t storedSize_ = 0;
  int64_t storedCompressedSize_ = 0;
  TDateTime storedDate_ = 0;
  std::string storedVersion_;
  int storage_ = 0;
  std::string storageArchive_;
  bool destExisted_ = false;
  bool fileWillInstall_ = false;
  bool replacePending_ = false;
  std::string replacedName_;  // DestName before it became the numbered name
  bool netPacked_ = false;
};

// One file of the product, with its source, destination directory and name,
// overwrite rule and what to do with it once installed.
class TInstallFile : public TCustomInstallFile {
  PELLMORE_CLASS(TInstallFile, TCustomInstallFile)

 public:
  using TCustomInstallFile::TCustomInstallFile;
};

// Registers TCustomInstallFile, TInstallFile (with its published properties
// and the streamed UniqueID) and TInstallFileType.
void RegisterInstallFile(ClassRegistry& registry);
