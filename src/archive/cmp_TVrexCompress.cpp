// TVrexCompress: properties, the lazily loaded directory with its UniqueID
// table, volume opening with the change-disk event, progress and disk-full
// handling, the shared instance and the class registration. The long
// operations live in VrexCompress.cpp, VrexExtract.cpp and VrexVolumes.cpp.
#include "archive/cmp_TVrexCompress.h"

#include "archive/ArchiveLayout.h"
#include "archive/FileStream.h"
#include "archive/VrexInternal.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "platform/Platform.h"

using namespace vrex;

namespace {

TVrexCompress*& SharedSlot() {
  static TVrexCompress* shared = nullptr;
  return shared;
}

constexpr int kNewDiskAttempts = 4;

}  // namespace

TVrexCompress::TVrexCompress(TComponent* owner) : TComponent(owner), files_(new TStringList) {}

TVrexCompress::~TVrexCompress() {
  if (SharedSlot() == this) SharedSlot() = nullptr;
}

void TVrexCompress::SetCompressedFile(const std::string& name) {
  if (SameText(name, compressedFile_)) return;
  if (directoryLoaded_ &&
      !SameText(ChangeFileExt(name, ".1"), ChangeFileExt(compressedFile_, ".1")))
    directoryLoaded_ = false;
  compressedFile_ = name;
}

void TVrexCompress::SetFilesToProcess(const TStrings* list) {
  files_->BeginUpdate();
  files_->Clear();
  if (list)
    for (int i = 0; i < list->Count(); ++i)
      if (!Trim((*list)[i]).empty()) files_->Add((*list)[i]);
  files_->EndUpdate();
}

void TVrexCompress::CleanFilesToProcess() {
  // The list may have been filled in place (by a form or a caller), not
  // through the setter.
  for (int i = files_->Count() - 1; i >= 0; --i)
    if (Trim((*files_)[i]).empty()) files_->Delete(i);
}

void TVrexCompress::EnsureDirectory() {
  if (!directoryLoaded_) ReadDirectory();
}

int TVrexCompress::FileCount() {
  if (operation_ != lzoCompressing) EnsureDirectory();
  return directory_.Count();
}

void TVrexCompress::GetFileStats(int index, TlzhFileStats& stats) {
  if (operation_ != lzoCompressing) EnsureDirectory();
  if (index < 0 || index >= directory_.Count())
    throw EVrexCompress(Format("Tried to access the %dth file. This file is not defined", index));
  const TFileHeader& h = directory_.GetFileHeaders(index);
  stats = TlzhFileStats{};
  directory_.StartTotals(stats);
  stats.FileName = h.Name();
  stats.CompressedSize = h.CompressedSize();
  stats.FileSize = h.Size();
  stats.Ratio = RatioOf(h.CompressedSize(), h.Size());
  stats.Header = h.Data();
}

int TVrexCompress::IndexOfUniqueID(int id) {
  // While compressing, the directory in memory is the one being written.
  if (operation_ != lzoCompressing) EnsureDirectory();
  if (id < 0 || id >= archive_layout::kUniqueIDs) return 0;
  return uniqueIDs_[size_t(id)];
}

void TVrexCompress::ReadDirectory() {
  directoryLoaded_ = false;
  const std::string name = compressedFile_;
  std::unique_ptr<platform::File> file;
  try {
    // Windows refuses to open a directory as a file with access denied.
    if (!platform::files().FileExists(name))
      throw platform::OsError("CreateFileW", name,
                              platform::files().DirectoryExists(name)
                                  ? platform::kErrorAccessDenied
                                  : platform::kErrorFileNotFound);
    file = platform::files().OpenRead(name);
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotOpenArchive, name), e.Message());
  }
  uniqueIDs_.fill(0);
  try {
    TFileStream stream(std::move(file));
    directory_.ReadHeaders(stream, offset_);
  } catch (const EArchiveError& e) {
    throw EArchiveError(kMsgHeadersCorrupt, e.Reason());
  } catch (const Exception& e) {
    throw EArchiveError(kMsgHeadersCorrupt, e.Message());
  }
  for (int i = 0; i < directory_.Count(); ++i) {
    const int32_t id = directory_.GetFileHeaders(i).UniqueID();
    if (id >= 0 && id < archive_layout::kUniqueIDs) uniqueIDs_[size_t(id)] = i;
  }
  directoryLoaded_ = true;
}

void TVrexCompress::OpenVolume(int number, TlzhOpenMode mode, std::string& name) {
  platform::FileSystem& fs = platform::files();
  for (int attempt = 0; attempt < kNewDiskAttempts; ++attempt) {
    volume_.reset();
    if (volumeLayout_) name = ChangeFileExt(name, "." + std::to_string(number));
    bool exists = fs.FileExists(name);
    if (!exists) {
      if (!OnNewDisk)
        throw EVrexCompress(Format("Could not open the correct disk file %d", number));
      std::string path = ExcludeTrailingBackslash(ExtractFileDir(name));
      OnNewDisk(this, number, path);
      // A Cancel at the request ends the operation as the user's abort; the
      // disk is not asked for again.
      if (abort_) throw EvcAborted(kMsgAborted);
      name = ExcludeTrailingBackslash(path) + "\\" + ExtractFileName(name);
      exists = fs.FileExists(name);
    }
    if (exists) {
      try {
        const uint32_t access = mode == lomRead ? platform::kAccessRead
                                                : platform::kAccessRead | platform::kAccessWrite;
        volume_ = std::make_unique<TFileStream>(
            fs.Open(name, access, platform::kShareRead | platform::kShareWrite,
                    platform::Disposition::OpenExisting));
      } catch (const platform::OsError& e) {
        throw EArchiveError(Format(kMsgCannotOpenArchive, name), e.Message());
      }
      return;
    }
  }
  throw EArchiveError(
      Format(kMsgCannotOpenArchive, name),
      Format("volume %d was not found after %d requests", number, kNewDiskAttempts));
}

void TVrexCompress::FillStats(const TFileHeader& h) {
  stats_.FilePercent = 0;
  stats_.FileBytesDone = 0;
  stats_.FileName = h.Name();
  stats_.CompressedSize = h.CompressedSize();
  stats_.Ratio = RatioOf(h.CompressedSize(), h.Size());
  stats_.FileSize = h.Size();
  stats_.Header = h.Data();
  stats_.Finished = false;
}

void TVrexCompress::Status() {
  if (OnStatus) OnStatus(this, stats_);
}

void TVrexCompress::ProcessMessages() {
  Application().ProcessMessages();
}

void TVrexCompress::DoFullDisk() {
  if (OnFullDisk) {
    OnFullDisk(this);
    return;
  }
  throw EvcDiskFull(kMsgDiskFull);
}

void TVrexCompress::WriteAll(platform::File& file, const void* data, size_t count) {
  // A write stores all its bytes or none, so a retry repeats the whole
  // buffer.
  for (int attempt = 1;; ++attempt) {
    try {
      file.Write(data, count);
      return;
    } catch (const platform::OsError& e) {
      if (!IsDiskFull(e)) throw;
      if (attempt == kMaxWriteAttempts) throw EvcDiskFull(kMsgDiskFull);
    }
    DoFullDisk();
  }
}

TVrexCompress& TVrexCompress::Shared() {
  TVrexCompress*& shared = SharedSlot();
  if (shared == nullptr) {
    shared = new TVrexCompress(nullptr);
    ProcessState::RegisterReset("TVrexCompress.Shared", [] { FreeShared(); });
  }
  return *shared;
}

void TVrexCompress::FreeShared() noexcept {
  TVrexCompress* shared = SharedSlot();
  SharedSlot() = nullptr;
  if (shared) shared->Free();
}

void RegisterLzhCommand(ClassRegistry& r) {
  r.Enum<TlzhCommand>("TlzhCommand", {"lzcOverwrite", "lzcOnlyAdd"});
}

void RegisterVrexCompress(ClassRegistry& r) {
  r.Enum<TCompressionLevel>("TCompressionLevel", {"colNone", "colFastest", "colDefault", "colMax"});
  RegisterOverwriteType(r);
  RegisterLzhCommand(r);
  r.Class<TVrexCompress, TComponent>("TVrexCompress")
      .Prop("Abort", &TVrexCompress::Abort, &TVrexCompress::SetAbort, false)
      .Prop("CompressedFile", &TVrexCompress::CompressedFile, &TVrexCompress::SetCompressedFile, "")
      .Prop("CompressionLevel", &TVrexCompress::CompressionLevel,
            &TVrexCompress::SetCompressionLevel, colMax)
      .Prop("ExtractDirectory", &TVrexCompress::ExtractDirectory,
            &TVrexCompress::SetExtractDirectory, "")
      .Prop("FilesToProcess", &TVrexCompress::FilesToProcess)
      .Prop("Offset", &TVrexCompress::Offset, &TVrexCompress::SetOffset, 0)
      .Prop("Overwrite", &TVrexCompress::Overwrite, &TVrexCompress::SetOverwrite, owAlways)
      .Field("OnAborted", &TVrexCompress::OnAborted)
      .Field("OnAfterAdding", &TVrexCompress::OnAfterAdding)
      .Field("OnAfterExtracting", &TVrexCompress::OnAfterExtracting)
      .Field("OnBeforeAdding", &TVrexCompress::OnBeforeAdding)
      .Field("OnBeforeExtracting", &TVrexCompress::OnBeforeExtracting)
      .Field("OnFullDisk", &TVrexCompress::OnFullDisk)
      .Field("OnListing", &TVrexCompress::OnListing)
      .Field("OnNewDisk", &TVrexCompress::OnNewDisk)
      .Field("OnReplace", &TVrexCompress::OnReplace)
      .Field("OnStatus", &TVrexCompress::OnStatus);
}
