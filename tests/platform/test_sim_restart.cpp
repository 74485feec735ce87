// Restarting the simulated machine: delayed moves of NT (the registry
// value) and of the 95 family (WININIT.INI), held files released, the
// request flag, RunOnce commands run once in Windows' order, and the
// machine refusing delayed moves.
#include <gmock/gmock.h>

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/IniFiles.h"
#include "platform/Restart.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using namespace platform;
using namespace platform::sim;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr const char* kRunOnce = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class SimRestartTest : public ContractMachine {
 protected:
  void Kind(const char* kind) {
    Sim()->ChangeSettings([&](MachineSettings& s) { s.Set("kind", kind); });
  }
  std::vector<std::string> Pending() {
    auto v = Reg().ReadValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
    return v ? v->multi : std::vector<std::string>{};
  }
  void AddRunOnce(RootKey root, const std::string& name, const std::string& command) {
    Reg().CreateKey(root, kRunOnce);
    Reg().WriteValue(root, kRunOnce, name, RegValue::Str(command));
  }
  void Exe(const std::string& path) {
    pegen::PeOptions o;
    o.kind = pegen::ImageKind::Exe;
    auto bytes = pegen::BuildPe(o);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
  }
};

TEST_F(SimRestartTest, NtQueuesDelayedMovesInTheRegistryAndPerformsThemAtRestart) {
  WriteFile(At("app.dll"), "old");
  WriteFile(At("app.1"), "new");
  WriteFile(At("stale.tmp"), "x");
  Sim()->Hold(At("app.dll"));
  restart().MoveAtRestart(At("app.1"), At("app.dll"));
  restart().MoveAtRestart(At("stale.tmp"), "");
  EXPECT_THAT(Pending(), ElementsAre("\\??\\" + At("app.1"), "!\\??\\" + At("app.dll"),
                                     "\\??\\" + At("stale.tmp"), ""));
  EXPECT_EQ(ReadFile(At("app.dll")), "old");  // nothing happens before the restart

  auto steps = Sim()->Restart();
  EXPECT_THAT(steps, ElementsAre("rename " + At("app.1") + " -> " + At("app.dll"),
                                 "delete " + At("stale.tmp")));
  EXPECT_EQ(ReadFile(At("app.dll")), "new");
  EXPECT_FALSE(Files().FileExists(At("stale.tmp")));
  EXPECT_FALSE(Reg().ReadValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue));
  EXPECT_TRUE(Sim()->Settings().held.empty());
  EXPECT_TRUE(Sim()->Restart().empty());  // done once
}

TEST_F(SimRestartTest, APendingMoveWithoutReplaceLeavesAnExistingTargetAndTheRestGoesOn) {
  WriteFile(At("a"), "a");
  WriteFile(At("b"), "b");
  WriteFile(At("c"), "c");
  Reg().CreateKey(RootKey::LocalMachine, kSessionManagerKey);
  RegValue v{ValueType::MultiString, {}, 0, {}, {}};
  v.multi = {"\\??\\" + At("a"), "\\??\\" + At("b"), "\\??\\" + At("c"), "\\??\\" + At("d")};
  Reg().WriteValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue, v);
  auto steps = Sim()->Restart();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_THAT(steps[0], HasSubstr("failed: rename " + At("a")));
  EXPECT_EQ(ReadFile(At("b")), "b");
  EXPECT_EQ(ReadFile(At("d")), "c");
}

TEST_F(SimRestartTest, DelayedMovesAreRefusedWhereWindowsRefusesThem) {
  WriteFile(At("x.1"), "x");
  Sim()->ChangeSettings([](MachineSettings& s) { s.Set("delayed-move-refused", "1"); });
  EXPECT_EQ(CodeOf([&] { restart().MoveAtRestart(At("x.1"), At("x")); }), kErrorAccessDenied);
  Kind("95");
  Sim()->ChangeSettings([](MachineSettings& s) { s.Set("delayed-move-refused", "0"); });
  EXPECT_EQ(CodeOf([&] { restart().MoveAtRestart(At("x.1"), At("x")); }), kErrorCallNotImplemented);
  EXPECT_TRUE(Pending().empty());
}

TEST_F(SimRestartTest, The95FamilyPerformsWininitRenamesAndKeepsTheFileAsBak) {
  Kind("95");
  WriteFile(At("app.dll"), "old");
  WriteFile(At("app.1"), "new");
  WriteFile(At("junk"), "x");
  // WININIT.INI takes short names; the machine accepts long ones as well.
  iniFiles().WriteString("WININIT.INI", "Rename", At("app.dll"), At("app.1"));
  iniFiles().WriteString("wininit.ini", "rename", "NUL", At("junk"));
  auto steps = Sim()->Restart();
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0], "rename " + At("app.1") + " -> " + At("app.dll"));
  EXPECT_EQ(steps[1], "delete " + At("junk"));
  EXPECT_EQ(ReadFile(At("app.dll")), "new");
  EXPECT_FALSE(Files().FileExists(At("junk")));
  const std::string windows = IncludeTrailingBackslash(System().WindowsDirectory());
  EXPECT_FALSE(Files().FileExists(windows + "WININIT.INI"));
  EXPECT_TRUE(Files().FileExists(windows + "WININIT.BAK"));
}

TEST_F(SimRestartTest, RunOnceCommandsRunOnceMachineFirstInNameOrderRemovedBeforeRunning) {
  Exe(At("b.exe"));
  Exe(At("a.exe"));
  Exe(At("user.exe"));
  AddRunOnce(RootKey::CurrentUser, "0first", QuoteArgument(At("user.exe")));
  AddRunOnce(RootKey::LocalMachine, "zeta", QuoteArgument(At("b.exe")) + " -r");
  AddRunOnce(RootKey::LocalMachine, "Alpha", QuoteArgument(At("a.exe")));
  AddRunOnce(RootKey::LocalMachine, "broken", QuoteArgument(At("missing.exe")));
  Sim()->SetProgram(At("b.exe"), SimProgram{"", 5, 0, 0});

  auto steps = Sim()->Restart();
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0], "run " + QuoteArgument(At("a.exe")) + " -> exit 0");
  EXPECT_THAT(steps[1], HasSubstr("failed: run " + QuoteArgument(At("missing.exe"))));
  EXPECT_EQ(steps[2], "run " + QuoteArgument(At("b.exe")) + " -r -> exit 5");
  EXPECT_EQ(steps[3], "run " + QuoteArgument(At("user.exe")) + " -> exit 0");
  std::vector<std::string> runs;
  for (const SimStart& s : Sim()->Starts()) runs.push_back(s.commandLine);
  EXPECT_THAT(runs, ElementsAre(QuoteArgument(At("a.exe")), QuoteArgument(At("b.exe")) + " -r",
                                QuoteArgument(At("user.exe"))));
  // Even the command that could not start is gone: it ran its one time.
  EXPECT_TRUE(Reg().ValueNames(RootKey::LocalMachine, kRunOnce).empty());
  EXPECT_TRUE(Reg().ValueNames(RootKey::CurrentUser, kRunOnce).empty());
}

TEST_F(SimRestartTest, ARestartRequestIsKeptUntilTheRestart) {
  EXPECT_FALSE(Sim()->RestartRequested());
  // NT refuses a process that did not enable the shutdown privilege.
  EXPECT_FALSE(restart().RequestRestart(false));
  EXPECT_FALSE(Sim()->RestartRequested());
  EXPECT_TRUE(restart().RequestRestart(true));
  EXPECT_TRUE(SimMachine::Open(Sim()->HostDir())->RestartRequested());
  Sim()->Restart();
  EXPECT_FALSE(Sim()->RestartRequested());
  Kind("95");
  EXPECT_TRUE(restart().RequestRestart(false));
}

}  // namespace
