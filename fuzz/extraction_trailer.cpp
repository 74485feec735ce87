// Fuzzes the self-extractor's trailer. The input is a self-extracting
// program: its last 56 bytes are the trailer and its length is the file's
// size. Offsets that pass the plausibility check must describe archives
// that lie, in order and without overlap, between the loading program and
// the trailer; offsets that fail it must come with a reason. The trailer
// written for the decoded offsets must decode to the same offsets and keep
// the input's offset bytes. Inputs shorter than a trailer check the size
// rule with the offsets taken from the start of the input.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/ExtractionTrailer.h"

namespace et = extraction_trailer;

namespace {

bool Sound(const et::Offsets& o, uint64_t fileSize) {
  if (fileSize < et::kSize) return false;
  const uint64_t trailerStart = fileSize - et::kSize;
  const bool setupOk = o.setupStart >= 1 && o.setupStart <= o.setupEnd && o.setupEnd < trailerStart;
  if (!setupOk) return false;
  if (!o.HasFiles()) return true;
  return o.filesStart > o.setupEnd && o.filesStart <= o.filesEnd && o.filesEnd < trailerStart;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  et::Bytes trailer{};
  if (size >= et::kSize)
    std::memcpy(trailer.data(), data + size - et::kSize, et::kSize);
  else
    std::memcpy(trailer.data(), data, size);
  const et::Offsets o = et::Decode(trailer);

  const auto why = et::Implausible(o, size);
  if (why.has_value() == Sound(o, size)) std::abort();
  if (why && (*why == nullptr || **why == '\0')) std::abort();
  // A file of any other size gives the same verdict by the same rule; the
  // size arithmetic must not wrap near the top of the range.
  for (uint64_t other :
       {uint64_t{0}, uint64_t{et::kSize}, uint64_t{0xFFFFFFFFull} + et::kSize, ~uint64_t{0}}) {
    if (et::Implausible(o, other).has_value() == Sound(o, other)) std::abort();
  }

  const et::Bytes written = et::Encode(o);
  if (written[0] != 14 || std::memcmp(written.data() + 1, "SELFEXTRACTING", 14) != 0 ||
      written[15] != 0 ||
      std::any_of(written.begin() + 32, written.end(), [](uint8_t b) { return b != 0; }))
    std::abort();
  if (std::memcmp(written.data() + 16, trailer.data() + 16, 16) != 0) std::abort();
  const et::Offsets back = et::Decode(written);
  if (back.setupStart != o.setupStart || back.setupEnd != o.setupEnd ||
      back.filesStart != o.filesStart || back.filesEnd != o.filesEnd)
    std::abort();
  return 0;
}
