// Helpers for the small text tables a simulated machine keeps in its
// directory beside the registry (the program table, the start log, the
// Program Manager's groups): an exclusive lock around a read-change-write,
// whole-file reads and replacing writes, and one-line records of
// tab-separated fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

// Holds an exclusive lock (flock) on the lock file `path`, created when
// missing, for its lifetime; closing the file releases it. Where the file
// cannot be opened the table goes unlocked rather than unusable.
class StateFileLock {
 public:
  explicit StateFileLock(const std::string& path);
  ~StateFileLock();
  StateFileLock(const StateFileLock&) = delete;
  StateFileLock& operator=(const StateFileLock&) = delete;

 private:
  int fd_ = -1;
};

// The whole table; "" when it does not exist yet. One larger than 16 MiB
// (the machine's own tables are small) or unreadable raises MachineError.
std::string ReadStateFile(const std::string& path);
// Replaces the table with `text` through a temporary file and a rename, so
// a reader never sees half of it; MachineError when that fails.
void WriteStateFile(const std::string& path, const std::string& text);

// A field with its tabs, line ends and percent signs escaped as "%XX", so
// that a record stays one line; UnescapeField undoes it.
std::string EscapeField(std::string_view text);
std::string UnescapeField(std::string_view text);
// The unescaped fields of one record.
std::vector<std::string> SplitFields(std::string_view line);

}  // namespace platform::sim
