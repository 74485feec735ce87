// The clock service: the machine's current time. Kit code asks here, never
// the host clock, so a simulated machine can run on a fixed or shifted
// clock and tests repeat exactly.
#pragma once

#include "framework/DateTime.h"
#include "platform/FileSystem.h"

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // GetSystemTimeAsFileTime: now, UTC.
  virtual FileTime NowUtc() = 0;
  // Now as local time, shifted by the machine's time-zone offset.
  virtual TDateTime Now() = 0;
};

}  // namespace platform
