// <windows.h> for the Win32 back end. Windows maps generic names onto the
// wide calls with macros (CopyFile -> CopyFileW); the seam's methods carry
// some of those names, so the macros go: this code calls the W forms by name.
#pragma once

#include <windows.h>

#undef CopyFile
#undef MoveFile
#undef DeleteFile
#undef CreateDirectory
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef GetCurrentDirectory
