// PE header and export directory reader (see PeExportReader.h). Offsets are
// named after the structures they index; arithmetic is in 64 bits against
// known sizes, so no field read from the file can overflow a bounds check.
#include "platform/sim/PeExportReader.h"

#include <algorithm>
#include <cstring>

namespace platform::sim {
namespace {

// DOS header.
constexpr uint64_t kDosNewHeader = 0x3C;
// COFF file header, from the PE signature.
constexpr uint64_t kCoffMachine = 4 + 0;
constexpr uint64_t kCoffNumberOfSections = 4 + 2;
constexpr uint64_t kCoffSizeOfOptionalHeader = 4 + 16;
constexpr uint64_t kCoffCharacteristics = 4 + 18;
constexpr uint64_t kOptionalHeader = 4 + 20;
constexpr uint16_t kCharacteristicsDll = 0x2000;
// Optional header.
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint64_t kPe32NumberOfRvaAndSizes = 92;
constexpr uint64_t kPe32PlusNumberOfRvaAndSizes = 108;
constexpr uint32_t kExportDirectoryIndex = 0;
// Section header.
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kSectionVirtualSize = 8;
constexpr uint64_t kSectionVirtualAddress = 12;
constexpr uint64_t kSectionSizeOfRawData = 16;
constexpr uint64_t kSectionPointerToRawData = 20;
constexpr uint32_t kMaxSections = 96 * 4;
// Export directory.
constexpr uint32_t kExportDirectorySize = 40;
constexpr uint32_t kExportNumberOfFunctions = 0x14;
constexpr uint32_t kExportNumberOfNames = 0x18;
constexpr uint32_t kExportAddressOfFunctions = 0x1C;
constexpr uint32_t kExportAddressOfNames = 0x20;
constexpr uint32_t kExportAddressOfNameOrdinals = 0x24;
constexpr uint32_t kMaxExports = 0x10000;
constexpr size_t kMaxExportName = 512;
// "mov eax, imm32" then "ret" or "ret imm16".
constexpr uint8_t kMovEaxImm32 = 0xB8;
constexpr uint8_t kRet = 0xC3;
constexpr uint8_t kRetImm16 = 0xC2;

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
bool Read16(ByteSource& f, uint64_t at, uint16_t& v) {
  uint8_t b[2];
  if (!f.ReadAt(at, b, 2)) return false;
  v = Le16(b);
  return true;
}
bool Read32(ByteSource& f, uint64_t at, uint32_t& v) {
  uint8_t b[4];
  if (!f.ReadAt(at, b, 4)) return false;
  v = Le32(b);
  return true;
}

struct Section {
  uint32_t virtualAddress = 0;
  uint32_t mappedSize = 0;  // bytes of the section backed by file data
  uint32_t rawPointer = 0;
};

// Reads the image as mapped, through the section table.
class Image {
 public:
  Image(ByteSource& file, std::vector<Section> sections)
      : file_(file), sections_(std::move(sections)) {}

  bool Read(uint64_t rva, void* out, size_t length) {
    for (const Section& s : sections_) {
      if (rva < s.virtualAddress) continue;
      const uint64_t inSection = rva - s.virtualAddress;
      if (inSection >= s.mappedSize) continue;
      if (length > s.mappedSize - inSection) return false;
      return file_.ReadAt(uint64_t(s.rawPointer) + inSection, out, length);
    }
    return false;
  }
  bool Read32(uint64_t rva, uint32_t& v) {
    uint8_t b[4];
    if (!Read(rva, b, 4)) return false;
    v = Le32(b);
    return true;
  }
  bool Read16(uint64_t rva, uint16_t& v) {
    uint8_t b[2];
    if (!Read(rva, b, 2)) return false;
    v = Le16(b);
    return true;
  }
  std::optional<std::string> Name(uint64_t rva) {
    std::string name;
    for (size_t i = 0; i < kMaxExportName; ++i) {
      char c;
      if (!Read(rva + i, &c, 1)) return std::nullopt;
      if (c == '\0') return name;
      name += c;
    }
    return std::nullopt;
  }
  std::optional<uint32_t> ConstantResult(uint32_t rva) {
    uint8_t code[6];
    if (!Read(rva, code, sizeof code) || code[0] != kMovEaxImm32) return std::nullopt;
    if (code[5] != kRet && code[5] != kRetImm16) return std::nullopt;
    return Le32(code + 1);
  }

 private:
  ByteSource& file_;
  std::vector<Section> sections_;
};

std::vector<PeExport> ReadExports(Image& image, uint32_t dirRva, uint32_t dirSize) {
  std::vector<PeExport> exports;
  uint8_t dir[kExportDirectorySize];
  if (dirRva == 0 || !image.Read(dirRva, dir, sizeof dir)) return exports;
  const uint32_t functionCount = Le32(dir + kExportNumberOfFunctions);
  const uint32_t nameCount = Le32(dir + kExportNumberOfNames);
  const uint32_t functions = Le32(dir + kExportAddressOfFunctions);
  const uint32_t names = Le32(dir + kExportAddressOfNames);
  const uint32_t ordinals = Le32(dir + kExportAddressOfNameOrdinals);
  if (functionCount > kMaxExports || nameCount > kMaxExports) return exports;
  for (uint32_t i = 0; i < nameCount; ++i) {
    uint32_t nameRva = 0, functionRva = 0;
    uint16_t ordinal = 0;
    if (!image.Read32(uint64_t(names) + 4 * uint64_t(i), nameRva) ||
        !image.Read16(uint64_t(ordinals) + 2 * uint64_t(i), ordinal) || ordinal >= functionCount ||
        !image.Read32(uint64_t(functions) + 4 * uint64_t(ordinal), functionRva))
      return {};
    auto name = image.Name(nameRva);
    if (!name) return {};
    PeExport e{*name, functionRva, std::nullopt};
    // An address inside the export directory forwards to another DLL.
    const bool forwarded =
        functionRva >= dirRva && uint64_t(functionRva) < uint64_t(dirRva) + dirSize;
    if (!forwarded) e.constantResult = image.ConstantResult(functionRva);
    exports.push_back(std::move(e));
  }
  return exports;
}

// Random access through an open file handle.
class FileSource : public ByteSource {
 public:
  explicit FileSource(File& file) : file_(file), size_(file.Size()) {}
  uint64_t Size() override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t length) override {
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

 private:
  File& file_;
  uint64_t size_;
};

}  // namespace

std::optional<PeImageInfo> ReadPeImage(FileSystem& files, std::string_view path) {
  auto file = files.OpenRead(path);
  FileSource source(*file);
  return ReadPeImage(source);
}

std::optional<PeImageInfo> ReadPeImage(ByteSource& file) {
  uint16_t magic = 0;
  uint32_t pe = 0;
  if (!Read16(file, 0, magic) || magic != 0x5A4D) return std::nullopt;
  if (!Read32(file, kDosNewHeader, pe)) return std::nullopt;
  uint8_t sig[4];
  if (!file.ReadAt(pe, sig, 4) || std::memcmp(sig, "PE\0\0", 4) != 0) return std::nullopt;

  PeImageInfo info;
  uint16_t sectionCount = 0, optionalSize = 0, characteristics = 0, optMagic = 0;
  if (!Read16(file, uint64_t(pe) + kCoffMachine, info.machine) ||
      !Read16(file, uint64_t(pe) + kCoffNumberOfSections, sectionCount) ||
      !Read16(file, uint64_t(pe) + kCoffSizeOfOptionalHeader, optionalSize) ||
      !Read16(file, uint64_t(pe) + kCoffCharacteristics, characteristics))
    return std::nullopt;
  info.dll = (characteristics & kCharacteristicsDll) != 0;
  const uint64_t opt = uint64_t(pe) + kOptionalHeader;
  if (!Read16(file, opt, optMagic)) return std::nullopt;
  uint64_t countField = 0;
  if (optMagic == kMagicPe32)
    countField = kPe32NumberOfRvaAndSizes;
  else if (optMagic == kMagicPe32Plus)
    countField = kPe32PlusNumberOfRvaAndSizes;
  else
    return std::nullopt;
  info.pe32 = optMagic == kMagicPe32;

  uint32_t dirCount = 0, exportRva = 0, exportSize = 0;
  const uint64_t exportEntry = countField + 4 + 8 * uint64_t(kExportDirectoryIndex);
  if (exportEntry + 8 > optionalSize || !Read32(file, opt + countField, dirCount) ||
      dirCount <= kExportDirectoryIndex || !Read32(file, opt + exportEntry, exportRva) ||
      !Read32(file, opt + exportEntry + 4, exportSize))
    return info;  // an image without a directory table has no exports

  if (sectionCount == 0 || sectionCount > kMaxSections) return info;
  std::vector<uint8_t> table(size_t(sectionCount) * kSectionHeaderSize);
  if (!file.ReadAt(opt + optionalSize, table.data(), table.size())) return info;
  std::vector<Section> sections;
  for (size_t i = 0; i < sectionCount; ++i) {
    const uint8_t* s = table.data() + i * kSectionHeaderSize;
    const uint32_t virtualSize = Le32(s + kSectionVirtualSize);
    const uint32_t rawSize = Le32(s + kSectionSizeOfRawData);
    Section sec;
    sec.virtualAddress = Le32(s + kSectionVirtualAddress);
    sec.rawPointer = Le32(s + kSectionPointerToRawData);
    sec.mappedSize = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
    sections.push_back(sec);
  }
  Image image(file, std::move(sections));
  info.exports = ReadExports(image, exportRva, exportSize);
  return info;
}

}  // namespace platform::sim
