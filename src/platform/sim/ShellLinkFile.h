// The binary shortcut (.lnk) file: a fixed 76-byte header carrying the
// shell-link class id and flags, a LinkInfo block with the target's local
// path on a fixed volume, then counted UTF-16 strings (description,
// relative path, working directory, arguments, icon location) and a
// terminal block. The simulated machine writes and reads shortcuts with it,
// so that a Windows shell or any independent reader sees the same target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ShellLinks.h"

namespace platform::sim {

// What the header says about the target file when it exists.
struct ShellLinkTargetInfo {
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME
};

// The file's bytes. A target with a drive letter ("C:\...") goes into the
// LinkInfo block; any other target (a UNC path, a bare name) is stored as
// the relative path instead. Empty strings are left out.
std::string EncodeShellLink(const ShellLinkData& data, const ShellLinkTargetInfo& target);

// The shortcut the bytes describe; nullopt when they are no shortcut or are
// cut short or inconsistent (every offset and count is checked against the
// bytes present). Texts come back as UTF-8.
std::optional<ShellLinkData> DecodeShellLink(std::string_view bytes);

}  // namespace platform::sim
