// The one command-line splitter of both builds. Arguments are separated by
// blanks and control characters outside double quotes; a double quote
// toggles quoting and is dropped; backslashes are ordinary characters, so
// "-sC:\My Build\" stays one argument ending in a backslash.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits a command line. A quoted empty text ("") is an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The text that SplitCommandLine turns back into `argument`: unchanged when
// it holds no blank, control character or double quote and is not empty,
// else wrapped in double quotes. An argument holding a double quote cannot
// be represented (quotes only toggle) and is passed as typed, its quotes
// keeping their meaning.
std::string QuoteArgument(std::string_view argument);

// Joins arguments with single blanks, each quoted as above.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

}  // namespace platform
