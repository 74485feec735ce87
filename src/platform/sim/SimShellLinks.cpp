// The simulated machine's shell-link objects (see SimShellLinks.h).
#include "platform/sim/SimShellLinks.h"

#include "framework/StrUtils.h"
#include "framework/Utf8.h"
#include "platform/OsError.h"
#include "platform/sim/ShellLinkFile.h"

namespace platform::sim {
namespace {

// A shortcut is a few hundred bytes; anything far larger is not one.
constexpr uint64_t kMaxLinkBytes = 1024 * 1024;
// IPersistFile::Save takes the path in a buffer of this many UTF-16 units,
// terminator included.
constexpr size_t kMaxPathUnits = 260;

bool HasShellLinkClass(const MachineSettings& s) {
  return !(SameText(s.kind, "win32s") || SameText(s.kind, "nt351"));
}

class SimShellLink : public ShellLink {
 public:
  explicit SimShellLink(FileSystem& files) : files_(files) {}

  int32_t SetPath(std::string_view path) override {
    data_.path = path;
    return kSOk;
  }
  int32_t SetHotkey(uint16_t hotKey) override {
    data_.hotKey = hotKey;
    return kSOk;
  }
  int32_t SetArguments(std::string_view arguments) override {
    data_.arguments = arguments;
    return kSOk;
  }
  int32_t SetWorkingDirectory(std::string_view directory) override {
    data_.workingDirectory = directory;
    return kSOk;
  }
  int32_t SetDescription(std::string_view description) override {
    data_.description = description;
    return kSOk;
  }
  int32_t SetIconLocation(std::string_view path, int32_t index) override {
    data_.iconPath = path;
    data_.iconIndex = index;
    return kSOk;
  }

  int32_t Save(std::string_view linkPath) override {
    if (linkPath.empty() || Utf8ToUtf16(linkPath).size() >= kMaxPathUnits) return kEInvalidArg;
    ShellLinkTargetInfo target;
    try {
      if (auto info = files_.Stat(data_.path); info && !data_.path.empty()) {
        target.attributes = info->attributes;
        target.size = info->size;
        target.lastWrite = info->lastWrite;
      }
    } catch (const OsError&) {
      // The header's target facts are informative only.
    }
    const std::string bytes = EncodeShellLink(data_, target);
    bool created = false;
    try {
      std::unique_ptr<File> file = files_.Create(linkPath);
      created = true;
      file->Write(bytes.data(), bytes.size());
      file->Close();
      return kSOk;
    } catch (const OsError& e) {
      // A shortcut cut short is worse than none.
      if (created) {
        try {
          files_.DeleteFile(linkPath);
        } catch (const OsError&) {
          // Nothing more can be done; the write's failure is reported.
        }
      }
      return HresultFromWin32(e.Code());
    }
  }

 private:
  FileSystem& files_;
  ShellLinkData data_;
};

}  // namespace

int32_t HresultFromWin32(uint32_t code) {
  if (code == 0) return int32_t(0x80004005);  // E_FAIL: a refusal without a code
  return int32_t(0x80070000u | (code & 0xFFFFu));
}

bool SimShellLinks::InitializeCom() {
  ++comInitializations_;
  return true;
}

std::unique_ptr<ShellLink> SimShellLinks::Create() {
  const char* call = "CoCreateInstance";
  const char* clsid = "{00021401-0000-0000-C000-000000000046}";
  if (comInitializations_ == 0) throw OsError(call, clsid, uint32_t(kCoENotInitialized));
  if (!HasShellLinkClass(core_.Settings()))
    throw OsError(call, clsid, uint32_t(kRegdbEClassNotReg));
  return std::make_unique<SimShellLink>(files_);
}

std::optional<ShellLinkData> SimShellLinks::Read(std::string_view linkPath) {
  try {
    std::unique_ptr<File> file = files_.OpenRead(linkPath);
    const uint64_t size = file->Size();
    if (size > kMaxLinkBytes) return std::nullopt;
    std::string bytes(size_t(size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
      size_t n = file->Read(bytes.data() + got, bytes.size() - got);
      if (n == 0) break;
      got += n;
    }
    bytes.resize(got);
    return DecodeShellLink(bytes);
  } catch (const OsError&) {
    return std::nullopt;
  }
}

}  // namespace platform::sim
