// The archive's member headers in memory: TFileHeader holds the 172 stored
// bytes of one member (fields decoded by offset on each access) plus whether
// its data is already in an archive; TFileHeaders is the ordered directory
// with the layout flag, reading and writing the head and the header table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/FileStats.h"
#include "archive/MemberDecoder.h"
#include "archive/Streams.h"
#include "framework/DateTime.h"

class TStrings;
class TFileHeaders;

// An archive failure whose message is the fixed text users see, with the
// exact reason (what was wrong and where, or which system call refused) kept
// for logs and tests. To the kit it is an EVrexCompress like any other.
class EArchiveError : public EVrexCompress {
 public:
  EArchiveError(std::string message, std::string reason)
      : EVrexCompress(std::move(message)), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }
  const char* ClassName() const noexcept override { return "EVrexCompress"; }

 private:
  std::string reason_;
};

// The messages shared by the directory reader and the archive component.
extern const char* const kMsgHeaderCount;  // short head
extern const char* const kMsgHeadersCorrupt;
extern const char* const kMsgWriteHeaders;

// Raises EArchiveError(kMsgHeadersCorrupt, reason).
[[noreturn]] void CorruptArchive(const std::string& reason);

// compressed / size x 100, rounded, within a byte; an empty member counts
// 100.
uint8_t RatioOf(int64_t compressed, int64_t size);

class TFileHeader {
 public:
  using Bytes = std::array<uint8_t, kFileHeaderSize>;

  TFileHeader() = default;
  explicit TFileHeader(const Bytes& stored) : data_(stored) {}
  // Copies the bytes, Stored and the source path; the copy belongs to no
  // directory until added to one.
  TFileHeader(const TFileHeader& other)
      : data_(other.data_), stored_(other.stored_), sourcePath_(other.sourcePath_) {}
  TFileHeader& operator=(const TFileHeader&) = delete;

  // The 172 bytes as stored.
  const Bytes& Data() const { return data_; }
  void SetData(const Bytes& data);

  // True when the header was read from an existing archive (its data is
  // there already).
  bool Stored() const { return stored_; }
  void SetStored(bool stored) { stored_ = stored; }

  int32_t SequenceNumber() const;
  void SetSequenceNumber(int32_t v);
  TDateTime Date() const;
  void SetDate(TDateTime v);
  int EndVolume() const;
  void SetEndVolume(int v);
  int32_t EndPosition() const;
  void SetEndPosition(int32_t v);
  // The stored name (at most 100 bytes; a longer length byte is read as
  // 100). SetName cuts at 100 bytes without splitting a UTF-8 sequence.
  std::string Name() const;
  void SetName(std::string_view name);
  int32_t NextHeader() const;
  void SetNextHeader(int32_t v);
  int32_t Size() const;
  void SetSize(int32_t v);
  int32_t DataStart() const;
  void SetDataStart(int32_t v);
  int32_t CompressedSize() const;
  void SetCompressedSize(int32_t v);
  int StartVolume() const;
  void SetStartVolume(int v);
  int32_t UniqueID() const;
  void SetUniqueID(int32_t v);
  // At most 20 bytes, cut like the name.
  std::string Version() const;
  void SetVersion(std::string_view version);

  // The full path the source was loaded from (not stored): a name cut to
  // 100 bytes no longer names the file, so compression opens this one.
  const std::string& SourcePath() const { return sourcePath_; }

  // Fills the header from a file-list line: name and source path from its
  // first ";" field, date (local, on the DOS two-second grid), size and
  // FileVersion from the file. Raises EVrexCompress "Cannot open the file
  // %s" when the file cannot be read, and when it is too large for the
  // 32-bit size field.
  void LoadFromFile(const std::string& line);

 private:
  friend class TFileHeaders;
  void Changed();

  Bytes data_{};
  bool stored_ = false;
  std::string sourcePath_;
  TFileHeaders* owner_ = nullptr;
};

class TFileHeaders {
 public:
  TFileHeaders() = default;
  // A deep copy (headers, Stored flags, layout).
  TFileHeaders(const TFileHeaders& other);
  TFileHeaders& operator=(const TFileHeaders&) = delete;
  ~TFileHeaders();

  int Count() const { return static_cast<int>(headers_.size()); }
  // Raises EVrexCompress "%d is an invalid TFileHeader index in
  // TFileHeaders.GetFileHeaders" outside 0..Count-1.
  TFileHeader& GetFileHeaders(int index) const;

  bool VolumeSet() const { return volumeSet_; }
  void SetVolumeSet(bool v) { volumeSet_ = v; }

  // Takes the header; one whose trimmed name is empty is refused (and
  // freed) with EVrexCompress "Tried to add an invalid file header".
  void Add(std::unique_ptr<TFileHeader> header);
  void Clear();
  // Unless `append`, clears first; then one header per line, loaded from
  // the file the line names, numbered 1, 2, ... in line order.
  void AddFromList(const TStrings& list, bool append);
  // The first header whose name equals the first ";" field of `text`,
  // ignoring ASCII case; -1 if none.
  int IndexOfName(std::string_view text) const;

  // Reads the head and the header table of the archive at `offset` in
  // `stream` (headers marked Stored). A head that is not there raises
  // kMsgHeaderCount; everything else that is short, out of bounds or
  // inconsistent raises kMsgHeadersCorrupt (EArchiveError with the
  // reason). Counts are capped by what the stream can hold, and every
  // position is checked against the stream, so a damaged archive can
  // neither make the reader allocate much nor send a later read past its
  // end. On failure the directory is empty.
  void ReadHeaders(TStream& stream, int64_t offset);
  // Writes the head at position 0 and, in a volume set, the header table
  // after it (each header's next-header field set to its own position +
  // 172). Raises kMsgWriteHeaders when the stream refuses.
  void WriteHeaders(TStream& stream);

  // TotalSize and TotalCompressed over all headers (saturated at the
  // 32-bit fields' range).
  void Totals(TlzhFileStats& stats) const;
  // The same at the start of an operation: TotalBytesDone, TotalPercent
  // and Finished cleared, TotalRatio set.
  void StartTotals(TlzhFileStats& stats) const;

 private:
  friend class TFileHeader;
  void Invalidate() { indexValid_ = false; }

  std::vector<std::unique_ptr<TFileHeader>> headers_;
  bool volumeSet_ = false;
  // Upper-case name -> first index; rebuilt after any change, so looking
  // up every member of a large archive stays linear.
  mutable std::unordered_map<std::string, int> index_;
  mutable bool indexValid_ = false;
};
