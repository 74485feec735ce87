// Maps the machine's Windows paths to host paths below its directory:
// "C:\Windows\System" is "<machine>/drive_c/Windows/System". Lookups ignore
// ASCII case and give each name the case it was created with; 8.3 short
// names are accepted where a long name is expected. Symbolic links are never
// followed, so no Windows path reaches outside the machine.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "platform/sim/WinPath.h"

namespace platform::sim {

// What a Windows path names on the host.
struct Resolved {
  WinPath path;            // existing components in their stored case
  std::string host;        // host path of the last component
  std::string hostParent;  // host directory that holds (or would hold) it; empty for a root
  std::string hostName;    // the last component's host name
  bool exists = false;
  bool isDir = false;
  bool readOnly = false;  // files only: the owner's write bit is clear
  uint64_t size = 0;
  FileTime lastWrite = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

// Given a directory (its WinPath::Key and its host path) and an upper-case
// name, the long name that has that short name there, if any.
using ShortNameResolver = std::function<std::optional<std::string>(
    const std::string& dirKey, const std::string& hostDir, const std::string& upper)>;

class HostTree {
 public:
  HostTree(std::string machineDir, ShortNameResolver shortNames);

  std::string DriveDir(char drive) const;

  // Maps a full path. Every component but the last must exist as a
  // directory (else ERROR_PATH_NOT_FOUND, raised naming `call` and
  // `subject`), as must the drive; a symbolic link raises
  // ERROR_ACCESS_DENIED. The last component may be missing (exists false).
  Resolved Resolve(const WinPath& path, std::string_view call, std::string_view subject);

  // The stored name matching `name` in host directory `dir`, ignoring case.
  std::optional<std::string> Lookup(const std::string& dir, std::string_view name);

  // Keeps the name cache true after this process changed `dir`.
  void Added(const std::string& dir, const std::string& name);
  void Removed(const std::string& dir, const std::string& name);
  // Drops what is cached for `dir` and the directories below it.
  void Forget(const std::string& dir);

 private:
  struct Listing {
    int64_t mtimeNs = 0;
    std::unordered_map<std::string, std::string> byUpper;
  };
  Listing* Fresh(const std::string& dir);

  std::string machineDir_;
  ShortNameResolver shortNames_;
  // Directory listings by host path, valid while the directory's
  // modification time is unchanged; updated in place for this process's own
  // changes, so creating n files in one directory costs O(n), not O(n^2).
  std::unordered_map<std::string, Listing> cache_;
};

// Host modification time to FILETIME and back.
FileTime FileTimeOfHost(int64_t sec, int64_t nsec);
void HostTimeOf(FileTime time, int64_t& sec, int64_t& nsec);

}  // namespace platform::sim
