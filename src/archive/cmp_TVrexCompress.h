#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/CompressionAhead.h"
#include "archive/FileHeaders.h"
#include "archive/FileStats.h"
#include "archive/MemberDecoder.h"
#include "archive/ZlibStreams.h"
#include "files/version/cmp_TVersion.h"
#include "framework/Component.h"
#include "framework/Strings.h"

class ClassRegistry;
class TFileStream;
namespace platform {
class File;
}

enum TlzhCommand { lzcOverwrite, lzcOnlyAdd };
// What the component is doing; while compressing, FileCount and
// GetFileStats answer from the directory in memory.
enum TlzhOperation { lzoNone, lzoCompressing, lzoExtracting };
// How OpenVolume opens a volume file (always letting others read).
enum TlzhOpenMode { lomRead, lomReadWrite };

using TlzhFileStatsEvent = std::function<void(TObject* Sender, const TlzhFileStats& FileStats)>;
using TlzhNewDiskEvent = std::function<void(TObject* Sender, int DiskNumber, std::string& Path)>;
// The complete new copy of a member cannot replace its destination because
// another program holds that file. A handler that returns true has set
// Name to another free file name in the same directory; the copy is put
// there instead (never replacing a file). Returning false fails the member.
using TlzhInUseEvent = std::function<bool(TObject* Sender, std::string& Name)>;

// TVrexCompress: the archive component, which packs the product's files into
// archives and extracts them onto the machine. It writes single-file
// archives (one zlib member per source file), reads their directory lazily,
// extracts members with the overwrite decision, copies a finished archive
// onto a set of numbered volumes, and copies plain files with the same
// rules. A member or plain copy is written to a temporary file beside its
// destination and put in place only once it is complete and checked, so a
// failure or cancel never destroys the file that was there.
class TVrexCompress : public TComponent {
  PELLMORE_CLASS(TVrexCompress, TComponent)

 public:
  explicit TVrexCompress(TComponent* owner);
  ~TVrexCompress() override;

  // ---- published properties
  bool Abort() const { return abort_; }
  void SetAbort(bool v) { abort_ = v; }
  const std::string& CompressedFile() const { return compressedFile_; }
  // The same name (ignoring case) changes nothing; a name outside the
  // loaded volume set (compared with both extensions made ".1") marks the
  // directory not loaded, so the volumes of one set share one directory.
  void SetCompressedFile(const std::string& name);
  TCompressionLevel CompressionLevel() const { return level_; }
  void SetCompressionLevel(TCompressionLevel v) { level_ = v; }
  const std::string& ExtractDirectory() const { return extractDirectory_; }
  void SetExtractDirectory(const std::string& v) { extractDirectory_ = v; }
  // Source paths for Compress, member names for Extract.
  TStrings* FilesToProcess() const { return files_.get(); }
  // Copies `list` without its blank lines (after trimming).
  void SetFilesToProcess(const TStrings* list);
  int32_t Offset() const { return offset_; }
  void SetOffset(int32_t v) { offset_ = v; }
  TOverwriteType Overwrite() const { return overwrite_; }
  void SetOverwrite(TOverwriteType v) { overwrite_ = v; }

  TNotifyEvent OnAborted;
  TlzhFileStatsEvent OnAfterAdding;
  TlzhFileStatsEvent OnBeforeAdding;
  TlzhFileStatsEvent OnAfterExtracting;  // published, never raised
  TlzhFileStatsEvent OnListing;          // published, never raised
  TlzhFileStatsEvent OnBeforeExtracting;
  TNotifyEvent OnFullDisk;
  TlzhNewDiskEvent OnNewDisk;
  TlzhFileStatsEvent OnReplace;
  TlzhFileStatsEvent OnStatus;
  // Not published: set by code that can defer a replacement to the restart.
  TlzhInUseEvent OnDestinationInUse;

  // ---- public state
  // The name under which the current member is written; cleared after
  // each member (and after a plain copy).
  std::string ExtractName;
  // Set by a handler to leave the current member unwritten.
  bool SkipFile = false;
  bool DirectoryLoaded() const { return directoryLoaded_; }
  TlzhOperation Operation() const { return operation_; }
  int CurrentVolume() const { return currentVolume_; }
  // The directory in memory (of CompressedFile once loaded).
  TFileHeaders& Directory() { return directory_; }
  // The statistics record of the running operation.
  const TlzhFileStats& FileStats() const { return stats_; }

  // ---- operations
  // Loads the directory unless loaded or compressing; the member count.
  int FileCount();
  // The totals and member `index`'s fields. Raises EVrexCompress "Tried
  // to access the %dth file. This file is not defined" outside
  // 0..FileCount-1.
  void GetFileStats(int index, TlzhFileStats& stats);
  // The member carrying `id` (0..1999; a later member wins); 0 for an id
  // outside that range or one no member has.
  int IndexOfUniqueID(int id);

  // Reads the directory of CompressedFile at Offset. Raises "Cannot open
  // the compressed file %s" when it cannot be opened, and the corrupt-
  // headers message for any failure while reading; the directory is then
  // empty and not loaded.
  void ReadDirectory();

  // Adds FilesToProcess to the archive (afresh, or appended to an existing
  // one), every new member carrying `uniqueID`. An existing archive is
  // never left damaged: appending writes the new members after the old
  // ones and the new count last (and cuts the file back on failure);
  // writing afresh builds the archive beside the old one and replaces it
  // at the end.
  void Compress(TlzhCommand command, int uniqueID);
  // Extracts the members named in FilesToProcess into ExtractDirectory.
  void Extract();
  // Decodes member `index` without writing it anywhere, checking its size
  // and zlib checksum as Extract does (for the archive tool's verify).
  void VerifyMember(int index);
  // Copies the (single-file) CompressedFile onto volume files in
  // `destDirectory` named after `volumeFileName` (".1", ".2" ...).
  void SplitToVolumes(const std::string& destDirectory, const std::string& volumeFileName);
  // Copies an uncompressed file with the overwrite rule and progress.
  void CopyPlainFile(const std::string& source, const std::string& destination);

  // Opens volume `number` (in a volume set: `name` with extension
  // ".<number>"), asking OnNewDisk up to four times when it is not there;
  // `name` ends as the path opened. It becomes the current volume.
  void OpenVolume(int number, TlzhOpenMode mode, std::string& name);

  // The progress step of compression (called for every full compression
  // buffer and once more per member).
  void AddStatus();
  // A write fell short: OnFullDisk if assigned (the write is then tried
  // again), else EvcDiskFull "The disk is full".
  virtual void DoFullDisk();

  // The program's shared instance, created on first use; the process-state
  // reset frees it.
  static TVrexCompress& Shared();
  static void FreeShared() noexcept;

 private:
  class DecoderHost;

  void EnsureDirectory();
  void CleanFilesToProcess();
  void FillStats(const TFileHeader& h);
  void Status();
  void ProcessMessages();
  // Writes all bytes through DoFullDisk's retries (bounded).
  void WriteAll(platform::File& file, const void* data, size_t count);
  // Runs `body` with the error rules of Compress, Extract and
  // SplitToVolumes: EvcAborted ends quietly through OnAborted, EAbort ends
  // quietly where `quietAbort`, anything else sets Abort and passes on.
  template <class F>
  void Guarded(bool quietAbort, F&& body);

  // Compress helpers (VrexCompress.cpp).
  void CompressMembers(platform::File& archive, int uniqueID);
  void CompressOne(platform::File& archive, TFileHeader& h, int index, int uniqueID);
  // Adds a member compressed ahead (CompressionAhead.h) as CompressOne would.
  void AddCompressed(platform::File& archive, TFileHeader& h, int index, int uniqueID,
                     TCompressionAhead::Member& member);
  // The steps both share: the member's sizes reported once packed, its
  // header written at the archive's position for `packed` bytes of data
  // behind it, and the bookkeeping after the data.
  void ReportPacked(TFileHeader& h, int64_t sourceBytes, int64_t packed);
  void WriteMemberHeader(platform::File& archive, TFileHeader& h, int64_t packed, int uniqueID);
  void MemberAdded(int index, int uniqueID, int64_t packed);
  // Extract helpers (VrexExtract.cpp).
  void ExtractOne(const std::string& line);
  uint64_t DecodeInto(const TFileHeader& h, TStream& destination);
  // Split helpers (VrexVolumes.cpp).
  void SplitMembers(TFileHeaders& table, platform::File& source, const std::string& destDirectory,
                    const std::string& volumeFileName, std::vector<std::string>& created);

  bool abort_ = false;
  std::string compressedFile_;
  TCompressionLevel level_ = colMax;
  std::string extractDirectory_;
  Owned<TStringList> files_;
  int32_t offset_ = 0;
  TOverwriteType overwrite_ = owAlways;

  TFileHeaders directory_;
  bool directoryLoaded_ = false;
  TlzhOperation operation_ = lzoNone;
  bool volumeLayout_ = false;  // the layout OpenVolume follows
  int currentVolume_ = 0;
  std::unique_ptr<TFileStream> volume_;  // the open volume slot
  std::array<int32_t, 2000> uniqueIDs_{};
  TlzhFileStats stats_;

  // While compressing one member: the source and the temporary file
  // AddStatus reports on.
  TStream* addSource_ = nullptr;
  TStream* addDest_ = nullptr;
  int64_t addReported_ = 0;
  int64_t addSourceDone_ = 0;  // the source's bytes when there is no source stream
};

// Registers TVrexCompress with its enumerations.
void RegisterVrexCompress(ClassRegistry& registry);
// Registers TlzhCommand, which the install file and the file group publish
// too: each of their registrations calls this. Calling it again is
// harmless (the same entry keeps the same names).
void RegisterLzhCommand(ClassRegistry& registry);
