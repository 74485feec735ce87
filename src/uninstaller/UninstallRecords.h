// What an installation recorded under its product's uninstall key, read
// into a plan the uninstall program can show and carry out: the files
// (Files, Files1 ..., ActiveX) with their manifest entries, the engine's
// record and the uninstall program's own file. Damaged records are listed
// as problems and left out of the plan; nothing is guessed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/UninstallManifest.h"

namespace uninstaller {

inline constexpr const char* kUninstallRoot =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kEngineKey = "\\Software\\Quenby\\Database Engine";

// The most entries one records key may claim; a larger count is damage.
inline constexpr int kMaxEntries = 100000;

enum class FileKind { Plain, ActiveXLibrary, ActiveXProgram };

struct RecordedFile {
  std::string path;
  FileKind kind = FileKind::Plain;
  // How many records name the path (an installation run twice records it
  // twice, and counted its shared DLL twice).
  int records = 0;
  std::optional<ManifestEntry> manifest;
  std::string manifestProblem;  // a damaged entry: why
  bool engine = false;          // one of the engine group's files
};

struct UninstallPlan {
  std::string product;
  std::string key;                    // HKLM path of the uninstall key
  std::vector<RecordedFile> files;    // ActiveX entries first, then the rest in record order
  std::vector<std::string> problems;  // damaged records, each skipped
  int engineGroups = 0;               // K\QDE "Entries" (0 when unusable)
  std::string engineGroup;            // K\QDE "Group"
  std::string uninstallProgram;       // from "UninstallString"
};

// The uninstall key of `product`.
std::string UninstallKeyOf(const std::string& product);
// Whether the product has an uninstall key on this machine.
bool ProductRegistered(const std::string& product);
// Reads the records; a key that is missing gives an empty plan.
UninstallPlan ReadUninstallPlan(const std::string& product);

// --- the records' texts, judged without a machine -------------------------------------------
// The reader above uses these on every value it takes from the registry;
// each is a pure function of the text, so damaged records can be tried in
// bulk.

// "X:\something" whose every component is a plain name: the only paths
// the uninstall program removes. Refused, with `why`: anything relative,
// a "/" anywhere (Windows takes it for "\", so "a/../.." would climb past
// the check), and components that are empty or made of dots and blanks
// alone (Windows reads ".", "..", ". ." and ".. " as the folder itself or
// its parent).
bool IsUsableAbsolutePath(std::string_view path, std::string& why);

// An "Entries" value: a count from 0 to kMaxEntries, else nullopt.
std::optional<int32_t> ParseEntriesCount(const std::string& text);

struct FileRecord {
  std::string path;
  FileKind kind = FileKind::Plain;
};
// One "File<n>" value: under Files, Files1 ... the path itself; under
// ActiveX the path followed by ";0" (a library) or ";1" (a program). A
// refused record gives nullopt with `why`.
std::optional<FileRecord> ParseFileRecord(std::string_view text, bool activeX, std::string& why);

// Where a subkey named "Files" (-1) or "Files<1 to 6 digits>" (the
// number) comes in the reading order; nullopt for any other name.
std::optional<long> FilesKeyNumber(std::string_view name);

// The uninstall program's own file from "UninstallString" (its path, a
// blank and `product`, the path perhaps quoted); empty when that is no
// usable path.
std::string UninstallProgramOf(std::string_view command, std::string_view product);

// Whether `product` can name an uninstall key: not blank, no backslash
// (which would name another key).
bool IsUsableProductName(std::string_view product);

// The product name on an uninstall command line: everything after the
// program (a quoted path, else up to the first ".exe" followed by a blank,
// else the first word), trimmed and unquoted.
std::string ProductFromCommandLine(const std::string& commandLine);

}  // namespace uninstaller
