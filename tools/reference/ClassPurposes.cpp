// Class purposes from header comments (see ClassPurposes.h).
#include "tools/reference/ClassPurposes.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

namespace reference {
namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// The first sentence of a comment: up to the first ". " or ":" that ends
// a clause followed by a list, or the whole text.
std::string FirstSentence(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '.' && text[i + 1] == ' ') return text.substr(0, i + 1);
  return text;
}

std::string PurposeOf(const std::string& name, const std::vector<std::string>& comment) {
  std::string joined;
  for (const std::string& line : comment) {
    if (line.empty()) break;  // the first paragraph only
    if (!joined.empty()) joined += ' ';
    joined += line;
  }
  // "TName: ..." or "TName (unit): ..." names the class before its purpose.
  if (joined.rfind(name, 0) == 0) {
    const size_t colon = joined.find(": ");
    if (colon != std::string::npos && colon < name.size() + 40) joined = joined.substr(colon + 2);
  }
  joined = FirstSentence(Trim(joined));
  if (!joined.empty())
    joined[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(joined[0])));
  return joined;
}

}  // namespace

std::map<std::string, std::string> ReadClassPurposes(const std::string& sourceRoot) {
  static const std::regex declaration(R"(^class\s+(T\w+)\b[^;]*$)");
  std::map<std::string, std::string> purposes;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sourceRoot)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".h") continue;
    std::ifstream in(entry.path());
    std::vector<std::string> comment;
    std::string line;
    while (std::getline(in, line)) {
      const std::string t = Trim(line);
      if (t.rfind("//", 0) == 0) {
        comment.push_back(Trim(t.substr(2)));
        continue;
      }
      std::smatch m;
      if (std::regex_search(t, m, declaration) && !comment.empty()) {
        const std::string purpose = PurposeOf(m[1], comment);
        if (!purpose.empty()) purposes.emplace(m[1], purpose);
      }
      comment.clear();
    }
  }
  return purposes;
}

}  // namespace reference
