// Unfinished business (see cmp_TInstall.h): the list under the bookkeeping
// key's "Unfinished" subkey of work that waits for the next restart, and
// the RunOnce entry that starts this setup again with -r to finish it.
#include "framework/StrUtils.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kNoUnfinished =
    "The TInstall could not either write or read unfinished business from the registry";
constexpr const char* kRunOnceValue = "PellmoreUnfinished";

// The message of every list operation without a key, with the reason the
// key could not be found or made under it.
IEInstall NoUnfinished(const std::string& problem) {
  return WithCause(IEInstall(kNoUnfinished), problem);
}

}  // namespace

void TCustomInstall::AddUnfinished(const std::string& name, int kind) {
  if (installKey_.empty()) throw NoUnfinished(installKeyProblem_);
  ++unfinishedCount_;
  WriteRegString(kRootLocalMachine, installKey_ + "\\Unfinished", name, std::to_string(kind));
}

void TCustomInstall::ReadUnfinished(TStrings& list) {
  list.Clear();
  if (installKey_.empty()) throw NoUnfinished(installKeyProblem_);
  const std::string key = installKey_ + "\\Unfinished";
  platform::Registry& reg = platform::registry();
  if (!reg.KeyExists(platform::RootKey::LocalMachine, key)) return;
  for (const std::string& name : reg.ValueNames(platform::RootKey::LocalMachine, key))
    list.Add(name + ";" + ReadRegString(kRootLocalMachine, key, name, ""));
}

void TCustomInstall::ClearUnfinished() {
  if (installKey_.empty()) throw NoUnfinished(installKeyProblem_);
  DeleteRegKeyTree(kRootLocalMachine, installKey_ + "\\Unfinished");
}

std::string TCustomInstall::SetupProgramPath() {
  if (HasSwitch('e')) return ResolveArchiveFile();
  if (useLoadingProgram_) {
    const std::vector<std::string> args = platform::system().Arguments();
    return IncludeTrailingBackslash(sourceDirectory_) + (args.size() > 2 ? args[2] : "");
  }
  return RunningProgramFile();
}

std::string TCustomInstall::RunOnceCommand() {
  const std::string setup = SetupProgramPath();
  const std::string dir = ExcludeTrailingBackslash(ExtractFilePath(setup));
  std::string command = "\"" + RunningProgramFile() + "\" -r ";
  if (HasSwitch('e')) command += "\"-e" + ExtractFileName(setup) + "\" ";
  command += "\"-s" + dir + "\"";
  if (HasSwitch('c')) command += " -c";
  return command;
}

void TCustomInstall::RegisterRunOnce() {
  std::string why;
  if (!WriteRunOnce(kRunOnceValue, RunOnceCommand(), true, &why))
    throw WithCause(
        IEInstall(
            "Cannot register the install to be run on reboot in the RunOnce key in the registry"),
        why);
}
