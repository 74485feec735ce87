// Writes a Hive as the text the HiveReader reads back: the REGEDIT4 header,
// the generation comment, then one section per key (depth first, subkeys in
// enumeration order) with its values in creation order.
#pragma once

#include <functional>
#include <string_view>

#include "platform/sim/HiveModel.h"

namespace platform::sim {

// Hands the text to `sink` in chunks of bounded size, so a large hive never
// needs a second copy of itself in memory. Linear in the size of the text.
void WriteHiveText(const Hive& hive, const std::function<void(std::string_view)>& sink);

}  // namespace platform::sim
