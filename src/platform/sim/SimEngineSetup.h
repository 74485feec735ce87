// The engine's setup library "QDSETUP.DLL" on the simulated machine: the
// same operations as the Windows library (enginesetup/EngineSetup.h), run
// natively over the machine's own files, registry and WIN.INI, and offered
// behind the library service so LoadLibrary and the export calls reach
// them. Every machine binds it under its file name; the file itself must
// still be found on the search path, as on Windows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "enginesetup/EngineSetup.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/Registry.h"
#include "platform/sim/SimLibraries.h"

namespace platform::sim {

// The library's file name.
inline constexpr const char* kEngineSetupLibrary = "QDSETUP.DLL";

// The operations' host over a machine's services. The registry is reached
// through `registry` at each use, because a machine opens it lazily.
// Refusals of the services (OsError) become false or nullopt.
class SimEngineHost : public enginesetup::EngineHost {
 public:
  SimEngineHost(FileSystem& files, std::function<Registry&()> registry, IniFiles& ini)
      : files_(files), registry_(std::move(registry)), ini_(ini) {}

  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceAtomically(const std::string& path, const std::string& bytes) override;
  bool Exists(const std::string& path) override;
  std::optional<std::string> ReadMachineString(const std::string& key,
                                               const std::string& name) override;
  bool WriteMachineString(const std::string& key, const std::string& name,
                          const std::string& value) override;
  std::optional<std::string> ReadIniString(const std::string& file, const std::string& section,
                                           const std::string& key) override;
  bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) override;

 private:
  FileSystem& files_;
  std::function<Registry&()> registry_;
  IniFiles& ini_;
};

// The library object for a loaded "QDSETUP.DLL" over `host`: its four
// exports by exact name. A call whose arguments do not match the export's
// (count and kinds, in the order the exports take them) would corrupt a
// real caller's stack: here it raises std::invalid_argument.
std::unique_ptr<Library> MakeEngineSetupLibrary(std::shared_ptr<enginesetup::EngineHost> host);

// What a machine registers under kEngineSetupLibrary.
NativeLibraryFactory EngineSetupFactory(FileSystem& files, std::function<Registry&()> registry,
                                        IniFiles& ini);

}  // namespace platform::sim
