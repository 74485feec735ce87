// A backend for tests that run the kit's whole installation on a machine
// that must not restart: every service is the wrapped backend's, except
// that restart requests and moves at restart are only counted (never
// passed on) and program starts are passed on with their result recorded.
// On Windows it wraps the real system, so a run that would ask for a
// restart cannot reach the machine the tests run on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Restart.h"

namespace testsupport {

class GuardedBackend : public platform::Backend {
 public:
  explicit GuardedBackend(std::unique_ptr<platform::Backend> real);

  platform::Registry& registry() override { return real_->registry(); }
  platform::FileSystem& files() override { return real_->files(); }
  platform::SystemInfo& system() override { return real_->system(); }
  platform::Clock& clock() override { return real_->clock(); }
  platform::Libraries& libraries() override { return real_->libraries(); }
  platform::IniFiles& iniFiles() override { return real_->iniFiles(); }
  platform::MachineLocks& locks() override { return real_->locks(); }
  platform::Dde& dde() override { return real_->dde(); }
  platform::Processes& processes() override { return processes_; }
  platform::RestartService& restart() override { return restart_; }

  // A program start as the wrapped backend answered it (WinExec's value:
  // above 31 when the program started).
  struct Start {
    std::string commandLine;
    uint32_t result;
  };
  const std::vector<Start>& Starts() const { return processes_.starts; }
  // Restart requests and moves at restart that were refused.
  int RestartRequests() const { return restart_.requests; }

 private:
  struct RecordingProcesses : platform::Processes {
    explicit RecordingProcesses(platform::Processes& real) : real(real) {}
    uint32_t Start(std::string_view commandLine, platform::ShowMode show) override;
    uint32_t Run(std::string_view commandLine, platform::ShowMode show) override {
      return real.Run(commandLine, show);
    }
    platform::Processes& real;
    std::vector<GuardedBackend::Start> starts;
  };
  struct RefusingRestart : platform::RestartService {
    bool RequestRestart(bool) override {
      ++requests;
      return false;
    }
    void MoveAtRestart(std::string_view, std::string_view) override { ++requests; }
    int requests = 0;
  };

  std::unique_ptr<platform::Backend> real_;
  RecordingProcesses processes_;
  RefusingRestart restart_;
};

}  // namespace testsupport
