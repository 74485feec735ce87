// The system queries and the clock over kernel32/user32: what this Windows
// reports about itself, unchanged (a program without a compatibility
// manifest sees the version Windows chooses to tell it).
#pragma once

#include <memory>

#include "platform/Clock.h"
#include "platform/SystemInfo.h"

namespace platform::win32 {

std::unique_ptr<SystemInfo> CreateWin32SystemInfo();
std::unique_ptr<Clock> CreateWin32Clock();

// Local time minus UTC in minutes now, daylight saving included.
int CurrentTimeZoneOffsetMinutes();

}  // namespace platform::win32
