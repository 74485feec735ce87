// Fuzzes what the uninstall program reads from the records an installation
// left: each line of the input is tried as a "File<n>" value (plain and
// ActiveX), an "Entries" count, a records subkey name, a manifest entry, an
// uninstall command line and an "UninstallString". A path that is accepted
// must be the recorded text itself (less an ActiveX flag) and must name
// that very file once Windows has normalised it: no component may climb,
// vanish or stand for its folder. A refusal must say why. What the writers
// produce (a path as is, a path with ";0" or ";1", a manifest entry, the
// directory, program and product of "UninstallString") must read back the
// same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/UninstallManifest.h"
#include "framework/StrUtils.h"
#include "uninstaller/UninstallRecords.h"

namespace {

using uninstaller::FileKind;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The components Windows would open for `path`: "/" is "\", trailing dots
// and blanks go, empty and "." components vanish, ".." climbs. Returns
// false when the path climbs, loses or merges any component, i.e. when it
// would open anything but the file its text names.
bool OpensItself(std::string_view path) {
  std::vector<std::string_view> raw, opened;
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    raw.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  for (std::string_view part : raw) {
    const size_t keep = part.find_last_not_of(". ");
    const std::string_view trimmed = keep == std::string_view::npos ? "" : part.substr(0, keep + 1);
    if (part == "..") {
      if (!opened.empty()) opened.pop_back();
      continue;
    }
    if (trimmed.empty()) continue;
    opened.push_back(trimmed);
  }
  return opened.size() == raw.size();
}

void CheckRecord(std::string_view text) {
  std::string why;
  const auto plain = uninstaller::ParseFileRecord(text, false, why);
  if (plain) {
    Check(plain->path == text && plain->kind == FileKind::Plain && OpensItself(plain->path));
    Check(text.find('\0') == std::string_view::npos);
    // The ActiveX writer appends the way it registered the file.
    for (const char* flag : {";0", ";1"}) {
      const auto activeX = uninstaller::ParseFileRecord(std::string(text) + flag, true, why);
      Check(activeX && activeX->path == text &&
            activeX->kind ==
                (flag[1] == '1' ? FileKind::ActiveXProgram : FileKind::ActiveXLibrary));
    }
  } else {
    Check(!why.empty());
  }
  why.clear();
  const auto activeX = uninstaller::ParseFileRecord(text, true, why);
  if (activeX) {
    const size_t semi = text.rfind(';');
    Check(semi != std::string_view::npos && activeX->path == text.substr(0, semi));
    Check(activeX->kind != FileKind::Plain && OpensItself(activeX->path));
    std::string again;
    Check(uninstaller::ParseFileRecord(activeX->path, false, again).has_value());
  } else {
    Check(!why.empty());
  }
}

void CheckCounts(std::string_view text) {
  const auto n = uninstaller::ParseEntriesCount(std::string(text));
  if (n) {
    Check(*n >= 0 && *n <= uninstaller::kMaxEntries);
    Check(uninstaller::ParseEntriesCount(std::to_string(*n)) == n);
  }
  const auto key = uninstaller::FilesKeyNumber(text);
  if (key) {
    Check(text.size() >= 5 && SameText(text.substr(0, 5), "Files"));
    Check(*key >= -1 && *key <= 999999);
    const std::string written = *key < 0 ? "Files" : "Files" + std::to_string(*key);
    Check(uninstaller::FilesKeyNumber(written) == key);
  }
}

void CheckManifest(std::string_view text) {
  std::string why;
  const auto entry = DecodeManifestEntry(text, why);
  if (!entry) {
    Check(!why.empty());
    return;
  }
  const std::string encoded = EncodeManifestEntry(*entry);
  const auto again = DecodeManifestEntry(encoded, why);
  Check(again && *again == *entry && EncodeManifestEntry(*again) == encoded);
}

// The command line's product, and "UninstallString" read for `product`.
void CheckCommand(std::string_view text, const std::string& product) {
  const std::string named = uninstaller::ProductFromCommandLine(std::string(text));
  Check(named == Trim(named) && text.find(named) != std::string_view::npos);
  if (uninstaller::IsUsableProductName(named)) {
    const std::string key = uninstaller::UninstallKeyOf(named);
    Check(key.rfind('\\') == std::string(uninstaller::kUninstallRoot).size() - 1);
  }
  const std::string program = uninstaller::UninstallProgramOf(text, product);
  if (!program.empty()) {
    std::string why;
    Check(uninstaller::IsUsableAbsolutePath(program, why) && OpensItself(program));
    Check(text.find(program) != std::string_view::npos);
  }
}

// "UninstallString" as the setup writes it: the destination directory with
// a trailing backslash, the program's name, a blank, the product.
void CheckUninstallStringRoundTrip(std::string_view dir, std::string_view name,
                                   const std::string& product) {
  const std::string path = IncludeTrailingBackslash(dir) + std::string(name);
  std::string why;
  if (!uninstaller::IsUsableAbsolutePath(path, why) || !uninstaller::IsUsableProductName(product))
    return;
  if (path.back() == ' ' || path.back() == '"') return;  // no name Windows keeps
  Check(uninstaller::UninstallProgramOf(path + " " + product, product) == path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= input.size();) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    lines.push_back(input.substr(start, end - start));
    start = end + 1;
    if (lines.size() > 64) break;
  }
  const std::string product(lines.front());
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckRecord(lines[i]);
    CheckCounts(lines[i]);
    CheckManifest(lines[i]);
    CheckCommand(lines[i], product);
    if (i + 1 < lines.size()) CheckUninstallStringRoundTrip(lines[i], lines[i + 1], product);
  }
  return 0;
}
