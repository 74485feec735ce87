// Reads a hive file of the simulated registry: REGEDIT4-style UTF-8 text
// with "[ROOT\KEY\PATH]" sections and value lines, into a Hive. Anything it
// cannot read raises HiveError naming the file and the line.
#pragma once

#include <string>
#include <string_view>

#include "platform/sim/HiveModel.h"

namespace platform::sim {

// The comment line that carries the hive's generation, right after the
// header ("; generation 12"); a hive without it has generation 0.
inline constexpr std::string_view kGenerationComment = "; generation ";

// Reads `text` (the whole file) into `hive`, whose root name the sections
// must use. `file` names the file in errors. On error `hive` holds part of
// the text and must be discarded.
void ReadHiveText(std::string_view text, const std::string& file, Hive& hive);

}  // namespace platform::sim
