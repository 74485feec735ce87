// Member headers and the directory: field access by offset, loading a
// header from a source file, and reading the head and header table with
// every count and position checked before it is used.
#include "archive/FileHeaders.h"

#include <algorithm>
#include <cmath>

#include "archive/ArchiveLayout.h"
#include "files/version/cmp_TVersion.h"
#include "framework/Format.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "framework/Utf8.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

using namespace archive_layout;

const char* const kMsgHeaderCount = "Could not read the file header count for the compressed file";
const char* const kMsgHeadersCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be "
    "corrupt";
const char* const kMsgWriteHeaders = "Could not write the file headers for the compressed file";

void CorruptArchive(const std::string& reason) {
  throw EArchiveError(kMsgHeadersCorrupt, reason);
}

uint8_t RatioOf(int64_t compressed, int64_t size) {
  if (size <= 0) return 100;
  const double r = std::nearbyint(double(compressed) * 100.0 / double(size));
  if (!(r > 0)) return 0;
  return r >= 255 ? 255 : static_cast<uint8_t>(r);
}

namespace {

std::string GetShortString(const TFileHeader::Bytes& b, size_t at, size_t max) {
  const size_t len = std::min<size_t>(b[at], max);
  return std::string(reinterpret_cast<const char*>(b.data() + at + 1), len);
}

void PutShortString(TFileHeader::Bytes& b, size_t at, size_t max, std::string_view s) {
  const std::string cut = Utf8TruncateBytes(s, max);
  std::fill(b.begin() + at, b.begin() + at + 1 + max, 0);
  b[at] = static_cast<uint8_t>(cut.size());
  std::copy(cut.begin(), cut.end(), b.begin() + at + 1);
}

std::string FirstField(std::string_view line) {
  return std::string(line.substr(0, line.find(';')));
}

int32_t SaturatedSum(int64_t sum) {
  return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

// The last-write time of an open file as the archive stores dates: local
// time on the DOS two-second grid. A time the DOS stamp cannot hold (before
// 1980) is stored as it is.
TDateTime DosDateOf(platform::File& file) {
  const TDateTime local = platform::FileTimeToLocalDateTime(file.LastWriteTime());
  uint32_t dos = 0;
  TDateTime date = 0;
  if (TryDateTimeToDosDateTime(local, dos) && TryDosDateTimeToDateTime(dos, date)) return date;
  return local;
}

}  // namespace

// ---- TFileHeader -----------------------------------------------------------

void TFileHeader::Changed() {
  if (owner_) owner_->Invalidate();
}

void TFileHeader::SetData(const Bytes& data) {
  data_ = data;
  Changed();
}

int32_t TFileHeader::SequenceNumber() const {
  return GetLEInt32(&data_[kSequenceNumber]);
}
void TFileHeader::SetSequenceNumber(int32_t v) {
  PutLE32(&data_[kSequenceNumber], uint32_t(v));
}
TDateTime TFileHeader::Date() const {
  return GetLEDouble(&data_[kDate]);
}
void TFileHeader::SetDate(TDateTime v) {
  PutLEDouble(&data_[kDate], v);
}
int TFileHeader::EndVolume() const {
  return data_[kEndVolume];
}
void TFileHeader::SetEndVolume(int v) {
  data_[kEndVolume] = uint8_t(v);
}
int32_t TFileHeader::EndPosition() const {
  return GetLEInt32(&data_[kEndPosition]);
}
void TFileHeader::SetEndPosition(int32_t v) {
  PutLE32(&data_[kEndPosition], uint32_t(v));
}
std::string TFileHeader::Name() const {
  return GetShortString(data_, kName, kMaxNameBytes);
}
void TFileHeader::SetName(std::string_view name) {
  PutShortString(data_, kName, kMaxNameBytes, name);
  Changed();
}
int32_t TFileHeader::NextHeader() const {
  return GetLEInt32(&data_[kNextHeader]);
}
void TFileHeader::SetNextHeader(int32_t v) {
  PutLE32(&data_[kNextHeader], uint32_t(v));
}
int32_t TFileHeader::Size() const {
  return GetLEInt32(&data_[kSize]);
}
void TFileHeader::SetSize(int32_t v) {
  PutLE32(&data_[kSize], uint32_t(v));
}
int32_t TFileHeader::DataStart() const {
  return GetLEInt32(&data_[kDataStart]);
}
void TFileHeader::SetDataStart(int32_t v) {
  PutLE32(&data_[kDataStart], uint32_t(v));
}
int32_t TFileHeader::CompressedSize() const {
  return GetLEInt32(&data_[kCompressedSize]);
}
void TFileHeader::SetCompressedSize(int32_t v) {
  PutLE32(&data_[kCompressedSize], uint32_t(v));
}
int TFileHeader::StartVolume() const {
  return data_[kStartVolume];
}
void TFileHeader::SetStartVolume(int v) {
  data_[kStartVolume] = uint8_t(v);
}
int32_t TFileHeader::UniqueID() const {
  return GetLEInt32(&data_[kUniqueID]);
}
void TFileHeader::SetUniqueID(int32_t v) {
  PutLE32(&data_[kUniqueID], uint32_t(v));
}
std::string TFileHeader::Version() const {
  return GetShortString(data_, kVersion, kMaxVersionBytes);
}
void TFileHeader::SetVersion(std::string_view version) {
  PutShortString(data_, kVersion, kMaxVersionBytes, version);
}

void TFileHeader::LoadFromFile(const std::string& line) {
  const std::string path = FirstField(line);
  std::unique_ptr<platform::File> file;
  uint64_t size = 0;
  TDateTime date = 0;
  try {
    file = platform::files().OpenRead(path);
    size = file->Size();
    date = DosDateOf(*file);
  } catch (const platform::OsError& e) {
    throw EArchiveError(Format("Cannot open the file %s", path), e.Message());
  }
  file.reset();
  if (size > uint64_t(kMaxPosition))
    throw EArchiveError(Format("Cannot open the file %s", path),
                        "the file is larger than an archive member can be (2 GB)");
  sourcePath_ = path;
  SetName(path);
  SetDate(date);
  SetSize(static_cast<int32_t>(size));
  TVersionResource& versions = TVersionResource::Shared();
  versions.SetFileName(path);
  SetVersion(versions.VersionInfo()->FileVersion());
}

// ---- TFileHeaders ----------------------------------------------------------

TFileHeaders::TFileHeaders(const TFileHeaders& other) : volumeSet_(other.volumeSet_) {
  headers_.reserve(other.headers_.size());
  for (const auto& h : other.headers_) {
    headers_.push_back(std::make_unique<TFileHeader>(*h));
    headers_.back()->owner_ = this;
  }
}

TFileHeaders::~TFileHeaders() = default;

TFileHeader& TFileHeaders::GetFileHeaders(int index) const {
  if (index < 0 || index >= Count())
    throw EVrexCompress(
        Format("%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders", index));
  return *headers_[size_t(index)];
}

void TFileHeaders::Add(std::unique_ptr<TFileHeader> header) {
  if (!header || Trim(header->Name()).empty())
    throw EVrexCompress("Tried to add an invalid file header");
  header->owner_ = this;
  headers_.push_back(std::move(header));
  Invalidate();
}

void TFileHeaders::Clear() {
  headers_.clear();
  Invalidate();
}

void TFileHeaders::AddFromList(const TStrings& list, bool append) {
  if (!append) Clear();
  for (int i = 0; i < list.Count(); ++i) {
    auto header = std::make_unique<TFileHeader>();
    header->LoadFromFile(list[i]);
    header->SetSequenceNumber(i + 1);
    Add(std::move(header));
  }
}

int TFileHeaders::IndexOfName(std::string_view text) const {
  if (!indexValid_) {
    index_.clear();
    index_.reserve(headers_.size());
    for (size_t i = 0; i < headers_.size(); ++i)
      index_.emplace(AsciiUpperCase(headers_[i]->Name()), static_cast<int>(i));
    indexValid_ = true;
  }
  const auto it = index_.find(AsciiUpperCase(FirstField(text)));
  return it == index_.end() ? -1 : it->second;
}

void TFileHeaders::ReadHeaders(TStream& stream, int64_t offset) {
  Clear();
  volumeSet_ = false;
  const int64_t streamSize = stream.Size();
  uint8_t head[kHeadSize];
  if (offset < 0 || offset > streamSize || streamSize - offset < int64_t(kHeadSize))
    throw EArchiveError(kMsgHeaderCount,
                        Format("the head (5 bytes at %d) is past the end (%d)",
                               static_cast<long long>(offset), static_cast<long long>(streamSize)));
  stream.SetPosition(offset);
  if (stream.Read(head, kHeadSize) != kHeadSize)
    throw EArchiveError(kMsgHeaderCount, "short read of the head");

  // Positions below are relative to the archive's start; `length` is what
  // the stream holds from there.
  const int64_t length = streamSize - offset;
  const int32_t count = GetLEInt32(head + kHeadCount);
  const uint8_t layout = head[kHeadLayout];
  try {
    if (count < 0 || count > (length - int64_t(kHeadSize)) / int64_t(kHeaderSize))
      CorruptArchive(Format("%d member headers cannot fit in %d bytes", count,
                            static_cast<long long>(length)));
    if (layout > 1) CorruptArchive(Format("unknown layout byte %d", int(layout)));
    volumeSet_ = layout == 1;

    int64_t pos = kHeadSize;
    for (int32_t i = 0; i < count; ++i) {
      if (pos > length - int64_t(kHeaderSize))
        CorruptArchive(Format("member header %d at %d is past the end (%d)", i,
                              static_cast<long long>(pos), static_cast<long long>(length)));
      TFileHeader::Bytes bytes;
      stream.SetPosition(offset + pos);
      if (stream.Read(bytes.data(), bytes.size()) != bytes.size())
        CorruptArchive(Format("short read of member header %d", i));
      auto h = std::make_unique<TFileHeader>(bytes);
      h->SetStored(true);

      const int64_t next = h->NextHeader();
      const int64_t start = h->DataStart();
      const int64_t end = h->EndPosition();
      const std::string where = Format("member header %d at %d", i, static_cast<long long>(pos));
      if (next < pos + int64_t(kHeaderSize) || next > length)
        CorruptArchive(where +
                       Format(": next header %d out of bounds", static_cast<long long>(next)));
      if (h->Size() < 0 || h->CompressedSize() < 0) CorruptArchive(where + ": negative size");
      if (start < 0 || end < -1 || (h->StartVolume() == h->EndVolume() && end < start - 1))
        CorruptArchive(where + Format(": data %d..%d ends before it starts",
                                      static_cast<long long>(start), static_cast<long long>(end)));
      if (!volumeSet_) {
        // Everything of a single-file archive is in this stream: the data
        // lies between its header and the next one.
        if (h->StartVolume() > 1 || h->EndVolume() != h->StartVolume())
          CorruptArchive(where + ": volume numbers in a single-file archive");
        if (start < pos + int64_t(kHeaderSize) || end >= next)
          CorruptArchive(where + Format(": data %d..%d outside the member",
                                        static_cast<long long>(start),
                                        static_cast<long long>(end)));
      } else {
        // The data is on volumes not at hand; the reader of the data
        // checks it against each volume as it opens it.
        if (h->StartVolume() < 1 || h->EndVolume() < h->StartVolume())
          CorruptArchive(where + Format(": volumes %d..%d", h->StartVolume(), h->EndVolume()));
      }
      if (Trim(h->Name()).empty()) CorruptArchive(where + ": empty name");
      Add(std::move(h));
      pos = next;
    }
  } catch (...) {
    Clear();
    throw;
  }
}

void TFileHeaders::WriteHeaders(TStream& stream) {
  try {
    uint8_t head[kHeadSize];
    PutLE32(head + kHeadCount, uint32_t(Count()));
    head[kHeadLayout] = volumeSet_ ? 1 : 0;
    stream.SetPosition(0);
    if (stream.Write(head, kHeadSize) != kHeadSize)
      throw EArchiveError(kMsgWriteHeaders, "short write of the head");
    if (!volumeSet_) return;
    int64_t pos = kHeadSize;
    for (const auto& h : headers_) {
      h->SetNextHeader(static_cast<int32_t>(pos + int64_t(kHeaderSize)));
      if (stream.Write(h->Data().data(), kHeaderSize) != kHeaderSize)
        throw EArchiveError(kMsgWriteHeaders, "short write of a member header");
      pos += int64_t(kHeaderSize);
    }
  } catch (const platform::OsError& e) {
    throw EArchiveError(kMsgWriteHeaders, e.Message());
  }
}

void TFileHeaders::Totals(TlzhFileStats& stats) const {
  int64_t size = 0, compressed = 0;
  for (const auto& h : headers_) {
    size += std::max<int32_t>(h->Size(), 0);
    compressed += std::max<int32_t>(h->CompressedSize(), 0);
  }
  stats.TotalSize = SaturatedSum(size);
  stats.TotalCompressed = SaturatedSum(compressed);
}

void TFileHeaders::StartTotals(TlzhFileStats& stats) const {
  Totals(stats);
  stats.TotalBytesDone = 0;
  stats.TotalPercent = 0;
  stats.Finished = false;
  stats.TotalRatio = RatioOf(stats.TotalCompressed, stats.TotalSize);
}
