// The kit directory on an authoring machine: where the kit keeps the files
// every distribution takes from it (the engine's setup library, the
// configuration template, the loading program). It is the first directory
// of the kit's library search path that holds the marker file "PKIT.TXT".
#pragma once

#include <string>

#include "install/InstallErrors.h"

// The kit directory cannot be found.
PELLMORE_DECLARE_EXCEPTION(IENoPellmorePath, IException);

// Where the search path is kept: HKEY_LOCAL_MACHINE, this key, this value
// (directories separated by ";").
inline constexpr const char* kKitKey = "\\Software\\Tolvane\\PellmoreKit";
inline constexpr const char* kKitSearchPathValue = "LibraryPath";
inline constexpr const char* kKitMarkerFile = "PKIT.TXT";

// The kit directory without a trailing backslash. Raises IENoPellmorePath
// when the search path is blank or none of its directories holds the
// marker.
std::string KitDirectory();
