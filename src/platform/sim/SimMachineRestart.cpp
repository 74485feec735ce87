// SimMachine::Restart: what Windows does between shutting down and the
// desktop coming back, as far as the kit is concerned (see SimMachine.h).
#include <algorithm>

#include "framework/StrUtils.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {
namespace {

constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr std::string_view kNtPrefix = "\\??\\";

std::string StripNtPrefix(std::string_view path) {
  if (path.substr(0, kNtPrefix.size()) == kNtPrefix) path.remove_prefix(kNtPrefix.size());
  return std::string(path);
}

// Deletes a file, or an empty directory (a delayed delete may name either).
void DeletePath(FileSystem& files, const std::string& path) {
  if (files.DirectoryExists(path))
    files.RemoveDirectory(path);
  else
    files.DeleteFile(path);
}

}  // namespace

std::vector<std::string> SimMachine::Restart() {
  std::vector<std::string> steps;
  // Nothing runs any more, so nothing holds a file open.
  ChangeSettings([](MachineSettings& s) { s.held.clear(); });
  PerformRenames(steps);
  restart_.ClearRequest();
  RunOnceCommands(RootKey::LocalMachine, steps);
  RunOnceCommands(RootKey::CurrentUser, steps);
  return steps;
}

void SimMachine::PerformRenames(std::vector<std::string>& steps) {
  auto attempt = [&](const std::string& step, auto&& action) {
    try {
      action();
      steps.push_back(step);
    } catch (const OsError& e) {
      steps.push_back("failed: " + step + ": " + e.Message());
    }
  };
  const uint32_t platformId = core_.Settings().version.platformId;
  if (platformId == kPlatformWindows) {
    const std::string ini = iniFiles_.PathOf("WININIT.INI");
    if (!files_.FileExists(ini)) return;
    std::string text;
    try {
      text = iniFiles_.ReadText(ini);
    } catch (const OsError& e) {
      // An unreadable WININIT.INI keeps its name, so its renames are not lost.
      steps.push_back("failed: read " + ini + ": " + e.Message());
      return;
    }
    for (const IniEntry& e : IniSectionEntries(text, "Rename")) {
      if (SameText(e.key, "NUL")) {
        attempt("delete " + e.value, [&] { DeletePath(files_, e.value); });
      } else {
        attempt("rename " + e.value + " -> " + e.key,
                [&] { files_.MoveFile(e.value, e.key, kMoveReplaceExisting); });
      }
    }
    attempt("rename " + ini + " -> WININIT.BAK",
            [&] { files_.MoveFile(ini, iniFiles_.PathOf("WININIT.BAK"), kMoveReplaceExisting); });
    return;
  }
  if (platformId != kPlatformNT) return;
  Registry& reg = registry();
  auto pending = reg.ReadValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
  if (!pending) return;
  const std::vector<std::string>& list = pending->multi;
  for (size_t i = 0; i + 1 < list.size(); i += 2) {
    const std::string from = StripNtPrefix(list[i]);
    std::string_view to = list[i + 1];
    if (to.empty()) {
      attempt("delete " + from, [&] { DeletePath(files_, from); });
      continue;
    }
    const bool replace = to.front() == '!';
    if (replace) to.remove_prefix(1);
    const std::string target = StripNtPrefix(to);
    attempt("rename " + from + " -> " + target,
            [&] { files_.MoveFile(from, target, replace ? uint32_t(kMoveReplaceExisting) : 0u); });
  }
  reg.DeleteValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
  reg.Flush(RootKey::LocalMachine, kSessionManagerKey);
}

void SimMachine::RunOnceCommands(RootKey root, std::vector<std::string>& steps) {
  Registry& reg = registry();
  if (!reg.KeyExists(root, kRunOnceKey)) return;
  std::vector<std::string> names = reg.ValueNames(root, kRunOnceKey);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return AsciiUpperCase(a) < AsciiUpperCase(b);
  });
  for (const std::string& name : names) {
    auto value = reg.ReadValue(root, kRunOnceKey, name);
    // Windows removes the value before it runs the command, so a command
    // that never ends does not run again at every start.
    reg.DeleteValue(root, kRunOnceKey, name);
    reg.Flush(root, kRunOnceKey);
    if (!value || (value->type != ValueType::String && value->type != ValueType::ExpandString))
      continue;
    try {
      uint32_t code = processes_.Run(value->text, ShowMode::Normal);
      steps.push_back("run " + value->text + " -> exit " + std::to_string(code));
    } catch (const OsError& e) {
      steps.push_back("failed: run " + value->text + ": " + e.Message());
    }
  }
}

}  // namespace platform::sim
