// "QDSETUP.DLL" on the simulated machine (see SimEngineSetup.h): a host
// over the machine's services and the library that checks each call's
// arguments against its export before running the operation.
#include "platform/sim/SimEngineSetup.h"

#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/OsError.h"

namespace platform::sim {
namespace {

using enginesetup::EngineHost;

// What one export takes, in order: 'i' an integer, 's' a text.
struct ExportShape {
  std::string_view name;
  std::string_view args;
};

constexpr ExportShape kExports[] = {
    {"QdMergeConfig", "sssiis"},
    {"QdLocaleConfig", "sis"},
    {"QdRepairConfig", "siis"},
    {"IncrementEngineUseCount", ""},
};

const ExportShape* FindExport(std::string_view name) {
  for (const ExportShape& e : kExports)
    if (e.name == name) return &e;  // GetProcAddress compares exactly
  return nullptr;
}

class EngineSetupLibrary : public Library {
 public:
  explicit EngineSetupLibrary(std::shared_ptr<EngineHost> host) : host_(std::move(host)) {}

  bool HasExport(std::string_view name) override { return FindExport(name) != nullptr; }

  std::optional<int32_t> Call(std::string_view name) override { return Call(name, {}); }

  std::optional<int32_t> Call(std::string_view name, const std::vector<LibraryArg>& args) override {
    if (args.size() > kMaxLibraryArgs) throw std::invalid_argument("too many export arguments");
    const ExportShape* e = FindExport(name);
    if (!e) return std::nullopt;
    Check(*e, args);
    EngineHost& h = *host_;
    if (e->name == "QdMergeConfig")
      return enginesetup::MergeConfig(h, Text(args[0]), Text(args[1]), Text(args[2]), Int(args[3]),
                                      Int(args[4]), Text(args[5]));
    if (e->name == "QdLocaleConfig")
      return enginesetup::LocaleConfig(h, Text(args[0]), Int(args[1]), Text(args[2]));
    if (e->name == "QdRepairConfig")
      return enginesetup::RepairConfig(h, Text(args[0]), Int(args[1]), Int(args[2]), Text(args[3]));
    return enginesetup::IncrementUseCount(h);
  }

 private:
  static void Check(const ExportShape& e, const std::vector<LibraryArg>& args) {
    bool ok = args.size() == e.args.size();
    for (size_t i = 0; ok && i < args.size(); ++i)
      ok = (e.args[i] == 's') == std::holds_alternative<std::string>(args[i]);
    if (ok) return;
    std::string shape;
    for (char c : e.args)
      shape += std::string(shape.empty() ? "" : ", ") + (c == 's' ? "text" : "integer");
    throw std::invalid_argument(std::string(e.name) + " takes (" + shape + "), called with " +
                                std::to_string(args.size()) + " argument(s) of other kinds");
  }
  // The callee sees a text up to its first NUL, as through a char pointer.
  static std::string_view Text(const LibraryArg& a) {
    return std::string_view(std::get<std::string>(a).c_str());
  }
  static int32_t Int(const LibraryArg& a) { return std::get<int32_t>(a); }

  std::shared_ptr<EngineHost> host_;
};

}  // namespace

std::optional<std::string> SimEngineHost::ReadFile(const std::string& path) {
  try {
    auto f = files_.OpenRead(path);
    if (f->Size() > enginesetup::kMaxConfigBytes) return std::nullopt;
    std::string bytes(size_t(f->Size()), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
      const size_t got = f->Read(bytes.data() + done, bytes.size() - done);
      if (got == 0) break;
      done += got;
    }
    bytes.resize(done);
    return bytes;
  } catch (const OsError&) {
    return std::nullopt;
  }
}

bool SimEngineHost::ReplaceAtomically(const std::string& path, const std::string& bytes) {
  std::string temp;
  std::unique_ptr<File> f;
  for (unsigned n = 0; n < 100 && !f; ++n) {
    temp = path + ".~qd" + std::to_string(n);
    try {
      f = files_.Open(temp, kAccessRead | kAccessWrite, kShareRead, Disposition::CreateNew);
    } catch (const OsError& e) {
      if (e.Code() != kErrorFileExists) return false;
    }
  }
  if (!f) return false;
  try {
    f->Write(bytes.data(), bytes.size());
    f->Close();
    f.reset();
    files_.MoveFile(temp, path, kMoveReplaceExisting);
    return true;
  } catch (const OsError&) {
    f.reset();
    try {
      files_.DeleteFile(temp);
    } catch (const OsError&) {
      // Nothing more can be done; the target is untouched either way.
    }
    return false;
  }
}

bool SimEngineHost::Exists(const std::string& path) {
  return files_.Stat(path).has_value();
}

std::optional<std::string> SimEngineHost::ReadMachineString(const std::string& key,
                                                            const std::string& name) {
  std::optional<RegValue> v = registry_().ReadValue(RootKey::LocalMachine, key, name);
  if (!v || (v->type != ValueType::String && v->type != ValueType::ExpandString))
    return std::nullopt;
  return v->text;
}

bool SimEngineHost::WriteMachineString(const std::string& key, const std::string& name,
                                       const std::string& value) {
  try {
    Registry& reg = registry_();
    reg.CreateKey(RootKey::LocalMachine, key);
    reg.WriteValue(RootKey::LocalMachine, key, name, RegValue::Str(value));
    return true;
  } catch (const OsError&) {
    return false;
  }
}

std::optional<std::string> SimEngineHost::ReadIniString(const std::string& file,
                                                        const std::string& section,
                                                        const std::string& key) {
  // No INI value holds a NUL, so this fallback says "missing".
  const std::string missing(1, '\0');
  try {
    std::string v = ini_.ReadString(file, section, key, missing);
    if (v == missing) return std::nullopt;
    return v;
  } catch (const OsError&) {
    return std::nullopt;
  }
}

bool SimEngineHost::WriteIniString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
  try {
    ini_.WriteString(file, section, key, value);
    return true;
  } catch (const OsError&) {
    return false;
  }
}

std::unique_ptr<Library> MakeEngineSetupLibrary(std::shared_ptr<EngineHost> host) {
  return std::make_unique<EngineSetupLibrary>(std::move(host));
}

NativeLibraryFactory EngineSetupFactory(FileSystem& files, std::function<Registry&()> registry,
                                        IniFiles& ini) {
  return [&files, registry = std::move(registry), &ini](const std::string&) {
    return MakeEngineSetupLibrary(std::make_shared<SimEngineHost>(files, registry, ini));
  };
}

}  // namespace platform::sim
