// The registry routines on the test machine, in a key of the test's own: root-key indexes,
// the read defaults, the write failures with their exact messages, tree
// deletion and the RunOnce entries.
#include "shell/routines_Registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/Exception.h"
#include "platform/Platform.h"
#include "support/TestMachine.h"
#ifndef _WIN32
#include <filesystem>
#include <fstream>

#include "platform/sim/SimMachine.h"
namespace fs = std::filesystem;
#endif
using platform::RegValue;
using platform::RootKey;

namespace {

class RegistryRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ =
        std::make_unique<testsupport::TestMachine>(testsupport::ScratchNamed("pellmore-routines"));
  }
  void TearDown() override { machine_.reset(); }
  platform::Registry& Reg() { return platform::registry(); }
  // A key below the test's own key: "K" and the routines' "\\K".
  std::string Key(const std::string& k) const { return machine_->KeyAt(k); }
  std::string RoutineKey(const std::string& k) const { return "\\" + Key(k); }

  std::unique_ptr<testsupport::TestMachine> machine_;
};

constexpr char kRunOnce[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The RunOnce entries the kit writes (a real system may hold others).
std::vector<std::string> OurRunOnceNames() {
  std::vector<std::string> names;
  for (const auto& n : platform::registry().ValueNames(RootKey::LocalMachine, kRunOnce))
    if (n.rfind("Pellmore", 0) == 0 || n.rfind("PELLMORE", 0) == 0) names.push_back(n);
  return names;
}

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
  const std::string k = Key("K"), routineK = RoutineKey("K");
  Reg().CreateKey(RootKey::LocalMachine, k);
  Reg().WriteValue(RootKey::LocalMachine, k, "Int", RegValue::DWordValue(5));
  Reg().WriteValue(RootKey::LocalMachine, k, "Str", RegValue::Str("text"));
  Reg().WriteValue(RootKey::LocalMachine, k, "Bin", RegValue::Bin({1, 2, 3, 4}));
  RegValue expand;
  expand.type = platform::ValueType::ExpandString;
  expand.text = "%windir%";
  Reg().WriteValue(RootKey::LocalMachine, k, "Exp", expand);

  EXPECT_EQ(ReadRegString(4, routineK, "Int", "def"), "def");
  EXPECT_EQ(ReadRegString(4, routineK, "Bin", "def"), "def");
  EXPECT_EQ(ReadRegString(4, routineK, "Exp", "def"), "%windir%");
  EXPECT_EQ(ReadRegString(4, routineK, "Missing", "def"), "def");
  EXPECT_EQ(ReadRegString(4, RoutineKey("Missing"), "Str", "def"), "def");
  EXPECT_EQ(ReadRegInteger(4, routineK, "Str", -1), -1);
  EXPECT_EQ(ReadRegInteger(4, routineK, "Bin", -1), -1);
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, Key("Missing"))) << "reads create nothing";

#ifndef _WIN32
  // A corrupt hive is a failed read too: the default, not an exception.
  std::ofstream(fs::path(machine_->Sim()->HostDir()) / "registry" / "HKEY_USERS.reg") << "garbage";
  EXPECT_EQ(ReadRegString(5, "\\K", "Str", "def"), "def");
  EXPECT_EQ(ReadRegInteger(5, "\\K", "Int", 3), 3);
#endif
}

TEST_F(RegistryRoutines, FailedWritesRaiseEIRCannotWriteValueWithTheirMessages) {
  PELLMORE_SKIP_ON_WINE(
      "Wine creates a key whose name has 256 characters (Windows refuses more than 255) and "
      "then cannot delete it");
  Reg().CreateKey(RootKey::LocalMachine, Key("Blocked"));
  const std::string blocked = RoutineKey("Blocked");
  const std::string longName(256, 'n');  // Windows takes at most 255 characters
  try {
    WriteRegString(4, blocked + "\\" + longName, "Ident", "50% done");
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    // The message, then on its own line what the registry said.
    const std::string message = "Cannot install into registry. Key: " + blocked + "\\" + longName +
                                " Ident: Ident Value 50% done\n";
    EXPECT_EQ(e.Message().substr(0, message.size()), message);
    EXPECT_GT(e.Message().size(), message.size()) << "no cause under the message";
  }
#ifndef _WIN32
  // The simulated registry refuses a line break in a value name (Windows
  // takes it), which makes a failed integer write.
  try {
    WriteRegInteger(4, blocked, "two\nlines", 1);
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(e.Message().substr(0, blocked.size() + 1), blocked + "\n");
    EXPECT_STREQ(e.ClassName(), "EIRCannotWriteValue");
  }
#endif
}

TEST_F(RegistryRoutines, DeleteRegKeyTreeRemovesAllLevelsAndIgnoresMissingKeys) {
  for (const char* k : {"Tree\\A\\A1", "Tree\\A\\A2", "Tree\\B", "Keep"})
    Reg().CreateKey(RootKey::LocalMachine, Key("Top\\") + k);
  Reg().WriteValue(RootKey::LocalMachine, Key("Top\\Tree\\A\\A1"), "v", RegValue::Str("x"));
  EXPECT_NO_THROW(DeleteRegKeyTree(4, RoutineKey("Top\\Missing")));
  DeleteRegKeyTree(4, RoutineKey("Top\\Tree\\"));
  EXPECT_EQ(Reg().SubKeyNames(RootKey::LocalMachine, Key("Top")), std::vector<std::string>{"Keep"});

  // A path naming the hive itself deletes nothing.
  for (const char* root : {"", "\\", "\\\\"}) DeleteRegKeyTree(4, root);
  EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, Key("Top\\Keep")));
}

TEST_F(RegistryRoutines, WriteRunOnceFindsAFreeNameAndFlushes) {
  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "a.exe -r", true));
  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "b.exe -r", true));
  EXPECT_TRUE(WriteRunOnce("PELLMOREUNFINISHED", "c.exe -r", true));
  const std::vector<std::string> created = {"PellmoreUnfinished", "PellmoreUnfinished1",
                                            "PELLMOREUNFINISHED2"};
  if (testsupport::OnWine()) {
    // Wine lists a key's values alphabetically; Windows in creation order.
    EXPECT_THAT(OurRunOnceNames(), ::testing::UnorderedElementsAreArray(created));
  } else {
    EXPECT_EQ(OurRunOnceNames(), created);
  }
  EXPECT_EQ(ReadRegString(4, kRunOnce, "PellmoreUnfinished2", ""), "c.exe -r");

  EXPECT_TRUE(WriteRunOnce("PellmoreUnfinished", "d.exe", false));
  EXPECT_EQ(ReadRegString(4, kRunOnce, "PellmoreUnfinished", ""), "d.exe");
  EXPECT_EQ(OurRunOnceNames().size(), 3u);
#ifndef _WIN32
  // Flushed: the hive file itself holds the entries, not only the journal.
  EXPECT_EQ(fs::file_size(fs::path(machine_->Sim()->HostDir()) / "registry" /
                          "HKEY_LOCAL_MACHINE.journal"),
            0u);
  // A name the simulated registry refuses (Windows takes a line break).
  EXPECT_FALSE(WriteRunOnce("bad\nname", "x", false));
  std::string why;
  EXPECT_FALSE(WriteRunOnce("bad\nname", "x", false, &why));
  EXPECT_THAT(why, ::testing::HasSubstr("RegSetValueExW")) << "the reason is handed back";
#endif
}

}  // namespace
