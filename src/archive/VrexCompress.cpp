// Compress: builds or extends a single-file archive, one zlib member per
// source file, each compressed into a temporary file first and then copied
// behind its header. The archive on disk is never left damaged: a new
// archive is built under a fresh name beside the old one and moved over it
// at the end; an append writes the new count only after the new members
// are complete, and cuts the file back to its old length on failure.
#include "archive/ArchiveLayout.h"
#include "archive/CompressionAhead.h"
#include "archive/FileStream.h"
#include "archive/VrexInternal.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/StrUtils.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

using namespace vrex;

namespace {

constexpr size_t kSourceChunk = 65536;

int32_t Saturated(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

[[noreturn]] void CannotCreate(const std::string& name, const platform::OsError& e) {
  throw EArchiveError(Format(kMsgCannotCreate, name), e.Message());
}

}  // namespace

void TVrexCompress::Compress(TlzhCommand command, int uniqueID) {
  abort_ = false;
  operation_ = lzoCompressing;
  directory_.SetVolumeSet(false);
  volumeLayout_ = false;
  offset_ = 0;

  std::unique_ptr<TFileStream> archive;
  std::string building;    // a new archive's temporary name
  int64_t oldLength = -1;  // an appended archive's length before
  bool completed = false;

  // Puts the archive on disk back as it was: an appended archive loses the
  // new members' bytes (its count was never rewritten), a new one is removed.
  auto rollBack = [&]() noexcept {
    if (archive && oldLength >= 0) {
      try {
        archive->SetPosition(oldLength);
        archive->File().SetEndOfFile();
      } catch (...) {
        // The old count still describes the old members.
      }
    }
    archive.reset();
    if (!building.empty()) DeleteQuietly(building);
    building.clear();
  };
  ScopeExit finish([&] {
    if (!completed) rollBack();
    directoryLoaded_ = false;
    files_->Clear();
    operation_ = lzoNone;
  });

  Guarded(true, [&] {
    try {
      CleanFilesToProcess();
      platform::FileSystem& fs = platform::files();
      const std::string name = compressedFile_;
      const std::string dir = ExtractFileDir(fs.FullPathName(name));
      try {
        if (!dir.empty()) fs.CreateDirectories(dir);
      } catch (const platform::OsError& e) {
        CannotCreate(name, e);
      }

      const bool append = command == lzcOnlyAdd && fs.FileExists(name);
      if (append) {
        try {
          archive = std::make_unique<TFileStream>(fs.Open(
              name, platform::kAccessRead | platform::kAccessWrite,
              platform::kShareRead | platform::kShareWrite, platform::Disposition::OpenExisting));
        } catch (const platform::OsError& e) {
          CannotCreate(name, e);
        }
        directory_.ReadHeaders(*archive, 0);
        if (directory_.VolumeSet())
          throw EArchiveError(Format(kMsgCannotCreate, name),
                              "members cannot be added to a volume set");
        oldLength = archive->Size();
        directory_.AddFromList(*files_, true);
      } else {
        // The old archive stays until the new one is complete; a file that
        // could not be replaced is refused now, before any work.
        try {
          if (fs.FileExists(name))
            fs.Open(name, platform::kAccessWrite, platform::kShareRead | platform::kShareWrite,
                    platform::Disposition::OpenExisting);
        } catch (const platform::OsError& e) {
          CannotCreate(name, e);
        }
        directory_.Clear();
        directory_.AddFromList(*files_, false);
        try {
          NewFile f = CreateUniqueFile(dir, "vrx");
          building = f.path;
          archive = std::make_unique<TFileStream>(std::move(f.file));
        } catch (const platform::OsError& e) {
          CannotCreate(name, e);
        }
        directory_.WriteHeaders(*archive);
      }
      archive->Seek(0, TSeekOrigin::soEnd);
      directory_.StartTotals(stats_);

      CompressMembers(archive->File(), uniqueID);

      if (append) directory_.WriteHeaders(*archive);
      try {
        archive->File().Close();
      } catch (const platform::OsError& e) {
        CannotCreate(name, e);
      }
      archive.reset();
      if (!building.empty()) {
        try {
          fs.MoveFile(building, name, platform::kMoveReplaceExisting);
        } catch (const platform::OsError& e) {
          CannotCreate(name, e);
        }
        building.clear();
      }
      completed = true;
    } catch (...) {
      rollBack();
      throw;
    }
  });
}

void TVrexCompress::CompressMembers(platform::File& archive, int uniqueID) {
  for (int i = 0; i < directory_.Count(); ++i) {
    TFileHeader& h = directory_.GetFileHeaders(i);
    if (!h.Stored()) CompressOne(archive, h, i, uniqueID);
  }
}

void TVrexCompress::CompressOne(platform::File& archive, TFileHeader& h, int index, int uniqueID) {
  const std::string sourcePath = h.SourcePath().empty() ? h.Name() : h.SourcePath();
  // A build may have compressed this member ahead on another core.
  if (std::optional<TCompressionAhead::Member> ready =
          CompressionAhead().Take(sourcePath, level_)) {
    AddCompressed(archive, h, index, uniqueID, *ready);
    return;
  }
  platform::FileSystem& fs = platform::files();
  std::string tempName;
  try {
    tempName = platform::system().TempFileName(platform::system().TempDirectory(), "bat");
  } catch (const platform::OsError& e) {
    CannotCreate(platform::system().TempDirectory(), e);
  }
  ScopeExit removeTemp([&] { DeleteQuietly(tempName); });

  std::unique_ptr<TFileStream> source;
  try {
    source = std::make_unique<TFileStream>(fs.OpenRead(sourcePath));
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotOpenFile, sourcePath), e.Message());
  }
  std::unique_ptr<TFileStream> temp;
  try {
    temp = std::make_unique<TFileStream>(fs.Create(tempName));
  } catch (const platform::OsError& e) {
    CannotCreate(tempName, e);
  }

  FillStats(h);
  stats_.CompressedSize = 0;
  if (OnBeforeAdding) OnBeforeAdding(this, stats_);

  addSource_ = source.get();
  addDest_ = temp.get();
  addReported_ = 0;
  ScopeExit detach([&] {
    addSource_ = nullptr;
    addDest_ = nullptr;
  });
  int64_t sourceBytes = 0;
  {
    TCompressionStream z(level_, *temp);
    z.OnProgress = [this](TCustomZlibStream&) { AddStatus(); };
    const auto buffer = std::make_unique<uint8_t[]>(kSourceChunk);
    for (;;) {
      const size_t n = source->Read(buffer.get(), kSourceChunk);
      if (n == 0) break;
      sourceBytes += int64_t(n);
      if (sourceBytes > archive_layout::kMaxPosition)
        throw EArchiveError(Format(kMsgCannotOpenFile, sourcePath),
                            "the file grew beyond what an archive member can hold (2 GB)");
      z.Write(buffer.get(), n);
    }
    z.Finish();
  }
  // The file may have changed since its header was made; the header
  // describes what was compressed.
  const int64_t packed = temp->Size();
  ReportPacked(h, sourceBytes, packed);
  source.reset();

  WriteMemberHeader(archive, h, packed, uniqueID);
  temp->SetPosition(0);
  uint8_t buffer[kCopyBuffer];
  int64_t copied = 0;
  while (copied < packed) {
    const size_t n = temp->Read(buffer, sizeof buffer);
    if (n == 0) break;
    WriteAll(archive, buffer, n);
    copied += int64_t(n);
  }
  if (copied != packed)
    throw EArchiveError(Format(kMsgCannotOpenFile, tempName), "the temporary file came back short");
  temp.reset();
  MemberAdded(index, uniqueID, packed);
}

void TVrexCompress::AddCompressed(platform::File& archive, TFileHeader& h, int index, int uniqueID,
                                  TCompressionAhead::Member& member) {
  // The same steps as for a member compressed here, from memory: the
  // archive gets the same bytes.
  FillStats(h);
  stats_.CompressedSize = 0;
  if (OnBeforeAdding) OnBeforeAdding(this, stats_);
  TMemoryStream packedStream(std::move(member.packed));
  addSource_ = nullptr;
  addSourceDone_ = member.sourceBytes;
  addDest_ = &packedStream;
  addReported_ = 0;
  ScopeExit detach([&] {
    addDest_ = nullptr;
    addSourceDone_ = 0;
  });
  const int64_t packed = packedStream.Size();
  ReportPacked(h, member.sourceBytes, packed);
  WriteMemberHeader(archive, h, packed, uniqueID);
  if (packed > 0) WriteAll(archive, packedStream.Bytes().data(), size_t(packed));
  MemberAdded(index, uniqueID, packed);
}

void TVrexCompress::ReportPacked(TFileHeader& h, int64_t sourceBytes, int64_t packed) {
  h.SetSize(static_cast<int32_t>(sourceBytes));
  stats_.FileSize = h.Size();
  stats_.CompressedSize = Saturated(packed);
  stats_.Ratio = RatioOf(packed, sourceBytes);
  stats_.Finished = true;
  AddStatus();
  stats_.Finished = false;
}

void TVrexCompress::WriteMemberHeader(platform::File& archive, TFileHeader& h, int64_t packed,
                                      int uniqueID) {
  const int64_t dataStart = archive.Position() + int64_t(kFileHeaderSize);
  if (dataStart + packed > archive_layout::kMaxPosition)
    throw EArchiveError(Format(kMsgCannotCreate, compressedFile_),
                        "the archive would grow beyond 2 GB");
  h.SetDataStart(static_cast<int32_t>(dataStart));
  h.SetCompressedSize(static_cast<int32_t>(packed));
  h.SetEndPosition(static_cast<int32_t>(dataStart + packed - 1));
  h.SetNextHeader(static_cast<int32_t>(dataStart + packed));
  h.SetUniqueID(uniqueID);
  WriteAll(archive, h.Data().data(), kFileHeaderSize);
}

void TVrexCompress::MemberAdded(int index, int uniqueID, int64_t packed) {
  stats_.TotalCompressed = Saturated(int64_t(stats_.TotalCompressed) + packed);
  if (uniqueID >= 0 && uniqueID < archive_layout::kUniqueIDs) uniqueIDs_[size_t(uniqueID)] = index;
  if (OnAfterAdding) OnAfterAdding(this, stats_);
}

void TVrexCompress::AddStatus() {
  if (abort_) throw EvcAborted(kMsgAborted);
  ProcessMessages();
  if (addDest_ == nullptr) throw EVrexCompress("AddStatus has Nil DestFile");
  const int64_t done = addSource_ ? addSource_->Position() : addSourceDone_;
  const int64_t step = done - addReported_;
  addReported_ = done;
  stats_.FileBytesDone = Saturated(done);
  stats_.TotalBytesDone = Saturated(int64_t(stats_.TotalBytesDone) + step);
  stats_.CompressedSize = Saturated(addDest_->Size());
  stats_.FilePercent = PercentOf(stats_.FileBytesDone, stats_.FileSize);
  stats_.TotalPercent = PercentOf(stats_.TotalBytesDone, stats_.TotalSize);
  Status();
}
