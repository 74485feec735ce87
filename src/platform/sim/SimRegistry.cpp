// The simulated registry service (see SimRegistry.h): maps roots to hive
// stores and turns refused changes into the OsErrors Windows would give.
#include "platform/sim/SimRegistry.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "platform/OsError.h"
#include "platform/sim/HiveStore.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {
namespace {

// The hives on disk, one store each.
enum HiveIndex { kLocalMachine, kCurrentUser, kUsers, kCurrentConfig, kDynData, kHiveCount };

constexpr const char* kHiveNames[kHiveCount] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                                                "HKEY_USERS", "HKEY_CURRENT_CONFIG",
                                                "HKEY_DYN_DATA"};

HiveIndex HiveOf(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
    case RootKey::LocalMachine:
      return kLocalMachine;
    case RootKey::CurrentUser:
      return kCurrentUser;
    case RootKey::Users:
      return kUsers;
    case RootKey::CurrentConfig:
      return kCurrentConfig;
    case RootKey::DynData:
      return kDynData;
  }
  return kCurrentUser;
}

const char* DisplayRoot(RootKey root) {
  return root == RootKey::ClassesRoot ? "HKEY_CLASSES_ROOT" : kHiveNames[HiveOf(root)];
}

// A key path resolved to its hive: `path` is normalised and includes the
// root's prefix; `valid` is false when the path cannot name a key.
struct Target {
  HiveStore* store = nullptr;
  std::string path;
  bool valid = false;
  bool isRoot = false;  // names the root itself
  std::string display;  // "HKEY_...\path" for messages
};

class SimRegistry final : public Registry {
 public:
  explicit SimRegistry(const std::string& dir) {
    for (int i = 0; i < kHiveCount; ++i)
      stores_[i] = std::make_unique<HiveStore>(dir, kHiveNames[i]);
  }

  bool KeyExists(RootKey root, std::string_view path) override {
    const Target t = Resolve(root, path);
    if (!t.valid) return false;
    if (t.isRoot) return true;
    bool found = false;
    Read(t, [&](const HiveKey* key) { found = key != nullptr; });
    return found;
  }

  void CreateKey(RootKey root, std::string_view path) override {
    const Target t = Resolve(root, path);
    if (!t.valid) throw OsError("RegCreateKeyExW", t.display, kErrorInvalidParameter);
    JournalOp op;
    Faults::Before(FaultKind::RegWrite, "RegCreateKeyExW", t.display);
    op.kind = JournalOp::Kind::CreateKey;
    op.path = t.path;
    const ApplyResult r = t.store->Change(op);
    if (r.code != 0) throw OsError("RegCreateKeyExW", t.display, r.code);
  }

  bool DeleteKey(RootKey root, std::string_view path) override {
    const Target t = Resolve(root, path);
    if (!t.valid) return false;
    if (t.isRoot) throw OsError("RegDeleteKeyW", t.display, kErrorAccessDenied);
    JournalOp op;
    Faults::Before(FaultKind::RegWrite, "RegDeleteKeyW", t.display);
    op.kind = JournalOp::Kind::DeleteKey;
    op.path = t.path;
    const ApplyResult r = t.store->Change(op);
    if (r.code == kErrorFileNotFound) return false;
    if (r.code != 0) throw OsError("RegDeleteKeyW", t.display, r.code);
    return true;
  }

  std::vector<std::string> SubKeyNames(RootKey root, std::string_view path) override {
    std::vector<std::string> names;
    const Target t = Resolve(root, path);
    if (!t.valid) return names;
    Read(t, [&](const HiveKey* key) {
      if (!key) return;
      names.reserve(key->SubKeys().size());
      for (const auto& [upper, child] : key->SubKeys()) names.push_back(child->Name());
    });
    return names;
  }

  std::vector<std::string> ValueNames(RootKey root, std::string_view path) override {
    std::vector<std::string> names;
    const Target t = Resolve(root, path);
    if (!t.valid) return names;
    Read(t, [&](const HiveKey* key) {
      if (!key) return;
      names.reserve(key->ValueCount());
      key->ForEachValue([&](const std::string& name, const RegValue&) { names.push_back(name); });
    });
    return names;
  }

  std::optional<RegValue> ReadValue(RootKey root, std::string_view path,
                                    std::string_view name) override {
    std::optional<RegValue> value;
    const Target t = Resolve(root, path);
    if (!t.valid) return value;
    Read(t, [&](const HiveKey* key) {
      if (!key) return;
      if (const RegValue* v = key->Value(name)) value = *v;
    });
    return value;
  }

  void WriteValue(RootKey root, std::string_view path, std::string_view name,
                  const RegValue& value) override {
    const Target t = Resolve(root, path);
    if (!t.valid) throw OsError("RegOpenKeyExW", t.display, kErrorFileNotFound);
    JournalOp op;
    Faults::Before(FaultKind::RegWrite, "RegSetValueExW", t.display + " " + std::string(name));
    op.kind = JournalOp::Kind::SetValue;
    op.path = t.path;
    op.name = std::string(name);
    op.value = value;
    const ApplyResult r = t.store->Change(op);
    if (r.code == kErrorFileNotFound) throw OsError("RegOpenKeyExW", t.display, r.code);
    if (r.code != 0) throw OsError("RegSetValueExW", t.display + " " + op.name, r.code);
  }

  bool DeleteValue(RootKey root, std::string_view path, std::string_view name) override {
    const Target t = Resolve(root, path);
    if (!t.valid) return false;
    JournalOp op;
    Faults::Before(FaultKind::RegWrite, "RegDeleteValueW", t.display + " " + std::string(name));
    op.kind = JournalOp::Kind::DeleteValue;
    op.path = t.path;
    op.name = std::string(name);
    const ApplyResult r = t.store->Change(op);
    if (r.code == kErrorFileNotFound) return false;
    if (r.code != 0) throw OsError("RegDeleteValueW", t.display + " " + op.name, r.code);
    return true;
  }

  // A missing key has nothing to flush (as RegFlushKey cannot be reached
  // for it on Windows either).
  void Flush(RootKey root, std::string_view path) override {
    const Target t = Resolve(root, path);
    if (!t.valid || !KeyExists(root, path)) return;
    Faults::Before(FaultKind::RegFlush, "RegFlushKey", t.display);
    t.store->Flush();
  }

 private:
  Target Resolve(RootKey root, std::string_view path) {
    Target t;
    t.store = stores_[HiveOf(root)].get();
    std::string_view shown = path;
    if (!shown.empty() && shown.front() == '\\') shown.remove_prefix(1);
    t.display = DisplayRoot(root);
    if (!shown.empty()) {
      t.display += '\\';
      t.display += shown;
    }
    std::vector<std::string_view> names;
    std::string why;
    if (!SplitKeyPath(path, names, why)) return t;
    t.valid = true;
    t.isRoot = names.empty();
    t.path = HivePrefix(root);
    for (const auto name : names) {
      if (!t.path.empty()) t.path += '\\';
      t.path += name;
    }
    return t;
  }

  void Read(const Target& t, const std::function<void(const HiveKey*)>& f) {
    std::vector<std::string_view> names;
    std::string why;
    SplitKeyPath(t.path, names, why);  // valid: built by Resolve
    t.store->Read([&](const Hive& hive) { f(hive.Find(names)); });
  }

  std::array<std::unique_ptr<HiveStore>, kHiveCount> stores_;
};

}  // namespace

const char* HiveRootName(RootKey root) {
  return kHiveNames[HiveOf(root)];
}

const char* HivePrefix(RootKey root) {
  return root == RootKey::ClassesRoot ? "SOFTWARE\\Classes" : "";
}

std::unique_ptr<Registry> OpenSimRegistry(const std::string& hostRegistryDir) {
  std::error_code ec;
  std::filesystem::create_directories(hostRegistryDir, ec);
  if (ec) throw OsError("CreateDirectoryW", hostRegistryDir, kErrorPathNotFound);
  return std::make_unique<SimRegistry>(hostRegistryDir);
}

}  // namespace platform::sim
