// The installation run's tests on the simulated machine: the stand-ins
// and recording of RunStandIns.h with an installer loaded from a
// description while the program was started with given switches, and the
// machine's start log and platform kind.
#pragma once

#include <string>
#include <vector>

#include "RunStandIns.h"
#include "platform/Restart.h"
#include "platform/sim/SimMachine.h"

namespace runtest {

class RunTest : public RunBase {
 protected:
  RunTest() { PutFile(kProgram, "program", kProgramDate); }

  static constexpr const char* kProgram = "C:\\SETUP\\SETUP.EXE";

  // Loads an installer (with `props`) started with `args`, and a dialog.
  TInstall* Load(const std::string& args, const std::string& props = "") {
    SetCommandLine(std::string(kProgram) + (args.empty() ? "" : " " + args));
    return Adopt(
        ReadForm("object T: TForm\n  object Install1: TInstall\n" + props + "\n  end\nend\n"));
  }
  // Command lines the machine was asked to start.
  std::vector<std::string> Started() {
    std::vector<std::string> lines;
    for (const platform::sim::SimStart& s : Machine().Starts())
      if (s.kind == platform::sim::SimStartKind::Start) lines.push_back(s.commandLine);
    return lines;
  }
  void SetKind(const std::string& kind) {
    Machine().ChangeSettings([&](platform::sim::MachineSettings& s) { s.Set("kind", kind); });
  }
};

}  // namespace runtest
