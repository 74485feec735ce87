// pellmore-reference: writes the component reference, or checks that a
// committed one is what the tool writes.
//
//   pellmore-reference [-o FILE | --check FILE] --sources SRC
//
// Exit codes: 0 written or up to date, 1 out of date or a class without a
// purpose comment, 2 bad usage or an unreadable file.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "framework/Exception.h"
#include "framework/ProcessState.h"
#include "tools/reference/ClassPurposes.h"
#include "tools/reference/Reference.h"

namespace {

const char* const kUsage =
    "usage: pellmore-reference [-o FILE | --check FILE] --sources SRC\n"
    "  writes the component reference (to standard output, or FILE), or checks\n"
    "  that FILE is what it would write; SRC is the source tree whose header\n"
    "  comments give each class's purpose\n";

}  // namespace

int main(int argc, char** argv) {
  std::string output, check, sources;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "-o" || a == "--check" || a == "--sources") && i + 1 < argc) {
      (a == "-o" ? output : a == "--check" ? check : sources) = argv[++i];
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (sources.empty() || (!output.empty() && !check.empty())) {
    std::cerr << kUsage;
    return 2;
  }
  reference::ReferenceText text;
  try {
    text = reference::WriteReference(reference::ReadClassPurposes(sources));
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::cerr << "pellmore-reference: " << e.what() << "\n";
    return 2;
  }
  int code = 0;
  for (const std::string& name : text.withoutPurpose) {
    std::cerr << "pellmore-reference: " << name
              << " has no purpose comment above its declaration\n";
    code = 1;
  }
  if (!check.empty()) {
    std::ifstream in(check, std::ios::binary);
    if (!in) {
      std::cerr << "pellmore-reference: cannot read " << check << "\n";
      return 2;
    }
    std::ostringstream committed;
    committed << in.rdbuf();
    if (committed.str() != text.markdown) {
      std::cerr << "pellmore-reference: " << check
                << " is out of date; write it again with pellmore-reference -o " << check
                << " --sources " << sources << "\n";
      return 1;
    }
    // The byte comparison above already covers this; counting the headings
    // says so in numbers, and catches a writer that drops classes.
    int described = 0;
    std::istringstream lines(committed.str());
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("### ", 0) == 0) ++described;
    std::cout << text.classCount << " classes registered, " << described << " described in "
              << check << "\n";
    return described == text.classCount ? code : 1;
  }
  if (output.empty()) {
    std::cout << text.markdown;
  } else {
    std::ofstream out(output, std::ios::binary);
    out << text.markdown;
    if (!out) {
      std::cerr << "pellmore-reference: cannot write " << output << "\n";
      return 2;
    }
    std::cerr << text.classCount << " classes described in " << output << "\n";
  }
  return code;
}
