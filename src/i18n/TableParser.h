// The string-table syntax, as a pure function over the lines of a table:
//   <id>;<text>      a one-line entry (the text ends at the next ';')
//   #<id>            starts a memo; the lines up to a line "#" are its text
//   *...             a comment, also inside a memo
// Lines are trimmed of blanks and control characters; empty lines are
// skipped everywhere; a memo still open at the end is dropped silently.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TStrings;

struct ParsedTable {
  struct String {
    int32_t glid;
    int line;          // zero-based
    std::string text;  // as written, not yet cut to length
  };
  struct Memo {
    int32_t glid;
    int line;  // of the start marker
    std::vector<std::string> lines;
  };
  std::vector<String> strings;  // reading order
  std::vector<Memo> memos;
};

// Parses `lines`. A malformed line raises Exception with its zero-based
// line number (and the trimmed line):
//   "Found the end of memo marker # at line %d. Was not in a memo however"
//   "The %d'th string (%s) does not have the proper format of GLID;Text"
//   "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;"
ParsedTable ParseStringTable(const TStrings& lines);
