// Fuzzes the reading of a net distribution's list of files. What decodes
// must encode back to the input's own bytes once the parts the reader
// ignores are blanked (bytes after a field's terminator, bytes after the
// last record), and decode again to the same records. Anything shorter than
// its count says must be refused. A name field filled to its last byte is
// the one thing the writer may refuse, and then only with IEInstall.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "archive/ArchiveLayout.h"
#include "install/FileList.h"
#include "install/InstallErrors.h"

namespace {

// The input as the writer would have produced it from what the reader
// keeps: `count` records, each field zero after its first zero byte.
std::string Canonical(std::string_view input, size_t count) {
  std::string out(input.substr(0, 4 + count * kFileListRecordSize));
  for (size_t i = 0; i < count; ++i) {
    char* rec = out.data() + 4 + i * kFileListRecordSize;
    for (auto [at, n] : {std::pair<size_t, size_t>{12, 40}, {52, 20}}) {
      char* zero = static_cast<char*>(std::memchr(rec + at, 0, n));
      if (zero) std::memset(zero, 0, rec + at + n - zero);
    }
  }
  return out;
}

bool Same(const FileListRecord& a, const FileListRecord& b) {
  return a.size == b.size && std::memcmp(&a.date, &b.date, sizeof a.date) == 0 &&
         a.name == b.name && a.version == b.version;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto records = DecodeFileList(input);
  const bool fits =
      size >= 4 && uint64_t(archive_layout::GetLE32(data)) * kFileListRecordSize <= size - 4;
  if (records.has_value() != fits) std::abort();
  if (!records) return 0;
  if (records->size() != archive_layout::GetLE32(data)) std::abort();
  bool fullName = false;
  for (const FileListRecord& r : *records) {
    if (r.name.size() > kFileListMaxName + 1 || r.version.size() > kFileListMaxVersion ||
        r.name.find('\0') != std::string::npos || r.version.find('\0') != std::string::npos)
      std::abort();
    fullName |= r.name.size() > kFileListMaxName;
  }
  std::string encoded;
  try {
    encoded = EncodeFileList(*records);
  } catch (const IEInstall&) {
    if (!fullName) std::abort();
    return 0;
  }
  if (fullName) std::abort();
  if (encoded != Canonical(input, records->size())) std::abort();
  const auto again = DecodeFileList(encoded);
  if (!again || again->size() != records->size()) std::abort();
  for (size_t i = 0; i < records->size(); ++i)
    if (!Same((*again)[i], (*records)[i])) std::abort();
  return 0;
}
