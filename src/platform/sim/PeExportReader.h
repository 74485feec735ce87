// A portable reader of what the loader needs from a PE file: the machine,
// whether the image is a DLL, and its export names. For each export it also
// recognises the simplest body a function can have, "mov eax, imm32; ret",
// so the simulated machine can answer a call with the value real code would
// return. The input is outside data: every offset and count is checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/sim/PeImage.h"

namespace platform::sim {

inline constexpr uint16_t kMachineI386 = 0x014C;

struct PeExport {
  std::string name;
  uint32_t rva = 0;
  // The value the function returns when its body is a constant return.
  std::optional<uint32_t> constantResult;
};

struct PeImageInfo {
  uint16_t machine = 0;
  bool pe32 = false;  // PE32 (not PE32+) optional header
  bool dll = false;   // IMAGE_FILE_DLL
  std::vector<PeExport> exports;
};

// The image's facts, or nullopt when the file is no PE image. A damaged
// export directory gives an image without exports.
std::optional<PeImageInfo> ReadPeImage(ByteSource& file);

// The same for a file of the machine, opened for reading with sharing
// (raises OsError when it cannot be opened).
std::optional<PeImageInfo> ReadPeImage(FileSystem& files, std::string_view path);

}  // namespace platform::sim
