// The registry service over advapi32's wide registry calls.
#pragma once

#include <memory>

#include "platform/Registry.h"

namespace platform::win32 {

std::unique_ptr<Registry> CreateWin32Registry();

}  // namespace platform::win32
