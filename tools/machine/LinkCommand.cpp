// The machine tool's "link" command: prints what a shortcut file in the
// machine says (target, arguments, working directory, description, icon,
// hot key, show command), read with the machine's own shortcut reader.
#include <iostream>

#include "platform/ShellLinks.h"
#include "platform/sim/SimMachine.h"
#include "tools/machine/Commands.h"

namespace {

int PrintLink(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("expected DIR and PATH");
  auto machine = platform::sim::SimMachine::Open(args[0]);
  auto link = machine->shellLinks().Read(args[1]);
  if (!link) throw std::runtime_error(args[1] + " is missing or is not a shortcut file");
  std::cout << "target: " << link->path << "\n"
            << "arguments: " << link->arguments << "\n"
            << "working directory: " << link->workingDirectory << "\n"
            << "description: " << link->description << "\n"
            << "icon: " << link->iconPath << "," << link->iconIndex << "\n"
            << "hot key: " << link->hotKey << "\n"
            << "show command: " << link->showCommand << "\n";
  return 0;
}

}  // namespace

void RegisterLinkCommand(CommandTable& table) {
  table.Add({"link", "link DIR PATH", "prints what a shortcut (.lnk) file says", PrintLink});
}
