// The file group page's drive table (see FileGroupDrives.h).
#include "dialogs/FileGroupDrives.h"

#include <algorithm>
#include <limits>

#include "framework/StrUtils.h"
#include "framework/Utf8.h"
#include "install/cmp_TFileContainer.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"

namespace {

void Visit(TFileContainer& c, const TDriveFreeSpace& freeSpace,
           std::vector<TDriveSpaceEntry>& table) {
  const std::string dir = AsciiUpperCase(c.ResolveDestDir());
  const bool included = c.WillInstall();
  if (!dir.empty() && dir[0] != '\\') {
    // The first character, whole (a stray non-ASCII lead byte must not be
    // cut from its sequence).
    const std::string drive = dir.substr(0, Utf8Next(dir, 0));
    auto it = std::find_if(table.begin(), table.end(),
                           [&](const TDriveSpaceEntry& e) { return e.Drive == drive; });
    if (it == table.end() && table.size() < kMaxDriveEntries) {
      table.push_back(TDriveSpaceEntry{drive, 0, freeSpace(drive)});
      it = table.end() - 1;
    }
    if (it != table.end() && included) it->Required += c.DirectByteTotal(false);
  }
  if (!included) return;
  for (int i = 0; i < c.FileContainerCount(); ++i) Visit(*c.FileContainers(i), freeSpace, table);
}

}  // namespace

std::vector<TDriveSpaceEntry> BuildDriveTable(TFileContainer& root,
                                              const TDriveFreeSpace& freeSpace) {
  std::vector<TDriveSpaceEntry> table;
  Visit(root, freeSpace, table);
  return table;
}

int64_t PlatformDriveFreeSpace(const std::string& drive) {
  if (drive.size() != 1 || drive[0] < 'A' || drive[0] > 'Z') return 0;
  try {
    const uint64_t free = platform::files().FreeSpace(drive + ":\\").freeBytes;
    return static_cast<int64_t>(
        std::min<uint64_t>(free, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())));
  } catch (const platform::OsError&) {
    return 0;
  }
}

int DriveSpacePanelHeight(int rows) {
  return rows > 2 ? 61 : rows * 18 + 25;
}
