// Feeds arbitrary bytes to the shortcut file reader, and writes what it
// read back out and reads that again: any out-of-bounds read in the header,
// LinkInfo block or string data shows up, and so does a decoded shortcut
// that the writer cannot reproduce.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/sim/ShellLinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  auto link = platform::sim::DecodeShellLink(input);
  if (!link) return 0;
  auto again = platform::sim::DecodeShellLink(platform::sim::EncodeShellLink(*link, {}));
  if (!again || again->arguments != link->arguments ||
      again->workingDirectory != link->workingDirectory || again->iconPath != link->iconPath)
    std::abort();
  return 0;
}
