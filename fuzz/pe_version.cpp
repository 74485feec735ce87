// Feeds arbitrary bytes to the PE version reader as a whole file and as a
// bare version block, and asks every query, so any out-of-bounds read or
// runaway loop in the header, directory or tree parsing shows up.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/sim/PeVersionReader.h"

namespace {

void Query(const platform::VersionInfoData& data) {
  (void)data.Fixed();
  for (const auto& t : data.Translations()) (void)t;
  for (const char* table : {"040904E4", "040904B0", "080403A8"})
    for (const char* key : {"CompanyName", "FileVersion", "OLESelfRegister", ""})
      (void)data.StringValue(table, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::span<const uint8_t> input(bytes, size);
  platform::sim::SpanSource source(input);
  if (auto data = platform::sim::ReadPeVersionInfo(source, 0x0804)) Query(*data);
  if (auto data = platform::sim::ParseVersionBlock(input)) Query(*data);
  return 0;
}
