// pellmore-sample-engine: writes the sample engine's files into a host
// directory and lists them (name, size, version); or lays down an installed
// engine (the authoring machine, or a target with the older engine) on a
// simulated machine, or into a Wine prefix as files plus a REGEDIT4 file.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "framework/Exception.h"
#include "platform/Platform.h"
#include "tools/sample-engine/SampleEngine.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

namespace {

const char* const kUsage =
    "usage: pellmore-sample-engine [--release 8.2|7.5] DIRECTORY\n"
    "       pellmore-sample-engine --kit DIRECTORY\n"
    "       pellmore-sample-engine --machine MACHINE_DIR --authoring\n"
    "       pellmore-sample-engine --machine MACHINE_DIR --installed 7.5\n"
    "       pellmore-sample-engine --wine-prefix PREFIX --authoring|--installed 7.5\n"
    "                              [--program-files 'C:\\Program Files']\n"
    "                              [--system-dir 'C:\\windows\\system32']\n"
    "  DIRECTORY: the release's files, written into a host directory\n"
    "  --kit: the kit's files (setup library, template, uninstall.exe ...) instead\n"
    "  --machine: the engine installed on a simulated machine (files, registry)\n"
    "  --wine-prefix: the same files under PREFIX/drive_c and the registry values\n"
    "    in PREFIX/sample-engine-<shape>.reg for wine regedit\n"
#ifdef _WIN32
    "  without --machine or --wine-prefix, --authoring and --installed act on\n"
    "  this system\n"
#endif
    ;

enum class Shape { None, Authoring, Older };

struct Options {
  sample_engine::Release release = sample_engine::Release::v82;
  std::string dir, machine, winePrefix;
  std::string programFiles = "C:\\Program Files", systemDir = "C:\\windows\\system32";
  Shape shape = Shape::None;
  bool kit = false;
};

// Fills `o`; false (with the reason on stderr) on anything it does not take.
bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--release" && hasValue) {
      if (!sample_engine::ParseRelease(argv[++i], o.release)) {
        std::cerr << "pellmore-sample-engine: unknown release " << argv[i] << " (8.2 or 7.5)\n";
        return false;
      }
    } else if (a == "--machine" && hasValue) {
      o.machine = argv[++i];
    } else if (a == "--wine-prefix" && hasValue) {
      o.winePrefix = argv[++i];
    } else if (a == "--program-files" && hasValue) {
      o.programFiles = argv[++i];
    } else if (a == "--system-dir" && hasValue) {
      o.systemDir = argv[++i];
    } else if (a == "--kit" && o.shape == Shape::None) {
      o.kit = true;
    } else if (a == "--authoring" && o.shape == Shape::None) {
      o.shape = Shape::Authoring;
    } else if (a == "--installed" && hasValue && o.shape == Shape::None) {
      if (std::string(argv[++i]) != "7.5") {
        std::cerr << "pellmore-sample-engine: --installed takes 7.5 (the older engine)\n";
        return false;
      }
      o.shape = Shape::Older;
    } else if (!a.empty() && a[0] != '-' && o.dir.empty()) {
      o.dir = a;
    } else {
      std::cerr << "pellmore-sample-engine: unexpected argument " << a << "\n";
      return false;
    }
  }
  const int targets = int(!o.machine.empty()) + int(!o.winePrefix.empty());
  bool ok = o.shape == Shape::None ? !o.dir.empty() && targets == 0 : o.dir.empty() && targets <= 1;
  if (o.kit && (o.shape != Shape::None || o.release != sample_engine::Release::v82)) ok = false;
#ifdef _WIN32
  if (!o.machine.empty()) ok = false;  // no simulated machines here
#else
  if (o.shape != Shape::None && targets == 0) ok = false;
#endif
  if (!ok)
    std::cerr << "pellmore-sample-engine: give a DIRECTORY, or a machine and what to lay down\n";
  return ok;
}

void List(const sample_engine::MachineLayout& l) {
  for (const auto& f : l.files) std::printf("%10zu  %s\n", f.bytes.size(), f.path.c_str());
  std::printf("%zu files, %zu registry values\n", l.files.size(), l.values.size());
}

int Run(const Options& o) {
  using namespace sample_engine;
  if (o.kit) {
    for (const auto& f : WriteKit(o.dir))
      std::printf("%-14s %8zu %s\n", f.name.c_str(), f.bytes.size(), f.version.c_str());
    return 0;
  }
  if (o.shape == Shape::None) {
    for (const auto& f : WriteEngine(o.release, o.dir))
      std::printf("%-14s %8zu %s\n", f.name.c_str(), f.bytes.size(), f.version.c_str());
    return 0;
  }
  if (!o.winePrefix.empty()) {
    const MachinePaths paths{o.programFiles, o.systemDir};
    const MachineLayout l =
        o.shape == Shape::Authoring ? AuthoringLayout(paths) : OlderEngineLayout(paths);
    WriteFilesToWinePrefix(l, o.winePrefix);
    const std::filesystem::path prefix = std::filesystem::absolute(o.winePrefix);
    const std::filesystem::path reg =
        prefix /
        (o.shape == Shape::Authoring ? "sample-engine-authoring.reg" : "sample-engine-75.reg");
    std::ofstream out(reg, std::ios::binary | std::ios::trunc);
    out << RenderRegFile(l);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + reg.string());
    List(l);
    std::printf(
        "import the registry values with:\n  WINEPREFIX='%s' wine regedit /S \"$(WINEPREFIX='%s' "
        "winepath -w '%s')\"\n",
        prefix.string().c_str(), prefix.string().c_str(), reg.string().c_str());
    return 0;
  }
#ifndef _WIN32
  platform::Install(platform::sim::SimMachine::Open(o.machine));
#endif
  List(o.shape == Shape::Authoring ? InstallAuthoringEngine() : InstallOlderEngine());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) {
    std::cerr << kUsage;
    return 2;
  }
  int code = 0;
  try {
    code = Run(o);
  } catch (const Exception& e) {
    std::cerr << "pellmore-sample-engine: " << e.Message() << "\n";
    code = 1;
  } catch (const std::exception& e) {
    std::cerr << "pellmore-sample-engine: " << e.what() << "\n";
    code = 1;
  }
  platform::Install(nullptr);
  return code;
}
