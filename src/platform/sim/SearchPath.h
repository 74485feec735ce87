// Where the simulated machine finds a program or library named in a command
// line or a LoadLibrary call: a name without a directory is looked up in the
// running program's directory, the current directory, the system directory
// and the Windows directory, as CreateProcess and LoadLibrary do; a name
// without an extension gets the default one (".EXE", ".DLL").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

// The existing file `name` names, or nullopt. A full path whose directory
// is missing raises OsError ERROR_PATH_NOT_FOUND naming `call`.
std::optional<Resolved> FindOnSearchPath(MachineCore& core, SystemInfo& system,
                                         std::string_view name, std::string_view defaultExtension,
                                         std::string_view call);

// True when the path's last component ends in `extension` (".BAT"),
// ignoring case.
bool HasExtension(std::string_view path, std::string_view extension);

}  // namespace platform::sim
