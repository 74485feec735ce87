// Compression ahead for a build: the members a build is about to add are
// compressed on worker threads while the archive is written member by
// member in its usual order. The archive's bytes are those of a one-core
// build (each member is one independent zlib stream, compressed the same
// way); only the work is spread.
//
// Threads never call the platform services: sources are opened (and their
// handles closed) on the thread that primes and takes, workers only read
// their own open file and deflate into memory. Memory is bounded: members
// are opened ahead only while the sources in flight stay within a budget,
// and a member larger than the budget is left to the writer, which
// compresses it itself through its fixed buffers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/ZlibStreams.h"

class TCompressionAhead {
 public:
  struct Member {
    std::vector<uint8_t> packed;  // the complete zlib stream
    int64_t sourceBytes = 0;      // what was compressed
  };

  // Worker count: PELLMORE_BUILD_THREADS when it holds a number from 1 to
  // 256 (1: one core, nothing runs ahead), else the hardware's threads.
  static unsigned ConfiguredWorkers();

  TCompressionAhead();
  ~TCompressionAhead();
  TCompressionAhead(const TCompressionAhead&) = delete;
  TCompressionAhead& operator=(const TCompressionAhead&) = delete;

  // Starts compressing `paths`, in this order, at `level` with `workers`
  // threads (fewer than 2: nothing is done ahead). Sources in flight stay
  // within `budget` bytes. Replaces whatever was primed before.
  void Prime(const std::vector<std::string>& paths, TCompressionLevel level, unsigned workers,
             uint64_t budget = kDefaultBudget);
  // The member compressed ahead for `path` at `level`, waiting for it if a
  // worker is still on it. Members primed before it and never taken are
  // dropped. Nothing (the caller compresses itself) when the path was not
  // primed after the last member taken, the level differs, the source was
  // too large or could not be read (the caller's own attempt then reports
  // the failure as usual).
  std::optional<Member> Take(const std::string& path, TCompressionLevel level);
  // Stops the workers and drops everything primed.
  void Stop() noexcept;
  bool Active() const noexcept;

  static constexpr uint64_t kDefaultBudget = 64ull << 20;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The build's instance; the process-state reset stops it.
TCompressionAhead& CompressionAhead();

// While it lives, the build's members listed are compressed ahead (see
// TCompressionAhead) with the configured worker count, at the level of the
// shared archive component. A scope inside another does nothing, so the
// outermost packing step owns the workers.
class TCompressionAheadScope {
 public:
  explicit TCompressionAheadScope(const std::vector<std::string>& paths);
  ~TCompressionAheadScope();
  TCompressionAheadScope(const TCompressionAheadScope&) = delete;
  TCompressionAheadScope& operator=(const TCompressionAheadScope&) = delete;

 private:
  bool owner_ = false;
};
