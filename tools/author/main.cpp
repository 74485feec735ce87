// pellmore-author: sets (+FLAG) or clears (-FLAG) feature flags of the
// engine group in a form description, on a simulated authoring machine
// whose installed engine supplies the member files, and writes the form
// back (to FORM itself unless -o names another file).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/SetupRegistration.h"
#include "framework/ClassRegistry.h"
#include "framework/Exception.h"
#include "framework/FormParser.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "platform/HostAccess.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessSession.h"
#include "platform/sim/SimMachine.h"
#include "tools/author/Author.h"

namespace {

const char* const kUsage =
    "usage: pellmore-author MACHINE FORM.dfm [+FLAG|-FLAG]... [-o OUT.dfm]\n"
    "  sets (+) or clears (-) the engine group's feature flags (drVault ... slHeronNext)\n"
    "  in FORM.dfm, adding or removing member files from the engine installed on the\n"
    "  simulated machine in MACHINE, and writes the form to OUT.dfm (default: FORM.dfm,\n"
    "  replaced only once the whole form is written)\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  std::vector<author::FlagRequest> flags;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (a == "-o") {
      if (i + 1 >= argc || !out.empty()) {
        std::cerr << kUsage;
        return 2;
      }
      out = argv[++i];
    } else if (auto flag = author::ParseFlagArgument(a)) {
      flags.push_back(*flag);
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string& form = positional[1];
  if (out.empty()) out = form;

  std::string text;
  try {
    text = platform::ReadHostFile(form, kMaxFormDescriptionBytes);
  } catch (const platform::EHostFileError& e) {
    std::cerr << "pellmore-author: cannot read " << form << ": " << e.Message() << "\n";
    return 1;
  }

  int code = 0;
  try {
    platform::Install(platform::sim::SimMachine::Open(positional[0]));
    InstallWidgetset(platform::headless::CreateHeadless("", ""));
    RegisterSetupClasses(ClassRegistry::Global());
    const author::AuthorResult r = author::SetEngineFlags(text, form, flags);
    // Written before anything is reported: a failed write leaves FORM as it
    // was and reports no changes.
    author::ReplaceHostFile(out, r.formText);
    for (const author::FlagChange& c : r.changes)
      std::printf("%s\n", author::DescribeChange(c).c_str());
    std::printf("%zu flag%s applied, form written to %s\n", r.changes.size(),
                r.changes.size() == 1 ? "" : "s", out.c_str());
  } catch (const Exception& e) {
    std::cerr << "pellmore-author: " << e.Message() << "\n";
    code = 1;
  } catch (const std::exception& e) {
    std::cerr << "pellmore-author: " << e.what() << "\n";
    code = 1;
  }
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::cerr << "pellmore-author: " << e.what() << "\n";
  }
  return code;
}
