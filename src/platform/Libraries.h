// Loading a library and calling one of its exports (LoadLibraryW,
// GetProcAddress, FreeLibrary), and OLE's initialisation around a
// self-registration. The kit calls exports that take no arguments and
// return a 32-bit result (DllRegisterServer's HRESULT).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace platform {

// GetProcAddress's error for a missing export.
inline constexpr uint32_t kErrorProcNotFound = 127;

// A loaded library; destroying it frees it (FreeLibrary) and never raises.
class Library {
 public:
  virtual ~Library() = default;
  // Whether the library exports `name` (GetProcAddress).
  virtual bool HasExport(std::string_view name) = 0;
  // Calls the export `name` (stdcall, no arguments, 32-bit result) and
  // returns its result; nullopt when there is no such export.
  virtual std::optional<int32_t> Call(std::string_view name) = 0;
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
