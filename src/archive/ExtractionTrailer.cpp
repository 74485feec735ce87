// The self-extractor's trailer (see ExtractionTrailer.h).
#include "archive/ExtractionTrailer.h"

#include <cstring>

#include "archive/ArchiveLayout.h"

namespace extraction_trailer {
namespace {

constexpr char kText[] = "SELFEXTRACTING";
constexpr size_t kTextLength = sizeof kText - 1;

}  // namespace

Bytes Encode(const Offsets& offsets) {
  Bytes b{};
  b[0] = static_cast<uint8_t>(kTextLength);
  std::memcpy(b.data() + 1, kText, kTextLength);
  archive_layout::PutLE32(b.data() + 16, offsets.setupStart);
  archive_layout::PutLE32(b.data() + 20, offsets.setupEnd);
  archive_layout::PutLE32(b.data() + 24, offsets.filesStart);
  archive_layout::PutLE32(b.data() + 28, offsets.filesEnd);
  return b;
}

Offsets Decode(const Bytes& bytes) {
  Offsets o;
  o.setupStart = archive_layout::GetLE32(bytes.data() + 16);
  o.setupEnd = archive_layout::GetLE32(bytes.data() + 20);
  o.filesStart = archive_layout::GetLE32(bytes.data() + 24);
  o.filesEnd = archive_layout::GetLE32(bytes.data() + 28);
  return o;
}

std::optional<const char*> Implausible(const Offsets& o, uint64_t fileSize) {
  if (fileSize < kSize) return "the file is shorter than its trailer";
  const uint64_t trailerStart = fileSize - kSize;
  if (o.setupStart == 0) return "no loading program precedes the setup archive";
  if (o.setupEnd < o.setupStart) return "the setup archive ends before it starts";
  if (o.setupEnd >= trailerStart) return "the setup archive runs into the trailer";
  if (!o.HasFiles()) return std::nullopt;
  if (o.filesStart <= o.setupEnd) return "the main archive starts inside the setup archive";
  if (o.filesEnd < o.filesStart) return "the main archive ends before it starts";
  if (o.filesEnd >= trailerStart) return "the main archive runs into the trailer";
  return std::nullopt;
}

}  // namespace extraction_trailer
