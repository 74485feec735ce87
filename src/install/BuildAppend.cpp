// Appending the archives and the trailer to "setup.exe" (see BuildAppend.h).
// Copies go through one fixed buffer, so any size streams in constant memory.
#include "install/BuildAppend.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

#include "install/InstallErrors.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kBlock = 64 * 1024;

[[noreturn]] void NotLoaded(const std::string& archive, const std::string& shownExe) {
  throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s",
                  archive, shownExe);
}

// Copies all of `archive` to the end of `out`; returns the offsets of its
// first and last byte.
std::pair<uint32_t, uint32_t> AppendArchive(platform::File& out, const std::string& archive,
                                            const std::string& shownExe) {
  try {
    const uint64_t start = out.Seek(0, platform::SeekOrigin::End);
    std::unique_ptr<platform::File> in = platform::files().OpenRead(archive);
    const uint64_t size = in->Size();
    // Every offset, the trailer's end included, must fit the 32-bit fields.
    constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
    if (size == 0 || start + size + extraction_trailer::kSize > kMax) NotLoaded(archive, shownExe);
    std::vector<char> buffer(kBlock);
    uint64_t copied = 0;
    while (copied < size) {
      const size_t n = in->Read(buffer.data(), buffer.size());
      if (n == 0) break;
      out.Write(buffer.data(), n);
      copied += n;
    }
    if (copied != size) NotLoaded(archive, shownExe);
    return {static_cast<uint32_t>(start), static_cast<uint32_t>(start + size - 1)};
  } catch (const platform::OsError&) {
    NotLoaded(archive, shownExe);
  }
}

}  // namespace

extraction_trailer::Offsets AppendSelfExtractor(const std::string& target,
                                                const std::string& shownExe,
                                                const std::string& setup1,
                                                const std::string& files1) {
  std::unique_ptr<platform::File> out;
  try {
    out = platform::files().OpenWrite(target);
  } catch (const platform::OsError&) {
    NotLoaded(setup1, shownExe);
  }
  extraction_trailer::Offsets offsets;
  std::tie(offsets.setupStart, offsets.setupEnd) = AppendArchive(*out, setup1, shownExe);
  const bool withFiles = platform::files().FileExists(files1);
  if (withFiles)
    std::tie(offsets.filesStart, offsets.filesEnd) = AppendArchive(*out, files1, shownExe);
  const extraction_trailer::Bytes trailer = extraction_trailer::Encode(offsets);
  try {
    out->Seek(0, platform::SeekOrigin::End);
    out->Write(trailer.data(), trailer.size());
    out->Close();
  } catch (const platform::OsError&) {
    NotLoaded(withFiles ? files1 : setup1, shownExe);
  }
  return offsets;
}
