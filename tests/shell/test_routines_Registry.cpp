// The registry routines on a fresh simulated machine: root-key indexes,
// the read defaults, the write failures with their exact messages, tree
// deletion and the RunOnce entries.
#include "shell/routines_Registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "framework/Exception.h"
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

namespace {

class RegistryRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pellmore-routines-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    top_ = tmpl;
    platform::Install(platform::sim::CreateMachine((top_ / "machine").string(), {}));
  }
  void TearDown() override {
    platform::Install(nullptr);
    fs::remove_all(top_);
  }
  platform::Registry& Reg() { return platform::registry(); }

  fs::path top_;
};

constexpr char kRunOnce[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

TEST(RootKeyIndex, MapsLowSevenBitsAndFallsBackToTheDefaults) {
  const std::pair<uint8_t, RootKey> table[] = {
      {0, RootKey::ClassesRoot},     {1, RootKey::CurrentConfig}, {2, RootKey::CurrentUser},
      {3, RootKey::DynData},         {4, RootKey::LocalMachine},  {5, RootKey::Users},
      {0x84, RootKey::LocalMachine}, {6, RootKey::CurrentUser},   {0x7F, RootKey::CurrentUser},
      {0x86, RootKey::CurrentUser},
  };
  for (const auto& [index, root] : table) {
    SCOPED_TRACE(int(index));
    EXPECT_EQ(RootKeyFromIndex(index), root);
  }
  for (uint8_t i = 0; i <= 5; ++i)
    EXPECT_EQ(RootKeyIndex(RootKeyHandle(RootKeyFromIndex(i)), 9), i);
  EXPECT_EQ(RootKeyIndex(kHKeyPerformanceData, 4), 4);
  EXPECT_EQ(RootKeyIndex(0, 2), 2);
}

TEST_F(RegistryRoutines, WritesCreateTheWholePathAndReadsBack) {
  WriteRegString(4, "\\SOFTWARE\\Quenby\\Database Engine\\Settings", "CONFIGFILE01",
                 "C:\\qdeng32.cfg");
  WriteRegInteger(4, "\\SOFTWARE\\Quenby\\Database Engine", "UseCount", -2);
  EXPECT_EQ(ReadRegString(4, "\\Software\\quenby\\DATABASE ENGINE\\Settings", "configfile01", "d"),
            "C:\\qdeng32.cfg");
  EXPECT_EQ(ReadRegInteger(4, "\\SOFTWARE\\Quenby\\Database Engine", "UseCount", 7), -2);
  EXPECT_EQ(Reg().ReadValue(RootKey::LocalMachine, "SOFTWARE\\Quenby\\Database Engine", "UseCount"),
            RegValue::DWordValue(0xFFFFFFFEu));
  WriteRegString(2, "\\Software\\Pellmore", "User", "u");  // index 2: the current user's hive
  EXPECT_TRUE(Reg().KeyExists(RootKey::CurrentUser, "Software\\Pellmore"));
}

TEST_F(RegistryRoutines, ReadsYieldTheDefaultForAnythingButTheirOwnType) {
  Reg().CreateKey(RootKey::LocalMachine, "K");
  Reg().WriteValue(RootKey::LocalMachine, "K", "Int", RegValue::DWordValue(5));
  Reg().WriteValue(RootKey::LocalMachine, "K", "Str", RegValue::Str("text"));
  Reg().WriteValue(RootKey::LocalMachine, "K", "Bin", RegValue::Bin({1, 2, 3, 4}));
  RegValue expand;
  expand.type = platform::ValueType::ExpandString;
  expand.text = "%windir%";
  Reg().WriteValue(RootKey::LocalMachine, "K", "Exp", expand);

  EXPECT_EQ(ReadRegString(4, "\\K", "Int", "def"), "def");
  EXPECT_EQ(ReadRegString(4, "\\K", "Bin", "def"), "def");
  EXPECT_EQ(ReadRegString(4, "\\K", "Exp", "def"), "%windir%");
  EXPECT_EQ(ReadRegString(4, "\\K", "Missing", "def"), "def");
  EXPECT_EQ(ReadRegString(4, "\\Missing", "Str", "def"), "def");
  EXPECT_EQ(ReadRegInteger(4, "\\K", "Str", -1), -1);
  EXPECT_EQ(ReadRegInteger(4, "\\K", "Bin", -1), -1);
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, "Missing")) << "reads create nothing";

  // A corrupt hive is a failed read too: the default, not an exception.
  std::ofstream(top_ / "machine" / "registry" / "HKEY_USERS.reg") << "garbage";
  EXPECT_EQ(ReadRegString(5, "\\K", "Str", "def"), "def");
  EXPECT_EQ(ReadRegInteger(5, "\\K", "Int", 3), 3);
}

TEST_F(RegistryRoutines, FailedWritesRaiseEIRCannotWriteValueWithTheirMessages) {
  Reg().CreateKey(RootKey::LocalMachine, "Blocked");
  const std::string longName(256, 'n');
  try {
    WriteRegString(4, "\\Blocked\\" + longName, "Ident", "50% done");
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(e.Message(), "Cannot install into registry. Key: \\Blocked\\" + longName +
                               " Ident: Ident Value 50% done");
  }
  try {
    WriteRegInteger(4, "\\Blocked", "two\nlines", 1);
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(e.Message(), "\\Blocked");
    EXPECT_STREQ(e.ClassName(), "EIRCannotWriteValue");
  }
}

TEST_F(RegistryRoutines, DeleteRegKeyTreeRemovesAllLevelsAndIgnoresMissingKeys) {
  for (const char* k : {"Tree\\A\\A1", "Tree\\A\\A2", "Tree\\B", "Keep"})
    Reg().CreateKey(RootKey::LocalMachine, std::string("Top\\") + k);
  Reg().WriteValue(RootKey::LocalMachine, "Top\\Tree\\A\\A1", "v", RegValue::Str("x"));
  EXPECT_NO_THROW(DeleteRegKeyTree(4, "\\Top\\Missing"));
  DeleteRegKeyTree(4, "\\Top\\Tree\\");
  EXPECT_EQ(Reg().SubKeyNames(RootKey::LocalMachine, "Top"), std::vector<std::string>{"Keep"});

  // A path naming the hive itself deletes nothing.
  for (const char* root : {"", "\\", "\\\\"}) DeleteRegKeyTree(4, root);
  EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, "Top\\Keep"));
}

TEST_F(RegistryRoutines, WriteRunOnceFindsAFreeNameAndFlushes) {
  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "a.exe -r", true));
  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "b.exe -r", true));
  EXPECT_TRUE(WriteRunOnce("PELLMOREUNFINISHED", "c.exe -r", true));
  EXPECT_EQ(Reg().ValueNames(RootKey::LocalMachine, kRunOnce),
            (std::vector<std::string>{"PellmoreUnfinished", "PellmoreUnfinished1",
                                      "PELLMOREUNFINISHED2"}));
  EXPECT_EQ(ReadRegString(4, kRunOnce, "PellmoreUnfinished2", ""), "c.exe -r");

  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "d.exe", false));
  EXPECT_EQ(ReadRegString(4, kRunOnce, "PellmoreUnfinished", ""), "d.exe");
  EXPECT_EQ(Reg().ValueNames(RootKey::LocalMachine, kRunOnce).size(), 3u);
  // Flushed: the hive file itself holds the entries, not only the journal.
  EXPECT_EQ(fs::file_size(top_ / "machine" / "registry" / "HKEY_LOCAL_MACHINE.journal"), 0u);

  EXPECT_FALSE(WriteRunOnce("bad\nname", "x", false));
}

}  // namespace
