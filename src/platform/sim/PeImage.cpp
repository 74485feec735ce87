// PE header walk and address mapping (see PeImage.h). Positions are named
// offsets into the DOS header, the COFF file header, the optional header and
// the section table; all arithmetic is done in 64 bits against known sizes,
// so no field read from the file can overflow a bounds check.
#include "platform/sim/PeImage.h"

#include <algorithm>
#include <cstring>

#include "platform/FileSystem.h"

namespace platform::sim {
namespace {

using pe::Le16;
using pe::Le32;

// DOS header.
constexpr uint64_t kDosMagic = 0x00;
constexpr uint16_t kDosMagicMz = 0x5A4D;  // "MZ"
constexpr uint64_t kDosNewHeader = 0x3C;
// PE signature, then the COFF file header; offsets from the signature.
constexpr uint64_t kSignatureSize = 4;
constexpr uint64_t kCoffMachine = 4 + 0;
constexpr uint64_t kCoffNumberOfSections = 4 + 2;
constexpr uint64_t kCoffSizeOfOptionalHeader = 4 + 16;
constexpr uint64_t kCoffCharacteristics = 4 + 18;
constexpr uint64_t kOptionalHeader = 4 + 20;
// Optional header.
constexpr uint64_t kOptionalMagic = 0;
constexpr uint64_t kOptionalMagicSize = 2;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint64_t kPe32NumberOfRvaAndSizes = 92;
constexpr uint64_t kPe32PlusNumberOfRvaAndSizes = 108;
constexpr uint64_t kDataDirectoryTable = 4;  // after NumberOfRvaAndSizes
constexpr uint64_t kDataDirectoryEntrySize = 8;
// Section header.
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kSectionVirtualSize = 8;
constexpr uint64_t kSectionVirtualAddress = 12;
constexpr uint64_t kSectionSizeOfRawData = 16;
constexpr uint64_t kSectionPointerToRawData = 20;
constexpr uint32_t kMaxSections = 96 * 4;

bool FileRead16(ByteSource& f, uint64_t at, uint16_t& v) {
  uint8_t b[2];
  if (!f.ReadAt(at, b, 2)) return false;
  v = Le16(b);
  return true;
}
bool FileRead32(ByteSource& f, uint64_t at, uint32_t& v) {
  uint8_t b[4];
  if (!f.ReadAt(at, b, 4)) return false;
  v = Le32(b);
  return true;
}

}  // namespace

bool SpanSource::ReadAt(uint64_t offset, void* out, size_t length) {
  if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
  if (length != 0) std::memcpy(out, bytes_.data() + offset, length);
  return true;
}

FileSource::FileSource(File& file) : file_(file), size_(file.Size()) {}

bool FileSource::ReadAt(uint64_t offset, void* out, size_t length) {
  if (offset > size_ || length > size_ - offset) return false;
  file_.Seek(static_cast<int64_t>(offset), SeekOrigin::Begin);
  auto* p = static_cast<uint8_t*>(out);
  size_t done = 0;
  while (done < length) {
    const size_t n = file_.Read(p + done, length - done);
    if (n == 0) return false;
    done += n;
  }
  return true;
}

std::optional<PeImage> PeImage::Open(ByteSource& file) {
  uint16_t magic = 0;
  uint32_t pe = 0;
  if (!FileRead16(file, kDosMagic, magic) || magic != kDosMagicMz) return std::nullopt;
  if (!FileRead32(file, kDosNewHeader, pe)) return std::nullopt;
  uint8_t sig[kSignatureSize];
  if (!file.ReadAt(pe, sig, sizeof sig) || std::memcmp(sig, "PE\0\0", sizeof sig) != 0)
    return std::nullopt;

  // The file header and the optional header's magic, in one read.
  uint8_t head[kOptionalHeader - kSignatureSize + kOptionalMagicSize];
  if (!file.ReadAt(uint64_t(pe) + kSignatureSize, head, sizeof head)) return std::nullopt;
  const auto field = [&](uint64_t at) { return Le16(head + (at - kSignatureSize)); };
  const uint16_t optMagic = field(kOptionalHeader + kOptionalMagic);
  if (optMagic != kMagicPe32 && optMagic != kMagicPe32Plus) return std::nullopt;

  PeImage image(file);
  image.machine_ = field(kCoffMachine);
  image.characteristics_ = field(kCoffCharacteristics);
  image.pe32_ = optMagic == kMagicPe32;
  image.optionalHeader_ = uint64_t(pe) + kOptionalHeader;
  image.optionalHeaderSize_ = field(kCoffSizeOfOptionalHeader);
  image.LoadSections(field(kCoffNumberOfSections),
                     image.optionalHeader_ + image.optionalHeaderSize_);
  return image;
}

void PeImage::LoadSections(uint16_t count, uint64_t tableOffset) {
  if (count == 0 || count > kMaxSections) return;
  std::vector<uint8_t> table(size_t(count) * kSectionHeaderSize);
  if (!file_->ReadAt(tableOffset, table.data(), table.size())) return;
  sections_.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* s = table.data() + i * kSectionHeaderSize;
    const uint32_t virtualSize = Le32(s + kSectionVirtualSize);
    const uint32_t rawSize = Le32(s + kSectionSizeOfRawData);
    Section sec;
    sec.virtualAddress = Le32(s + kSectionVirtualAddress);
    sec.rawPointer = Le32(s + kSectionPointerToRawData);
    // A virtual size of 0 is what old linkers write: the raw size counts.
    sec.mappedSize = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
    sections_.push_back(sec);
  }
}

std::optional<PeDataDirectory> PeImage::DataDirectory(uint32_t index) const {
  const uint64_t countField = pe32_ ? kPe32NumberOfRvaAndSizes : kPe32PlusNumberOfRvaAndSizes;
  const uint64_t entry = countField + kDataDirectoryTable + kDataDirectoryEntrySize * index;
  if (entry + kDataDirectoryEntrySize > optionalHeaderSize_) return std::nullopt;
  uint32_t count = 0;
  if (!FileRead32(*file_, optionalHeader_ + countField, count) || count <= index)
    return std::nullopt;
  uint8_t b[kDataDirectoryEntrySize];
  if (!file_->ReadAt(optionalHeader_ + entry, b, sizeof b)) return std::nullopt;
  return PeDataDirectory{Le32(b), Le32(b + 4)};
}

std::optional<uint64_t> PeImage::RvaToOffset(uint64_t rva, size_t length) const {
  for (const Section& s : sections_) {
    if (rva < s.virtualAddress) continue;
    const uint64_t inSection = rva - s.virtualAddress;
    if (inSection >= s.mappedSize) continue;
    if (length > s.mappedSize - inSection) return std::nullopt;
    return uint64_t(s.rawPointer) + inSection;
  }
  return std::nullopt;
}

bool PeImage::Read(uint64_t rva, void* out, size_t length) const {
  const auto offset = RvaToOffset(rva, length);
  return offset && file_->ReadAt(*offset, out, length);
}

bool PeImage::Read16(uint64_t rva, uint16_t& v) const {
  uint8_t b[2];
  if (!Read(rva, b, 2)) return false;
  v = Le16(b);
  return true;
}

bool PeImage::Read32(uint64_t rva, uint32_t& v) const {
  uint8_t b[4];
  if (!Read(rva, b, 4)) return false;
  v = Le32(b);
  return true;
}

}  // namespace platform::sim
