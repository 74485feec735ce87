// Text and path helpers of the runtime: ASCII case folding, trimming,
// file-name parts, integer conversion. Names are Windows paths (backslash,
// drive letters); nothing here touches the file system.
#pragma once

#include <string>
#include <string_view>

// ASCII case folding: only A-Z/a-z change, so UTF-8 sequences pass through.
std::string AsciiUpperCase(std::string_view s);
std::string AsciiLowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, after ASCII upper-casing both sides.
int CompareText(std::string_view a, std::string_view b);
