// The component that reads an archive other than the installer's own (a
// group's "part2.1" beside "files.1"). One is kept for the archive used
// last, as the shared component is for the installer's, so the files
// packed there, installed one after another, read its directory once
// rather than once each; a run of thousands of files would otherwise read
// thousands of headers per file. The kept component is replaced when the
// archive file changes (size or last write) and freed by a process-state
// reset.
#pragma once

#include <string>

class TVrexCompress;

// The kept component for `path`, its CompressedFile set to `path`.
TVrexCompress& KeptArchive(const std::string& path);
// Frees the kept component (also done by a process-state reset).
void FreeKeptArchive() noexcept;
