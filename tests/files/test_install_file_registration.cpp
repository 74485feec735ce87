// What installing a file records beyond its bytes, on both builds: help
// entries and shared-DLL counts (kept files and short names included), the
// uninstall records, and the self-registration of ActiveX libraries made by
// the PE generator (a real LoadLibrary and DllRegisterServer on Windows)
// and of programs, with the run's retry of failed registrations.
#include <gmock/gmock.h>

#include <chrono>
#include <optional>
#include <thread>

#include "InstallFileSimFixture.h"
#include "install/RetryList.h"
#include "platform/OsError.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"
#include "support/TestMachine.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

namespace filestest {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
// Below the uninstall key, which the Windows test machine puts back.
constexpr const char* kUninstallKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PellmoreRegistrationTest";
constexpr uint32_t kFail = 0x80004005u;  // E_FAIL
constexpr int32_t kFailValue = -2147467259;

class RegistrationBothTest : public InstallFileSimTest {
 protected:
  ~RegistrationBothTest() override {
    SetRegistrationFailuresDeferred(false);
    ClearRetryList();
  }

  // A library whose DllRegisterServer returns `result` (none: no such export).
  static std::string Dll(std::optional<uint32_t> result) {
    pegen::PeOptions o;
    o.machine = pegen::kLoadableMachine;
    if (result) o.exports.push_back({"DllRegisterServer", *result, 0});
    o.exports.push_back({"DllUnregisterServer", 0, 0});
    const std::vector<uint8_t> bytes = pegen::BuildPe(o);
    return std::string(bytes.begin(), bytes.end());
  }
  // An ActiveX file installed into the group's directory in the scratch
  // directory instead of the system directory its type would choose.
  TInstallFile* ActiveXFile(const std::string& name, const std::string& fileName,
                            const std::string& bytes) {
    TInstallFile* f = AddFile(name, P("C:\\src\\" + fileName), bytes);
    f->SetActiveX(true);
    f->SetFileType(iftNormal);
    f->SetDestDirType(nullptr);
    f->SetDestDir(group_->DestDir());
    return f;
  }
  // Deletes `path`, retrying while something (a program still running from
  // it) holds it; false when it is still there after `limit`.
  static bool DeletedWithin(const std::string& path, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      try {
        platform::files().DeleteFile(path);
        return true;
      } catch (const platform::OsError&) {
        if (std::chrono::steady_clock::now() >= end) return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  template <class Body>
  static std::string ErrorOf(Body body) {
    try {
      body();
    } catch (const IECustomInstallFile& e) {
      return e.Message();
    }
    return "<no error>";
  }
};

TEST_F(RegistrationBothTest, KeptFilesStillRegisterHelpAndCountEveryInstall) {
  TInstallFile* f = AddFile("Guide", P("C:\\src\\guide.hlp"), "help text", kOld);
  PackGroup();
  ASSERT_TRUE(f->RegisterAsHelp());
  f->SetUpdateDLLCounter(true);
  f->SetOverwriteMode(owNever);
  PutFile(P("C:\\Dest\\guide.hlp"), "newer help", kNew);

  f->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest\\guide.hlp")), "newer help");  // kept
  EXPECT_EQ(Text(kHelpKey, "GUIDE.HLP"), P("C:\\Dest"));
  EXPECT_EQ(Count(P("C:\\Dest\\guide.hlp")), 1);

  // A second install of the same shared file counts again.
  f->SetState(ifsInstalling);
  EXPECT_EQ(Count(P("C:\\Dest\\guide.hlp")), 2);
}

TEST_F(RegistrationBothTest, CountsUnderAnExistingShortNameElseTheFullPath) {
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
  EXPECT_EQ(Count(shortName), -1);
}

TEST_F(RegistrationBothTest, UninstallRecordsCountFilesAndMarkPrograms) {
  TInstallFile* a = AddFile("A", P("C:\\src\\a.txt"), "a");
  TInstallFile* b = AddFile("B", P("C:\\src\\b.txt"), "b");
  TInstallFile* ocx = AddFile("Ocx", P("C:\\src\\c.ocx"), "c");
  TInstallFile* exe = AddFile("Exe", P("C:\\src\\d.exe"), "d");
  exe->SetActiveX(true);
  const std::string key = kUninstallKey;
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
  EXPECT_THAT(ErrorOf([&] { a->WriteUninstallInfo(key); }), HasSubstr("Files100"));
}

TEST_F(RegistrationBothTest, LibrariesRegisterByTheirDllRegisterServerResult) {
  TInstallFile* ok = ActiveXFile("Ok", "ok.ocx", Dll(0));
  TInstallFile* sFalse = ActiveXFile("SFalse", "sfalse.ocx", Dll(1));  // S_FALSE succeeds
  TInstallFile* failing = ActiveXFile("Failing", "failing.ocx", Dll(kFail));
  TInstallFile* noExport = ActiveXFile("NoExport", "plain.ocx", Dll(std::nullopt));
  TInstallFile* notPe = ActiveXFile("NotPe", "text.ocx", "not a program");
  PackGroup();
  const std::string before = platform::system().CurrentDirectory();

  EXPECT_EQ(ErrorOf([&] { ok->SetState(ifsInstalling); }), "<no error>");
  EXPECT_EQ(ok->DestinationPath(), P("C:\\Dest\\ok.ocx"));
  EXPECT_EQ(ErrorOf([&] { sFalse->SetState(ifsInstalling); }), "<no error>");
  const std::string failed = failing->DestinationPath();
  EXPECT_EQ(ErrorOf([&] { failing->SetState(ifsInstalling); }),
            "Could not register the ActiveX component, " + failed +
                ", because the DllRegisterServer function returned a value of " +
                std::to_string(kFailValue) + ". The file component is Failing");
  EXPECT_TRUE(Exists(failed));
  EXPECT_THAT(ErrorOf([&] { noExport->SetState(ifsInstalling); }),
              HasSubstr("because the DllRegisterServer function could not be found. The file "
                        "component is NoExport. The following value is the value of the "
                        "GetLastError function: 127"));
  const std::string text = notPe->DestinationPath();
  EXPECT_EQ(ErrorOf([&] { notPe->SetState(ifsInstalling); }),
            "Could not register the ActiveX component, " + text + ", because the LoadLibrary(" +
                text +
                ") procedure returned a value of 0. The file component is NotPe. The following "
                "value is the value of the GetLastError function: 193");
  // A destination that is not there cannot be registered.
  noExport->SetDestName("missing.ocx");
  EXPECT_THAT(ErrorOf([&] { noExport->RegisterActiveX(); }), HasSubstr("destination directory"));
  // The registrations ran from the files' directory and came back.
  EXPECT_EQ(platform::system().CurrentDirectory(), before);
  // Outside a run nothing waits for a retry.
  EXPECT_THAT(TakeRetryList(), IsEmpty());
#ifndef _WIN32
  // Only the simulated machine counts OLE initialisations: none is left open.
  EXPECT_EQ(Machine().OleDepth(), 0);
#endif
}

TEST_F(RegistrationBothTest, AFailureDuringTheRunIsRetriedAtItsEnd) {
  TInstallFile* f = ActiveXFile("Control", "control.ocx", Dll(kFail));
  PackGroup();
  SetRegistrationFailuresDeferred(true);

  f->SetState(ifsInstalling);
  const std::string dest = f->DestinationPath();
  ASSERT_TRUE(Exists(dest));
  ASSERT_THAT(TakeRetryList(), ElementsAre(f));

  // By the end of the run what the library needed is in place: the retry
  // loads the file anew and succeeds.
  PutFile(dest, Dll(0), kMid);
  EXPECT_NO_THROW(f->RetryRegistration());
}

TEST_F(RegistrationBothTest, AFailureOnTheRetryTooIsRaised) {
  TInstallFile* f = ActiveXFile("Control", "control.ocx", Dll(kFail));
  PackGroup();
  SetRegistrationFailuresDeferred(true);
  f->SetState(ifsInstalling);
  ASSERT_THAT(TakeRetryList(), ElementsAre(f));

  EXPECT_EQ(ErrorOf([&] { f->RetryRegistration(); }),
            "Could not register the ActiveX component, " + f->DestinationPath() +
                ", because the DllRegisterServer function returned a value of " +
                std::to_string(kFailValue) + ". The file component is Control");
}

TEST_F(RegistrationBothTest, ProgramsAreStartedToRegisterThemselves) {
  pegen::PeOptions o;
  o.machine = pegen::kLoadableMachine;
  o.kind = pegen::ImageKind::Exe;
  o.regServerExitCode = 0;
  const std::vector<uint8_t> exe = pegen::BuildPe(o);
  // The blank in the directory needs the program's path quoted.
  group_->SetDestDir(P("C:\\Dest dir"));
  TInstallFile* server = ActiveXFile("Server", "server.exe", std::string(exe.begin(), exe.end()));
  TInstallFile* text = ActiveXFile("Text", "text.exe", "not a program");
  PackGroup();

  EXPECT_EQ(ErrorOf([&] { server->SetState(ifsInstalling); }), "<no error>");
  // The registration does not wait for the program; on Windows it holds its
  // file until it has ended, and the scratch directory goes afterwards.
  EXPECT_TRUE(DeletedWithin(server->DestinationPath(), std::chrono::seconds(20)));
  const std::string dest = text->DestinationPath();
  EXPECT_EQ(ErrorOf([&] { text->SetState(ifsInstalling); }),
            "Could not register the ActiveX component, " + dest + ", because the WinExec(\"" +
                dest +
                "\" /REGSERVER,SW_HIDE) function returned a value < 32. The file component is "
                "Text. The following value is the value of the GetLastError function: 11");
}

}  // namespace
}  // namespace filestest
