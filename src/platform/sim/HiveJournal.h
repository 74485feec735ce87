// The append-only journal beside a hive file: one change per line, so a
// single value write costs one short append instead of a rewrite of the
// hive.

// Lines (paths are below the hive's root, quoted like value names):
//   +"path"                    create the key and its missing parents
//   -"path"                    delete a key that has no subkeys
//   ="path" "name"=data        set a value (data as in the hive file)
//   ~"path" "name"             delete a value
// The first line, "PELLMORE-JOURNAL <generation>", names the hive
// generation the journal continues; a journal of another generation is
// stale (left by a rewrite that was interrupted) and is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/sim/HiveModel.h"

namespace platform::sim {

inline constexpr std::string_view kJournalMagic = "PELLMORE-JOURNAL ";

struct JournalOp {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  std::string path;  // below the root, backslash-separated
  std::string name;  // value name ("" is the default value)
  RegValue value;
};

// The journal line of `op`, with its line break.
std::string FormatJournalOp(const JournalOp& op);
bool ParseJournalOp(std::string_view line, JournalOp& op, std::string& why);

std::string FormatJournalHeader(uint64_t generation);
bool ParseJournalHeader(std::string_view line, uint64_t& generation);

// Outcome of applying a change: a Windows error code (0 when it worked) and
// whether the hive changed (a change that changes nothing is not logged).
struct ApplyResult {
  uint32_t code = 0;
  std::string why;
  bool changed = false;
};

// Applies `op` to `hive`, checking it first; on failure the hive is as
// before. Codes: invalid parameter (bad name or path), file not found
// (missing key or value), access denied (deleting the root or a key with
// subkeys).
ApplyResult ApplyJournalOp(Hive& hive, const JournalOp& op);

// Replays the complete lines of journal text from `offset` (which must be
// at a line start; `line` is the number of the last line read before it)
// and returns the offset after the last complete line. A final line
// without its line break is a torn append and is left unread. Raises
// HiveError naming `file` and the line for a line that does not parse or
// does not apply.
size_t ReplayJournal(std::string_view text, size_t offset, size_t& line, const std::string& file,
                     Hive& hive);

}  // namespace platform::sim
