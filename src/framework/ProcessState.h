// The registry of process-wide state: every list or singleton that lives
// for the whole process registers here how to empty itself, so a test can
// put the process back to its starting state (ResetAll) between cases.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ProcessState {

// Registers (or, for a name already known, replaces) the function that
// empties one piece of process-wide state. Register on first use of the
// state, e.g. in the accessor of a singleton.
void RegisterReset(std::string_view name, std::function<void()> reset);

// Runs every registered reset, newest registration first, so state that
// depends on older state goes before it. A reset must not throw; one that
// does is a bug and ResetAll rethrows after running the others.
void ResetAll();

// True when a reset of that name is registered (for tests).
bool IsRegistered(std::string_view name);

}  // namespace ProcessState
