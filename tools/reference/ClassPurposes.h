// The one-line purpose of each class, read from the comment block directly
// above its declaration in the source headers ("// TName: what it is. ..."
// or a plain comment). Keeping the purpose beside the class keeps the
// reference from drifting away from the code.
#pragma once

#include <map>
#include <string>

namespace reference {

// Class name → the first sentence of the comment above "class TName" in
// every header under `sourceRoot`, without a leading "TName:" and with the
// lines joined. Classes declared without such a comment are absent.
std::map<std::string, std::string> ReadClassPurposes(const std::string& sourceRoot);

}  // namespace reference
