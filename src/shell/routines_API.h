// Platform queries every component uses: the short form of a path, the
// platform kind, a fresh temporary file name, the system and Windows
// directories. They hold no state and go through the platform services;
// a query the system refuses raises EAPIRoutines with its fixed message.
#pragma once

#include <cstdint>
#include <string>

#include "common/exceptions_Pellmore.h"

// A platform query failed. Its messages are fixed Chinese texts and are not
// passed through the translator.
PELLMORE_DECLARE_EXCEPTION(EAPIRoutines, EPellmoreAbnormal);

// The four messages of EAPIRoutines (UTF-8).
extern const char* const kAPIVersionFailed;     // platform version
extern const char* const kAPITempFileFailed;    // temporary file name
extern const char* const kAPISystemDirFailed;   // system directory
extern const char* const kAPIWindowsDirFailed;  // Windows directory

// Platform kinds returned by WindowsPlatform.
enum : uint8_t {
  kPlatformKindWin32s = 0,
  kPlatformKindWin95 = 1,  // Windows 95 family
  kPlatformKindNT = 2,     // Windows NT other than 3.5x
  kPlatformKindNT35 = 3,   // Windows NT 3.5 and 3.51
  kPlatformKindOther = 4,
};

// The 8.3 form of an existing path, both limited to 400 UTF-16 units. When
// the system cannot convert the path (it does not exist, or either form is
// too long) the path comes back unchanged, so a caller never gets a
// different or truncated path.
std::string ShortPathName(const std::string& path);

// The platform kind of the running Windows (the enum above).
uint8_t WindowsPlatform();

// A unique name in the temporary directory with prefix "bat", made by the
// system as an empty file. Unless `keep` is set the empty file is deleted
// again, so the name is fresh.
std::string TempFileName(bool keep);

// The Windows system directory and the Windows directory, without a
// trailing backslash as the system returns them.
std::string SystemDirectory();
std::string WindowsDirectory();
