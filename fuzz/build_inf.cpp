// Fuzzes the reading of BUILD.INF: the first line of the text, then the
// build directory it names. A refusal must be IEInstall. A directory that
// is accepted must be trimmed, end in no backslash, be more than a drive's
// root, and read the same again, also with blanks and backslashes around
// it (a second reading must not reach a root the first one refused).
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "framework/StrUtils.h"
#include "install/BuildInf.h"
#include "install/InstallErrors.h"

namespace {

std::optional<std::string> DirectoryOf(std::string_view line) {
  try {
    return BuildDirectoryOf(line);
  } catch (const IEInstall&) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string line;
  try {
    line = BuildInfFirstLine(text);
  } catch (const IEInstall&) {
    return 0;
  }
  if (line.find('\n') != std::string::npos || line.size() > size) std::abort();
  const auto dir = DirectoryOf(line);
  if (!dir) return 0;
  if (dir->empty() || dir->back() == '\\' || Trim(*dir) != *dir || ExtractFileDrive(*dir) == *dir)
    std::abort();
  for (const std::string& again : {*dir, *dir + "\\", " \t" + *dir + "\\\\ "}) {
    const auto back = DirectoryOf(again);
    if (!back || *back != *dir) std::abort();
  }
  return 0;
}
