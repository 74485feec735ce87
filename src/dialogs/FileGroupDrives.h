// The drive table of the file group page: for each drive that an included
// file group installs to, the bytes it needs there and the space free on
// it. Kept apart from the page so that the counting rules stand alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TFileContainer;

struct TDriveSpaceEntry {
  std::string Drive;     // one character: the drive letter, upper case
  int64_t Required = 0;  // bytes the included groups install there
  int64_t Free = 0;      // free bytes when the entry was made
};

// The table holds this many drives; a further drive is left out (its
// bytes are shown nowhere) rather than displacing one already listed.
inline constexpr size_t kMaxDriveEntries = 25;

// Free bytes of `drive` (a letter); 0 when it is no drive letter or the
// system cannot tell (a missing drive then shows the warning mark).
using TDriveFreeSpace = std::function<int64_t(const std::string& drive)>;

// Visits `root` and, below each included container, its file containers:
// a container whose expanded destination (upper case) is not empty and
// does not begin with "\" adds its direct byte total (0 when it will not
// install) to the drive of its first character. The children of an
// excluded container are not visited. Entries in order of first
// appearance.
std::vector<TDriveSpaceEntry> BuildDriveTable(TFileContainer& root,
                                              const TDriveFreeSpace& freeSpace);

// The platform's free space of a drive letter (see TDriveFreeSpace).
int64_t PlatformDriveFreeSpace(const std::string& drive);

// The drive panel's height for `rows` list rows: 61 for more than two,
// otherwise rows * 18 + 25.
int DriveSpacePanelHeight(int rows);
