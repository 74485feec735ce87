// One hive of the simulated registry on disk, shared safely between
// processes: cached per process, locked around every access, changed by
// appending to a journal.

// Files in the registry directory, for root R:
//   R.reg      the hive (see HiveReader/HiveWriter), replaced only by
//              write-temp-then-rename, so it is always a complete hive;
//   R.journal  changes since the hive was last written (see HiveJournal);
//   R.lock     the lock taken around every access (flock: shared to read,
//              exclusive to change) and the change count at offset 0.
// Each process keeps the parsed hive cached and, under the lock, compares
// the change count and the hive file's identity with what it last saw:
// unchanged means the cache is current; new journal lines are replayed;
// a rewritten hive is read again. A change appends one journal line; the
// journal is folded into the hive when it outgrows it, or on Flush.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/sim/HiveJournal.h"
#include "platform/sim/HiveModel.h"

namespace platform::sim {

class HiveStore {
 public:
  // `dir` is the registry directory, `rootName` the root ("HKEY_USERS").
  // No file is touched until the first access.
  HiveStore(std::string dir, std::string rootName);
  ~HiveStore();
  HiveStore(const HiveStore&) = delete;
  HiveStore& operator=(const HiveStore&) = delete;

  // Calls `f` with the current hive under the shared lock. Raises HiveError
  // when the hive or its journal is corrupt, OsError when a file cannot be
  // read.
  void Read(const std::function<void(const Hive&)>& f);

  // Applies a change under the exclusive lock and logs it. A change the
  // hive refuses leaves everything as it was and is returned, not raised;
  // a failed append raises OsError and leaves the files as before.
  ApplyResult Change(const JournalOp& op);

  // Folds the journal into the hive file now (nothing to do when the
  // journal is empty). On failure the old hive and journal stay in place.
  void Flush();

  const std::string& HivePath() const { return hivePath_; }
  const std::string& JournalPath() const { return journalPath_; }

  // Journal size past which a change folds the journal into the hive: the
  // larger of this and the hive file's size, so the cost of rewriting is
  // spread over at least as many bytes of appended changes.
  static constexpr uint64_t kMinFoldBytes = 256 * 1024;

 private:
  class Lock;
  void OpenLockFile();
  uint64_t ReadChangeCount();
  void WriteChangeCount(uint64_t count);
  void Refresh();
  void Reload();
  void CatchUpJournal();
  void Append(const std::string& line);
  void WriteHive();
  void Invalidate();

  std::string dir_;
  std::string rootName_;
  std::string hivePath_;
  std::string journalPath_;
  std::string lockPath_;

  int lockFd_ = -1;
  int journalFd_ = -1;  // opened on first use
  // The hive file the cache was read from, kept open so its inode cannot be
  // reused by a later file: an identity match is then exact.
  int hiveFd_ = -1;
  struct stat hiveStat_ {};

  std::unique_ptr<Hive> hive_;  // null: must be read again
  uint64_t changeCount_ = 0;
  uint64_t hiveBytes_ = 0;
  uint64_t journalRead_ = 0;   // bytes of complete journal lines applied
  size_t journalLines_ = 0;    // lines up to journalRead_
  bool journalStale_ = false;  // journal belongs to another generation
};

}  // namespace platform::sim
