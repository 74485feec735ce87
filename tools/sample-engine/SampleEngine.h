// The sample Quenby Database Engine: the engine's files as an installation
// takes them (real PE libraries and programs with version resources, the
// configuration template, help, contents and locale files), for building
// and installing distributions in tests and the demo. Content is
// deterministic, realistically sized and compressible.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sample_engine {

enum class Release {
  v82,  // the engine this setup installs: the 31 files of its engine group
  v75,  // an older engine already on a machine, for upgrade tests
};

struct EngineFile {
  std::string name;     // file name as the engine group lists it
  std::string version;  // four-part file version; empty for data files
  std::vector<uint8_t> bytes;
};

// Every file of the release, in the engine group's declaration order.
std::vector<EngineFile> BuildEngine(Release release);

// Writes the release's files into `directory` (created if missing) and
// returns them. Existing files of the same names are replaced.
std::vector<EngineFile> WriteEngine(Release release, const std::filesystem::path& directory);

// "8.2" or "7.5"; false for any other text.
bool ParseRelease(const std::string& text, Release& release);

}  // namespace sample_engine
