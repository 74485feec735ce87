// The simulated machine's registry: one hive file per root in the machine's
// registry directory, shared safely with other processes using it. A
// corrupt hive raises HiveError naming the file and the line.
#pragma once

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/sim/HiveModel.h"

namespace platform::sim {

// Opens the registry kept in `hostRegistryDir` (created when missing).
// Each instance keeps its own cache and file handles; any number of them,
// in one process or several, may share a directory. An instance must not
// be used by a child after fork() (it would share the parent's lock).
std::unique_ptr<platform::Registry> OpenSimRegistry(const std::string& hostRegistryDir);

// HKEY_CLASSES_ROOT is the key SOFTWARE\Classes of HKEY_LOCAL_MACHINE, as
// on Windows. The hive file name (without ".reg") that holds `root`'s keys, and the key
// path inside that hive where `root` begins ("" or "SOFTWARE\Classes").
const char* HiveRootName(RootKey root);
const char* HivePrefix(RootKey root);

}  // namespace platform::sim
