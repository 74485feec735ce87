// Self-registration on the simulated machine, whose program table scripts
// the results and logs every call: ActiveX libraries retried at the end of
// the run, programs started with /REGSERVER, and controls in use that
// register after the restart. The cases that need no scripting are in
// test_install_file_registration.cpp and run on both builds.
#include <gmock/gmock.h>

#include "InstallFileSimFixture.h"
#include "files/UninstallManifest.h"
#include "install/RetryList.h"
#include "platform/SystemInfo.h"
#include "platform/sim/SimMachine.h"

namespace filestest {
namespace {

using platform::sim::SimProgram;
using platform::sim::SimStart;
using platform::sim::SimStartKind;
using testing::ElementsAre;
using testing::IsEmpty;

class RegistrationTest : public InstallFileSimTest {
 protected:
  // Registrations the machine recorded, as "path result ole".
  std::vector<std::string> Registrations() {
    std::vector<std::string> out;
    for (const SimStart& s : Machine().Starts())
      if (s.kind == SimStartKind::Register)
        out.push_back(s.commandLine + " " + std::to_string(int32_t(s.result)) +
                      (s.oleInitialized ? " ole" : ""));
    return out;
  }
  // An ActiveX control whose first `failures` registrations fail. Being
  // ActiveX puts it into the system directory.
  TInstallFile* Control(uint32_t failures) {
    TInstallFile* f = AddFile("Control", P("C:\\src\\control.ocx"), RegisteringDll());
    PackGroup();
    control_ = f->DestinationPath();
    SimProgram p;
    p.failuresBeforeSuccess = failures;
    Machine().SetProgram(control_, p);
    return f;
  }
  std::string control_;
};

TEST_F(RegistrationTest, AFailedRegistrationDuringTheRunIsRetriedAtItsEnd) {
  TInstallFile* f = Control(1);
  ASSERT_TRUE(f->ActiveX());
  SetRegistrationFailuresDeferred(true);

  f->SetState(ifsInstalling);
  EXPECT_TRUE(Exists(control_));
  std::vector<TFileRelated*> retry = TakeRetryList();
  ASSERT_THAT(retry, ElementsAre(f));
  retry[0]->RetryRegistration();
  EXPECT_THAT(Registrations(), ElementsAre(std::string(control_) + " -2147467259 ole",
                                           std::string(control_) + " 0 ole"));
  EXPECT_EQ(Machine().OleDepth(), 0);
}

TEST_F(RegistrationTest, ARegistrationThatFailsAgainIsRaised) {
  TInstallFile* f = Control(2);
  SetRegistrationFailuresDeferred(true);
  f->SetState(ifsInstalling);
  ASSERT_THAT(TakeRetryList(), ElementsAre(f));
  try {
    f->RetryRegistration();
    ADD_FAILURE() << "no error";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(), "Could not register the ActiveX component, " + control_ +
                               ", because the DllRegisterServer function returned a value of "
                               "-2147467259. The file component is Control");
  }

  // Outside a run nothing is deferred.
  SetRegistrationFailuresDeferred(false);
  SimProgram p;
  p.failuresBeforeSuccess = 1;
  Machine().SetProgram(control_, p);
  EXPECT_THROW(f->SetState(ifsInstalling), IECustomInstallFile);
  EXPECT_THAT(TakeRetryList(), IsEmpty());
}

TEST_F(RegistrationTest, ProgramsRegisterThemselvesHiddenFromTheirDirectory) {
  TInstallFile* f = AddFile("Server", P("C:\\src\\server.exe"), "program");
  PackGroup();
  f->SetActiveX(true);
  const std::string dest = f->DestinationPath();
  Machine().SetProgram(dest, SimProgram{});
  const std::string before = platform::system().CurrentDirectory();

  f->SetState(ifsInstalling);

  std::vector<SimStart> starts = Machine().Starts();
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts[0].kind, SimStartKind::Start);
  EXPECT_EQ(starts[0].commandLine, dest + " /REGSERVER");
  EXPECT_EQ(starts[0].show, platform::ShowMode::Hidden);
  EXPECT_EQ(platform::system().CurrentDirectory(), before);
}

TEST_F(RegistrationTest, AControlInUseRegistersAfterTheRestart) {
  TInstall* install = NewInstaller();
  TInstallFile* f = Control(0);
  PutFile(control_, "old control", kOld);
  Machine().Hold(control_);

  f->SetState(ifsInstalling);
  EXPECT_TRUE(f->ReplacePending());
  EXPECT_THAT(Registrations(), IsEmpty());
  EXPECT_THAT(Unfinished(*install), ElementsAre("Control;0"));

  // The resume run's component carries the name from its form again.
  Machine().Restart();
  f->SetDestName("control.ocx");
  f->ContinueAfterReboot();
  EXPECT_THAT(Registrations(), ElementsAre(std::string(control_) + " 0 ole"));
}

// The manifest beside the uninstall records describes the bytes at the
// recorded path once the installation is complete (after the restart for
// a file in use), says whether a file was there before, and keeps that
// answer when the same product is installed again over itself.
TEST_F(RegistrationTest, TheManifestDescribesTheFinalBytesAndWhatWasThereBefore) {
  NewInstaller();
  const std::string key =
      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PellmoreManifestTest";
  TInstallFile* fresh = AddFile("Fresh", P("C:\\src\\fresh.txt"), "fresh bytes");
  TInstallFile* over = AddFile("Over", P("C:\\src\\over.txt"), "new bytes");
  TInstallFile* held = AddFile("Held", P("C:\\src\\held.dll"), "new library");
  PackGroup();
  PutFile(over->DestinationPath(), "someone else's copy", kOld);
  PutFile(held->DestinationPath(), "old library", kOld);
  Machine().Hold(held->DestinationPath());
  const std::string heldPath = held->DestinationPath();

  auto entry = [&](const std::string& path) {
    std::string why;
    const auto e = DecodeManifestEntry(Text(key + "\\Manifest", path), why);
    EXPECT_TRUE(e.has_value()) << path << ": " << why;
    return e.value_or(ManifestEntry{});
  };
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run == 1 ? "first installation" : "installed again over itself");
    for (TInstallFile* f : {fresh, over, held}) {
      f->SetState(ifsInstalling);
      f->WriteUninstallInfo(key);
    }
    EXPECT_EQ(
        entry(fresh->DestinationPath()),
        (ManifestEntry{11, FingerprintFile(fresh->DestinationPath())->crc32, false, "Group"}));
    EXPECT_TRUE(entry(over->DestinationPath()).existedBefore);
    // The held file's entry is under its own name, for the bytes that
    // replace it at the restart.
    if (run == 1) {
      ASSERT_TRUE(held->ReplacePending());
      EXPECT_EQ(Text(key + "\\Manifest", held->DestinationPath()), "<none>");
    }
    const ManifestEntry h = entry(heldPath);
    EXPECT_TRUE(h.existedBefore);
    Machine().Restart();
    const auto now = FingerprintFile(heldPath);
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->size, h.size);
    EXPECT_EQ(now->crc32, h.crc32);
    held->SetDestName("held.dll");
  }
  // A file installed fresh the first time stays "not there before" when
  // the second installation found it in place.
  EXPECT_FALSE(entry(fresh->DestinationPath()).existedBefore);
}

}  // namespace
}  // namespace filestest
