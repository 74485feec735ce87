// Loading libraries on the simulated machine. Load finds the file on the
// Windows search path; a file name bound to a native implementation (the
// engine's setup library) gets that, any other file must be a 32-bit PE
// image and answers from its export table: HasExport by name, and Call with
// the program table's scripted registration result for DllRegisterServer,
// else the constant the export's code returns ("mov eax, imm32; ret"),
// else 0. Every DllRegisterServer call is recorded in the start log.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Libraries.h"
#include "platform/SystemInfo.h"
#include "platform/sim/MachineCore.h"
#include "platform/sim/SimPrograms.h"

namespace platform::sim {

// LoadLibrary's errors the machine gives.
inline constexpr uint32_t kErrorModNotFound = 126;
inline constexpr uint32_t kErrorBadExeFormatLoad = 193;

// Makes the library object for a loaded file (its full Windows path).
using NativeLibraryFactory = std::function<std::unique_ptr<Library>(const std::string& path)>;

class SimLibraries : public Libraries {
 public:
  SimLibraries(MachineCore& core, FileSystem& files, SystemInfo& system, ProgramTable& table)
      : core_(core), files_(files), system_(system), table_(table) {}

  std::unique_ptr<Library> Load(std::string_view path) override;
  void OleInitialize() override { ++oleDepth_; }
  void OleUninitialize() override {
    if (oleDepth_ > 0) --oleDepth_;
  }

  // Binds a file name (no directory; case ignored) to a native
  // implementation; a null factory removes the binding.
  void RegisterNative(std::string_view fileName, NativeLibraryFactory factory);
  // How deep OleInitialize calls nest now (0: OLE not initialised).
  int OleDepth() const { return oleDepth_; }

 private:
  MachineCore& core_;
  FileSystem& files_;
  SystemInfo& system_;
  ProgramTable& table_;
  std::map<std::string, NativeLibraryFactory> natives_;  // by upper-case file name
  int oleDepth_ = 0;
};

}  // namespace platform::sim
