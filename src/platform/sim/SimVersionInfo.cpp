// The version service of the simulated machine: opens the file through the
// machine's file service and reads the version resource out of its PE image
// with the portable reader, picking the language as the system would for
// the machine's user language.
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"
#include "platform/sim/PeVersionReader.h"

namespace platform {
namespace {

class SimVersionService : public VersionInfoService {
 public:
  std::unique_ptr<VersionInfoData> Load(std::string_view path) override {
    try {
      auto file = files().OpenRead(path);
      sim::FileSource source(*file);
      return sim::ReadPeVersionInfo(source, system().UserDefaultLangID());
    } catch (const OsError&) {
      // Missing, unreadable or held without read sharing: no version.
      return nullptr;
    }
  }
};

}  // namespace

std::unique_ptr<VersionInfoService> CreateDefaultVersionService() {
  return std::make_unique<SimVersionService>();
}

}  // namespace platform
