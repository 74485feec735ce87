// The component reference: every class the setup program registers, its
// published properties (type, default, the values of enumerations) and
// events, and its purpose, as one Markdown text.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace reference {

struct ReferenceText {
  std::string markdown;
  int classCount = 0;
  // Registered classes that have no purpose comment in the sources.
  std::vector<std::string> withoutPurpose;
};

// Registers the setup program's classes in a fresh registry and describes
// them; `purposes` maps class names to their one-line purpose.
ReferenceText WriteReference(const std::map<std::string, std::string>& purposes);

}  // namespace reference
