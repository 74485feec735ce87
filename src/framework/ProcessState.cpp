// The process-state reset registry (see ProcessState.h).
#include "framework/ProcessState.h"

#include <exception>
#include <utility>
#include <vector>

namespace {
struct Entry {
  std::string name;
  std::function<void()> reset;
};

std::vector<Entry>& Entries() {
  static std::vector<Entry> entries;
  return entries;
}
}  // namespace

namespace ProcessState {

void RegisterReset(std::string_view name, std::function<void()> reset) {
  for (Entry& e : Entries()) {
    if (e.name == name) {
      e.reset = std::move(reset);
      return;
    }
  }
  Entries().push_back({std::string(name), std::move(reset)});
}

void ResetAll() {
  // A reset may register further state; walk a copy.
  const std::vector<Entry> entries = Entries();
  std::exception_ptr first;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    try {
      if (it->reset) it->reset();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

bool IsRegistered(std::string_view name) {
  for (const Entry& e : Entries())
    if (e.name == name) return true;
  return false;
}

}  // namespace ProcessState
