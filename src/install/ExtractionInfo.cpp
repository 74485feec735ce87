// The self-extractor's trailer read from a file (see ExtractionInfo.h).
#include "install/ExtractionInfo.h"

#include <memory>

#include "install/InstallErrors.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

extraction_trailer::Offsets ReadExtractionInfo(const std::string& path) {
  using extraction_trailer::kSize;
  extraction_trailer::Bytes trailer{};
  std::string problem;
  uint64_t size = 0;
  try {
    std::unique_ptr<platform::File> f = platform::files().OpenRead(path);
    size = f->Size();
    if (size < kSize) {
      problem = "The file has " + std::to_string(size) + " bytes, fewer than its " +
                std::to_string(kSize) + "-byte trailer.";
    } else {
      f->Seek(static_cast<int64_t>(size - kSize), platform::SeekOrigin::Begin);
      const size_t got = f->Read(trailer.data(), kSize);
      if (got != kSize)
        problem = "Only " + std::to_string(got) + " of the trailer's " + std::to_string(kSize) +
                  " bytes could be read.";
    }
  } catch (const Exception& e) {
    problem = e.Message();
  }
  extraction_trailer::Offsets offsets;
  if (problem.empty()) {
    offsets = extraction_trailer::Decode(trailer);
    // A damaged or missing trailer would point the archive reader at
    // arbitrary bytes of the program; say so here instead.
    if (auto why = extraction_trailer::Implausible(offsets, size))
      problem = std::string("The trailer is damaged: ") + *why + ".";
  }
  if (!problem.empty())
    throw WithCause(IEInstall("Could not read the extraction info from the archive file %s when "
                              "trying to find the correct offset into the self extracting file",
                              path),
                    problem);
  return offsets;
}
