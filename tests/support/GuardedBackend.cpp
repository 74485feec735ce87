// The test backend that refuses restarts (see GuardedBackend.h).
#include "support/GuardedBackend.h"

namespace testsupport {

GuardedBackend::GuardedBackend(std::unique_ptr<platform::Backend> real)
    : real_(std::move(real)), processes_(real_->processes()) {}

uint32_t GuardedBackend::RecordingProcesses::Start(std::string_view commandLine,
                                                   platform::ShowMode show) {
  const uint32_t result = real.Start(commandLine, show);
  starts.push_back({std::string(commandLine), result});
  return result;
}

}  // namespace testsupport
