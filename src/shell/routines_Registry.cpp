// Registry routines (see routines_Registry.h). Every failure the registry
// service reports is an Exception (OsError when the system refuses,
// HiveError for a corrupt hive); reads turn it into the default, writes
// into EIRCannotWriteValue.
#include "shell/routines_Registry.h"

#include <unordered_set>

#include "framework/Format.h"
#include "framework/StrUtils.h"
#include "platform/Platform.h"
#include "shell/routines_Strings.h"

using platform::RegValue;
using platform::RootKey;
using platform::ValueType;

namespace {

constexpr RootKey kIndexTable[] = {RootKey::ClassesRoot,  RootKey::CurrentConfig,
                                   RootKey::CurrentUser,  RootKey::DynData,
                                   RootKey::LocalMachine, RootKey::Users};

constexpr char kRunOnceKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// True when `key` names the hive's root ("", "\", "\\" ...).
bool NamesRoot(std::string_view key) {
  return key.find_first_not_of('\\') == key.npos;
}

void DeleteTree(RootKey root, const std::string& key) {
  auto& reg = platform::registry();
  try {
    if (!reg.KeyExists(root, key)) return;
    const std::vector<std::string> subKeys = reg.SubKeyNames(root, key);
    for (const auto& sub : subKeys) DeleteTree(root, AddBackslash(key) + sub);
    reg.DeleteKey(root, key);
  } catch (const Exception&) {
    // Ends this level quietly; the caller's own delete then fails quietly
    // too when something is left below it.
  }
}

}  // namespace

RootKey RootKeyFromIndex(uint8_t index) {
  index &= 0x7F;
  return index < std::size(kIndexTable) ? kIndexTable[index] : RootKey::CurrentUser;
}

uint32_t RootKeyHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return kHKeyClassesRoot;
    case RootKey::CurrentConfig:
      return kHKeyCurrentConfig;
    case RootKey::CurrentUser:
      return kHKeyCurrentUser;
    case RootKey::DynData:
      return kHKeyDynData;
    case RootKey::LocalMachine:
      return kHKeyLocalMachine;
    case RootKey::Users:
      return kHKeyUsers;
  }
  return kHKeyCurrentUser;
}

uint8_t RootKeyIndex(uint32_t handle, uint8_t defaultIndex) {
  for (uint8_t i = 0; i < std::size(kIndexTable); ++i)
    if (RootKeyHandle(kIndexTable[i]) == handle) return i;
  return defaultIndex;
}

void WriteRegString(uint8_t rootIndex, std::string_view key, std::string_view ident,
                    std::string_view value) {
  const RootKey root = RootKeyFromIndex(rootIndex);
  try {
    auto& reg = platform::registry();
    reg.CreateKey(root, key);
    reg.WriteValue(root, key, ident, RegValue::Str(std::string(value)));
  } catch (const Exception& e) {
    // The message a user knows, and under it what the registry said.
    throw EIRCannotWriteValue(
        Format("Cannot install into registry. Key: %s Ident: %s Value %s", key, ident, value) +
        "\n" + e.Message());
  }
}

void WriteRegInteger(uint8_t rootIndex, std::string_view key, std::string_view ident,
                     int32_t value) {
  const RootKey root = RootKeyFromIndex(rootIndex);
  try {
    auto& reg = platform::registry();
    reg.CreateKey(root, key);
    reg.WriteValue(root, key, ident, RegValue::DWordValue(static_cast<uint32_t>(value)));
  } catch (const Exception& e) {
    throw EIRCannotWriteValue(std::string(key) + "\n" + e.Message());
  }
}

std::string ReadRegString(uint8_t rootIndex, std::string_view key, std::string_view ident,
                          std::string_view def) {
  try {
    const auto v = platform::registry().ReadValue(RootKeyFromIndex(rootIndex), key, ident);
    if (v && (v->type == ValueType::String || v->type == ValueType::ExpandString)) return v->text;
  } catch (const Exception&) {
  }
  return std::string(def);
}

int32_t ReadRegInteger(uint8_t rootIndex, std::string_view key, std::string_view ident,
                       int32_t def) {
  try {
    const auto v = platform::registry().ReadValue(RootKeyFromIndex(rootIndex), key, ident);
    if (v && v->type == ValueType::DWord) return static_cast<int32_t>(v->dword);
  } catch (const Exception&) {
  }
  return def;
}

void DeleteRegKeyTree(uint8_t rootIndex, std::string_view key) {
  if (NamesRoot(key)) return;
  DeleteTree(RootKeyFromIndex(rootIndex), std::string(key));
}

bool WriteRunOnce(std::string_view ident, std::string_view commandLine, bool makeUnique,
                  std::string* why) {
  try {
    auto& reg = platform::registry();
    reg.CreateKey(RootKey::LocalMachine, kRunOnceKey);
    std::string name(ident);
    if (makeUnique) {
      // One listing instead of a query per candidate name.
      std::unordered_set<std::string> taken;
      for (const auto& n : reg.ValueNames(RootKey::LocalMachine, kRunOnceKey))
        taken.insert(AsciiUpperCase(n));
      for (unsigned i = 1; taken.count(AsciiUpperCase(name)) != 0; ++i)
        name = std::string(ident) + std::to_string(i);
    }
    reg.WriteValue(RootKey::LocalMachine, kRunOnceKey, name,
                   RegValue::Str(std::string(commandLine)));
    reg.Flush(RootKey::LocalMachine, kRunOnceKey);
    return true;
  } catch (const Exception& e) {
    if (why) *why = e.Message();
    return false;
  }
}
