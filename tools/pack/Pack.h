// Building a distribution for authors from a form description read at
// design time (so its installer neither parses a command line nor starts
// a run). A front end over the installer's own build: either its packing
// step alone ("files.1", and "filelist.lst" for net distributions), or,
// given the setup program, the whole build that `setup -b` makes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

struct PackedFile {
  std::string component;  // the install file's component name
  std::string source;     // the member's stored name (its source path)
  int64_t size = 0;       // uncompressed bytes
  std::string version;    // empty for files without a version resource
};

struct PackResult {
  std::string archive;  // Windows path of the archive written
  int64_t archiveBytes = 0;
  std::vector<PackedFile> files;  // in the order of the install-file list
};

// What to build beyond the main archive.
struct BuildRequest {
  std::string setupProgram;  // empty: "files.1" only; else the whole build from it
  bool standalone = false;   // with setupProgram: append everything to "setup.exe"
};

// Packs every file of the description's installer tree into
// `buildDirectory`\files.1 (created with its parents, an old archive
// replaced) on the current platform backend, with the options of the
// installer's DistributeType (TCustomInstall::CompressForBuild); with a
// setup program in `request`, runs TCustomInstall::Build instead. The
// setup's classes must be registered. Raises the kit's exceptions (a missing source file, a form
// error naming file, line and column) and Exception when the description
// holds no installer; whatever was created is freed again either way, and
// a partial archive may be left behind.
PackResult PackDistribution(std::string_view formText, const std::string& formFile,
                            const std::string& buildDirectory, const BuildRequest& request = {});

}  // namespace pack
