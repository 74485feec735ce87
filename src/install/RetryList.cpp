// The installation run's retry list (see RetryList.h). A process-state
// reset empties it and switches deferring off.
#include "install/RetryList.h"

#include <algorithm>

#include "framework/ProcessState.h"

namespace {

struct RetryState {
  bool deferred = false;
  std::vector<TFileRelated*> files;
};

RetryState& State() {
  static RetryState state;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("install.RetryList", [] { State() = RetryState{}; });
  }
  return state;
}

}  // namespace

bool RegistrationFailuresDeferred() noexcept {
  return State().deferred;
}

void SetRegistrationFailuresDeferred(bool deferred) noexcept {
  State().deferred = deferred;
}

void AddToRetryList(TFileRelated* file) {
  std::vector<TFileRelated*>& files = State().files;
  if (file && std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
}

void RemoveFromRetryList(const TFileRelated* file) noexcept {
  std::vector<TFileRelated*>& files = State().files;
  files.erase(std::remove(files.begin(), files.end(), file), files.end());
}

std::vector<TFileRelated*> TakeRetryList() {
  std::vector<TFileRelated*> taken;
  taken.swap(State().files);
  return taken;
}

void ClearRetryList() noexcept {
  State().files.clear();
}
