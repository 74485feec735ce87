// Runs on damaged machines and beside another setup. A registry the
// machine cannot read or write, a setup program that is not there: the
// user still sees the message of the failed step, and under it the
// machine's own reason, and nothing is installed. A second setup while one
// runs waits for it and refuses once the wait is over, before it touches
// anything.
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "RunFixture.h"

using namespace runtest;
using namespace std::chrono_literals;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

namespace {

class DamagedRun : public RunTest {
 protected:
  fs::path Hive(const char* name) { return fs::path(Machine().HostDir()) / "registry" / name; }
  static std::string ReadHost(const fs::path& p) {
    if (fs::is_directory(p)) return "<folder>";
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(DamagedRun, TheCauseFollowsTheMessageOfTheStepThatFailed) {
  const std::string unfinished =
      "The TInstall could not either write or read unfinished business from the registry";
  struct Case {
    const char* what;
    // Done to the registry folder and the machine after the installer is loaded.
    std::function<void(const fs::path& registry, platform::FileSystem& files)> damage;
    std::string message;
    std::string cause;  // under the message, as the machine said it
  };
  const auto hive = [](std::string text) {
    return [text](const fs::path& registry, platform::FileSystem&) {
      std::ofstream(registry / "HKEY_LOCAL_MACHINE.reg", std::ios::binary | std::ios::trunc)
          << text;
    };
  };
  const Case cases[] = {
      {"hive with an open quote",
       hive("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"Name=\"x\"\n"), unfinished,
       "HKEY_LOCAL_MACHINE.reg\\\", line 4: "},
      {"empty hive", hive(""), unfinished, "line 1: empty file"},
      {"UTF-16 hive", hive(std::string("\xFF\xFER\0E\0G\0", 8)), unfinished,
       "line 1: UTF-16 text; hive files are UTF-8"},
      {"hive cut short", hive("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"Bin\"=hex:01,02,\\\n"),
       unfinished, "line 4: continued line at the end of the file"},
      {"hive is a folder",
       [](const fs::path& registry, platform::FileSystem&) {
         fs::remove(registry / "HKEY_LOCAL_MACHINE.reg");
         fs::create_directory(registry / "HKEY_LOCAL_MACHINE.reg");
       },
       unfinished, "HKEY_LOCAL_MACHINE.reg: Access is denied."},
      {"no setup program",
       [](const fs::path&, platform::FileSystem& files) { files.DeleteFile(kProgram); }, unfinished,
       "The setup program C:\\\\SETUP\\\\SETUP.EXE cannot be found."},
  };
  // Each case damages the registry folder as it is and puts it back after.
  Reg().CreateKey(platform::RootKey::LocalMachine, "SOFTWARE\\Kept");
  const fs::path registry = fs::path(Machine().HostDir()) / "registry";
  const fs::path saved = registry.parent_path() / "registry-saved";
  fs::copy(registry, saved, fs::copy_options::recursive);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    transcript_.clear();
    form_.reset();
    Load("-sC:\\SRC");
    bool initialized = false;
    install_->SetOnAfterInitialized([&](TObject*) { initialized = true; });
    c.damage(registry, Machine().files());
    const std::string hiveBefore = ReadHost(Hive("HKEY_LOCAL_MACHINE.reg"));

    StartRun();

    EXPECT_EQ(InstallOutcome(), ioFailed);
    // One error: the message, then on its own line the reason.
    EXPECT_EQ(Shown("error", c.message + "\\n"), 1) << ::testing::PrintToString(transcript_);
    EXPECT_EQ(Shown("error", c.cause), 1) << ::testing::PrintToString(transcript_);
    EXPECT_FALSE(initialized) << "went on on a machine it could not keep books on";
    EXPECT_EQ(ReadHost(Hive("HKEY_LOCAL_MACHINE.reg")), hiveBefore) << "the damage was covered up";

    fs::remove_all(registry);
    fs::copy(saved, registry, fs::copy_options::recursive);
    if (!Machine().files().FileExists(kProgram)) PutFile(kProgram, "program", kProgramDate);
  }
  form_.reset();
  transcript_.clear();
  Load("-sC:\\SRC");
  StartRun();
  EXPECT_EQ(InstallOutcome(), ioFinished) << "the machine put back works again";
  EXPECT_TRUE(Reg().KeyExists(platform::RootKey::LocalMachine, "SOFTWARE\\Kept"));
}

TEST_F(DamagedRun, ARunWaitsForAnotherSetupAndRefusesWhenItDoesNotEnd) {
  SetSetupLockWait(300ms);
  auto other = Machine().locks().Acquire("Pellmore-Setup", 0ms);
  ASSERT_NE(other, nullptr);
  Load("-sC:\\SRC");
  bool initialized = false;
  install_->SetOnAfterInitialized([&](TObject*) { initialized = true; });
  const auto start = std::chrono::steady_clock::now();
  StartRun();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 290ms) << "did not wait";
  EXPECT_EQ(Shown("error",
                  "Another setup is running on this computer. Let it finish, then start "
                  "this setup again."),
            1);
  EXPECT_EQ(InstallOutcome(), ioFailed);
  EXPECT_FALSE(initialized);
  EXPECT_THAT(InstallKeys(), IsEmpty()) << "touched the registry before it had the machine";
  // The wait was shown as a status text, and taken down again.
  const std::vector<int>& calls = dialog_->Calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), -974),
            std::count(calls.begin(), calls.end(), -973));
  EXPECT_TRUE(dialog_->Heard(-974));

  // The other setup ends during the wait: this one goes on at once.
  form_.reset();
  transcript_.clear();
  SetSetupLockWait(10s);
  Load("-sC:\\SRC");
  install_->SetOnAfterInitialized([&](TObject*) { initialized = true; });
  std::thread ends([&] {
    std::this_thread::sleep_for(200ms);
    other.reset();
  });
  StartRun();
  ends.join();
  EXPECT_EQ(InstallOutcome(), ioFinished) << ::testing::PrintToString(transcript_);
  EXPECT_TRUE(initialized);
  // Finished: the next setup need not wait.
  EXPECT_NE(Machine().locks().Acquire("Pellmore-Setup", 0ms), nullptr);
}

}  // namespace
