// The machine tool's commands about programs: the program table (what
// starting a path does), the start log, running a command line on the
// machine, and performing a restart (see Commands.h).
#include <cstdio>
#include <iostream>

#include "platform/Processes.h"
#include "platform/sim/SimMachine.h"
#include "tools/machine/Commands.h"

using platform::sim::SimMachine;
using platform::sim::SimProgram;

namespace {

uint32_t Number32(const std::string& option, const std::string& text) {
  try {
    size_t used = 0;
    unsigned long long v = std::stoull(text, &used, 0);
    if (used == text.size() && v <= 0xFFFFFFFFull) return uint32_t(v);
  } catch (const std::exception&) {
  }
  throw UsageError(option + " needs a 32-bit number, not '" + text + "'");
}

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

int Program(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("missing set, remove or list");
  const std::string& what = args[0];
  if (what == "list") {
    if (args.size() != 2) throw UsageError("list needs the machine directory alone");
    auto machine = SimMachine::Open(args[1]);
    for (const auto& [path, p] : machine->Programs()) {
      std::cout << path << "  "
                << (p.host.empty() ? "fake exit " + std::to_string(p.exitCode) : "host " + p.host)
                << "  register " << Hex(p.registerResult);
      if (p.failuresBeforeSuccess) std::cout << " after " << p.failuresBeforeSuccess << " failures";
      std::cout << "\n";
    }
    return 0;
  }
  if (args.size() < 3) throw UsageError("missing the machine directory or the program path");
  auto machine = SimMachine::Open(args[1]);
  if (what == "remove") {
    if (args.size() != 3) throw UsageError("too many arguments");
    if (!machine->RemoveProgram(args[2])) throw std::runtime_error(args[2] + " has no entry");
    return 0;
  }
  if (what != "set") throw UsageError("unknown program command '" + what + "'");
  SimProgram p;
  for (size_t i = 3; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) throw UsageError(opt + " needs a value");
    const std::string& v = args[++i];
    if (opt == "--host")
      p.host = v;
    else if (opt == "--exit-code")
      p.exitCode = Number32(opt, v);
    else if (opt == "--register-result")
      p.registerResult = Number32(opt, v);
    else if (opt == "--fail-times")
      p.failuresBeforeSuccess = Number32(opt, v);
    else
      throw UsageError("unknown option " + opt);
  }
  machine->SetProgram(args[2], p);
  return 0;
}

int Starts(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "--clear"))
    throw UsageError("expected DIR [--clear]");
  auto machine = SimMachine::Open(args[0]);
  if (args.size() == 2) {
    machine->ClearStarts();
    return 0;
  }
  for (const auto& s : machine->Starts()) {
    std::cout << StartKindName(s.kind) << "\t"
              << (s.show == platform::ShowMode::Hidden ? "hidden" : "normal") << "\t";
    if (s.kind == platform::sim::SimStartKind::Register)
      std::cout << Hex(s.result) << (s.oleInitialized ? " ole" : "") << "\t";
    std::cout << s.commandLine << "\n";
  }
  return 0;
}

// The Program Manager's groups and items, or the command texts it was sent.
int Progman(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2 ||
      (args.size() == 2 && args[1] != "--commands" && args[1] != "--clear"))
    throw UsageError("expected DIR [--commands | --clear]");
  auto machine = SimMachine::Open(args[0]);
  auto& server = machine->DdeServer();
  if (args.size() == 2 && args[1] == "--clear") {
    server.ClearCommands();
  } else if (args.size() == 2) {
    for (const auto& c : server.Commands())
      std::cout << (c.accepted ? "ok" : "refused") << "\t" << c.text << "\n";
  } else {
    for (const auto& g : server.Groups()) {
      std::cout << g.name << "\n";
      for (const auto& i : g.items)
        std::cout << "  " << i.name << "\t" << i.command << "\t" << i.directory << "\t"
                  << i.iconPath << "\t" << i.iconIndex << "\t" << i.hotKey << "\n";
    }
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("expected DIR COMMANDLINE (one argument, quoted)");
  auto machine = SimMachine::Open(args[0]);
  uint32_t code = machine->processes().Run(args[1], platform::ShowMode::Normal);
  std::cout << "exit code " << code << "\n";
  return 0;
}

int Restart(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError("expected the machine directory alone");
  auto machine = SimMachine::Open(args[0]);
  for (const std::string& step : machine->Restart()) std::cout << step << "\n";
  return 0;
}

}  // namespace

void RegisterProgramCommands(CommandTable& table) {
  table.Add({"program",
             "program set DIR PATH [--host HOSTEXE] [--exit-code N] [--register-result HRESULT] "
             "[--fail-times N] | program remove DIR PATH | program list DIR",
             "sets what starting a program path does (a host program or a scripted fake)",
             Program});
  table.Add({"starts", "starts DIR [--clear]",
             "lists the programs started and registrations made (or empties the list)", Starts});
  table.Add({"progman", "progman DIR [--commands | --clear]",
             "lists the Program Manager's groups and items (or the commands it was sent, or "
             "empties that log)",
             Progman});
  table.Add({"run", "run DIR COMMANDLINE", "runs a command line on the machine and waits", Run});
  table.Add({"restart", "restart DIR",
             "restarts the machine: delayed moves, held files released, RunOnce commands run",
             Restart});
}
