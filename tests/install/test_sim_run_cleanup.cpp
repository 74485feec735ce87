// The clean-up at the end of a run started by the loading program: when a
// batch is written at all, its exact lines on NT and 95 kinds (every path
// quoted), the presetup files it deletes at once, and the batch started
// hidden when the installer goes.
#include "RunFixture.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

using namespace runtest;
using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

class Cleanup : public RunTest {
 protected:
  std::vector<std::string> BatchLines() {
    TStringList lines;
    lines.SetText(testsupport::TestMachine::ReadFile(install_->CleanupBatch()));
    return lines.ToVector();
  }
};

TEST_F(Cleanup, OnlyWithLoadingProgramAndCleanSwitchAndNotDebug) {
  struct Case {
    const char* args;
    const char* props;
    bool writes;
  };
  const Case cases[] = {
      {"-sC:\\SRC -c", "", true},
      {"-sC:\\SRC", "", false},
      {"-sC:\\SRC -c", "    UseLoadingProgram = False", false},
      {"-d -sC:\\SRC -c", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.args) + c.props);
    Load(c.args, c.props);
    StartRun();
    EXPECT_EQ(InstallOutcome(), ioFinished);
    EXPECT_EQ(!install_->CleanupBatch().empty(), c.writes);
    form_.reset();  // the batch runs and removes the program: put it back
    PutFile(kProgram, "program", kProgramDate);
  }
}

TEST_F(Cleanup, BatchRemovesTheRunningCopyWithQuotedPathsByPlatformKind) {
  for (const char* kind : {"nt4", "95"}) {
    SCOPED_TRACE(kind);
    SetKind(kind);
    PutFile("C:\\SETUP\\QDSETUP.DLL", "dll", kProgramDate);
    Load("-sC:\\SRC -c", "    PresetupFiles.Strings = ( 'C:\\Build\\QDSETUP.DLL' )");
    StartRun();

    const std::string batch = install_->CleanupBatch();
    const std::string temp = platform::system().TempDirectory();
    EXPECT_THAT(batch, StartsWith(IncludeTrailingBackslash(temp) + "bat"));
    EXPECT_TRUE(SameText(ExtractFileExt(batch), ".bat"));
    const std::string removeDir =
        std::string(kind) == "95" ? "DELTREE /Y \"C:\\SETUP\"" : "RMDIR /S /Q \"C:\\SETUP\"";
    EXPECT_THAT(BatchLines(), ElementsAre("ERASE \"C:\\SETUP\\SETUP.EXE\"", removeDir,
                                          "ERASE \"" + ChangeFileExt(batch, ".PIF") + "\"",
                                          "ERASE \"" + batch + "\""));
    // The presetup file beside the program goes now; the name reserved
    // for the batch leaves nothing behind.
    EXPECT_FALSE(platform::files().FileExists("C:\\SETUP\\QDSETUP.DLL"));
    EXPECT_FALSE(platform::files().FileExists(ChangeFileExt(batch, ".tmp")));
    form_.reset();
    PutFile(kProgram, "program", kProgramDate);
  }
}

TEST_F(Cleanup, OnBeforeCleanupCanKeepEverything) {
  PutFile("C:\\SETUP\\QDSETUP.DLL", "dll", kProgramDate);
  Load("-sC:\\SRC -c", "    PresetupFiles.Strings = ( 'QDSETUP.DLL' )");
  install_->SetOnBeforeCleanup([](TObject*, bool& Continue) { Continue = false; });
  StartRun();
  EXPECT_TRUE(install_->CleanupBatch().empty());
  EXPECT_TRUE(platform::files().FileExists("C:\\SETUP\\QDSETUP.DLL"));
  form_.reset();
  EXPECT_THAT(Started(), ::testing::IsEmpty());
}

TEST_F(Cleanup, DestroyingTheInstallerStartsThePendingBatchHidden) {
  Load("-sC:\\SRC -c");
  StartRun();
  const std::string batch = install_->CleanupBatch();
  EXPECT_THAT(Started(), ::testing::IsEmpty());  // not while the program runs
  form_.reset();
  const std::vector<platform::sim::SimStart> starts = Machine().Starts();
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.front().commandLine, "\"" + batch + "\"");
  EXPECT_EQ(starts.front().show, platform::ShowMode::Hidden);

  // A batch that has vanished: the start fails, the destruction goes on.
  PutFile(kProgram, "program", kProgramDate);
  Load("-sC:\\SRC -c");
  StartRun();
  platform::files().DeleteFile(install_->CleanupBatch());
  EXPECT_NO_THROW(form_.reset());
  EXPECT_EQ(Installer(), nullptr);
}

}  // namespace
