// The Win32 back end's process, library, restart, INI-file and lock
// services (Win32Processes.cpp, Win32Libraries.cpp, Win32Restart.cpp,
// Win32IniFiles.cpp, Win32Locks.cpp): thin layers over the real calls.
#pragma once

#include <memory>

#include "platform/Dde.h"
#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/MachineLocks.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "platform/ShellLinks.h"

namespace platform::win32 {

std::unique_ptr<Processes> CreateWin32Processes();
std::unique_ptr<Libraries> CreateWin32Libraries();
std::unique_ptr<RestartService> CreateWin32Restart();
std::unique_ptr<IniFiles> CreateWin32IniFiles();
std::unique_ptr<MachineLocks> CreateWin32Locks();
// Win32ShellLinks.cpp.
std::unique_ptr<ShellLinks> CreateWin32ShellLinks();
// DDEML client conversations (Win32Dde.cpp).
std::unique_ptr<Dde> CreateWin32Dde();

}  // namespace platform::win32
