// The registry service: hives, keys and typed values, addressed by root and
// key path. Key and value names compare without case (ASCII); subkeys are
// listed ordered by their upper-case names, values in creation order (the
// simulated machine; Wine lists values alphabetically).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RootKey { ClassesRoot, CurrentConfig, CurrentUser, DynData, LocalMachine, Users };

// Value types with their Windows numbers.
enum class ValueType : uint32_t {
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
};

struct RegValue {
  ValueType type = ValueType::String;
  std::string text;                // String, ExpandString (UTF-8)
  uint32_t dword = 0;              // DWord
  std::vector<uint8_t> binary;     // Binary
  std::vector<std::string> multi;  // MultiString

  static RegValue Str(std::string s) { return {ValueType::String, std::move(s), 0, {}, {}}; }
  static RegValue DWordValue(uint32_t v) { return {ValueType::DWord, {}, v, {}, {}}; }
  static RegValue Bin(std::vector<uint8_t> b) {
    return {ValueType::Binary, {}, 0, std::move(b), {}};
  }
  bool operator==(const RegValue&) const = default;
};

// Key paths are backslash-separated below the root; a leading backslash is
// allowed and ignored ("\SOFTWARE\Pellmore" and "SOFTWARE\Pellmore" name the
// same key). Calls that change the registry raise platform::OsError (see
// FileSystem.h) naming the call when the system refuses; queries answer
// "absent" instead of raising.
class Registry {
 public:
  virtual ~Registry() = default;

  virtual bool KeyExists(RootKey root, std::string_view path) = 0;
  // Creates the key and its missing parents; an existing key is fine.
  virtual void CreateKey(RootKey root, std::string_view path) = 0;
  // Deletes a key that has no subkeys. False when it does not exist; raises
  // when it still has subkeys or the system refuses.
  virtual bool DeleteKey(RootKey root, std::string_view path) = 0;
  virtual std::vector<std::string> SubKeyNames(RootKey root, std::string_view path) = 0;
  virtual std::vector<std::string> ValueNames(RootKey root, std::string_view path) = 0;

  virtual std::optional<RegValue> ReadValue(RootKey root, std::string_view path,
                                            std::string_view name) = 0;
  // Writes into an existing key (raises when the key does not exist).
  virtual void WriteValue(RootKey root, std::string_view path, std::string_view name,
                          const RegValue& value) = 0;
  virtual bool DeleteValue(RootKey root, std::string_view path, std::string_view name) = 0;
  // Makes everything written under the key durable now (write-through).
  virtual void Flush(RootKey root, std::string_view path) = 0;
};

}  // namespace platform
