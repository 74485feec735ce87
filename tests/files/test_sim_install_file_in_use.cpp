// Install files whose destination another program holds: the new copy
// takes a numbered name and replaces the held file at the next restart,
// through a delayed move (NT kinds), WININIT.INI (the 95 family) or, when
// delayed moves are refused, a batch file run once at start-up.
#include <gmock/gmock.h>

#include <algorithm>

#include "InstallFileSimFixture.h"
#include "platform/IniFiles.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace filestest {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

class InUseTest : public InstallFileSimTest {
 protected:
  const std::string kSource = P("C:\\src\\data.txt");
  const std::string kDest = P("C:\\Dest\\data.txt");

  // The packed file "new" over a held destination "old".
  TInstallFile* HeldReplacement() {
    TInstallFile* f = AddFile("DataFile", kSource, "new", kNew);
    PackGroup();
    PutFile(kDest, "old", kOld);
    Machine().Hold(kDest);
    return f;
  }
  static int Position(const std::vector<int>& codes, int code) {
    auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
  }
};

TEST_F(InUseTest, OnNtTheNumberedCopyIsMovedInPlaceAtTheRestart) {
  TInstall* install = NewInstaller();
  TInstallFile* f = HeldReplacement();
  std::vector<std::string> events;
  f->SetOnReplacing([&](TInstallFileRef) { events.push_back("replacing"); });
  f->SetOnStatus([&](TInstallFileRef, int, int) {
    if (events.back() != "status") events.push_back("status");
  });

  f->SetState(ifsInstalling);

  EXPECT_THAT(events, ElementsAre("replacing", "status"));
  const std::vector<int>& codes = group_->Codes;
  EXPECT_LT(Position(codes, kInfoReplacing), Position(codes, kInfoStatusInstalling));
  EXPECT_EQ(codes.back(), kInfoAfterInstall);
  EXPECT_TRUE(f->ReplacePending());
  EXPECT_EQ(f->DestName(), "data.1");
  EXPECT_EQ(ReadAll(kDest), "old");
  EXPECT_EQ(ReadAll(P("C:\\Dest\\data.1")), "new");
  EXPECT_TRUE(install->Reboot());
  // The steps that need the final file wait for the resume.
  EXPECT_THAT(Unfinished(*install), ElementsAre("DataFile;0"));

  Machine().Restart();
  EXPECT_EQ(ReadAll(kDest), "new");
  EXPECT_DOUBLE_EQ(DateOf(kDest), kNew);
  EXPECT_FALSE(Exists(P("C:\\Dest\\data.1")));
}

TEST_F(InUseTest, OnThe95FamilyWininitRenamesTheNextFreeNumber) {
  Machine().ChangeSettings([](platform::sim::MachineSettings& s) { s.Set("kind", "95"); });
  TInstall* install = NewInstaller();
  TInstallFile* f = HeldReplacement();
  PutFile(P("C:\\Dest\\data.1"), "someone else's", kOld);

  f->SetState(ifsInstalling);

  EXPECT_EQ(f->DestName(), "data.2");
  EXPECT_TRUE(install->Reboot());
  const std::string shortDest = platform::system().ShortPathName(kDest);
  EXPECT_EQ(platform::iniFiles().ReadString("WININIT.INI", "Rename", shortDest, ""),
            ExtractFilePath(shortDest) + "data.2");

  Machine().Restart();
  EXPECT_EQ(ReadAll(kDest), "new");
  EXPECT_FALSE(Exists(P("C:\\Dest\\data.2")));
  EXPECT_EQ(ReadAll(P("C:\\Dest\\data.1")), "someone else's");
}

TEST_F(InUseTest, RefusedDelayedMoveFallsBackToABatchFileRunOnce) {
  Machine().ChangeSettings([](platform::sim::MachineSettings& s) { s.delayedMoveRefused = true; });
  TInstall* install = NewInstaller();
  TInstallFile* f = HeldReplacement();
  // A value of that name from an earlier setup is kept.
  WriteRegString(kRootLocalMachine, kRunOnce, "PellmoreBatFile", P("C:\\earlier.bat"));

  f->SetState(ifsInstalling);

  EXPECT_TRUE(install->Reboot());
  EXPECT_EQ(Text(kRunOnce, "PellmoreBatFile"), P("C:\\earlier.bat"));
  const std::string batch = Text(kRunOnce, "PellmoreBatFile1");
  EXPECT_TRUE(EndsText(batch, ".bat")) << batch;
  const std::string shortDest = platform::system().ShortPathName(kDest);
  const std::string shortNew = ExtractFilePath(shortDest) + "data.1";
  EXPECT_EQ(ReadAll(batch),
            "erase \"" + shortDest + "\"\r\nmove \"" + shortNew + "\" \"" + shortDest + "\"\r\n");
  // The batch file goes at the resume; the file itself registers then.
  EXPECT_THAT(Unfinished(*install), ElementsAre(batch + ";1", "DataFile;0"));

  Machine().Restart();
  EXPECT_EQ(ReadAll(kDest), "new");
  EXPECT_FALSE(Exists(P("C:\\Dest\\data.1")));
}

TEST_F(InUseTest, WithNothingToScheduleTheMoveTheHeldFileStaysAndTheRunFails) {
  // No installer: no start-up run could carry a batch file.
  Machine().ChangeSettings([](platform::sim::MachineSettings& s) { s.delayedMoveRefused = true; });
  TInstallFile* f = HeldReplacement();
  try {
    f->SetState(ifsInstalling);
    ADD_FAILURE() << "no error";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(),
              "DataFile cannot register a routine in the register to move the files after the "
              "computer is reboot");
  }
  EXPECT_FALSE(f->ReplacePending());
  EXPECT_EQ(f->DestName(), "data.txt");
  EXPECT_EQ(ReadAll(kDest), "old");
  EXPECT_FALSE(Exists(P("C:\\Dest\\data.1")));
  EXPECT_EQ(f->State(), ifsIdle);
  Machine().Release(kDest);
}

TEST_F(InUseTest, RecordsAndCountsTheNameTheFileKeeps) {
  TInstall* install = NewInstaller();
  TInstallFile* f = HeldReplacement();
  f->SetUpdateDLLCounter(true);
  f->SetRegisterAsHelp(true);

  f->SetState(ifsInstalling);
  f->WriteUninstallInfo("\\Uninstall\\Product");

  ASSERT_TRUE(f->ReplacePending());
  EXPECT_EQ(Count(kDest), 1);
  EXPECT_EQ(Count(P("C:\\Dest\\data.1")), -1);
  EXPECT_EQ(Text("\\SOFTWARE\\Microsoft\\Windows\\Help", "DATA.TXT"), P("C:\\Dest"));
  EXPECT_EQ(Text("\\Uninstall\\Product\\Files", "File1"), kDest);
  EXPECT_THAT(Unfinished(*install), ElementsAre("DataFile;0"));
  Machine().Release(kDest);
}

}  // namespace
}  // namespace filestest
