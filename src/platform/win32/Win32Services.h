// The Win32 back end's process, library, restart and INI-file services
// (Win32Processes.cpp, Win32Libraries.cpp, Win32Restart.cpp,
// Win32IniFiles.cpp): thin layers over the real calls.
#pragma once

#include <memory>

#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/Processes.h"
#include "platform/Restart.h"

namespace platform::win32 {

std::unique_ptr<Processes> CreateWin32Processes();
std::unique_ptr<Libraries> CreateWin32Libraries();
std::unique_ptr<RestartService> CreateWin32Restart();
std::unique_ptr<IniFiles> CreateWin32IniFiles();

}  // namespace platform::win32
