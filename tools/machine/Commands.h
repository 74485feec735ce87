// The machine tool's subcommands. Each source file registers its commands
// (name, usage, summary, handler) in the table through one registration
// function; main() calls the registration functions in a fixed order and
// dispatches on the first argument.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct Command {
  std::string name;     // "create"
  std::string usage;    // "create DIR [--kind K] ..."
  std::string summary;  // one line for the tool's help
  // Runs with the arguments after the command name and returns the exit
  // code. Failures are exceptions: UsageError for bad arguments, anything
  // else derived from std::exception for a refused operation.
  std::function<int(const std::vector<std::string>& args)> run;
};

// Bad arguments: the tool prints the message and the command's usage and
// exits with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CommandTable {
 public:
  // Adds a command; a name that is already taken is a programming error
  // (std::logic_error).
  void Add(Command command);
  const Command* Find(std::string_view name) const;
  const std::vector<Command>& All() const { return commands_; }

 private:
  std::vector<Command> commands_;
};

// create, settings, hold, release, disk, ls, put (MachineCommands.cpp).
void RegisterMachineCommands(CommandTable& table);
// reg (RegCommand.cpp).
void RegisterRegCommand(CommandTable& table);
// program, starts, progman, run, restart (ProgramCommands.cpp).
void RegisterProgramCommands(CommandTable& table);
// link (LinkCommand.cpp).
void RegisterLinkCommand(CommandTable& table);
