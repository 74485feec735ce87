// Program starts of the simulated machine (see SimProcesses.h). Host
// programs are spawned with posix_spawn (safe in a threaded test process)
// and waited for; the Windows view of the start travels in the environment.
#include "platform/sim/SimProcesses.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstring>

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/sim/BatchInterpreter.h"
#include "platform/sim/PeExportReader.h"
#include "platform/sim/SearchPath.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"

extern char** environ;

namespace platform::sim {
namespace {

constexpr const char* kCall = "CreateProcessW";
constexpr uint32_t kErrorBadExeFormat = 193;
// The exit status Windows reports for a program that crashed.
constexpr uint32_t kStatusAccessViolation = 0xC0000005u;

bool AsksToRegister(const std::vector<std::string>& args) {
  for (size_t i = 1; i < args.size(); ++i)
    if (SameText(args[i], "/REGSERVER") || SameText(args[i], "-REGSERVER")) return true;
  return false;
}

// The environment of a child: this one without the machine's variables,
// then the start's own.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& own) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    std::string_view entry(*e);
    // The fault plan and its counting belong to the process under test.
    const std::string_view name = entry.substr(0, entry.find('='));
    if (name == "PELLMORE_FAULT" || name == "PELLMORE_FAULT_COUNT") continue;
    bool replaced = false;
    for (const std::string& o : own)
      replaced = replaced || entry.substr(0, entry.find('=')) == o.substr(0, o.find('='));
    if (!replaced) env.emplace_back(entry);
  }
  env.insert(env.end(), own.begin(), own.end());
  return env;
}

}  // namespace

uint32_t SimProcesses::Start(std::string_view commandLine, ShowMode show) {
  try {
    Execute(commandLine, show, SimStartKind::Start);
    return kExecStarted;
  } catch (const OsError& e) {
    if (e.Call() != kCall) throw;  // the machine itself failed, not the start
    switch (e.Code()) {
      case kErrorPathNotFound:
        return kExecPathNotFound;
      case kErrorBadExeFormat:
        return kExecBadFormat;
      default:
        return kExecFileNotFound;
    }
  }
}

uint32_t SimProcesses::Run(std::string_view commandLine, ShowMode show) {
  return Execute(commandLine, show, SimStartKind::Run);
}

uint32_t SimProcesses::Execute(std::string_view commandLine, ShowMode show, SimStartKind kind) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty() || args[0].empty()) Refuse(kCall, commandLine, kErrorFileNotFound);
  std::optional<Resolved> found;
  try {
    found = FindOnSearchPath(core_, system_, args[0], ".EXE", kCall);
  } catch (const OsError& e) {
    Refuse(kCall, commandLine, e.Code() == kErrorPathNotFound ? e.Code() : kErrorFileNotFound);
  }
  if (!found) Refuse(kCall, commandLine, kErrorFileNotFound);
  const std::string program = found->path.Text();
  const std::string key = found->path.Key();

  const bool batch = HasExtension(program, ".BAT") || HasExtension(program, ".CMD");
  std::optional<SimProgram> entry = batch ? std::nullopt : table_.Find(key);
  if (!batch && !entry) {
    // No script: a 32-bit Windows program image runs and exits with 0.
    std::optional<PeImageInfo> image;
    try {
      image = ReadPeImage(files_, program);
    } catch (const OsError& e) {
      Refuse(kCall, commandLine, e.Code());
    }
    if (!image || image->dll || !image->pe32 || image->machine != kMachineI386)
      Refuse(kCall, commandLine, kErrorBadExeFormat);
  }

  Faults::Before(FaultKind::Start, kCall, commandLine);
  table_.Append(SimStart{kind, std::string(commandLine), show, 0, false});

  if (batch) {
    std::string text;
    try {
      auto file = files_.OpenRead(program);
      text.resize(size_t(file->Size()));
      text.resize(file->Read(text.data(), text.size()));
    } catch (const OsError& e) {
      Refuse(kCall, commandLine, e.Code());
    }
    const bool nt = system_.Version().platformId == kPlatformNT;
    BatchInterpreter cmd(
        files_, nt, [&](std::string_view line) { table_.AppendConsole(std::string(line) + "\n"); });
    return cmd.Run(text, args[0], std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (entry && !entry->host.empty()) return RunHost(entry->host, program, commandLine, args);
  if (AsksToRegister(args)) {
    uint32_t result = table_.TakeRegistration(key).value_or(0);
    table_.Append(SimStart{SimStartKind::Register, std::string(commandLine), show, result, false});
    return result;
  }
  return entry ? entry->exitCode : 0;
}

uint32_t SimProcesses::RunHost(const std::string& host, const std::string& program,
                               std::string_view commandLine, const std::vector<std::string>& args) {
  std::vector<std::string> argv{host};
  argv.insert(argv.end(), args.begin() + 1, args.end());
  std::vector<std::string> env = ChildEnvironment({
      "PELLMORE_MACHINE=" + core_.HostDir(),
      "PELLMORE_PROGRAM=" + program,
      "PELLMORE_COMMAND_LINE=" + std::string(commandLine),
      "PELLMORE_CURRENT_DIR=" + core_.CurrentDir().Text(),
  });
  std::vector<char*> argvp, envp;
  for (auto& a : argv) argvp.push_back(a.data());
  argvp.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, host.c_str(), nullptr, nullptr, argvp.data(), envp.data());
  if (rc != 0) Refuse(kCall, commandLine, WindowsCodeOf(rc));
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) RefuseErrno(kCall, commandLine);
  }
  if (WIFEXITED(status)) return uint32_t(WEXITSTATUS(status));
  return kStatusAccessViolation;
}

}  // namespace platform::sim
