// pellmore-sample-engine: writes the sample engine's files into a host
// directory and lists them (name, size, version).
#include <cstdio>
#include <iostream>

#include "tools/sample-engine/SampleEngine.h"

int main(int argc, char** argv) {
  sample_engine::Release release = sample_engine::Release::v82;
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--release" && i + 1 < argc) {
      if (!sample_engine::ParseRelease(argv[++i], release)) {
        std::cerr << "pellmore-sample-engine: unknown release " << argv[i] << " (8.2 or 7.5)\n";
        return 2;
      }
    } else if (!a.empty() && a[0] != '-' && dir.empty()) {
      dir = a;
    } else {
      dir.clear();
      break;
    }
  }
  if (dir.empty()) {
    std::cerr << "usage: pellmore-sample-engine [--release 8.2|7.5] DIRECTORY\n";
    return 2;
  }
  try {
    for (const auto& f : sample_engine::WriteEngine(release, dir))
      std::printf("%-14s %8zu %s\n", f.name.c_str(), f.bytes.size(), f.version.c_str());
  } catch (const std::exception& e) {
    std::cerr << "pellmore-sample-engine: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
