// Loading a library and calling one of its exports (LoadLibraryW,
// GetProcAddress, FreeLibrary), and OLE's initialisation around a
// self-registration. The kit calls stdcall exports that return a 32-bit
// result and take up to six 32-bit arguments: integers, or zero-terminated
// 8-bit texts passed by address (DllRegisterServer, the engine's setup
// library).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

// GetProcAddress's error for a missing export.
inline constexpr uint32_t kErrorProcNotFound = 127;

// One argument of an export: an integer, or a text passed as the address
// of its zero-terminated bytes (valid for the duration of the call).
using LibraryArg = std::variant<int32_t, std::string>;

// The most arguments an export may take.
inline constexpr size_t kMaxLibraryArgs = 6;

// A loaded library; destroying it frees it (FreeLibrary) and never raises.
class Library {
 public:
  virtual ~Library() = default;
  // Whether the library exports `name` (GetProcAddress).
  virtual bool HasExport(std::string_view name) = 0;
  // Calls the export `name` (stdcall, no arguments, 32-bit result) and
  // returns its result; nullopt when there is no such export.
  virtual std::optional<int32_t> Call(std::string_view name) = 0;
  // Calls the export `name` with `args` (stdcall, 32-bit result); nullopt
  // when there is no such export. More than kMaxLibraryArgs arguments is a
  // caller's mistake: std::invalid_argument.
  virtual std::optional<int32_t> Call(std::string_view name,
                                      const std::vector<LibraryArg>& args) = 0;
};

class Libraries {
 public:
  virtual ~Libraries() = default;
  // LoadLibraryW: a path without a directory is looked up on the Windows
  // search path (the program's directory, the current directory, the
  // system and Windows directories, PATH). A missing or unloadable file
  // raises OsError naming "LoadLibraryW", the path and the Windows error.
  virtual std::unique_ptr<Library> Load(std::string_view path) = 0;
  // OleInitialize / OleUninitialize around a self-registration; the two
  // calls nest.
  virtual void OleInitialize() = 0;
  virtual void OleUninitialize() = 0;
};

}  // namespace platform
