// The test machine itself: the scratch directory and its clean-up, the
// rewriting of C:\ paths into it, and the registry snapshot that puts the
// kit's keys back after a test on Windows.
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/TestMachine.h"

namespace {

using platform::RegValue;
using platform::RootKey;
using testsupport::RegistrySnapshot;
using testsupport::TestMachine;
using testsupport::TestMachineOptions;

TestMachineOptions InTemp() {
  TestMachineOptions o;
  o.scratchPrefix = "pellmore-support";
  o.simScratchIsDriveC = false;  // below the temporary directory on both builds
  return o;
}

TEST(TestMachine, ScratchPathsRewriteOnceAndGoAwayWithTheMachine) {
  std::string scratch;
  {
    TestMachine m(InTemp());
    scratch = m.Scratch();
    ASSERT_TRUE(platform::files().DirectoryExists(scratch));
    EXPECT_EQ(m.At("a\\b.txt"), scratch + "\\a\\b.txt");
    EXPECT_EQ(m.InScratch("copy C:\\SRC\\A to c:\\dest; D:\\x stays"),
              "copy " + scratch + "\\SRC\\A to " + scratch + "\\dest; D:\\x stays");
    const std::string once = m.InScratch("C:\\SRC");
    EXPECT_EQ(m.InScratch(once), once) << "a rewritten path is kept";

    TestMachine::WriteFile(m.At("deep\\er\\f.txt"), "bytes");
    EXPECT_EQ(TestMachine::ReadFile(m.At("deep\\er\\f.txt")), "bytes");
    TestMachine::WriteFile(m.At("ro.txt"), "x");
    platform::files().SetAttributes(m.At("ro.txt"), platform::kAttrReadOnly);
    m.Release();
#ifdef _WIN32  // a simulated machine goes as a whole
    EXPECT_FALSE(platform::files().DirectoryExists(scratch)) << "read-only files go too";
#endif
  }
#ifndef _WIN32
  // A simulated machine is new for each test; its C: drive can be the scratch.
  TestMachine drive;
  EXPECT_EQ(drive.Scratch(), "C:");
  EXPECT_EQ(drive.InScratch("C:\\SRC\\A"), "C:\\SRC\\A");
#endif
}

TEST(RegistrySnapshot, PutsValuesAndSubkeysBackAndRemovesKeysThatWereMissing) {
  TestMachine m(InTemp());
  platform::Registry& reg = platform::registry();
  const std::string kept = m.KeyAt("Kept"), added = m.KeyAt("Added");
  reg.CreateKey(RootKey::LocalMachine, kept + "\\Sub");
  reg.WriteValue(RootKey::LocalMachine, kept, "Str", RegValue::Str("old"));
  reg.WriteValue(RootKey::LocalMachine, kept, "Gone", RegValue::DWordValue(7));
  reg.WriteValue(RootKey::LocalMachine, kept + "\\Sub", "Bin", RegValue::Bin({1, 2}));

  const RegistrySnapshot snapshot({{RootKey::LocalMachine, kept}, {RootKey::LocalMachine, added}});
  reg.WriteValue(RootKey::LocalMachine, kept, "Str", RegValue::Str("new"));
  reg.DeleteValue(RootKey::LocalMachine, kept, "Gone");
  reg.WriteValue(RootKey::LocalMachine, kept, "Extra", RegValue::Str("x"));
  reg.DeleteValue(RootKey::LocalMachine, kept + "\\Sub", "Bin");
  reg.DeleteKey(RootKey::LocalMachine, kept + "\\Sub");
  reg.CreateKey(RootKey::LocalMachine, kept + "\\New\\Deeper");
  reg.CreateKey(RootKey::LocalMachine, added + "\\Child");
  snapshot.Restore();

  EXPECT_EQ(reg.ReadValue(RootKey::LocalMachine, kept, "str"), RegValue::Str("old"));
  EXPECT_EQ(reg.ReadValue(RootKey::LocalMachine, kept, "Gone"), RegValue::DWordValue(7));
  EXPECT_EQ(reg.ReadValue(RootKey::LocalMachine, kept, "Extra"), std::nullopt);
  EXPECT_EQ(reg.ReadValue(RootKey::LocalMachine, kept + "\\Sub", "Bin"), RegValue::Bin({1, 2}));
  EXPECT_EQ(reg.SubKeyNames(RootKey::LocalMachine, kept), std::vector<std::string>{"Sub"});
  EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, added));
#ifdef _WIN32  // a simulated machine goes as a whole
  m.Release();
  EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, m.RegKey()))
      << "the test's own key goes with the machine";
#endif
}

}  // namespace
