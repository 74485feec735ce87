// Two setups started at once on one machine, trial after trial: the second
// waits for the first (the machine-wide setup lock), both finish, and the
// uninstall record holds every entry of both runs. Without the lock their
// read-change-write of "Entries" lost entries in most trials.
#include <gmock/gmock.h>

#include <map>
#include <thread>

#include "InstallRunFixture.h"
#include "platform/MachineLocks.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

const std::string kFilesRecord =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenby Database Engine\\Files";

class ConcurrentSetups : public InstallRun {
 protected:
  // Runs two setups at the same time, each with its own transcript.
  std::pair<Outcome, Outcome> RunTwo(const std::function<void()>& whileRunning = {}) {
    Outcome a, b;
    const fs::path wa = dir_ / "a", wb = dir_ / "b";
    fs::create_directories(wa);
    fs::create_directories(wb);
    const std::map<std::string, std::string> env = {{"PELLMORE_FORM", PELLMORE_DEMO_FORM}};
    std::thread first(
        [&] { a = RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {"-sC:\\SETUP"}, wa, env); });
    std::thread second(
        [&] { b = RunSetup(PELLMORE_SETUP_EXE, MachineDir(), {"-sC:\\SETUP"}, wb, env); });
    if (whileRunning) whileRunning();
    first.join();
    second.join();
    return {a, b};
  }
};

TEST_F(ConcurrentSetups, BothFinishAndTheUninstallRecordKeepsEveryEntry) {
  constexpr int kTrials = 5;
  // The engine's files and the sample's two shortcuts are recorded.
  const size_t files = DemoDistribution().engine.size() + 2;
  for (int trial = 0; trial < kTrials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    if (trial > 0) FreshTarget();
    // Every other trial the test holds the lock while both start, so both
    // are surely running and race for it the moment it is let go.
    std::function<void()> gate;
    if (trial % 2 == 1) {
      auto holder = std::shared_ptr<platform::sim::SimMachine>(Open());
      auto lock =
          std::shared_ptr<platform::HeldLock>(holder->locks().Acquire("Pellmore-Setup", 0ms));
      ASSERT_NE(lock, nullptr);
      gate = [holder, lock]() mutable {
        std::this_thread::sleep_for(400ms);
        lock.reset();
      };
    }
    const auto [a, b] = RunTwo(gate);
    EXPECT_EQ(a.code, 0) << a.Dump();
    EXPECT_EQ(b.code, 0) << b.Dump();

    const auto entries = Value(kFilesRecord, "Entries");
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->text, std::to_string(2 * files));
    std::map<std::string, int> seen;
    for (size_t i = 1; i <= 2 * files; ++i) {
      const auto v = Value(kFilesRecord, "File" + std::to_string(i));
      ASSERT_TRUE(v) << "File" << i << " lost";
      ++seen[v->text];
    }
    EXPECT_EQ(seen.size(), files);
    for (const auto& [path, count] : seen) EXPECT_EQ(count, 2) << path;
    EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
    EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore")) << "a bookkeeping key was left behind";
  }
}

}  // namespace
}  // namespace e2e
