// What an installation recorded under its product's uninstall key, read
// into a plan the uninstall program can show and carry out: the files
// (Files, Files1 ..., ActiveX) with their manifest entries, the engine's
// record and the uninstall program's own file. Damaged records are listed
// as problems and left out of the plan; nothing is guessed.
#pragma once
#include <optional>
#include <string>
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

// The product name on an uninstall command line: everything after the
// program (a quoted path, else up to the first ".exe" followed by a blank,
// else the first word), trimmed and unquoted.
std::string ProductFromCommandLine(const std::string& commandLine);

}  // namespace uninstaller
