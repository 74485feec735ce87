// Several users of one simulated registry: changes made by another process
// or another instance are seen by a cached instance, and concurrent writers
// lose no update, also while the journal is folded into the hive.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sim/SimRegistry.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;
using platform::sim::OpenSimRegistry;

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;
constexpr int kWrites = 300;
// Big enough that the writers together pass the fold threshold several times.
const std::string kPayload(1500, 'p');

class SharedRegistryTest : public ::testing::Test {
 protected:
  // Runs `body` in a child process with a registry instance of its own;
  // returns the child's pid.
  template <class F>
  pid_t Spawn(F body) {
    const pid_t pid = fork();
    if (pid == 0) {
      int rc = 0;
      try {
        auto reg = OpenSimRegistry(dir_);
        body(*reg);
      } catch (...) {
        rc = 1;
      }
      _exit(rc);
    }
    return pid;
  }

  static int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  static void WriteMany(platform::Registry& reg, const std::string& prefix) {
    for (int i = 0; i < kWrites; ++i)
      reg.WriteValue(HKLM, "Shared", prefix + std::to_string(i), RegValue::Str(kPayload));
  }

  void ExpectAllWrites(platform::Registry& reg, const std::vector<std::string>& prefixes) {
    const auto names = reg.ValueNames(HKLM, "Shared");
    EXPECT_EQ(names.size(), prefixes.size() * kWrites);
    for (const auto& p : prefixes)
      for (int i = 0; i < kWrites; i += 37) {
        SCOPED_TRACE(p + std::to_string(i));
        EXPECT_EQ(reg.ReadValue(HKLM, "Shared", p + std::to_string(i)), RegValue::Str(kPayload));
      }
  }

  testsupport::TempDir top_{"pellmore-registry"};
  std::string dir_ = (top_ / "registry").string();
};

TEST_F(SharedRegistryTest, ACachedInstanceSeesChangesOfAnotherProcess) {
  auto reg = OpenSimRegistry(dir_);
  reg->CreateKey(HKLM, "SOFTWARE\\Pellmore\\Install");
  reg->WriteValue(HKLM, "SOFTWARE\\Pellmore\\Install", "Mine", RegValue::Str("1"));
  ASSERT_EQ(reg->ValueNames(HKLM, "SOFTWARE\\Pellmore\\Install").size(), 1u);  // cached now

  EXPECT_EQ(Wait(Spawn([](platform::Registry& child) {
              child.WriteValue(HKLM, "SOFTWARE\\Pellmore\\Install", "Child", RegValue::Str("2"));
              child.CreateKey(HKLM, "SOFTWARE\\Pellmore\\Install\\Sub");
              child.Flush(HKLM, "SOFTWARE");
            })),
            0);
  EXPECT_EQ(reg->ReadValue(HKLM, "SOFTWARE\\Pellmore\\Install", "Child"), RegValue::Str("2"));
  EXPECT_TRUE(reg->KeyExists(HKLM, "SOFTWARE\\Pellmore\\Install\\Sub"));

  // And back: the child sees what this process wrote since.
  reg->DeleteValue(HKLM, "SOFTWARE\\Pellmore\\Install", "Mine");
  EXPECT_EQ(Wait(Spawn([](platform::Registry& child) {
              if (child.ReadValue(HKLM, "SOFTWARE\\Pellmore\\Install", "Mine")) _exit(2);
            })),
            0);
}

TEST_F(SharedRegistryTest, ConcurrentProcessesLoseNoUpdate) {
  auto reg = OpenSimRegistry(dir_);
  reg->CreateKey(HKLM, "Shared");
  reg->ValueNames(HKLM, "Shared");  // cache the empty key before the others write
  const std::vector<std::string> prefixes = {"a", "b", "c"};
  std::vector<pid_t> pids;
  for (const auto& p : prefixes)
    pids.push_back(Spawn([p](platform::Registry& child) { WriteMany(child, p); }));
  WriteMany(*reg, "parent");
  for (pid_t pid : pids) EXPECT_EQ(Wait(pid), 0);
  std::vector<std::string> all = prefixes;
  all.push_back("parent");
  ExpectAllWrites(*reg, all);
  ExpectAllWrites(*OpenSimRegistry(dir_), all);
  std::ifstream hive(fs::path(dir_) / "HKEY_LOCAL_MACHINE.reg");
  std::string header, generation;
  std::getline(hive, header);
  std::getline(hive, generation);
  EXPECT_GE(std::stoi(generation.substr(generation.rfind(' ') + 1)), 2)
      << "the journal was folded into the hive on the way, more than once";
}

TEST_F(SharedRegistryTest, ConcurrentInstancesInOneProcessLoseNoUpdate) {
  OpenSimRegistry(dir_)->CreateKey(HKLM, "Shared");
  std::vector<std::thread> threads;
  for (const char* p : {"x", "y"})
    threads.emplace_back([this, p] {
      auto reg = OpenSimRegistry(dir_);
      WriteMany(*reg, p);
    });
  for (auto& t : threads) t.join();
  ExpectAllWrites(*OpenSimRegistry(dir_), {"x", "y"});
}

}  // namespace
