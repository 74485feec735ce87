// Machine-wide named locks, the same on both builds: one holder at a time
// (also within one process), a bounded wait that gives up with nullptr or
// succeeds when the holder lets go meanwhile, and names outside the
// allowed characters refused.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/MachineLocks.h"
#include "platform/OsError.h"
#include "support/ContractMachine.h"

#ifdef _WIN32
#include <process.h>
#define PELLMORE_PID _getpid()
#else
#include <unistd.h>
#define PELLMORE_PID ::getpid()
#endif

using namespace platform;
using namespace std::chrono_literals;

namespace {

using LocksContract = ContractMachine;

// Another test program may run at the same time on Windows, where the
// names are machine-wide: each process uses its own.
std::string LockName(const char* what) {
  return std::string("Pellmore-Test-") + what + "-" + std::to_string(PELLMORE_PID);
}

TEST_F(LocksContract, OneHolderAtATimeAndABoundedWait) {
  const std::string name = LockName("one");
  auto first = locks().Acquire(name, 0ms);
  ASSERT_NE(first, nullptr);
  // Not recursive: the same process asking again waits like anyone else.
  EXPECT_EQ(locks().Acquire(name, 0ms), nullptr);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(locks().Acquire(name, 150ms), nullptr);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 140ms);
  // Another name is another lock.
  EXPECT_NE(locks().Acquire(LockName("other"), 0ms), nullptr);
  first.reset();
  EXPECT_NE(locks().Acquire(name, 0ms), nullptr) << "released with its holder";
}

TEST_F(LocksContract, AWaitEndsAsSoonAsTheHolderLetsGo) {
  const std::string name = LockName("handover");
  std::atomic<bool> held{false}, release{false};
  // The holder takes and releases the lock on its own thread (a Windows
  // mutex belongs to the thread that waited for it).
  std::thread holder([&] {
    auto lock = locks().Acquire(name, 0ms);
    held = lock != nullptr;
    while (!release) std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(100ms);
  });
  while (!held) std::this_thread::sleep_for(5ms);
  release = true;
  const auto start = std::chrono::steady_clock::now();
  auto mine = locks().Acquire(name, 10s);
  const auto waited = std::chrono::steady_clock::now() - start;
  holder.join();
  EXPECT_NE(mine, nullptr);
  EXPECT_LT(waited, 5s) << "waited for the bound instead of the holder";
}

TEST_F(LocksContract, NamesOutsideTheAllowedCharactersAreRefused) {
  using namespace std::string_literals;
  for (const std::string& bad : {""s, "a\\b"s, "a/b"s, ".."s, "with blank"s, "nul\0x"s}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(CodeOf([&] { locks().Acquire(bad, 0ms); }), kErrorInvalidName);
  }
}

}  // namespace
