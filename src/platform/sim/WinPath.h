// Windows path text for the simulated machine: parsing a path (absolute,
// drive-relative, rooted or relative) into a full path on a local drive,
// the name rules Windows enforces, and FindFirstFile's wildcard matching.
// Pure text: nothing here touches the host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

// A full path on a local drive. Invariant: parts holds no empty, "." or
// ".." component, and every component passed the Windows name rules.
struct WinPath {
  char drive = 'C';                // 'A' .. 'Z'
  std::vector<std::string> parts;  // below the drive's root, in the case given

  bool IsRoot() const { return parts.empty(); }
  // "C:\dir\file"; the root is "C:\".
  std::string Text() const;
  // The path without its last component (the root stays the root).
  WinPath Parent() const;
  // The upper-case text, the key under which the machine compares paths.
  std::string Key() const;
};

// Parses `path` against the current directory `current`. Forward slashes
// count as backslashes; "\\?\" prefixes are accepted; "." and ".." are
// resolved (".." stops at the root); trailing dots and blanks of a
// component are dropped, as Windows does. Raises OsError naming `call`:
// ERROR_PATH_NOT_FOUND for an empty path, ERROR_BAD_NETPATH for a UNC path
// (the machine has no network), ERROR_INVALID_NAME for a component holding
// < > : " | ? * or a control character or naming a device (CON, NUL, COM1
// ...), ERROR_FILENAME_EXCED_RANGE for a component over 255 UTF-16 units.
// With `wildcards`, the last component may hold * and ? and keeps its dots.
WinPath ParseWindowsPath(std::string_view path, const WinPath& current, std::string_view call,
                         bool wildcards = false);

// True when `path` starts with a drive letter, a colon and a backslash (or
// slash): a full path that needs no current directory.
bool IsFullWindowsPath(std::string_view path);

// FindFirstFile's matching of one name against a pattern, ignoring ASCII
// case: '*' matches any run, '?' one character (or nothing at the end of
// the name or before a dot), "*.*" everything, a pattern ending in ".*"
// also names without a dot, a pattern ending in "." only names without one.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// True when `pattern` holds '*' or '?'.
bool HasWildcards(std::string_view pattern);

}  // namespace platform::sim
