// "BUILD.INF": the file beside the program that a run with -b reads to learn
// where to build. Its first line names the build directory; nothing else in
// it is read. Only text is handled here, so the reading can be checked
// without a machine.
#pragma once

#include <string>
#include <string_view>

// The first line of a BUILD.INF's text; IEInstall "Must be 1 line in
// BUILD.INF. ..." when the text has no line at all.
std::string BuildInfFirstLine(std::string_view text);

// The build directory that `line` names: trimmed, without trailing
// backslashes or blanks before them. IEInstall "Must be 1 line in
// BUILD.INF. ..." when nothing or only a drive's root is named (every
// product would land in that root).
std::string BuildDirectoryOf(std::string_view line);
