// The one exception class of form descriptions: whatever is wrong with a
// description (syntax, an unknown class or property, a value of the wrong
// kind, a dangling reference ...) is raised as EFormError naming the file,
// line and column where it was found.
#pragma once

#include <string>

#include "framework/Exception.h"

// A place in a description: 1-based line and column (columns count
// characters, not bytes; a tab is one column).
struct SourcePos {
  int line = 1;
  int column = 1;
};

class EFormError : public Exception {
 public:
  // Message: "<file>, line <l>, column <c>: <reason>".
  EFormError(const std::string& fileName, SourcePos pos, const std::string& reason)
      : Exception(fileName + ", line " + std::to_string(pos.line) + ", column " +
                  std::to_string(pos.column) + ": " + reason),
        fileName_(fileName),
        pos_(pos),
        reason_(reason) {}
  const char* ClassName() const noexcept override { return "EFormError"; }

  const std::string& FileName() const noexcept { return fileName_; }
  int Line() const noexcept { return pos_.line; }
  int Column() const noexcept { return pos_.column; }
  const std::string& Reason() const noexcept { return reason_; }

 private:
  std::string fileName_;
  SourcePos pos_;
  std::string reason_;
};
