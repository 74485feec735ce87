// The fault plan of the simulated machine: makes the Nth operation of a
// kind fail with a chosen Windows error, ends the process at the Nth
// operation, or fills a drive after so many bytes written, so a test can
// show that a setup survives every failure and every crash on its way.
//
// A plan is text, rules separated by commas:
//   KIND:N[:CODE]     the Nth operation of KIND (from 1) fails with Windows
//                     error CODE (decimal or 0x hex; default 5, access
//                     denied)
//   kill:KIND:N       the process ends at once, before the Nth operation of
//                     KIND ("any" counts every kind together)
//   diskfull:D:BYTES  once BYTES have been written to drive D by this
//                     process, a write that needs more fails with 112
//                     (ERROR_DISK_FULL)
// KIND is one of create (opening a file with a creating disposition, or the
// target of a copy), write, flush (closing a file written through that
// handle), move, delete (a file or a directory), delayed (a move registered
// for the restart), regwrite (creating or deleting a key, writing or
// deleting a value), regflush, load (loading a library) and start (starting
// a program). "none" is the empty plan.
//
// The plan comes from the environment variable PELLMORE_FAULT, else from
// the machine's "fault" setting, and applies to the process that first
// opens a machine; counting is per process and deterministic. With
// PELLMORE_FAULT_COUNT=FILE the process writes its operation counts to
// FILE when it exits ("KIND N" lines, then "any N", then one
// "op N KIND CALL SUBJECT" line per operation in order). Programs the machine
// starts do not inherit either variable, so their operations do not shift
// the count of the process under test.
//
// An injected failure raises the same OsError (call, subject, code) that
// the real operation raises when Windows refuses it, so the program cannot
// tell the two apart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

enum class FaultKind {
  Create,
  Write,
  Flush,
  Move,
  Delete,
  Delayed,
  RegWrite,
  RegFlush,
  Load,
  Start,
};
inline constexpr size_t kFaultKindCount = 10;

const char* FaultKindName(FaultKind kind);
std::optional<FaultKind> FaultKindNamed(std::string_view name);

struct FaultRule {
  enum class Action { Fail, Kill, DiskFull };
  Action action = Action::Fail;
  std::optional<FaultKind> kind;  // empty: any kind (kill only)
  uint64_t nth = 0;               // 1-based; for DiskFull the byte budget
  uint32_t code = 5;
  char drive = 0;  // DiskFull only
};

struct FaultPlan {
  std::vector<FaultRule> rules;

  // Reads plan text (see above); raises std::invalid_argument saying what
  // is wrong with which rule.
  static FaultPlan Parse(std::string_view text);
  std::string Text() const;
};

// The process's fault state.
class Faults {
 public:
  // Installs the plan of the environment (PELLMORE_FAULT), else `fallback`
  // (the machine's setting), on the first call in this process; later calls
  // change nothing. A plan that cannot be read ends the process with a
  // message: running without the fault would make a sweep lie.
  static void InstallOnce(const std::string& fallback);
  // For tests: replaces the plan and zeroes the counts (no env look-up).
  static void Install(const FaultPlan& plan);
  static void Reset() { Install(FaultPlan{}); }

  // Counts one operation of `kind`; raises OsError(call, subject, code)
  // when the plan fails it, ends the process when the plan kills at it.
  static void Before(FaultKind kind, std::string_view call, std::string_view subject);
  // A write of `bytes` on `drive`: counts like Before(Write) and checks the
  // drive's budget.
  static void BeforeWrite(char drive, uint64_t bytes, std::string_view call,
                          std::string_view subject);

  static std::array<uint64_t, kFaultKindCount> Counts();
};

}  // namespace platform::sim
