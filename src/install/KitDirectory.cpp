// Finding the kit directory (see KitDirectory.h).
#include "install/KitDirectory.h"

#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"

std::string KitDirectory() {
  const std::string path = Trim(ReadRegString(kRootLocalMachine, kKitKey, kKitSearchPathValue, ""));
  size_t start = 0;
  while (!path.empty() && start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    const std::string dir = Trim(path.substr(start, end - start));
    start = end + 1;
    if (dir.empty()) continue;
    try {
      if (platform::files().FileExists(IncludeTrailingBackslash(dir) + kKitMarkerFile))
        return ExcludeTrailingBackslash(dir);
    } catch (const platform::OsError&) {
      // A directory that cannot be looked into holds no marker.
    }
  }
  throw IENoPellmorePath(
      "Cannot find the Pellmore directory on the library search path (the directories of "
      "HKEY_LOCAL_MACHINE %s | %s)",
      std::string(kKitKey), std::string(kKitSearchPathValue));
}
