// The Win32 back end's internet service: the system's "WININET.DLL",
// loaded at run time (Win32Internet.cpp).
#pragma once

#include <memory>

#include "platform/Internet.h"

namespace platform::win32 {

std::unique_ptr<Internet> CreateWin32Internet();

}  // namespace platform::win32
