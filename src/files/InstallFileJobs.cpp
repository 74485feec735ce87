// The three jobs of TCustomInstallFile (see cmp_TInstallFile.h): install
// with the overwrite decision made first and the new copy swapped in only
// once it is complete (a destination in use gets it at the restart),
// compress into the build's archive, and plain copy; plus the status and
// new-disk adapters they hang on the archive.
#include "archive/MemberNames.h"
#include "archive/cmp_TVrexCompress.h"
#include "files/KeptArchive.h"
#include "files/cmp_TInstallFile.h"
#include "framework/Application.h"
#include "framework/RunAndFinish.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

// Runs `f` when the scope ends, however it ends.
template <class F>
class Finally {
 public:
  explicit Finally(F f) : f_(std::move(f)) {}
  ~Finally() { f_(); }
  Finally(const Finally&) = delete;
  Finally& operator=(const Finally&) = delete;

 private:
  F f_;
};

}  // namespace

void TCustomInstallFile::Notify(int code, TObject* PO) {
  if (TInstallContainer* c = Container()) c->DoInformationEventControl(this, code, PO);
}

void TCustomInstallFile::Broadcast(int code, TObject* PO) {
  if (TCustomInstall* installer = Installer()) installer->BroadcastCall(this, code, PO);
}

void TCustomInstallFile::SetState(int value) {
  switch (value) {
    case ifsCompressing:
      Compress();
      break;
    case ifsInstalling:
      InstallObjects();
      break;
    case ifsCopying:
      Copy();
      break;
    default:
      state_ = ifsIdle;
      break;
  }
}

void TCustomInstallFile::ReplaceExisting() {
  if (OnReplacing_) OnReplacing_(this);
  Broadcast(kCallReplacing, this);
  Notify(kInfoReplacing, this);
  fileWillInstall_ = true;
}

// --- adapters ---------------------------------------------------------------------------

void TCustomInstallFile::StatusAdapter(const TlzhFileStats& stats) {
  TFileStatusParameter p;
  p.BytesDone = stats.FileBytesDone;
  p.TotalBytesDone = stats.TotalBytesDone;
  p.FilePercent = stats.FilePercent;
  p.FileName = fileName_;
  p.Stats = stats;
  p.TotalPercent = stats.TotalPercent;
  if (OnStatus_) OnStatus_(this, p.FilePercent, p.TotalPercent);
  Broadcast(kCallFileStatus, &p);
  TParameterList list{this, &p};
  const int code = state_ == ifsCompressing  ? kInfoStatusCompressing
                   : state_ == ifsInstalling ? kInfoStatusInstalling
                                             : kInfoStatusCopying;
  Notify(code, &list);
}

void TCustomInstallFile::NewDiskAdapter(TVrexCompress& archive, int disk, std::string& path) {
  SetTag(0);
  TDiskParameter d;
  d.DiskNumber = disk;
  d.Path = ExcludeTrailingBackslash(ExtractFileDir(archive.CompressedFile()));
  if (OnNewDisk_) OnNewDisk_(this, disk, d.Path);
  TParameterList list{this, &d};
  Broadcast(kCallChangeDisk, &list);
  Notify(kInfoNewDisk, &list);
  if (!OnNewDisk_ && Tag() == 0) {
    const std::string text = Format(TranslateFromEnglish("Please insert disk #%d"), disk);
    if (Application().MessageBox(text, Application().Title(), MB_OKCANCEL | MB_ICONINFORMATION) ==
        IDCANCEL)
      archive.SetAbort(true);
  }
  path = ExcludeTrailingBackslash(d.Path);
}

void TCustomInstallFile::AttachAdapters(TVrexCompress& archive, bool newDisk) {
  archive.OnAborted = [this](TObject*) { UserAbortStep(); };
  archive.OnStatus = [this](TObject*, const TlzhFileStats& stats) { StatusAdapter(stats); };
  if (newDisk)
    archive.OnNewDisk = [this, &archive](TObject*, int disk, std::string& path) {
      NewDiskAdapter(archive, disk, path);
    };
}

// --- install --------------------------------------------------------------------------

void TCustomInstallFile::RefuseUnsafeDestName(const std::string& dest) const {
  // DestName is a file name by definition. The archive writes only plain
  // names and would flatten a path; here a name it would change is refused
  // instead, so the overwrite decision, the extraction, an in-use copy, the
  // registrations and the uninstall record all name the same file inside
  // the destination directory.
  if (MemberFileName(destName_) != destName_)
    throw EArchiveError(Format("Cannot create the file %s", dest),
                        "the destination name " + destName_ + " holds a path");
  RefuseUnlessPlainFileName(destName_, dest);
}

void TCustomInstallFile::InstallObjects() {
  replacePending_ = false;
  fileWillInstall_ = false;
  Notify(kInfoBeforeInstall, this);
  try {
    if (OnBeforeInstall_) OnBeforeInstall_(this);
  } catch (const EAbort&) {
    Notify(kInfoInstallSkipped, this);
    return;
  }
  const std::string destDir = ResolveDestDir();
  if (Trim(destDir).empty()) throw IECustomInstallFile(kMsgDestBlank, Name());
  const std::string dest = destDir + "\\" + destName_;
  RefuseUnsafeDestName(dest);
  destExisted_ = platform::files().FileExists(dest);

  // A missing destination is always installed: "same" between an empty
  // stored version and no file at all must not leave the file missing.
  const int decision =
      TVersionResource::IsFileNewer(storedVersion_, dest, overwriteMode_, storedDate_);
  bool install = decision == 0 || decision == 2 || !destExisted_;
  if (install) {
    try {
      ReplaceExisting();
    } catch (const EAbort&) {
      install = false;
    }
  }
  if (install) {
    Extract(destDir);
    return;
  }
  Notify(kInfoFileKept, this);
  AfterInstallSteps();
  if (OnAfterInstall_) OnAfterInstall_(this);
  Notify(kInfoAfterInstall, this);
}

TVrexCompress& TCustomInstallFile::InstallArchive(Owned<TVrexCompress>& privateArchive,
                                                  std::string& path) {
  TCustomInstall* installer = Installer();
  bool shared = false;
  if (ArchiveFromNet()) {
    // Downloaded whole before anything is extracted; a private component
    // reads it.
    path = LocalNetArchive();
  } else {
    path = ResolveArchiveFile();
    shared = installer && SameText(path, installer->ResolveArchiveFile());
  }
  if (Trim(path).empty()) throw IECustomInstallFile(kMsgArchiveBlank, fileName_);
  if (shared) return TVrexCompress::Shared();
  if (!ArchiveFromNet()) return KeptArchive(path);
  privateArchive.reset(new TVrexCompress(nullptr));
  return *privateArchive;
}

void TCustomInstallFile::Extract(const std::string& destDir) {
  state_ = ifsInstalling;
  Finally idle([this] { state_ = ifsIdle; });
  Owned<TVrexCompress> privateArchive;
  std::string archivePath;
  TVrexCompress& archive = InstallArchive(privateArchive, archivePath);
  platform::files().CreateDirectories(destDir);

  archive.SetCompressedFile(archivePath);
  archive.SetExtractDirectory(destDir);
  archive.ExtractName = destName_;
  // The decision was made above, once; the archive only has to put the
  // complete new copy in place of the old one.
  archive.SetOverwrite(owAlways);
  AttachAdapters(archive, true);
  archive.OnDestinationInUse = [this, &destDir](TObject*, std::string& name) {
    return DestinationInUse(destDir, name);
  };
  Finally detach([&archive] {
    archive.OnNewDisk = nullptr;
    archive.OnStatus = nullptr;
    archive.OnAborted = nullptr;
    archive.OnDestinationInUse = nullptr;
    if (&archive != &TVrexCompress::Shared() && archive.Abort())
      TVrexCompress::Shared().SetAbort(true);
  });
  TStringList names;
  names.Add(SourcePath());
  archive.SetFilesToProcess(&names);
  try {
    archive.Extract();
  } catch (...) {
    // The numbered copy was not written: nothing waits for the restart.
    if (replacePending_) {
      replacePending_ = false;
      destName_ = replacedName_;
    }
    throw;
  }
  // The numbered copy is complete; only now is its move scheduled.
  if (replacePending_ && !archive.Abort()) ScheduleReplacement(destDir);
  // A cancelled extraction wrote nothing: the file is not reported as
  // installed.
  if (!archive.Abort()) {
    AfterInstallSteps();
    if (OnAfterInstall_) OnAfterInstall_(this);
    Notify(kInfoAfterInstall, this);
  }
  try {
    Broadcast(kCallCopyEnded, nullptr);
  } catch (...) {
    TVrexCompress::Shared().SetAbort(true);
    throw;
  }
}

// --- compress ---------------------------------------------------------------------------

void TCustomInstallFile::Compress() {
  state_ = ifsCompressing;
  TVrexCompress& archive = TVrexCompress::Shared();
  RunAndFinish(
      [&] {
        try {
          if (OnBeforeCompress_) OnBeforeCompress_(this);
          Notify(kInfoBeforeCompress, this);
          const std::string archivePath = ResolveArchiveFile();
          if (Trim(archivePath).empty()) throw IECustomInstallFile(kMsgArchiveBlank, fileName_);
          if (!Include()) return;
          platform::files().CreateDirectories(ExtractFileDir(archivePath));
          archive.SetCompressedFile(archivePath);
          AttachAdapters(archive, false);
          // A longer path would be stored cut and never found by name again.
          RefuseNameTooLongForArchive(SourcePath());
          TStringList names;
          names.Add(SourcePath());
          archive.SetFilesToProcess(&names);
          archive.Compress(AddToArchive(), uniqueID_);
          storage_ = kStoragePacked;
          storageArchive_ = archivePath;
          if (OnAfterCompress_) OnAfterCompress_(this);
          Notify(kInfoAfterCompress, this);
        } catch (const EAbort&) {
          // A silent abort ends the job quietly.
        }
      },
      [this, &archive] {
        archive.OnStatus = nullptr;
        archive.OnAborted = nullptr;
        state_ = ifsIdle;
        Broadcast(kCallCopyEnded, nullptr);
        archive.SetAbort(true);
      });
}

// --- copy ---------------------------------------------------------------------------------

void TCustomInstallFile::Copy() {
  state_ = ifsCopying;
  TVrexCompress& archive = TVrexCompress::Shared();
  RunAndFinish(
      [&] {
        try {
          if (OnBeforeCopy_) OnBeforeCopy_(this);
          Notify(kInfoBeforeCopy, this);
          if (!Include()) return;
          const std::string destDir = ResolveDestDir();
          if (Trim(destDir).empty()) throw IECustomInstallFile(kMsgDestBlank, Name());
          RefuseUnsafeDestName(destDir + "\\" + destName_);
          platform::files().CreateDirectories(destDir);
          archive.OnStatus = [this](TObject*, const TlzhFileStats& stats) { StatusAdapter(stats); };
          archive.CopyPlainFile(SourcePath(), destDir + "\\" + destName_);
          if (OnAfterCopy_) OnAfterCopy_(this);
          Notify(kInfoAfterCopy, this);
        } catch (const EAbort&) {
          // A silent abort ends the job quietly.
        }
      },
      [this, &archive] {
        archive.OnStatus = nullptr;
        state_ = ifsIdle;
        Broadcast(kCallCopyEnded, nullptr);
      });
}
