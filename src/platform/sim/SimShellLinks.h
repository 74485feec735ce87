// Shortcut files on the simulated machine: a shell-link object records what
// its setters are given and Save writes a real binary shortcut file through
// the machine's files, so held files, full disks and refusals apply and
// answer the HRESULT a Windows shell would give. Machine kinds without the
// shell-link class (Win32s, NT 3.51) refuse to create one.
#pragma once

#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

// HRESULTs the service answers.
inline constexpr int32_t kSOk = 0;
inline constexpr int32_t kEInvalidArg = int32_t(0x80070057);
inline constexpr int32_t kRegdbEClassNotReg = int32_t(0x80040154);
inline constexpr int32_t kCoENotInitialized = int32_t(0x800401F0);

// HRESULT_FROM_WIN32.
int32_t HresultFromWin32(uint32_t code);

class SimShellLinks : public ShellLinks {
 public:
  SimShellLinks(const MachineCore& core, FileSystem& files) : core_(core), files_(files) {}

  // Records the call; the simulated machine needs nothing more.
  bool InitializeCom() override;
  // OsError "CoCreateInstance" with CO_E_NOTINITIALIZED before
  // InitializeCom, with REGDB_E_CLASSNOTREG on a kind without the class.
  std::unique_ptr<ShellLink> Create() override;
  std::optional<ShellLinkData> Read(std::string_view linkPath) override;

  int ComInitializations() const noexcept { return comInitializations_; }

 private:
  const MachineCore& core_;
  FileSystem& files_;
  int comInitializations_ = 0;
};

}  // namespace platform::sim
