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

// "X:\something" without "." or ".." components: the only paths the
// uninstall program removes.
bool IsUsableAbsolutePath(const std::string& path, std::string& why) {
  const bool drive = path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && path[2] == '\\';
  if (!drive) {
    why = "is not a full path";
    return false;
  }
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string_view part(path.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") {
      why = "is not a plain path";
      return false;
    }
    start = end + 1;
  }
  return true;
}

// The "Files", "Files1", "Files2" ... subkeys of `key`, in that order.
std::vector<std::string> FilesKeys(const std::string& key) {
  std::vector<std::pair<long, std::string>> found;
  for (const std::string& name : platform::registry().SubKeyNames(kHKLM, key)) {
    if (name.size() < 5 || !SameText(name.substr(0, 5), "Files")) continue;
    const std::string digits = name.substr(5);
    if (digits.empty()) {
      found.emplace_back(-1, name);
      continue;
    }
    if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) continue;
    found.emplace_back(std::stol(digits), name);
  }
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
    int32_t n = 0;
    if (!TryStrToInt(entries, n) || n < 0 || n > kMaxEntries) {
      Problem(where + ": \"Entries\" is not a count (\"" + entries +
              "\"); the files recorded there were left alone");
      return;
    }
    for (int32_t i = 1; i <= n; ++i) {
      const std::string value = "File" + std::to_string(i);
      const auto data = platform::registry().ReadValue(kHKLM, key, value);
      if (!data || data->type != platform::ValueType::String) {
        Problem(where + ": \"" + value + "\" is missing");
        continue;
      }
      std::string path = data->text;
      FileKind kind = FileKind::Plain;
      if (activeX) {
        const size_t semi = path.rfind(';');
        const std::string flag = semi == std::string::npos ? "" : path.substr(semi + 1);
        if (flag != "0" && flag != "1") {
          Problem(where + ": \"" + value + "\" (" + path + ") does not say how it was registered");
          continue;
        }
        kind = flag == "1" ? FileKind::ActiveXProgram : FileKind::ActiveXLibrary;
        path.resize(semi);
      }
      std::string why;
      if (!IsUsableAbsolutePath(path, why)) {
        Problem(where + ": \"" + value + "\" (" + path + ") " + why + "; skipped");
        continue;
      }
      if (const auto info = platform::files().Stat(path); info && info->IsDirectory()) {
        Problem(where + ": \"" + value + "\" (" + path + ") is a folder; skipped");
        continue;
      }
      Add(path, kind);
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
    int32_t n = 0;
    if (!TryStrToInt(entries, n) || n < 0 || n > kMaxEntries) {
      Problem("HKLM" + key + ": \"Entries\" is not a count (\"" + entries +
              "\"); the engine's use count was left alone");
      return;
    }
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
  return !Trim(product).empty() && product.find('\\') == std::string::npos &&
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

  std::string command = ReadRegString(kRootLocalMachine, plan.key, "UninstallString", "");
  const std::string tail = " " + product;
  if (command.size() > tail.size() && SameText(command.substr(command.size() - tail.size()), tail))
    command.resize(command.size() - tail.size());
  command = Trim(command);
  if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
    command = command.substr(1, command.size() - 2);
  std::string why;
  if (!command.empty() && IsUsableAbsolutePath(command, why)) plan.uninstallProgram = command;
  return plan;
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
