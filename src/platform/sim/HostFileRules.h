// Rules that every file service mapping Windows paths onto host files keeps
// alike (the simulated machine's and the archive tool's host drives): what
// makes a host file read-only for Windows, and opening only regular files,
// so a FIFO or device under a mapped path can neither hang a reader nor be
// mistaken for a file.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace platform::sim {

// A file whose owner write bit is clear is read-only: it refuses opening
// for writing, truncation, deletion and being replaced or copied over, with
// ERROR_ACCESS_DENIED, whoever runs the program (root included).
inline bool HostReadOnly(const struct stat& st) {
  return !S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

// ::open(host, flags, mode) that never blocks on a FIFO and keeps only
// regular files: anything else (FIFO, socket, device, directory) is closed
// again and refused with ERROR_ACCESS_DENIED naming `call` and `subject`,
// as Windows refuses to open a directory as a file. A failing ::open
// returns -1 with errno set, for the caller's own error mapping.
int OpenRegularFile(const std::string& host, int flags, mode_t mode, std::string_view call,
                    std::string_view subject);

}  // namespace platform::sim
