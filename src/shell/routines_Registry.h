// Registry routines every component of the kit uses. Hives are named by a
// small root-key index; a read never fails (it yields the caller's
// default), a write fails loudly with EIRCannotWriteValue. They hold no
// state and reach the registry only through platform::registry().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "platform/Registry.h"

// A registry write failed. Its message is not translated.
class EIRCannotWriteValue : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EIRCannotWriteValue"; }
};

// Root-key indexes the callers pass.
enum : uint8_t {
  kRootClassesRoot = 0,
  kRootCurrentConfig = 1,
  kRootCurrentUser = 2,
  kRootDynData = 3,
  kRootLocalMachine = 4,
  kRootUsers = 5,
};

// The predefined hive handles of Windows, as the reverse mapping sees them.
enum : uint32_t {
  kHKeyClassesRoot = 0x80000000u,
  kHKeyCurrentUser = 0x80000001u,
  kHKeyLocalMachine = 0x80000002u,
  kHKeyUsers = 0x80000003u,
  kHKeyPerformanceData = 0x80000004u,
  kHKeyCurrentConfig = 0x80000005u,
  kHKeyDynData = 0x80000006u,
};

// The hive of a root-key index. Only the low seven bits count; an index
// above 5 leaves the default hive, HKEY_CURRENT_USER.
platform::RootKey RootKeyFromIndex(uint8_t index);
// The handle of a hive.
uint32_t RootKeyHandle(platform::RootKey root);
// The index of a hive handle, or `defaultIndex` when the handle is not one
// of the six in the table.
uint8_t RootKeyIndex(uint32_t handle, uint8_t defaultIndex);

// Opens `key` (an absolute path "\..."), creating it and missing parents,
// and writes a string value. Raises EIRCannotWriteValue with "Cannot install
// into registry. Key: <key> Ident: <ident> Value <value>" when the key
// cannot be opened or the value not written.
void WriteRegString(uint8_t rootIndex, std::string_view key, std::string_view ident,
                    std::string_view value);
// The same for a 32-bit integer value; the exception's message is the key.
void WriteRegInteger(uint8_t rootIndex, std::string_view key, std::string_view ident,
                     int32_t value);

// The stored string (REG_SZ or REG_EXPAND_SZ, unexpanded), or `def` when
// the key or value is missing, cannot be read or holds another type. Never
// creates the key, never raises.
std::string ReadRegString(uint8_t rootIndex, std::string_view key, std::string_view ident,
                          std::string_view def);
// The stored 32-bit integer (REG_DWORD), or `def` under the same rules.
int32_t ReadRegInteger(uint8_t rootIndex, std::string_view key, std::string_view ident,
                       int32_t def);

// Deletes `key` and everything below it, subkeys first in enumeration
// order. Stops quietly at the first failure; a missing key does nothing. A
// path naming the root of the hive itself is refused (nothing is deleted):
// an empty path is a caller's mistake, never a request to empty a hive.
void DeleteRegKeyTree(uint8_t rootIndex, std::string_view key);

// Writes `commandLine` as a string value of HKEY_LOCAL_MACHINE
// "\Software\Microsoft\Windows\CurrentVersion\RunOnce" (created when
// missing) and flushes the key. With `makeUnique` the value is named
// `ident`, or `ident` followed by 1, 2, ... (the first free name);
// without it an existing value of that name is overwritten. False when the
// key cannot be opened or the write or flush fails, with the registry's
// reason in `why` when given; never raises.
bool WriteRunOnce(std::string_view ident, std::string_view commandLine, bool makeUnique,
                  std::string* why = nullptr);
