// The platform the archive tool runs the kit on: a fresh simulated machine
// in a temporary host directory (registry, system queries, clock, and its
// system drive W: for temporary files) whose file service also maps host
// directories to drive letters, by default the whole host as H:. The kit's
// archive code thus runs unchanged on the author's files.
#pragma once

#include <memory>
#include <string>

#include "HostFileSystem.h"
#include "platform/Platform.h"

namespace platform::sim {
class SimMachine;
}

namespace archive_tool {

class ToolBackend : public platform::Backend {
 public:
  // Creates the machine; the host's local time-zone offset becomes the
  // machine's, so stored dates are the author's local times.
  ToolBackend();
  ~ToolBackend() override;

  platform::Registry& registry() override;
  platform::FileSystem& files() override { return files_; }
  platform::SystemInfo& system() override;
  platform::Clock& clock() override;

  HostFileSystem& Host() { return files_; }
  // A host path as a Windows path, or a Windows path ("X:\...") as given.
  // Raises std::runtime_error when no drive holds the host path.
  std::string ToWindows(const std::string& arg) const;

  static constexpr char kMachineDrive = 'W';
  static constexpr char kHostDrive = 'H';

 private:
  std::string dir_;
  std::unique_ptr<platform::sim::SimMachine> machine_;
  HostFileSystem files_;
};

}  // namespace archive_tool
