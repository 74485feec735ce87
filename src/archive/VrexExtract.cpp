// Extract and VerifyMember: find a member by name, make the overwrite
// decision, decode it from its volumes into a temporary file beside the
// destination, and put that file in place only when it decoded completely
// with the stored size (zlib has checked its Adler-32) and carries the
// stored date. Until then the destination is untouched; a destination held
// by another program can hand the copy to another name (OnDestinationInUse).
#include "archive/ArchiveLayout.h"
#include "archive/FileStream.h"
#include "archive/MemberNames.h"
#include "archive/VrexInternal.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/StrUtils.h"
#include "platform/Platform.h"

using namespace vrex;

namespace {

// The start volume is open: the member's data must begin within it, and
// where it ends on this same volume, end within it too.
void CheckStart(const TFileHeader& h, int64_t offset, int64_t volumeSize) {
  const int64_t from = offset + h.DataStart();
  if (from > volumeSize)
    CorruptArchive(Format("the data of %s starts at %d, past the end of its volume (%d)", h.Name(),
                          static_cast<long long>(from), static_cast<long long>(volumeSize)));
  if (h.StartVolume() == h.EndVolume() && offset + h.EndPosition() >= volumeSize)
    CorruptArchive(Format("the data of %s ends past the end of its volume", h.Name()));
}

// Another program holds `dest`: Windows answers a replacing move onto an
// open file with a sharing violation, and onto a running program or a
// loaded library with access denied. A read-only file also refuses with
// access denied, but no restart would change that.
bool InUse(const platform::OsError& e, const std::string& dest) {
  if (e.Code() == platform::kErrorSharingViolation) return true;
  if (e.Code() != platform::kErrorAccessDenied) return false;
  const auto info = platform::files().Stat(dest);
  return info && !(info->attributes & platform::kAttrReadOnly);
}

}  // namespace

// The decoder's view of the component for one member.
class TVrexCompress::DecoderHost : public TMemberDecoderHost {
 public:
  DecoderHost(TVrexCompress& c, const TFileHeader& h, TStream& destination)
      : c_(c), h_(h), destination_(destination) {}

  TStream& VolumeStream() override { return *c_.volume_; }
  int CurrentVolume() const override { return c_.currentVolume_; }
  void OpenVolume(int number) override {
    c_.OpenVolume(number, lomRead, c_.compressedFile_);
    c_.currentVolume_ = number;
  }
  int64_t Offset() const override { return c_.offset_; }
  int EndVolume() const override { return h_.EndVolume(); }
  int64_t EndPosition() const override { return h_.EndPosition(); }
  TStream& Destination() override { return destination_; }
  bool Abort() const override { return c_.abort_; }
  void ProcessMessages() override { c_.ProcessMessages(); }
  TlzhFileStats& FileStats() override { return c_.stats_; }
  void Status() override { c_.Status(); }
  void DoFullDisk() override { c_.DoFullDisk(); }
  int64_t StoredSize() override { return h_.Size(); }

 private:
  TVrexCompress& c_;
  const TFileHeader& h_;
  TStream& destination_;
};

void TVrexCompress::Extract() {
  abort_ = false;
  operation_ = lzoExtracting;
  ScopeExit finish([&] {
    volume_.reset();
    ExtractName.clear();
    operation_ = lzoNone;
  });
  Guarded(true, [&] {
    EnsureDirectory();
    volumeLayout_ = directory_.VolumeSet();
    currentVolume_ = 0;
    stats_ = TlzhFileStats{};
    directory_.StartTotals(stats_);
    CleanFilesToProcess();
    // Handlers may change the list while it is worked through.
    const std::vector<std::string> lines = files_->ToVector();
    for (const std::string& line : lines) {
      ExtractOne(line);
      ExtractName.clear();
    }
    files_->Clear();
  });
}

void TVrexCompress::ExtractOne(const std::string& line) {
  SkipFile = false;
  const int index = directory_.IndexOfName(line);
  if (index < 0)
    throw EVrexCompress(
        Format("The file <%s> was not found in the archive <%s>", line, compressedFile_));
  // A copy: a handler that reloads the directory cannot pull it away.
  const TFileHeader h(directory_.GetFileHeaders(index));
  FillStats(h);

  // Stored names are full paths from whoever made the archive: only the
  // last component is written, and only when it is a plain file name, so
  // no name ("..\x", "a/b", "C:x", "\\srv\x", "CON") leads out of the
  // destination directory.
  if (Trim(ExtractName).empty()) ExtractName = MemberFileName(h.Name());
  if (OnBeforeExtracting) OnBeforeExtracting(this, stats_);
  auto destination = [&] {
    ExtractName = MemberFileName(ExtractName);
    return IncludeTrailingBackslash(extractDirectory_) + ExtractName;
  };
  std::string dest = destination();
  // Checked before the existing file is looked at: a device name must not
  // even be opened for the overwrite decision.
  if (!SkipFile) RefuseUnlessPlainFileName(ExtractName, dest);

  // A member the handler skips needs no decision (and no replace event).
  bool keep = false;
  if (!SkipFile && platform::files().FileExists(dest)) {
    const int decision = TVersionResource::IsFileNewer(h.Version(), dest, overwrite_, h.Date());
    if (decision == 0) throw EVrexCompress(kMsgCompareVersions);
    if (decision == 1 || decision == 3) {
      keep = true;
    } else {
      if (OnReplace) OnReplace(this, stats_);
      dest = destination();
    }
  }
  if (keep || SkipFile) {
    stats_.Finished = true;
    Status();
    return;
  }

  // OnReplace may have renamed the member.
  RefuseUnlessPlainFileName(ExtractName, dest);

  const std::string destDir = ExtractFileDir(dest);
  std::vector<std::string> madeDirs;
  NewFile temp;
  bool placed = false;
  ScopeExit cleanUp([&] {
    volume_.reset();
    temp.file.reset();
    if (!placed) {
      if (!temp.path.empty()) DeleteQuietly(temp.path);
      RemoveQuietly(madeDirs);
    }
  });

  // The first volume is opened before anything is written, so a missing
  // disk leaves no trace in the destination.
  const int start = h.StartVolume();
  OpenVolume(start == 0 ? 1 : start, lomRead, compressedFile_);
  currentVolume_ = start;
  CheckStart(h, offset_, volume_->Size());
  try {
    madeDirs = MakeDirectories(destDir);
    temp = CreateUniqueFile(destDir, "vrx");
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
  }

  BufferedWriter writer(*temp.file);
  const uint64_t written = DecodeInto(h, writer);
  for (int attempt = 1;; ++attempt) {
    try {
      writer.Flush();
      break;
    } catch (const platform::OsError& e) {
      if (!IsDiskFull(e)) throw;
      if (attempt == kMaxWriteAttempts) throw EvcDiskFull(kMsgDiskFull);
    }
    DoFullDisk();
  }
  volume_.reset();
  if (written != uint64_t(h.Size())) throw EVrexCompress(Format(kMsgSizeMismatch, h.Name()));
  if (!IsFileDate(h.Date())) throw EArchiveError(kMsgSetDate, "the stored date is no date");
  try {
    temp.file->SetLastWriteTime(platform::LocalDateTimeToFileTime(h.Date()));
  } catch (const platform::OsError& e) {
    throw EArchiveError(kMsgSetDate, e.Message());
  }
  // Closing is where Windows reports data it could not write after all: the
  // file was not made, whatever its date.
  try {
    temp.file->Close();
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
  }
  temp.file.reset();
  try {
    platform::files().MoveFile(temp.path, dest, platform::kMoveReplaceExisting);
  } catch (const platform::OsError& e) {
    if (!InUse(e, dest) || !OnDestinationInUse)
      throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
    std::string name = ExtractName;
    if (!OnDestinationInUse(this, name))
      throw EArchiveError(Format(kMsgCannotCreate, dest), e.Message());
    ExtractName = name;
    dest = destination();
    RefuseUnlessPlainFileName(ExtractName, dest);
    try {
      platform::files().MoveFile(temp.path, dest, 0);
    } catch (const platform::OsError& e2) {
      throw EArchiveError(Format(kMsgCannotCreate, dest), e2.Message());
    }
  }
  placed = true;
  stats_.Finished = true;
  Status();
}

uint64_t TVrexCompress::DecodeInto(const TFileHeader& h, TStream& destination) {
  volume_->SetPosition(int64_t(offset_) + h.DataStart());
  DecoderHost host(*this, h, destination);
  return DecodeMember(host);
}

void TVrexCompress::VerifyMember(int index) {
  // Like every operation, it starts uncancelled (a failed one left Abort).
  abort_ = false;
  EnsureDirectory();
  const TFileHeader h(directory_.GetFileHeaders(index));
  volumeLayout_ = directory_.VolumeSet();
  ScopeExit close([&] { volume_.reset(); });
  FillStats(h);
  const int start = h.StartVolume();
  OpenVolume(start == 0 ? 1 : start, lomRead, compressedFile_);
  currentVolume_ = start;
  CheckStart(h, offset_, volume_->Size());
  NullStream sink;
  if (DecodeInto(h, sink) != uint64_t(h.Size()))
    throw EVrexCompress(Format(kMsgSizeMismatch, h.Name()));
}
