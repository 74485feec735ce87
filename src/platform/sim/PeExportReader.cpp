// PE export directory reader (see PeExportReader.h), over the shared PE
// image view. Offsets are named after the structures they index; arithmetic
// is in 64 bits against known sizes, so no field read from the file can
// overflow a bounds check.
#include "platform/sim/PeExportReader.h"

namespace platform::sim {
namespace {

using pe::Le32;

// COFF file header characteristics.
constexpr uint16_t kCharacteristicsDll = 0x2000;
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

// The NUL-terminated name at `rva`, or nullopt when it is cut off or
// longer than any real export name.
std::optional<std::string> ReadName(const PeImage& image, uint64_t rva) {
  std::string name;
  for (size_t i = 0; i < kMaxExportName; ++i) {
    char c;
    if (!image.Read(rva + i, &c, 1)) return std::nullopt;
    if (c == '\0') return name;
    name += c;
  }
  return std::nullopt;
}

std::optional<uint32_t> ConstantResult(const PeImage& image, uint32_t rva) {
  uint8_t code[6];
  if (!image.Read(rva, code, sizeof code) || code[0] != kMovEaxImm32) return std::nullopt;
  if (code[5] != kRet && code[5] != kRetImm16) return std::nullopt;
  return Le32(code + 1);
}

std::vector<PeExport> ReadExports(const PeImage& image, uint32_t dirRva, uint32_t dirSize) {
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
    auto name = ReadName(image, nameRva);
    if (!name) return {};
    PeExport e{*name, functionRva, std::nullopt};
    // An address inside the export directory forwards to another DLL.
    const bool forwarded =
        functionRva >= dirRva && uint64_t(functionRva) < uint64_t(dirRva) + dirSize;
    if (!forwarded) e.constantResult = ConstantResult(image, functionRva);
    exports.push_back(std::move(e));
  }
  return exports;
}

}  // namespace

std::optional<PeImageInfo> ReadPeImage(FileSystem& files, std::string_view path) {
  auto file = files.OpenRead(path);
  FileSource source(*file);
  return ReadPeImage(source);
}

std::optional<PeImageInfo> ReadPeImage(ByteSource& file) {
  const auto image = PeImage::Open(file);
  if (!image) return std::nullopt;
  PeImageInfo info;
  info.machine = image->Machine();
  info.dll = (image->Characteristics() & kCharacteristicsDll) != 0;
  info.pe32 = image->IsPe32();
  // An image without a directory table has no exports.
  if (const auto exports = image->DataDirectory(pe::kExportDirectory))
    info.exports = ReadExports(*image, exports->rva, exports->size);
  return info;
}

}  // namespace platform::sim
