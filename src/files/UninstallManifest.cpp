// Encoding, decoding and writing of the uninstall manifest entries (see
// UninstallManifest.h). The decoder is fed text from the registry, which
// anyone may have edited: every field is checked, nothing is assumed.
#include "files/UninstallManifest.h"

#include <zlib.h>

#include <charconv>
#include <cstdio>
#include <vector>

#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"

namespace {

// Takes "<name>=<value>;" off the front of `text`; false when it is not there.
bool TakeField(std::string_view& text, std::string_view name, std::string_view& value) {
  if (text.substr(0, name.size()) != name || text.size() == name.size() || text[name.size()] != '=')
    return false;
  text.remove_prefix(name.size() + 1);
  const size_t end = text.find(';');
  if (end == std::string_view::npos) return false;
  value = text.substr(0, end);
  text.remove_prefix(end + 1);
  return true;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out, int base) {
  if (text.empty()) return false;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(text.data(), last, out, base);
  return result.ec == std::errc() && result.ptr == last;
}

}  // namespace

std::string EncodeManifestEntry(const ManifestEntry& e) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(e.crc32));
  return "size=" + std::to_string(e.size) + ";crc32=" + crc +
         ";existed=" + (e.existedBefore ? "1" : "0") + ";group=" + e.group;
}

std::optional<ManifestEntry> DecodeManifestEntry(std::string_view text, std::string& why) {
  ManifestEntry e;
  std::string_view field;
  if (!TakeField(text, "size", field) || !ParseNumber(field, e.size, 10)) {
    why = "no size";
    return std::nullopt;
  }
  if (!TakeField(text, "crc32", field) || field.size() != 8 || !ParseNumber(field, e.crc32, 16)) {
    why = "no CRC-32";
    return std::nullopt;
  }
  if (!TakeField(text, "existed", field) || (field != "0" && field != "1")) {
    why = "no existed flag";
    return std::nullopt;
  }
  e.existedBefore = field == "1";
  if (text.substr(0, 6) != "group=") {
    why = "no group";
    return std::nullopt;
  }
  e.group = std::string(text.substr(6));
  return e;
}

std::optional<FileFingerprint> FingerprintFile(std::string_view path) {
  std::unique_ptr<platform::File> file;
  try {
    file = platform::files().OpenRead(path);
    FileFingerprint f;
    uLong crc = crc32(0, nullptr, 0);
    std::vector<unsigned char> buffer(64 * 1024);
    for (;;) {
      const size_t n = file->Read(buffer.data(), buffer.size());
      if (n == 0) break;
      crc = crc32(crc, buffer.data(), static_cast<uInt>(n));
      f.size += n;
    }
    f.crc32 = static_cast<uint32_t>(crc);
    return f;
  } catch (const platform::OsError&) {
    return std::nullopt;
  }
}

void WriteManifestEntry(const std::string& uninstallKey, const std::string& recordedPath,
                        const std::string& installedCopy, bool existedBefore,
                        const std::string& group) {
  const std::string key = uninstallKey + "\\" + kManifestSubkey;
  ManifestEntry e;
  if (const auto f = FingerprintFile(installedCopy)) {
    e.size = f->size;
    e.crc32 = f->crc32;
  }
  e.existedBefore = existedBefore;
  e.group = group;
  const std::string previous = ReadRegString(kRootLocalMachine, key, recordedPath, "");
  std::string why;
  if (const auto old = DecodeManifestEntry(previous, why)) e.existedBefore = old->existedBefore;
  WriteRegString(kRootLocalMachine, key, recordedPath, EncodeManifestEntry(e));
}

bool AppendFilesRecord(const std::string& uninstallKey, const std::string& path) {
  const std::string base = IncludeTrailingBackslash(uninstallKey) + "Files";
  for (int suffix = 0; suffix <= kMaxFilesKeySuffix; ++suffix) {
    const std::string sub = base + (suffix == 0 ? "" : std::to_string(suffix));
    int32_t n = 0;
    if (!TryStrToInt(ReadRegString(kRootLocalMachine, sub, "Entries", "0"), n) || n < 0) continue;
    ++n;
    try {
      WriteRegString(kRootLocalMachine, sub, "File" + std::to_string(n), path);
      WriteRegString(kRootLocalMachine, sub, "Entries", std::to_string(n));
      return true;
    } catch (const EIRCannotWriteValue&) {
      // Tried under the next numbered key.
    }
  }
  return false;
}
