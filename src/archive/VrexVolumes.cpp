// SplitToVolumes, which copies a finished single-file archive onto numbered
// volume files (asking for a new disk whenever one is full), and
// CopyPlainFile, which copies an uncompressed file with the overwrite rule.
// Both write only what they create; a plain copy goes to a temporary file
// beside its destination and replaces the destination only when complete.
#include <algorithm>

#include "archive/ArchiveLayout.h"
#include "archive/FileStream.h"
#include "archive/VrexInternal.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/StrUtils.h"
#include "platform/Platform.h"

using namespace vrex;

namespace {

int32_t Saturated(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

std::unique_ptr<TFileStream> CreateVolume(const std::string& name) {
  try {
    return std::make_unique<TFileStream>(platform::files().Create(name));
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotCreate, name), e.Message());
  }
}

}  // namespace

void TVrexCompress::SplitToVolumes(const std::string& destDirectory,
                                   const std::string& volumeFileName) {
  abort_ = false;
  std::vector<std::string> created;
  bool completed = false;
  const bool savedLayout = volumeLayout_;
  ScopeExit finish([&] {
    volume_.reset();
    volumeLayout_ = savedLayout;
    // An unfinished set would look like an archive; what this run made goes.
    if (!completed)
      for (const std::string& name : created) DeleteQuietly(name);
  });
  Guarded(false, [&] {
    EnsureDirectory();
    if (directory_.VolumeSet())
      throw EArchiveError(Format(kMsgCannotOpenArchive, compressedFile_),
                          "the archive is a volume set already");
    // The volumes get a directory of their own; the loaded one keeps
    // describing CompressedFile.
    TFileHeaders table(directory_);
    table.SetVolumeSet(true);
    currentVolume_ = 1;
    stats_ = TlzhFileStats{};
    table.StartTotals(stats_);

    std::unique_ptr<platform::File> source;
    try {
      source = platform::files().OpenRead(compressedFile_);
    } catch (const platform::OsError& e) {
      throw EArchiveError(Format(kMsgCannotOpenArchive, compressedFile_), e.Message());
    }
    SplitMembers(table, *source, destDirectory, volumeFileName, created);
    completed = true;
  });
}

void TVrexCompress::SplitMembers(TFileHeaders& table, platform::File& source,
                                 const std::string& destDirectory,
                                 const std::string& volumeFileName,
                                 std::vector<std::string>& created) {
  const std::string first =
      IncludeTrailingBackslash(destDirectory) + ExtractFileName(volumeFileName);
  volume_ = CreateVolume(first);
  created.push_back(first);
  table.WriteHeaders(*volume_);  // provisional positions
  std::string directory = ExcludeTrailingBackslash(destDirectory);

  uint8_t buffer[kCopyBuffer];
  // One chunk: to the current volume, or, when that is full, to the next.
  auto chunk = [&](size_t n) {
    if (abort_) throw EvcAborted(kMsgAborted);
    if (source.Read(buffer, n) != n)
      CorruptArchive(Format("the data of %s runs past the end of the archive", stats_.FileName));
    ProcessMessages();
    try {
      volume_->File().Write(buffer, n);
    } catch (const platform::OsError& e) {
      if (!IsDiskFull(e)) throw;
      volume_.reset();
      if (++currentVolume_ > kMaxVolume)
        throw EArchiveError("There is too little space on this disk to operate",
                            "a volume set has at most 255 volumes");
      if (!OnNewDisk)
        throw EVrexCompress(
            "There was no event handler for the OnNewDisk event, therefore no new disk could be "
            "inserted");
      OnNewDisk(this, currentVolume_, directory);
      directory = ExcludeTrailingBackslash(directory);
      const std::string name =
          directory + "\\" +
          ExtractFileName(ChangeFileExt(volumeFileName, "." + std::to_string(currentVolume_)));
      volume_ = CreateVolume(name);
      created.push_back(name);
      try {
        volume_->File().Write(buffer, n);
      } catch (const platform::OsError& again) {
        if (!IsDiskFull(again)) throw;
        throw EVrexCompress("There is too little space on this disk to operate");
      }
    }
    stats_.FileBytesDone = Saturated(int64_t(stats_.FileBytesDone) + int64_t(n));
    stats_.FilePercent = PercentOf(stats_.FileBytesDone, stats_.CompressedSize);
    stats_.TotalBytesDone = Saturated(int64_t(stats_.TotalBytesDone) + int64_t(n));
    stats_.TotalPercent = PercentOf(stats_.TotalBytesDone, stats_.TotalCompressed);
    Status();
  };

  for (int i = 0; i < table.Count(); ++i) {
    TFileHeader& h = table.GetFileHeaders(i);
    FillStats(h);
    // The directory reader has checked that the data lies in the archive.
    const int64_t from = int64_t(offset_) + h.DataStart();
    int64_t remaining = int64_t(h.EndPosition()) - h.DataStart() + 1;
    source.Seek(from, platform::SeekOrigin::Begin);
    h.SetDataStart(static_cast<int32_t>(volume_->Position()));
    h.SetStartVolume(currentVolume_);
    while (remaining > 0) {
      const size_t n = static_cast<size_t>(std::min<int64_t>(remaining, kCopyBuffer));
      chunk(n);
      remaining -= int64_t(n);
    }
    h.SetEndPosition(static_cast<int32_t>(volume_->Position() - 1));
    h.SetEndVolume(currentVolume_);
  }
  volume_.reset();

  // Volume 1 again (the handler may have to bring that disk back), now
  // with the final positions.
  volumeLayout_ = true;
  std::string name = first;
  OpenVolume(1, lomReadWrite, name);
  table.WriteHeaders(*volume_);
  try {
    volume_->File().Close();
  } catch (const platform::OsError& e) {
    throw EArchiveError(kMsgWriteHeaders, e.Message());
  }
  volume_.reset();
}

void TVrexCompress::CopyPlainFile(const std::string& source, const std::string& destination) {
  abort_ = false;
  SkipFile = false;  // left over from an extraction it would skip this copy
  offset_ = 0;
  extractDirectory_ = ExtractFileDir(destination);
  ExtractName = ExtractFileName(destination);
  ScopeExit finish([&] { ExtractName.clear(); });
  stats_ = TlzhFileStats{};
  stats_.FileName = source;

  auto target = [&] { return IncludeTrailingBackslash(extractDirectory_) + ExtractName; };
  std::string dest = target();
  platform::FileSystem& fs = platform::files();
  if (fs.FileExists(dest)) {
    const int decision = TVersionResource::IsFileNewerByName(source, dest, overwrite_);
    if (decision == 0) throw EVrexCompress(kMsgCompareVersions);
    if (decision == 1 || decision == 3) return;
    if (OnReplace) OnReplace(this, stats_);
    dest = target();
  }
  if (SkipFile) return;

  std::unique_ptr<platform::File> in;
  platform::FileTime date = 0;
  try {
    in = fs.OpenRead(source);
    date = in->LastWriteTime();
    stats_.FileSize = Saturated(int64_t(in->Size()));
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotOpenFile, source), e.Message());
  }
  NewFile temp;
  bool placed = false;
  ScopeExit cleanUp([&] {
    temp.file.reset();
    if (!placed && !temp.path.empty()) DeleteQuietly(temp.path);
  });
  try {
    temp = CreateUniqueFile(ExtractFileDir(dest), "vrx");
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
  }

  uint8_t buffer[kCopyBuffer];
  int64_t done = 0;
  for (;;) {
    if (abort_) return;  // quietly; the destination was never touched
    const size_t n = in->Read(buffer, sizeof buffer);
    if (n > 0) WriteAll(*temp.file, buffer, n);
    done += int64_t(n);
    stats_.FileBytesDone = Saturated(done);
    stats_.TotalBytesDone = Saturated(done);
    stats_.FilePercent = stats_.TotalPercent = PercentOf(done, stats_.FileSize);
    Status();
    ProcessMessages();
    if (n < sizeof buffer) break;
  }
  try {
    temp.file->SetLastWriteTime(date);
    temp.file->Close();
    temp.file.reset();
    in.reset();
    fs.MoveFile(temp.path, dest, platform::kMoveReplaceExisting);
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
  }
  placed = true;
  stats_.Finished = true;
  Status();
}
