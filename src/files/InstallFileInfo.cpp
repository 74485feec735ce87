// The file-information record and the unique-id table (see
// InstallFileInfo.h).
#include "files/InstallFileInfo.h"

#include <bit>
#include <cstring>

#include "framework/ProcessState.h"

namespace {

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(p[i]) << (8 * i);
  return v;
}

void PutText(uint8_t* field, size_t width, const std::string& text) {
  const std::string cut = CutUtf8(text, width - 1);
  std::memcpy(field, cut.data(), cut.size());  // the rest stays zero
}

std::string GetText(const uint8_t* field, size_t width) {
  size_t n = 0;
  while (n < width && field[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(field), n);
}

}  // namespace

std::string CutUtf8(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  // Step back over continuation bytes to the start of the cut sequence.
  while (end > 0 && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::array<uint8_t, TFileInfoRecord::kSize> TFileInfoRecord::Encode() const {
  std::array<uint8_t, kSize> out{};
  PutU32(&out[kSizeOffset], Size);
  const uint64_t bits = std::bit_cast<uint64_t>(static_cast<double>(Date));
  PutU32(&out[kDateOffset], static_cast<uint32_t>(bits));
  PutU32(&out[kDateOffset + 4], static_cast<uint32_t>(bits >> 32));
  PutText(&out[kNameOffset], kNameWidth, Name);
  PutText(&out[kVersionOffset], kVersionWidth, Version);
  return out;
}

TFileInfoRecord TFileInfoRecord::Decode(const uint8_t* bytes) {
  TFileInfoRecord r;
  r.Size = GetU32(bytes + kSizeOffset);
  const uint64_t bits =
      uint64_t(GetU32(bytes + kDateOffset)) | (uint64_t(GetU32(bytes + kDateOffset + 4)) << 32);
  r.Date = std::bit_cast<double>(bits);
  r.Name = GetText(bytes + kNameOffset, kNameWidth);
  r.Version = GetText(bytes + kVersionOffset, kVersionWidth);
  return r;
}

int TUniqueIdTable::Allocate() noexcept {
  for (int id = 0; id < kCount; ++id) {
    if (!used_[size_t(id)]) {
      used_[size_t(id)] = true;
      return id;
    }
  }
  return 0;
}

void TUniqueIdTable::Mark(int id) noexcept {
  if (id >= 0 && id < kCount) used_[size_t(id)] = true;
}

void TUniqueIdTable::Release(int id) noexcept {
  if (id >= 0 && id < kCount) used_[size_t(id)] = false;
}

bool TUniqueIdTable::InUse(int id) const noexcept {
  return id >= 0 && id < kCount && used_[size_t(id)];
}

void TUniqueIdTable::ClearOnceForLoading() noexcept {
  if (clearedForLoading_) return;
  clearedForLoading_ = true;
  used_.fill(false);
}

void TUniqueIdTable::Reset() noexcept {
  used_.fill(false);
  clearedForLoading_ = false;
}

TUniqueIdTable& UniqueIdTable() {
  static TUniqueIdTable table;
  static const bool registered = [] {
    ProcessState::RegisterReset("files.UniqueIdTable", [] { table.Reset(); });
    return true;
  }();
  (void)registered;
  return table;
}
