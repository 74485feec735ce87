// Names that cross the archive's boundary. A member's stored name comes from
// whoever made the archive, so extraction writes it only under its last
// path component, whatever separators ("\" or "/"), drive or UNC prefixes it
// holds, and only when that component is a plain Windows file name; one
// rule for every extraction (the archive tool's and the setup's). Packing
// refuses a source path that the 100-byte name field would cut, because a
// cut name no longer finds its member by name.
#pragma once

#include <string>
#include <string_view>

// The last component of `name`: what follows the last "\" or "/", without a
// leading drive prefix ("C:"). Nothing else is changed; the result may still
// be no file name at all ("", "..", "CON").
std::string MemberFileName(std::string_view name);

// True when `name` is a plain Windows file name that stays inside the
// directory it is joined to: not empty, not "." or "..", no separator,
// no < > : " | ? * or control character, no trailing dot or blank (Windows
// would drop them and write another name), and no device name (CON, PRN,
// AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, CLOCK$, with any extension).
// Otherwise false, with the reason in `why`.
bool IsPlainFileName(std::string_view name, std::string* why);

// Raises EArchiveError "Cannot create the file %s" (`destination`) with the
// reason when `name`, the name part of `destination`, is no plain file name.
void RefuseUnlessPlainFileName(std::string_view name, const std::string& destination);

// Raises EVrexCompress naming `sourcePath` and the limit when the path is
// longer than the 100 bytes a member's name can hold.
void RefuseNameTooLongForArchive(const std::string& sourcePath);
