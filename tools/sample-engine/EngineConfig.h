// The sample engine's configuration files as data: the templates
// "QDENG32.CNF" of 8.2 and 7.5 and the files in use ("qdeng32.cfg") built
// from one table of sections, so the files and the registry values derived
// from them (driver keys) always agree. Rendered files parse under the
// engine's configuration rules: comments, "[SECTION]" and "NAME=VALUE".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample-engine/SampleEngine.h"

namespace sample_engine {

struct ConfigSetting {
  std::string name;
  std::string value;
};

struct ConfigSection {
  std::string name;     // "SYSTEM INIT", "DRIVERS\KESTREL\SESSION"
  std::string comment;  // written as "; ..." above the section; may be empty
  std::vector<ConfigSetting> settings;
};

using Config = std::vector<ConfigSection>;

// The template a release ships, or (inUse) the file a machine with that
// release uses: for 7.5 the user's changes and own section are in it.
Config EngineConfig(Release release, bool inUse);

// The section of that name (compared ignoring case), or nullptr.
const ConfigSection* FindSection(const Config& config, const std::string& name);

// The file's bytes: a header comment, a block of comment lines that brings
// the file to about `targetBytes` (real files carry long change notes),
// then the sections. CRLF line ends, 8-bit text, no NUL.
std::vector<uint8_t> RenderConfig(const Config& config, const std::string& header,
                                  size_t targetBytes, uint32_t seed);

}  // namespace sample_engine
