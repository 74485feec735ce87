// The state one simulated machine shares between its services within a
// process: settings, the host mapping, short names, the current directory,
// the files this process holds open (for Windows share-mode checks) and the
// bytes each capacity-limited drive uses.
#pragma once

#include <sys/types.h>

#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/sim/HostTree.h"
#include "platform/sim/MachineSettings.h"
#include "platform/sim/ShortNames.h"
#include "platform/sim/SimRemovable.h"
#include "platform/sim/WinPath.h"

namespace platform::sim {

// One open handle of this process, as share checks see it.
struct OpenHandle {
  dev_t device = 0;
  ino_t inode = 0;
  std::string key;  // WinPath::Key of the path it was opened by
  uint32_t access = 0;
  uint32_t share = 0;
};

class MachineCore {
 public:
  MachineCore(std::string hostDir, MachineSettings settings);

  const std::string& HostDir() const { return hostDir_; }
  const MachineSettings& Settings() const { return settings_; }
  // Replaces the settings in memory (the caller saves them).
  void SetSettings(MachineSettings settings);

  HostTree& Tree() { return tree_; }
  ShortNames& Shorts() { return shortNames_; }
  const WinPath& CurrentDir() const { return currentDir_; }
  void SetCurrentDir(WinPath dir) { currentDir_ = std::move(dir); }

  WinPath Parse(std::string_view path, std::string_view call, bool wildcards = false) const {
    return ParseWindowsPath(path, currentDir_, call, wildcards);
  }
  Resolved Resolve(std::string_view path, std::string_view call) {
    return tree_.Resolve(Parse(path, call), call, path);
  }

  // Windows share rules against the handles of this process and the files
  // another program holds (those have read access and share only reading).
  // Raise ERROR_SHARING_VIOLATION naming `call` and `subject`.
  void CheckShare(const Resolved& file, uint32_t access, uint32_t share, std::string_view call,
                  std::string_view subject) const;
  // Deleting or renaming `file` needs every holder to share deletion.
  void CheckDeletable(const Resolved& file, std::string_view call, std::string_view subject) const;
  // Moving or removing directory `dir`: the current directory inside it
  // refuses with ERROR_SHARING_VIOLATION, a file open or held inside it with
  // ERROR_ACCESS_DENIED.
  void CheckTreeFree(const Resolved& dir, std::string_view call, std::string_view subject) const;
  bool IsHeld(const std::string& key) const { return heldKeys_.count(key) != 0; }

  OpenHandle* Register(const OpenHandle& handle);
  void Unregister(OpenHandle* handle);

  // Space on capacity-limited drives. Reserve raises ERROR_DISK_FULL (and
  // takes nothing) when `bytes` more would exceed the drive's capacity; a
  // drive without a capacity setting is not counted.
  void Reserve(char drive, uint64_t bytes, std::string_view call, std::string_view subject);
  void Release(char drive, uint64_t bytes);
  // Bytes in files on the drive (counted now if not yet).
  uint64_t UsedBytes(char drive);
  std::optional<uint64_t> Capacity(char drive) const;
  // Counts the drive afresh on the next use (its disk was changed).
  void ForgetUsage(char drive) { usage_.erase(drive); }

  RemovableDisks& Removable() { return removable_; }
  // Whether this process has a file open on the drive.
  bool HasOpenFileOn(char drive) const;

  // The machine clock's "now" (UTC): the host clock, shifted by the offset
  // setting, or the fixed setting (which is local time).
  FileTime NowUtc() const;

 private:
  struct Usage {
    bool counted = false;
    uint64_t used = 0;
  };
  void Count(char drive, Usage& usage);
  std::optional<std::string> LongNameOf(const std::string& dirKey, const std::string& hostDir,
                                        const std::string& shortUpper);

  std::string hostDir_;
  MachineSettings settings_;
  HostTree tree_;
  ShortNames shortNames_;
  WinPath currentDir_;
  std::list<OpenHandle> handles_;  // stable addresses for the File objects
  std::unordered_set<std::string> heldKeys_;
  std::map<char, Usage> usage_;
  RemovableDisks removable_{*this};
};

}  // namespace platform::sim
