// Reading the uninstall records into a plan (see UninstallRecords.h). The
// records are outside input: a count that is no number, a missing value, a
// relative path or a directory is reported with the key and value it came
// from, and that record is skipped.
#include "uninstaller/UninstallRecords.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "shell/routines_Registry.h"

namespace uninstaller {
namespace {

constexpr auto kHKLM = platform::RootKey::LocalMachine;

// The "Files", "Files1", "Files2" ... subkeys of `key`, in that order.
std::vector<std::string> FilesKeys(const std::string& key) {
  std::vector<std::pair<long, std::string>> found;
  for (const std::string& name : platform::registry().SubKeyNames(kHKLM, key))
    if (const auto number = FilesKeyNumber(name)) found.emplace_back(*number, name);
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& f : found) names.push_back(f.second);
  return names;
}

class PlanReader {
 public:
  explicit PlanReader(UninstallPlan& plan) : plan_(plan) {}

  // One records key: "Entries" and "File1".."FileN".
  void ReadRecords(const std::string& subkey, bool activeX) {
    const std::string key = plan_.key + "\\" + subkey;
    const std::string where = "HKLM" + key;
    const std::string entries = ReadRegString(kRootLocalMachine, key, "Entries", "");
    const auto n = ParseEntriesCount(entries);
    if (!n) {
      Problem(where + ": \"Entries\" is not a count (\"" + entries +
              "\"); the files recorded there were left alone");
      return;
    }
    for (int32_t i = 1; i <= *n; ++i) {
      const std::string value = "File" + std::to_string(i);
      const auto data = platform::registry().ReadValue(kHKLM, key, value);
      if (!data || data->type != platform::ValueType::String) {
        Problem(where + ": \"" + value + "\" is missing");
        continue;
      }
      std::string why;
      const auto record = ParseFileRecord(data->text, activeX, why);
      if (!record) {
        Problem(where + ": \"" + value + "\" " + why);
        continue;
      }
      const std::string& path = record->path;
      if (const auto info = platform::files().Stat(path); info && info->IsDirectory()) {
        Problem(where + ": \"" + value + "\" (" + path + ") is a folder; skipped");
        continue;
      }
      Add(path, record->kind);
    }
  }

  void ReadManifest() {
    const std::string key = plan_.key + "\\" + kManifestSubkey;
    for (RecordedFile& f : plan_.files) {
      const auto data = platform::registry().ReadValue(kHKLM, key, f.path);
      if (!data) continue;  // recorded without an entry (a shortcut): nothing to check
      std::string why;
      if (data->type == platform::ValueType::String)
        f.manifest = DecodeManifestEntry(data->text, why);
      else
        why = "not a text";
      if (!f.manifest) f.manifestProblem = "its manifest entry is damaged (" + why + ")";
      f.engine = !plan_.engineGroup.empty() && f.manifest &&
                 SameText(f.manifest->group, plan_.engineGroup);
    }
  }

  void ReadEngine() {
    const std::string key = plan_.key + "\\QDE";
    if (!platform::registry().KeyExists(kHKLM, key)) return;
    const std::string entries = ReadRegString(kRootLocalMachine, key, "Entries", "");
    const auto count = ParseEntriesCount(entries);
    if (!count) {
      Problem("HKLM" + key + ": \"Entries\" is not a count (\"" + entries +
              "\"); the engine's use count was left alone");
      return;
    }
    const int32_t n = *count;
    const std::string group = ReadRegString(kRootLocalMachine, key, "Group", "");
    if (n > 0 && group.empty()) {
      Problem("HKLM" + key +
              ": \"Group\" is missing, so the engine's files cannot be told; the engine's use "
              "count was left alone");
      return;
    }
    plan_.engineGroups = n;
    plan_.engineGroup = group;
  }

  void Problem(std::string text) { plan_.problems.push_back(std::move(text)); }

 private:
  void Add(const std::string& path, FileKind kind) {
    const std::string id = AsciiUpperCase(path);
    if (auto it = index_.find(id); it != index_.end()) {
      RecordedFile& f = plan_.files[it->second];
      ++f.records;
      if (kind != FileKind::Plain) f.kind = kind;
      return;
    }
    index_.emplace(id, plan_.files.size());
    RecordedFile f;
    f.path = path;
    f.kind = kind;
    f.records = 1;
    plan_.files.push_back(std::move(f));
  }

  UninstallPlan& plan_;
  std::map<std::string, size_t> index_;
};

}  // namespace

std::string UninstallKeyOf(const std::string& product) {
  return kUninstallRoot + product;
}

bool ProductRegistered(const std::string& product) {
  // A product name with a backslash would name another key.
  return IsUsableProductName(product) &&
         platform::registry().KeyExists(kHKLM, UninstallKeyOf(product));
}

UninstallPlan ReadUninstallPlan(const std::string& product) {
  UninstallPlan plan;
  plan.product = product;
  plan.key = UninstallKeyOf(product);
  if (!ProductRegistered(product)) return plan;
  PlanReader reader(plan);
  reader.ReadEngine();
  if (platform::registry().KeyExists(kHKLM, plan.key + "\\ActiveX"))
    reader.ReadRecords("ActiveX", true);
  for (const std::string& sub : FilesKeys(plan.key)) reader.ReadRecords(sub, false);
  reader.ReadManifest();

  plan.uninstallProgram = UninstallProgramOf(
      ReadRegString(kRootLocalMachine, plan.key, "UninstallString", ""), product);
  return plan;
}

bool IsUsableAbsolutePath(std::string_view path, std::string& why) {
  const bool drive = path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && path[2] == '\\';
  if (!drive) {
    why = "is not a full path";
    return false;
  }
  why = "is not a plain path";
  // Control characters are no part of a Windows name; a NUL would cut the
  // path short where the system reads it.
  for (const char c : path)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20) return false;
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start).find_first_not_of(". ") == std::string_view::npos)
      return false;
    start = end + 1;
  }
  why.clear();
  return true;
}

std::optional<int32_t> ParseEntriesCount(const std::string& text) {
  int32_t n = 0;
  if (!TryStrToInt(text, n) || n < 0 || n > kMaxEntries) return std::nullopt;
  return n;
}

std::optional<FileRecord> ParseFileRecord(std::string_view text, bool activeX, std::string& why) {
  FileRecord record;
  std::string_view path = text;
  if (activeX) {
    const size_t semi = text.rfind(';');
    const std::string_view flag = semi == std::string_view::npos ? "" : text.substr(semi + 1);
    if (flag != "0" && flag != "1") {
      why = "(" + std::string(text) + ") does not say how it was registered";
      return std::nullopt;
    }
    record.kind = flag == "1" ? FileKind::ActiveXProgram : FileKind::ActiveXLibrary;
    path = text.substr(0, semi);
  }
  std::string reason;
  if (!IsUsableAbsolutePath(path, reason)) {
    why = "(" + std::string(path) + ") " + reason + "; skipped";
    return std::nullopt;
  }
  record.path = std::string(path);
  return record;
}

std::optional<long> FilesKeyNumber(std::string_view name) {
  if (name.size() < 5 || !SameText(name.substr(0, 5), "Files")) return std::nullopt;
  const std::string_view digits = name.substr(5);
  if (digits.empty()) return -1;
  if (digits.size() > 6 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stol(std::string(digits));
}

std::string UninstallProgramOf(std::string_view commandText, std::string_view product) {
  std::string command(commandText);
  const std::string tail = " " + std::string(product);
  if (command.size() > tail.size() && SameText(command.substr(command.size() - tail.size()), tail))
    command.resize(command.size() - tail.size());
  command = Trim(command);
  if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
    command = command.substr(1, command.size() - 2);
  std::string why;
  return IsUsableAbsolutePath(command, why) ? command : std::string();
}

bool IsUsableProductName(std::string_view product) {
  return !Trim(product).empty() && product.find('\\') == std::string_view::npos;
}

std::string ProductFromCommandLine(const std::string& line) {
  std::string_view rest = line;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  size_t end = std::string_view::npos;
  if (!rest.empty() && rest.front() == '"') {
    end = rest.find('"', 1);
    end = end == std::string_view::npos ? rest.size() : end + 1;
  } else {
    const std::string upper = AsciiUpperCase(rest);
    for (size_t at = upper.find(".EXE"); at != std::string::npos; at = upper.find(".EXE", at + 1)) {
      const size_t after = at + 4;
      if (after == upper.size() || upper[after] == ' ' || upper[after] == '"') {
        end = after;
        break;
      }
    }
    if (end == std::string_view::npos) end = std::min(rest.find(' '), rest.size());
  }
  std::string product = Trim(rest.substr(end));
  if (product.size() >= 2 && product.front() == '"' && product.back() == '"')
    product = Trim(product.substr(1, product.size() - 2));
  return product;
}

}  // namespace uninstaller
