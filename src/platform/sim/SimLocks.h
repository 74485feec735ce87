// Machine-wide named locks of the simulated machine (see MachineLocks.h):
// "<machine>/locks/<name>.lock", held with flock by an open description of
// its own, so every holder (another process, or another Acquire in this
// one) excludes the others, and a holder that dies frees the lock.
#pragma once

#include <string>

#include "platform/MachineLocks.h"

namespace platform::sim {

class SimLocks : public MachineLocks {
 public:
  explicit SimLocks(std::string hostDir) : hostDir_(std::move(hostDir)) {}
  std::unique_ptr<HeldLock> Acquire(std::string_view name, std::chrono::milliseconds wait) override;

 private:
  std::string hostDir_;
};

}  // namespace platform::sim
