// Starting programs on the simulated machine. A start runs the program to
// its end before returning, so tests are deterministic: Start returns 33
// ("started") whatever the exit code, Run returns the exit code. What a
// program does comes from the program table (SimPrograms.h): a host
// executable run as a child process, or a scripted fake. A ".bat"/".cmd"
// file runs through the batch interpreter; an EXE image without an entry is
// a fake that exits with 0. "/REGSERVER" on a fake is a self-registration.
// Every start is recorded in the start log.
#pragma once

#include "platform/Processes.h"
#include "platform/SystemInfo.h"
#include "platform/sim/MachineCore.h"
#include "platform/sim/SimPrograms.h"

namespace platform::sim {

// What Start returns for a started program (any value above 31 would do).
inline constexpr uint32_t kExecStarted = 33;

class SimProcesses : public Processes {
 public:
  SimProcesses(MachineCore& core, FileSystem& files, SystemInfo& system, ProgramTable& table)
      : core_(core), files_(files), system_(system), table_(table) {}

  uint32_t Start(std::string_view commandLine, ShowMode show) override;
  uint32_t Run(std::string_view commandLine, ShowMode show) override;

 private:
  // Finds, records and runs the program; raises OsError naming
  // "CreateProcessW" when it cannot be started.
  uint32_t Execute(std::string_view commandLine, ShowMode show, SimStartKind kind);
  uint32_t RunHost(const std::string& host, const std::string& program,
                   std::string_view commandLine, const std::vector<std::string>& args);

  MachineCore& core_;
  FileSystem& files_;
  SystemInfo& system_;
  ProgramTable& table_;
};

}  // namespace platform::sim
