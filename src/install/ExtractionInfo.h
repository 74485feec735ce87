// Reading the trailer of a self-extracting setup: the run with -e finds its
// "files.1" inside the program through it, and the floppy transfer finds
// both archives.
#pragma once

#include <string>

#include "archive/ExtractionTrailer.h"

// The trailer of the self-extracting program at `path`. An open failure, a
// short read or offsets that cannot describe that file raise IEInstall
// "Could not read the extraction info from the archive file %s when trying
// to find the correct offset into the self extracting file", with the
// exact reason on a line of its own.
extraction_trailer::Offsets ReadExtractionInfo(const std::string& path);
