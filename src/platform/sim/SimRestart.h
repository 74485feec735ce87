// The restart service of the simulated machine: a restart request is a
// flag file in the machine directory ("restart-requested") that tests and
// the machine tool read; a delayed move is queued where the kind's Windows
// keeps it (NT: the registry value PendingFileRenameOperations, in the
// "\??\" form with "!" marking a replacing destination). The 95 family and
// Win32s cannot delay a move (MoveFileEx answers ERROR_CALL_NOT_IMPLEMENTED;
// the kit writes WININIT.INI there), and the machine setting
// delayed-move-refused makes NT refuse with ERROR_ACCESS_DENIED.
// SimMachine::Restart performs what is queued.
#pragma once

#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Restart.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

inline constexpr const char* kSessionManagerKey =
    "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr const char* kPendingRenamesValue = "PendingFileRenameOperations";
inline constexpr uint32_t kErrorCallNotImplemented = 120;
// ExitWindowsEx without the shutdown privilege on NT.
inline constexpr uint32_t kErrorPrivilegeNotHeld = 1314;

class SimRestart : public RestartService {
 public:
  SimRestart(MachineCore& core, FileSystem& files, std::function<Registry&()> registry)
      : core_(core), files_(files), registry_(std::move(registry)) {}

  // True on every kind, except on NT without enabling the shutdown
  // privilege first (ExitWindowsEx refuses that process).
  bool RequestRestart(bool enableShutdownPrivilege) override;
  void MoveAtRestart(std::string_view from, std::string_view to) override;

  bool Requested() const;
  void ClearRequest();

 private:
  std::string FlagFile() const { return core_.HostDir() + "/restart-requested"; }

  MachineCore& core_;
  FileSystem& files_;
  std::function<Registry&()> registry_;
};

}  // namespace platform::sim
