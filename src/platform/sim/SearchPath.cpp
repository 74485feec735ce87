// The Windows search path of the simulated machine (see SearchPath.h).
#include "platform/sim/SearchPath.h"

#include <vector>

#include "framework/StrUtils.h"
#include "platform/OsError.h"

namespace platform::sim {
namespace {

std::string_view LastComponent(std::string_view path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

bool HasExtension(std::string_view path, std::string_view extension) {
  std::string_view name = LastComponent(path);
  return name.size() >= extension.size() &&
         SameText(name.substr(name.size() - extension.size()), extension);
}

std::optional<Resolved> FindOnSearchPath(MachineCore& core, SystemInfo& system,
                                         std::string_view name, std::string_view defaultExtension,
                                         std::string_view call) {
  std::string file(name);
  if (LastComponent(file).find('.') == std::string_view::npos) file += defaultExtension;
  auto existing = [](const Resolved& r) -> std::optional<Resolved> {
    if (r.exists && !r.isDir) return r;
    return std::nullopt;
  };
  if (name.find_first_of("\\/:") != std::string_view::npos)
    return existing(core.Resolve(file, call));
  std::vector<std::string> dirs = {DirectoryOf(system.ModuleFileName()), system.CurrentDirectory(),
                                   system.SystemDirectory(), system.WindowsDirectory()};
  for (const std::string& dir : dirs) {
    if (dir.empty()) continue;
    try {
      if (auto found = existing(core.Resolve(IncludeTrailingBackslash(dir) + file, call)))
        return found;
    } catch (const OsError&) {
      // A directory of the search path that does not exist is skipped.
    }
  }
  return std::nullopt;
}

}  // namespace platform::sim
