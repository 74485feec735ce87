// Authoring the engine group of a form description: its feature flags
// (drVault ... slHeronNext) are set or cleared through their published
// properties, which add or remove the feature's member files taken from
// the engine installed on this (the authoring) machine, and the form is
// written back as a description.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace author {

struct FlagRequest {
  std::string name;  // as the user wrote it; matched ignoring case
  bool on = false;
};

// "+drVault" sets, "-drVault" clears; anything else is no flag request.
std::optional<FlagRequest> ParseFlagArgument(std::string_view arg);

// The engine group's feature flags, as registered (the setup's classes must
// be registered).
std::vector<std::string> EngineFlagNames();

struct FlagChange {
  std::string flag;  // the registered spelling
  bool on = false;   // requested
  bool before = false;
  bool after = false;
  std::vector<std::string> added;    // member file names, in member order
  std::vector<std::string> removed;  // member file names, in member order
};

struct AuthorResult {
  std::string formText;  // the whole description, written back
  std::vector<FlagChange> changes;
};

// Reads `formText` at design time on the current platform backend, applies
// `flags` in their order to its engine group and writes the form. Raises
// Exception for an unknown flag (listing the valid ones) or a description
// without an engine group, and passes on the kit's exceptions (the file set's
// messages, the form reader's); everything created is freed either way.
AuthorResult SetEngineFlags(std::string_view formText, const std::string& formFile,
                            const std::vector<FlagRequest>& flags);

// One line for the user: "drVault = False: removed QDVLT32.DLL, QDVOB32.DLL".
std::string DescribeChange(const FlagChange& change);

// Replaces the host file `path` by `text` only once all of it is written:
// a temporary file beside it, then a rename. Raises Exception naming the
// path and the system's reason; `path` is untouched then.
void ReplaceHostFile(const std::string& path, std::string_view text);

}  // namespace author
