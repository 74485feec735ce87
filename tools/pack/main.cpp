// pellmore-pack: builds a distribution on a simulated authoring machine
// from a form description (the installation the setup will run) with the
// installer's own build code, and lists what went in: "files.1" alone, or
// with --setup everything `setup -b` makes.
#include <cstdio>
#include <iostream>
#include <string>

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
#include "tools/pack/Pack.h"

namespace {

const char* const kUsage =
    "usage: pellmore-pack MACHINE FORM.dfm BUILDDIR [--quiet] [--setup PROGRAM [--stand-alone]]\n"
    "  packs the files of FORM.dfm's installer, read from the simulated machine in\n"
    "  MACHINE, into BUILDDIR\\files.1 on that machine (BUILDDIR a Windows path);\n"
    "  with --setup (the setup program's Windows path on that machine) it builds\n"
    "  the whole distribution as setup -b does: setup.1, setup.exe from the kit's\n"
    "  loading program, files.1, and with --stand-alone one self-extracting setup.exe\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  bool quiet = false;
  pack::BuildRequest request;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quiet")
      quiet = true;
    else if (a == "--stand-alone")
      request.standalone = true;
    else if (a == "--setup" && i + 1 < argc)
      request.setupProgram = argv[++i];
    else if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else
      args.push_back(a);
  }
  if (args.size() != 3 || (request.standalone && request.setupProgram.empty())) {
    std::cerr << kUsage;
    return 2;
  }
  std::string text;
  try {
    text = platform::ReadHostFile(args[1], kMaxFormDescriptionBytes);
  } catch (const platform::EHostFileError& e) {
    std::cerr << "pellmore-pack: cannot read " << args[1] << ": " << e.Message() << "\n";
    return 1;
  }

  int code = 0;
  try {
    platform::Install(platform::sim::SimMachine::Open(args[0]));
    // Long operations let the message loop run; nothing is ever shown.
    InstallWidgetset(platform::headless::CreateHeadless("", ""));
    RegisterSetupClasses(ClassRegistry::Global());
    const pack::PackResult r = pack::PackDistribution(text, args[1], args[2], request);
    if (!quiet)
      for (const pack::PackedFile& f : r.files)
        std::printf("%-20s %10lld  %-14s %s\n", f.component.c_str(), static_cast<long long>(f.size),
                    f.version.c_str(), f.source.c_str());
    std::printf("%zu files packed into %s (%lld bytes)\n", r.files.size(), r.archive.c_str(),
                static_cast<long long>(r.archiveBytes));
  } catch (const Exception& e) {
    std::cerr << "pellmore-pack: " << e.Message() << "\n";
    code = 1;
  } catch (const std::exception& e) {
    std::cerr << "pellmore-pack: " << e.what() << "\n";
    code = 1;
  }
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::cerr << "pellmore-pack: " << e.what() << "\n";
  }
  return code;
}
