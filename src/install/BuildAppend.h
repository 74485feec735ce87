// The stand-alone build's last step: "setup.1" and "files.1" appended to
// the loading program, followed by the 56-byte trailer that tells the
// installer (and the floppy transfer) where each archive starts and ends.
#pragma once

#include <string>

#include "archive/ExtractionTrailer.h"

// Appends `setup1` and, when it exists, `files1` to the file `target` (the
// loading program), then the trailer, and returns the offsets written.
// `shownExe` is the name messages give the target ("setup.exe" while the
// build writes it under a temporary name). A short copy, a write the disk
// refuses or a result too big for the trailer's 32-bit offsets raises
// IEInstall "Cannot create the self-extracting exe because %s could not be
// loaded onto %s"; `target` may then hold part of the appended bytes.
extraction_trailer::Offsets AppendSelfExtractor(const std::string& target,
                                                const std::string& shownExe,
                                                const std::string& setup1,
                                                const std::string& files1);
