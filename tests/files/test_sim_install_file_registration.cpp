// What installing a file records beyond its bytes: help entries and
// shared-DLL counts (also for kept files), self-registration of ActiveX
// libraries and programs with the run's retry list and the resume after a
// restart, and the uninstall records.
#include <gmock/gmock.h>

#include "InstallFileSimFixture.h"
#include "install/RetryList.h"
#include "platform/SystemInfo.h"
#include "platform/sim/SimMachine.h"
#include "shell/routines_Registry.h"

namespace filestest {
namespace {

using platform::sim::SimProgram;
using platform::sim::SimStart;
using platform::sim::SimStartKind;
using testing::ElementsAre;
using testing::HasSubstr;
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

TEST_F(RegistrationTest, KeptFilesStillRegisterHelpAndCountEveryInstall) {
  TInstallFile* f = AddFile("Guide", P("C:\\src\\guide.hlp"), "help text", kOld);
  PackGroup();
  ASSERT_TRUE(f->RegisterAsHelp());
  f->SetUpdateDLLCounter(true);
  f->SetOverwriteMode(owNever);
  PutFile(P("C:\\Dest\\guide.hlp"), "newer help", kNew);

  f->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest\\guide.hlp")), "newer help");  // kept
  EXPECT_EQ(Text("\\SOFTWARE\\Microsoft\\Windows\\Help", "GUIDE.HLP"), P("C:\\Dest"));
  EXPECT_EQ(Count(P("C:\\Dest\\guide.hlp")), 1);

  f->SetState(ifsInstalling);
  EXPECT_EQ(Count(P("C:\\Dest\\guide.hlp")), 2);
}

TEST_F(RegistrationTest, CountsUnderAnExistingShortNameElseTheFullPath) {
  const std::string dest = P("C:\\Dest\\SharedLibrary.dll");
  TInstallFile* f = AddFile("Shared", P("C:\\src\\SharedLibrary.dll"), "code");
  PackGroup();
  f->SetUpdateDLLCounter(true);
  PutFile(dest, "older code", kOld);
  const std::string shortName = platform::system().ShortPathName(dest);
  ASSERT_NE(shortName, dest);
  WriteRegInteger(kRootLocalMachine, kSharedDlls, shortName, 5);

  f->SetState(ifsInstalling);
  EXPECT_EQ(Count(shortName), 6);
  EXPECT_EQ(Count(dest), -1);

  // Without a value under the short name the full path gets a new count.
  platform::registry().DeleteValue(platform::RootKey::LocalMachine, kSharedDlls, shortName);
  f->SetState(ifsInstalling);
  EXPECT_EQ(Count(dest), 1);
}

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

TEST_F(RegistrationTest, LibrariesThatCannotRegisterSayWhy) {
  TInstallFile* noExport = AddFile("NoExport", P("C:\\src\\plain.ocx"), RegisteringDll(false));
  TInstallFile* notPe = AddFile("NotPe", P("C:\\src\\text.ocx"), "not a program");
  PackGroup();
  EXPECT_THAT([&] { noExport->SetState(ifsInstalling); },
              testing::ThrowsMessage<IECustomInstallFile>(HasSubstr(
                  "because the DllRegisterServer function could not be found. The file component "
                  "is NoExport. The following value is the value of the GetLastError function: "
                  "127")));
  const std::string text = notPe->DestinationPath();
  EXPECT_THAT(
      [&] { notPe->SetState(ifsInstalling); },
      testing::ThrowsMessage<IECustomInstallFile>(HasSubstr(
          "Could not register the ActiveX component, " + text + ", because the LoadLibrary(" +
          text + ") procedure returned a value of 0. The file component is NotPe.")));
  // A destination that is not there cannot be registered.
  noExport->SetDestName("missing.ocx");
  EXPECT_THAT([&] { noExport->RegisterActiveX(); },
              testing::ThrowsMessage<IECustomInstallFile>(HasSubstr("destination directory")));
  EXPECT_EQ(Machine().OleDepth(), 0);
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

TEST_F(RegistrationTest, UninstallRecordsCountFilesAndMarkPrograms) {
  TInstallFile* a = AddFile("A", P("C:\\src\\a.txt"), "a");
  TInstallFile* b = AddFile("B", P("C:\\src\\b.txt"), "b");
  TInstallFile* ocx = AddFile("Ocx", P("C:\\src\\c.ocx"), "c");
  TInstallFile* exe = AddFile("Exe", P("C:\\src\\d.exe"), "d");
  exe->SetActiveX(true);
  const std::string key = "\\Uninstall\\Product";
  for (TInstallFile* f : {a, b, ocx, exe}) f->WriteUninstallInfo(key);

  EXPECT_EQ(Text(key + "\\Files", "File1"), P("C:\\Dest\\a.txt"));
  EXPECT_EQ(Text(key + "\\Files", "File2"), P("C:\\Dest\\b.txt"));
  EXPECT_EQ(Text(key + "\\Files", "Entries"), "2");
  EXPECT_EQ(Text(key + "\\ActiveX", "File1"), ocx->DestinationPath() + ";0");
  EXPECT_EQ(Text(key + "\\ActiveX", "File2"), exe->DestinationPath() + ";1");
  EXPECT_EQ(Text(key + "\\ActiveX", "Entries"), "2");

  // A "Files" key whose count is no number is passed over for "Files1".
  WriteRegString(kRootLocalMachine, key + "\\Files", "Entries", "many");
  a->WriteUninstallInfo(key);
  EXPECT_EQ(Text(key + "\\Files1", "File1"), P("C:\\Dest\\a.txt"));

  // ... but not without end.
  for (int k = 1; k <= 100; ++k)
    WriteRegString(kRootLocalMachine, key + "\\Files" + std::to_string(k), "Entries", "many");
  EXPECT_THAT([&] { a->WriteUninstallInfo(key); },
              testing::ThrowsMessage<IECustomInstallFile>(HasSubstr("Files100")));
}

}  // namespace
}  // namespace filestest
