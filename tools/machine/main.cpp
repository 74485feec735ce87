// pellmore-machine: creates and shapes simulated Windows machines for tests
// and demos. Dispatches the first argument to the command table.
#include <exception>
#include <iostream>

#include "tools/machine/Commands.h"

void CommandTable::Add(Command command) {
  if (Find(command.name)) throw std::logic_error("command registered twice: " + command.name);
  commands_.push_back(std::move(command));
}

const Command* CommandTable::Find(std::string_view name) const {
  for (const auto& c : commands_)
    if (c.name == name) return &c;
  return nullptr;
}

namespace {
void PrintHelp(const CommandTable& table, std::ostream& out) {
  out << "usage: pellmore-machine COMMAND DIR ...\n\ncommands:\n";
  for (const auto& c : table.All()) out << "  " << c.usage << "\n      " << c.summary << "\n";
}
}  // namespace

int main(int argc, char** argv) {
  CommandTable table;
  RegisterMachineCommands(table);
  RegisterRegCommand(table);
  RegisterProgramCommands(table);
  RegisterLinkCommand(table);
  if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
    PrintHelp(table, argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? 2 : 0;
  }
  const Command* command = table.Find(argv[1]);
  if (!command) {
    std::cerr << "pellmore-machine: unknown command '" << argv[1] << "'\n";
    PrintHelp(table, std::cerr);
    return 2;
  }
  try {
    return command->run(std::vector<std::string>(argv + 2, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "pellmore-machine " << command->name << ": " << e.what()
              << "\nusage: pellmore-machine " << command->usage << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pellmore-machine " << command->name << ": " << e.what() << "\n";
    return 1;
  }
}
