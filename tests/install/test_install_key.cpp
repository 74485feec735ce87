// The bookkeeping key: one numbered subkey per setup program file, found
// again by size and date (within 0.0000001 days) wherever the file moved,
// the smallest free number for a new one, and removal with the parents it
// leaves empty.
#include <gmock/gmock.h>

#include <cstring>

#include "InstallFixture.h"
#include "platform/Registry.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

using namespace installtest;
using platform::RootKey;
using ::testing::ElementsAre;

namespace {

const TDateTime kDate = 36526.5;  // 2000-01-01 12:00
const std::string kParent = "\\SOFTWARE\\Pellmore\\Install";

class InstallKey : public InstallTest {
 protected:
  InstallKey() {
#ifndef _WIN32
    // The running program; on Windows it is the test program itself.
    PutFile("C:\\SETUP\\SETUP.EXE", "program", kDate);
#endif
    form_.reset(NewForm());
    install_ = New<TInstall>(form_.get(), "Install1");
  }
  platform::Registry& Reg() {
    return platform::registry();
  }
#ifndef _WIN32
  void MoveProgram(const std::string& path, const std::string& bytes, TDateTime date) {
    PutFile(path, bytes, date);
    Machine().ChangeSettings([&](platform::sim::MachineSettings& s) { s.program = path; });
  }
#endif
  double Date(const std::string& key, const char* name) {
    auto v = Reg().ReadValue(RootKey::LocalMachine, key, name);
    double d = -1;
    if (v && v->binary.size() == 8) std::memcpy(&d, v->binary.data(), 8);  // little-endian host
    return d;
  }
  void SetDate(const std::string& key, const char* name, double d) {
    std::vector<uint8_t> bytes(8);
    std::memcpy(bytes.data(), &d, 8);
    Reg().WriteValue(RootKey::LocalMachine, key, name, platform::RegValue::Bin(bytes));
  }
  std::string Str(const std::string& key, const char* name) {
    auto v = Reg().ReadValue(RootKey::LocalMachine, key, name);
    return v ? v->text : "<none>";
  }
  std::vector<std::string> Keys() {
    return Reg().SubKeyNames(RootKey::LocalMachine, kParent);
  }

  Owned<TForm> form_;
  TInstall* install_ = nullptr;
};

#ifndef _WIN32  // moves the simulated machine's running program
TEST_F(InstallKey, NumbersProgramsAndFindsThemAgainWhereverTheyMoved) {
  EXPECT_EQ(install_->FindInstallKey(false), "");
  EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, kParent));  // the lookup makes the parent
  const std::string first = install_->FindInstallKey(true);
  EXPECT_EQ(first, kParent + "\\Install0");
  EXPECT_EQ(Str(first, "Path"), "C:\\SETUP\\SETUP.EXE");
  EXPECT_DOUBLE_EQ(Date(first, "CreationDate"), kDate);
  EXPECT_EQ(Date(first, "LastRunDate"), 0.0);
  EXPECT_EQ(Reg().ReadValue(RootKey::LocalMachine, first, "Size")->dword, 7u);
  EXPECT_EQ(Reg().ReadValue(RootKey::LocalMachine, first, "SelfExtract"), std::nullopt);

  MoveProgram("C:\\OTHER\\SETUP.EXE", "program", kDate);  // same size and date
  EXPECT_EQ(install_->FindInstallKey(true), first);
  EXPECT_EQ(Str(first, "Path"), "C:\\OTHER\\SETUP.EXE");

  MoveProgram("C:\\NEW\\SETUP.EXE", "another program", kDate);  // another size
  EXPECT_EQ(install_->FindInstallKey(true), kParent + "\\Install1");

  // With 0 and 2 taken, the next program gets 1.
  Reg().CreateKey(RootKey::LocalMachine, kParent + "\\Install2");
  Reg().DeleteKey(RootKey::LocalMachine, kParent + "\\Install1");
  MoveProgram("C:\\THIRD\\SETUP.EXE", "a third program", kDate);
  EXPECT_EQ(install_->FindInstallKey(true), kParent + "\\Install1");
  EXPECT_THAT(Keys(), ElementsAre("Install0", "Install1", "Install2"));
}
#endif

TEST_F(InstallKey, MatchesDatesWithinATenMillionthOfADay) {
  const std::string key = install_->FindInstallKey(true);
  const double created = Date(key, "CreationDate");  // the running program's
  struct Case {
    double offset;
    bool matches;
  };
  for (const Case& c : {Case{0.00000005, true}, Case{-0.00000005, true}, Case{0.0000002, false},
                        Case{-0.0000002, false}}) {
    SCOPED_TRACE(c.offset);
    SetDate(key, "CreationDate", created + c.offset);
    EXPECT_EQ(install_->FindInstallKey(false), c.matches ? key : "");
  }
  // A subkey whose values cannot be read is skipped, not matched or fatal.
  SetDate(key, "CreationDate", created);
  Reg().DeleteValue(RootKey::LocalMachine, key, "Size");
  EXPECT_EQ(install_->FindInstallKey(false), "");
  EXPECT_EQ(install_->FindInstallKey(true), kParent + "\\Install1");
}

TEST_F(InstallKey, RemovalTakesLocalArchivesAndEmptyParents) {
  // Another setup's key keeps the parents.
  Reg().CreateKey(RootKey::LocalMachine, kParent + "\\Install7");
  install_->SetInstallKey(install_->FindInstallKey(true));
  PutFile(At("files.1"), "archive", kDate);
  install_->RecordLocalArchive(At("files.1"));
  Reg().CreateKey(RootKey::LocalMachine, install_->InstallKey() + "\\Unfinished\\Deeper");

  install_->RemoveInstallKey();
  EXPECT_EQ(install_->InstallKey(), "");
  EXPECT_FALSE(platform::files().FileExists(At("files.1")));
  EXPECT_THAT(Keys(), ElementsAre("Install7"));

  Reg().DeleteKey(RootKey::LocalMachine, kParent + "\\Install7");
  install_->SetInstallKey(install_->FindInstallKey(true));
  install_->RemoveInstallKey();
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, kParent));
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, "\\Software\\Pellmore"));
  EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, "\\Software"));
  install_->RemoveInstallKey();  // nothing left: nothing happens
}

}  // namespace
