// Encoding and decoding of binary shortcut files (see ShellLinkFile.h).
// Fields are written and read by named offsets in little-endian order.
#include "platform/sim/ShellLinkFile.h"

#include <cstdint>

#include "framework/Utf8.h"

namespace platform::sim {
namespace {

// Header layout.
constexpr size_t kHeaderSize = 0x4C;
// (Attributes at 24, the three times at 28, 36 and 44 and the size at 52
// describe the target when the link was made; nothing reads them back.)
constexpr size_t kClsid = 4, kFlags = 20, kIconIndex = 56, kShowCommand = 60, kHotKey = 64;
// {00021401-0000-0000-C000-000000000046} as stored.
constexpr uint8_t kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Link flags.
constexpr uint32_t kHasIdList = 0x01, kHasLinkInfo = 0x02, kHasName = 0x04, kHasRelativePath = 0x08,
                   kHasWorkingDir = 0x10, kHasArguments = 0x20, kHasIconLocation = 0x40,
                   kIsUnicode = 0x80;

// LinkInfo layout.
constexpr uint32_t kLinkInfoHeader = 0x1C, kLinkInfoHeaderUnicode = 0x24;
constexpr size_t kLiSize = 0, kLiHeaderSize = 4, kLiFlags = 8, kLiVolumeId = 12, kLiBasePath = 16,
                 kLiNetwork = 20, kLiSuffix = 24, kLiBasePathW = 28, kLiSuffixW = 32;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kVolumeSerial = 0x1E6C0DE5;

void Put16(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, uint32_t(v));
  Put32(out, uint32_t(v >> 32));
}
void Set32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

uint16_t Get16(std::string_view b, size_t at) {
  return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}
uint32_t Get32(std::string_view b, size_t at) {
  return uint32_t(Get16(b, at)) | (uint32_t(Get16(b, at + 2)) << 16);
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (uint8_t(c) >= 0x80) return false;
  return true;
}

// The 8-bit form of a path for readers that take only the ANSI field: what
// is not ASCII becomes '?', and the UTF-16 field carries the real text.
std::string AnsiOf(std::string_view s) {
  std::string out;
  for (char32_t c : Utf8ToUtf16(s)) out.push_back(c < 0x80 ? char(c) : '?');
  return out;
}

void PutUtf16z(std::string& out, std::string_view utf8) {
  for (char16_t c : Utf8ToUtf16(utf8)) Put16(out, uint16_t(c));
  Put16(out, 0);
}

std::string LinkInfo(std::string_view path) {
  const bool unicode = !IsAscii(path);
  const uint32_t headerSize = unicode ? kLinkInfoHeaderUnicode : kLinkInfoHeader;
  std::string li(headerSize, '\0');
  // VolumeID: size, drive type, serial, label offset, then an empty label.
  const uint32_t volumeId = headerSize;
  Put32(li, 17);
  Put32(li, kDriveFixed);
  Put32(li, kVolumeSerial);
  Put32(li, 0x10);
  li.push_back('\0');
  const uint32_t basePath = uint32_t(li.size());
  li += AnsiOf(path);
  li.push_back('\0');
  const uint32_t suffix = uint32_t(li.size());
  li.push_back('\0');
  Set32(li, kLiHeaderSize, headerSize);
  Set32(li, kLiFlags, kVolumeIdAndLocalBasePath);
  Set32(li, kLiVolumeId, volumeId);
  Set32(li, kLiBasePath, basePath);
  Set32(li, kLiNetwork, 0);
  Set32(li, kLiSuffix, suffix);
  if (unicode) {
    Set32(li, kLiBasePathW, uint32_t(li.size()));
    PutUtf16z(li, path);
    Set32(li, kLiSuffixW, uint32_t(li.size()));
    Put16(li, 0);
  }
  Set32(li, kLiSize, uint32_t(li.size()));
  return li;
}

void PutString(std::string& out, std::string_view utf8) {
  std::u16string w = Utf8ToUtf16(utf8);
  if (w.size() > 0xFFFF) w.resize(0xFFFF);
  Put16(out, uint16_t(w.size()));
  for (char16_t c : w) Put16(out, uint16_t(c));
}

bool HasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// A NUL-terminated 8-bit string at `at` inside `block`; nullopt without a
// terminator.
std::optional<std::string> Cstring(std::string_view block, size_t at) {
  if (at >= block.size()) return std::nullopt;
  size_t end = block.find('\0', at);
  if (end == std::string_view::npos) return std::nullopt;
  // 8-bit text read as Latin-1 so that the result is valid UTF-8.
  std::string out;
  for (char c : block.substr(at, end - at)) AppendUtf8(out, char32_t(uint8_t(c)));
  return out;
}

std::optional<std::string> Wstring(std::string_view block, size_t at) {
  std::u16string w;
  for (size_t p = at; p + 1 < block.size(); p += 2) {
    uint16_t c = Get16(block, p);
    if (c == 0) return Utf16ToUtf8(w);
    w.push_back(char16_t(c));
  }
  return std::nullopt;
}

// The target path of a LinkInfo block, or nullopt when it is corrupt.
std::optional<std::string> ReadLinkInfo(std::string_view li) {
  if (li.size() < kLinkInfoHeader) return std::nullopt;
  const uint32_t headerSize = Get32(li, kLiHeaderSize);
  if (headerSize < kLinkInfoHeader || headerSize > li.size()) return std::nullopt;
  if (!(Get32(li, kLiFlags) & kVolumeIdAndLocalBasePath)) return std::string();
  if (headerSize >= kLinkInfoHeaderUnicode) {
    auto base = Wstring(li, Get32(li, kLiBasePathW));
    auto suffix = Wstring(li, Get32(li, kLiSuffixW));
    if (!base || !suffix) return std::nullopt;
    return *base + *suffix;
  }
  auto base = Cstring(li, Get32(li, kLiBasePath));
  auto suffix = Cstring(li, Get32(li, kLiSuffix));
  if (!base || !suffix) return std::nullopt;
  return *base + *suffix;
}

}  // namespace

std::string EncodeShellLink(const ShellLinkData& d, const ShellLinkTargetInfo& target) {
  const bool local = HasDrive(d.path);
  uint32_t flags = kIsUnicode;
  if (local) flags |= kHasLinkInfo;
  if (!d.description.empty()) flags |= kHasName;
  if (!d.path.empty() && !local) flags |= kHasRelativePath;
  if (!d.workingDirectory.empty()) flags |= kHasWorkingDir;
  if (!d.arguments.empty()) flags |= kHasArguments;
  if (!d.iconPath.empty()) flags |= kHasIconLocation;

  std::string out;
  Put32(out, uint32_t(kHeaderSize));
  out.append(reinterpret_cast<const char*>(kShellLinkClsid), sizeof kShellLinkClsid);
  Put32(out, flags);
  Put32(out, target.attributes);
  Put64(out, target.lastWrite);
  Put64(out, target.lastWrite);
  Put64(out, target.lastWrite);
  Put32(out, uint32_t(target.size));
  Put32(out, uint32_t(d.iconIndex));
  Put32(out, uint32_t(d.showCommand));
  Put16(out, d.hotKey);
  Put16(out, 0);
  Put32(out, 0);
  Put32(out, 0);

  if (flags & kHasLinkInfo) out += LinkInfo(d.path);
  // String data in its fixed order.
  if (flags & kHasName) PutString(out, d.description);
  if (flags & kHasRelativePath) PutString(out, d.path);
  if (flags & kHasWorkingDir) PutString(out, d.workingDirectory);
  if (flags & kHasArguments) PutString(out, d.arguments);
  if (flags & kHasIconLocation) PutString(out, d.iconPath);
  Put32(out, 0);  // terminal block
  return out;
}

std::optional<ShellLinkData> DecodeShellLink(std::string_view b) {
  if (b.size() < kHeaderSize || Get32(b, 0) != kHeaderSize) return std::nullopt;
  if (b.substr(kClsid, 16) !=
      std::string_view(reinterpret_cast<const char*>(kShellLinkClsid), sizeof kShellLinkClsid))
    return std::nullopt;
  const uint32_t flags = Get32(b, kFlags);
  ShellLinkData d;
  d.iconIndex = int32_t(Get32(b, kIconIndex));
  d.showCommand = int32_t(Get32(b, kShowCommand));
  d.hotKey = Get16(b, kHotKey);

  size_t at = kHeaderSize;
  if (flags & kHasIdList) {
    if (at > b.size() - 2) return std::nullopt;
    const size_t size = Get16(b, at);
    at += 2;
    if (size > b.size() - at) return std::nullopt;
    at += size;
  }
  if (flags & kHasLinkInfo) {
    if (at > b.size() - 4) return std::nullopt;
    const size_t size = Get32(b, at);
    if (size < 4 || size > b.size() - at) return std::nullopt;
    auto path = ReadLinkInfo(b.substr(at, size));
    if (!path) return std::nullopt;
    d.path = *path;
    at += size;
  }
  const bool unicode = (flags & kIsUnicode) != 0;
  const auto readString = [&](std::string& into) {
    if (at > b.size() - 2) return false;
    const size_t count = Get16(b, at);
    at += 2;
    const size_t bytes = unicode ? count * 2 : count;
    if (bytes > b.size() - at) return false;
    std::string_view raw = b.substr(at, bytes);
    at += bytes;
    into.clear();
    if (unicode) {
      std::u16string w;
      for (size_t i = 0; i < raw.size(); i += 2) w.push_back(char16_t(Get16(raw, i)));
      into = Utf16ToUtf8(w);
    } else {
      for (char c : raw) AppendUtf8(into, char32_t(uint8_t(c)));
    }
    return true;
  };
  std::string relative;
  if ((flags & kHasName) && !readString(d.description)) return std::nullopt;
  if ((flags & kHasRelativePath) && !readString(relative)) return std::nullopt;
  if ((flags & kHasWorkingDir) && !readString(d.workingDirectory)) return std::nullopt;
  if ((flags & kHasArguments) && !readString(d.arguments)) return std::nullopt;
  if ((flags & kHasIconLocation) && !readString(d.iconPath)) return std::nullopt;
  if (d.path.empty()) d.path = relative;
  return d;
}

}  // namespace platform::sim
