// Libraries of the simulated machine (see SimLibraries.h).
#include "platform/sim/SimLibraries.h"

#include <stdexcept>

#include "framework/StrUtils.h"
#include "platform/sim/PeExportReader.h"
#include "platform/sim/SearchPath.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {
namespace {

constexpr const char* kCall = "LoadLibraryW";
constexpr const char* kRegisterExport = "DllRegisterServer";

class SimLibrary : public Library {
 public:
  SimLibrary(std::string path, std::string key, PeImageInfo image, ProgramTable& table,
             const SimLibraries& owner)
      : path_(std::move(path)),
        key_(std::move(key)),
        image_(std::move(image)),
        table_(table),
        owner_(owner) {}

  bool HasExport(std::string_view name) override { return Find(name) != nullptr; }

  std::optional<int32_t> Call(std::string_view name) override {
    const PeExport* e = Find(name);
    if (!e) return std::nullopt;
    if (name != kRegisterExport) return int32_t(e->constantResult.value_or(0));
    uint32_t result = table_.TakeRegistration(key_).value_or(e->constantResult.value_or(0));
    table_.Append(
        SimStart{SimStartKind::Register, path_, ShowMode::Hidden, result, owner_.OleDepth() > 0});
    return int32_t(result);
  }

  // A PE file on the machine has no code to run: an export with arguments
  // answers like one without (its constant, else 0).
  std::optional<int32_t> Call(std::string_view name, const std::vector<LibraryArg>& args) override {
    if (args.size() > kMaxLibraryArgs) throw std::invalid_argument("too many export arguments");
    if (args.empty()) return Call(name);
    const PeExport* e = Find(name);
    if (!e) return std::nullopt;
    return int32_t(e->constantResult.value_or(0));
  }

 private:
  // GetProcAddress compares export names exactly.
  const PeExport* Find(std::string_view name) const {
    for (const PeExport& e : image_.exports)
      if (e.name == name) return &e;
    return nullptr;
  }

  std::string path_, key_;
  PeImageInfo image_;
  ProgramTable& table_;
  const SimLibraries& owner_;
};

}  // namespace

std::unique_ptr<Library> SimLibraries::Load(std::string_view path) {
  std::optional<Resolved> found;
  try {
    found = FindOnSearchPath(core_, system_, path, ".DLL", kCall);
  } catch (const OsError&) {
    // A missing directory is, to LoadLibrary, a module it cannot find.
  }
  if (!found) Refuse(kCall, path, kErrorModNotFound);
  Faults::Before(FaultKind::Load, kCall, path);
  const std::string full = found->path.Text();
  auto native = natives_.find(AsciiUpperCase(found->path.parts.back()));
  if (native != natives_.end()) return native->second(full);

  std::optional<PeImageInfo> image;
  try {
    image = ReadPeImage(files_, full);
  } catch (const OsError& e) {
    Refuse(kCall, path, e.Code());
  }
  if (!image || !image->pe32 || image->machine != kMachineI386)
    Refuse(kCall, path, kErrorBadExeFormatLoad);
  return std::make_unique<SimLibrary>(full, found->path.Key(), std::move(*image), table_, *this);
}

void SimLibraries::RegisterNative(std::string_view fileName, NativeLibraryFactory factory) {
  std::string key = AsciiUpperCase(fileName);
  if (factory)
    natives_[key] = std::move(factory);
  else
    natives_.erase(key);
}

}  // namespace platform::sim
