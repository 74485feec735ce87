// The engine's setup library "QDSETUP.DLL" loaded from a directory and
// called through the library service, the same on both builds: the real
// DLL on Windows (copied from the build), the machine's native binding on
// the simulated machine (found through a file of that name).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Libraries.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "support/TestMachine.h"

using namespace platform;

namespace {

const char* const kEngineKey = "\\Software\\Quenby\\Database Engine";

class EngineSetupContract : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::TestMachineOptions options;
    options.scratchPrefix = "pellmore-qdsetup";
    options.simScratchIsDriveC = false;
    // guardRegistry stays on: the test writes the engine's own key, which
    // Windows keeps for the machine and the other kit tests.
    machine_ = std::make_unique<testsupport::TestMachine>(options);
    files().CreateDirectory(At("kit"));
#ifdef _WIN32
    files().CopyFile(PELLMORE_QDSETUP_DLL, At("kit\\QDSETUP.DLL"), false);
#else
    testsupport::TestMachine::WriteFile(At("kit\\QDSETUP.DLL"), "MZ stub of the engine's library");
#endif
    registry().CreateKey(RootKey::LocalMachine, kEngineKey);
    registry().DeleteValue(RootKey::LocalMachine, kEngineKey, "USECOUNT");
  }
  void TearDown() override {
    if (machine_) machine_->Release();
  }
  std::string At(std::string_view relative) const {
    return machine_->At(relative);
  }
  static std::string Read(const std::string& path) {
    return testsupport::TestMachine::ReadFile(path);
  }
  static void Write(const std::string& path, const std::string& bytes) {
    testsupport::TestMachine::WriteFile(path, bytes);
  }
  static std::string UseCount() {
    auto v = registry().ReadValue(RootKey::LocalMachine, kEngineKey, "USECOUNT");
    return v ? v->text : "<none>";
  }

  std::unique_ptr<testsupport::TestMachine> machine_;
};

TEST_F(EngineSetupContract, MergesTheTemplateAndCountsTheEnginesUse) {
  const std::string templ = At("kit\\QDENG32.CNF"), config = At("kit\\qdeng32.cfg");
  Write(templ, "[SYSTEM INIT]\nVERSION=8.2\nLANGCODE=0009\nSHAREDMEMSIZE=4096\n");
  Write(config, "[SYSTEM INIT]\r\nVERSION=7.5\r\nLOCAL SHARE=TRUE\r\n");
  auto lib = libraries().Load(At("kit\\QDSETUP.DLL"));
  ASSERT_TRUE(lib);
  for (const char* name :
       {"QdMergeConfig", "QdLocaleConfig", "QdRepairConfig", "IncrementEngineUseCount"})
    EXPECT_TRUE(lib->HasExport(name)) << name;
  EXPECT_FALSE(lib->HasExport("qdmergeconfig"));
  EXPECT_EQ(lib->Call("DllRegisterServer", {}), std::nullopt);

  EXPECT_EQ(lib->Call("QdLocaleConfig", {templ, 0, std::string("0007")}), 0);
  EXPECT_EQ(lib->Call("QdMergeConfig", {templ, config, config, 1, 0, std::string("0007")}), 0);
  EXPECT_EQ(Read(config),
            "[SYSTEM INIT]\r\nVERSION=8.2\r\nLOCAL SHARE=TRUE\r\nLANGCODE=0007\r\n"
            "SHAREDMEMSIZE=4096\r\n");

  // A damaged configuration in use: a failure, and nothing written.
  const std::string damaged = "[SYSTEM INIT\r\nVERSION=7.5\r\n";
  Write(config, damaged);
  const auto result =
      lib->Call("QdMergeConfig", {templ, config, config, 1, 0, std::string("0007")});
  ASSERT_TRUE(result);
  EXPECT_NE(*result, 0);
  EXPECT_EQ(Read(config), damaged);
  EXPECT_TRUE(files().FindFiles(At("kit\\*.~qd*")).empty());  // no temporary file left

  EXPECT_EQ(UseCount(), "<none>");
  EXPECT_EQ(lib->Call("IncrementEngineUseCount"), 0);
  EXPECT_EQ(UseCount(), "1");
  EXPECT_EQ(lib->Call("IncrementEngineUseCount", {}), 0);
  EXPECT_EQ(UseCount(), "2");
}

}  // namespace
