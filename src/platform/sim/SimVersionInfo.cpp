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

// Random access through an open file handle.
class FileSource : public sim::ByteSource {
 public:
  explicit FileSource(File& file) : file_(file), size_(file.Size()) {}
  uint64_t Size() override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t length) override {
    if (offset > size_ || length > size_ - offset) return false;
    file_.Seek(static_cast<int64_t>(offset), SeekOrigin::Begin);
    auto* p = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < length) {
      const size_t n = file_.Read(p + done, length - done);
      if (n == 0) return false;
      done += n;
    }
    return true;
  }

 private:
  File& file_;
  uint64_t size_;
};

class SimVersionService : public VersionInfoService {
 public:
  std::unique_ptr<VersionInfoData> Load(std::string_view path) override {
    try {
      auto file = files().OpenRead(path);
      FileSource source(*file);
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
