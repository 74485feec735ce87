// The loading program "PellmoreLoadProgram.exe", shipped as a
// distribution's "setup.exe": it unpacks "setup.1" (appended to its own file
// and found through the extraction trailer, or the file beside it) into a
// fresh temporary directory, starts the installer (the archive's first
// member; the others are its presetup files) and returns its exit code.
#pragma once

#include <cstdint>

#include "loader/LoaderHost.h"
#include "loader/LoaderText.h"

namespace loader {

// The loader's own failures end with the setup program's "failed" code.
constexpr int kLoaderFailed = 1;
// Unpacking shorter than this shows no window.
constexpr uint32_t kPreparingDelayMs = 300;

// The installer's command line: the installer quoted, "-s<the directory
// setup.exe is in>", "-e<setup.exe's file name>" when the archives travel
// inside it, and "-c" so the unpacked copy removes itself; for "*TODISK"
// "-f" in place of "-c". Every argument is quoted, so blanks stay in one.
Text InstallerCommand(const Text& installer, const Text& setupPath, bool selfExtracting,
                      bool toDisk);

// The whole run; the exit code of the installer, or kLoaderFailed after a
// message box when it cannot be started.
int RunLoader(LoaderHost& host);

}  // namespace loader
