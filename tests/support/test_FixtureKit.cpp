// The shared fixture kit beyond the test machine itself: temporary host
// directories and their clean-up, the simulated machines kept in one, the
// test machine swapped for another shape, and the backend that refuses
// restarts while passing everything else on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "platform/SystemInfo.h"
#include "support/GuardedBackend.h"
#include "support/TempDir.h"
#include "support/TestMachine.h"
#ifndef _WIN32
#include "platform/sim/SimRestart.h"
#include "support/SimMachineHome.h"
#endif

namespace {

namespace fs = std::filesystem;
using testsupport::ReadHostFile;
using testsupport::TempDir;
using testsupport::TestMachine;

TEST(TempDir, EachIsNewAndOwnAndGoesWithEverythingInIt) {
  fs::path first, moved;
  {
    TempDir a("pellmore-kit"), b("pellmore-kit");
    first = a.Path();
    EXPECT_NE(a.Path(), b.Path());
    // Without a trailing separator, which Windows gives the temporary directory.
    const fs::path temp = (fs::temp_directory_path() / "").parent_path();
    EXPECT_EQ(a.Path().parent_path(), temp) << "below TMPDIR";
    EXPECT_EQ(a.Path().filename().string().rfind("pellmore-kit-", 0), 0u);
#ifndef _WIN32
    const fs::perms perms = fs::status(a.Path()).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
#endif
    const std::string file = a.Write("deep/er/f.txt", "bytes");
    EXPECT_EQ(ReadHostFile(file), "bytes");
    fs::permissions(file, fs::perms::owner_read);  // read-only
    fs::create_directory(a / "locked");
    a.Write("locked/inside.txt", "x");
    fs::permissions(a / "locked", fs::perms::owner_read | fs::perms::owner_exec);

    TempDir c = std::move(b);  // the directory goes with its last owner only
    moved = c.Path();
    b = TempDir("pellmore-kit");
    EXPECT_TRUE(fs::exists(moved));
  }
  EXPECT_FALSE(fs::exists(first)) << "read-only and unwritable entries go too";
  EXPECT_FALSE(fs::exists(moved));
  EXPECT_EQ(ReadHostFile(first / "gone.txt"), "") << "a missing file reads empty";
  EXPECT_THROW(testsupport::WriteHostFile(first / "gone" / "x.txt", "x"), std::runtime_error);
}

#ifndef _WIN32
TEST(SimMachineHome, MachinesLiveApartAndGoWithTheHome) {
  std::string dir;
  {
    testsupport::SimMachineHome home("pellmore-kit");
    dir = home.Dir().String();
    home.Create();
    const std::string first = home.MachineDir();
    platform::sim::MachineOptions win95;
    win95.kind = "95";
    platform::sim::SimMachine& installed = home.Install(win95);
    EXPECT_NE(home.MachineDir(), first);
    EXPECT_EQ(installed.HostDir(), home.MachineDir());
    EXPECT_EQ(platform::system().WindowsDirectory(), "C:\\WINDOWS") << "the shape given";
    platform::files().CreateDirectories("C:\\Left");
    platform::Install(nullptr);

    home.Recreate();
    EXPECT_FALSE(home.Open()->files().DirectoryExists("C:\\Left")) << "a fresh machine";
    EXPECT_TRUE(fs::exists(first)) << "earlier machines stay until the home goes";
  }
  EXPECT_FALSE(fs::exists(dir));
}

TEST(TestMachine, ReplacedMachineHasTheNewShapeAndItsOwnScratch) {
  testsupport::TestMachineOptions o;
  o.scratchPrefix = "pellmore-kit";
  o.simScratchIsDriveC = false;
  TestMachine m(o);
  TestMachine::WriteFile(m.At("old.txt"), "old");
  const std::string before = m.Sim()->HostDir();
  platform::sim::MachineOptions win95;
  win95.kind = "95";
  platform::sim::SimMachine& after = m.Replace(win95);
  EXPECT_NE(after.HostDir(), before);
  EXPECT_EQ(m.Sim(), &after);
  EXPECT_EQ(platform::system().WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_TRUE(platform::files().DirectoryExists(m.Scratch()));
  EXPECT_FALSE(platform::files().FileExists(m.At("old.txt")));
}
#endif

TEST(GuardedBackend, RefusesRestartsAndRecordsStartsPassingTheRestOn) {
  testsupport::TestMachineOptions o;
  o.scratchPrefix = "pellmore-kit";
  TestMachine m(o);
  // A second view of the machine the test runs on.
#ifdef _WIN32
  testsupport::GuardedBackend guarded(platform::CreateDefaultBackend());
#else
  testsupport::GuardedBackend guarded(platform::sim::SimMachine::Open(m.Sim()->HostDir()));
#endif
  EXPECT_FALSE(guarded.restart().RequestRestart(true));
  guarded.restart().MoveAtRestart(m.At("a.tmp"), m.At("a.dll"));
  EXPECT_EQ(guarded.RestartRequests(), 2);
#ifndef _WIN32
  EXPECT_FALSE(m.Sim()->RestartRequested());
  EXPECT_EQ(platform::registry().ReadValue(platform::RootKey::LocalMachine,
                                           platform::sim::kSessionManagerKey,
                                           platform::sim::kPendingRenamesValue),
            std::nullopt);
#endif

  const std::string missing = m.At("no such.exe");
  const uint32_t result =
      guarded.processes().Start("\"" + missing + "\"", platform::ShowMode::Hidden);
  ASSERT_EQ(guarded.Starts().size(), 1u);
  EXPECT_EQ(guarded.Starts()[0].commandLine, "\"" + missing + "\"");
  EXPECT_EQ(guarded.Starts()[0].result, result);
  EXPECT_LE(result, 31u) << "a missing program does not start";

  TestMachine::WriteFile(m.At("through.txt"), "seen");
  EXPECT_TRUE(guarded.files().FileExists(m.At("through.txt")));
}

}  // namespace
