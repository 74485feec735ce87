// A portable reader of the version resource inside PE files: finds the
// RT_VERSION resource through the DOS and PE headers, the section table and
// the resource directory, and parses its VS_VERSIONINFO tree. The input is
// outside data: every offset and count is checked before use.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/VersionInfo.h"
#include "platform/sim/PeImage.h"

namespace platform::sim {

// The largest version block read: its root length field is 16 bits.
constexpr size_t kMaxVersionBlock = 0xFFFF;

// The bytes of the version resource (type 16, name 1), or nullopt when the
// file is no PE image or has none. Of several languages the one the system
// picks: neutral, the user's language, its primary language (neutral, then
// default sublanguage), US English, else the first entry.
std::optional<std::vector<uint8_t>> FindPeVersionResource(ByteSource& file,
                                                          uint16_t userLanguage = 0x0409);

// The VS_VERSIONINFO tree of a version block, or nullptr when the block
// does not even hold a root node.
std::unique_ptr<VersionInfoData> ParseVersionBlock(std::span<const uint8_t> block);

// Both steps: the version data of a PE file, or nullptr.
std::unique_ptr<VersionInfoData> ReadPeVersionInfo(ByteSource& file,
                                                   uint16_t userLanguage = 0x0409);

}  // namespace platform::sim
