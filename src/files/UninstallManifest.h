// The manifest beside the uninstall records: for every recorded file, what
// it looked like when the installation left it (size, CRC-32), whether a
// file was at that path before, and the group that installed it. The
// uninstall program uses it to keep files the user changed or that were
// there before, and to tell the engine's files from the others.
//
// One string value per file under <uninstall key>\Manifest, named by the
// recorded path, its data four fields in this order:
//   size=<decimal bytes>;crc32=<8 hex digits>;existed=<0|1>;group=<name>
// The group is the rest of the text (it may hold ';'). Anything else is a
// damaged entry: DecodeManifestEntry says why and never guesses.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ManifestEntry {
  uint64_t size = 0;
  uint32_t crc32 = 0;
  bool existedBefore = false;
  std::string group;
  bool operator==(const ManifestEntry&) const = default;
};

inline constexpr const char* kManifestSubkey = "Manifest";

std::string EncodeManifestEntry(const ManifestEntry& entry);
// The entry, or nullopt with `why` saying what is wrong with `text`.
std::optional<ManifestEntry> DecodeManifestEntry(std::string_view text, std::string& why);

// Size and CRC-32 of a file read through the file service; nullopt when it
// cannot be read (missing, a directory, refused).
struct FileFingerprint {
  uint64_t size = 0;
  uint32_t crc32 = 0;
};
std::optional<FileFingerprint> FingerprintFile(std::string_view path);

// Writes the entry for `recordedPath` under `uninstallKey`\Manifest.
// `installedCopy` is where the bytes are now (a numbered copy while a
// replacement waits for the restart). An entry a previous installation of
// the same product wrote keeps its "existed" flag: installing the product
// twice must not make the uninstall keep the product's own files.
// Registry refusals raise the registry routine's error.
void WriteManifestEntry(const std::string& uninstallKey, const std::string& recordedPath,
                        const std::string& installedCopy, bool existedBefore,
                        const std::string& group);

// The file record every installed file and shortcut leaves: "File<n>" :=
// the path and "Entries" := n under <uninstall key>\Files. A key that
// cannot take it (its count unreadable, or refusing writes) is passed over
// for "Files1", "Files2" ... up to this suffix; a registry that refuses
// them all will not take the next one either.
inline constexpr int kMaxFilesKeySuffix = 100;
// False when none of the keys took the record.
bool AppendFilesRecord(const std::string& uninstallKey, const std::string& path);
