// The net distribution's list of files (see FileList.h).
#include "install/FileList.h"

#include <algorithm>
#include <cstring>

#include "archive/ArchiveLayout.h"
#include "install/InstallErrors.h"

namespace {

constexpr size_t kSizeField = 0;
constexpr size_t kDateField = 4;
constexpr size_t kNameField = 12;
constexpr size_t kNameBytes = 40;
constexpr size_t kVersionField = 52;
constexpr size_t kVersionBytes = 20;

std::string FieldText(const uint8_t* p, size_t n) {
  const void* zero = std::memchr(p, 0, n);
  const size_t len = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : n;
  return std::string(reinterpret_cast<const char*>(p), len);
}

}  // namespace

std::string EncodeFileList(const std::vector<FileListRecord>& records) {
  std::string out(4 + records.size() * kFileListRecordSize, '\0');
  auto* base = reinterpret_cast<uint8_t*>(out.data());
  archive_layout::PutLE32(base, static_cast<uint32_t>(records.size()));
  uint8_t* p = base + 4;
  for (const FileListRecord& r : records) {
    if (r.name.size() > kFileListMaxName)
      throw IEInstall(
          "%s cannot be listed in the list of files: component names there are limited to %d "
          "characters",
          r.name, static_cast<int>(kFileListMaxName));
    archive_layout::PutLE32(p + kSizeField, r.size);
    uint64_t bits;
    std::memcpy(&bits, &r.date, sizeof bits);
    archive_layout::PutLE32(p + kDateField, static_cast<uint32_t>(bits));
    archive_layout::PutLE32(p + kDateField + 4, static_cast<uint32_t>(bits >> 32));
    std::memcpy(p + kNameField, r.name.data(), r.name.size());
    std::memcpy(p + kVersionField, r.version.data(), std::min(r.version.size(), kVersionBytes));
    p += kFileListRecordSize;
  }
  return out;
}

std::optional<std::vector<FileListRecord>> DecodeFileList(std::string_view bytes) {
  if (bytes.size() < 4) return std::nullopt;
  const auto* base = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint64_t count = archive_layout::GetLE32(base);
  if (count > (bytes.size() - 4) / kFileListRecordSize) return std::nullopt;
  std::vector<FileListRecord> records;
  records.reserve(static_cast<size_t>(count));
  const uint8_t* p = base + 4;
  for (uint64_t i = 0; i < count; ++i, p += kFileListRecordSize) {
    FileListRecord r;
    r.size = archive_layout::GetLE32(p + kSizeField);
    r.date = archive_layout::GetLEDouble(p + kDateField);
    r.name = FieldText(p + kNameField, kNameBytes);
    r.version = FieldText(p + kVersionField, kVersionBytes);
    records.push_back(std::move(r));
  }
  return records;
}
