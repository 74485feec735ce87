// What a setup says when the machine's internet library is missing or
// lacks an entry point (simulated machines shaped by their settings), and
// the library's error names as messages show them.
#include <gtest/gtest.h>

#include "files/cmp_TNetInstallLocation.h"
#include "framework/ClassRegistry.h"
#include "framework/Forms.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimMachine.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace {

class SimNetLocationTest : public PellmoreTest {
 protected:
  SimNetLocationTest() { RegisterNetInstallLocation(ClassRegistry::Global()); }
  testsupport::TestMachine machine_;
};

TEST_F(SimNetLocationTest, LoadErrorsNameTheLibraryOrTheFirstMissingEntryPoint) {
  struct Case {
    const char* wininet;
    const char* lacks;
    const char* error;
    const char* message;
  };
  const Case cases[] = {
      {"0", "", "ENIL_FailLoadWININET",
       "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to "
       "include the WININET.DLL file in the PresetupFiles property of the TInstall component"},
      {"1", "HttpQueryInfoA,FtpOpenFileA", "ENIL_FailLoadDLLProc",
       "Failed to load the procedure FtpOpenFile from WININET.DLL"},
      {"1", "InternetGetLastResponseInfoA", "ENIL_FailLoadDLLProc",
       "Failed to load the procedure InternetGetLastResponseInfo from WININET.DLL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    machine_.Sim()->ChangeSettings([&](platform::sim::MachineSettings& s) {
      s.Set("wininet", c.wininet);
      s.Set("wininet-lacks", c.lacks);
    });
    Owned<TForm> form(NewForm());
    auto* l = New<TNetInstallLocation>(form.get(), "NetLocation1");
    l->LoginInformation()->SetHostname("127.0.0.1:1");
    try {
      l->Download("a.bin", machine_.At("a.bin"));
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), c.error);
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(l->LibraryLoaded());
    EXPECT_FALSE(machine_.Sim()->files().FileExists(machine_.At("a.bin")));
  }
  EXPECT_THROW(machine_.Sim()->ChangeSettings(
                   [](platform::sim::MachineSettings& s) { s.Set("wininet-lacks", "A,,B"); }),
               platform::sim::MachineError);
}

TEST(InternetErrorNames, EveryNamedRangeEndsWhereTheLibraryStopsNaming) {
  const std::pair<uint32_t, const char*> names[] = {
      {6, "ERROR_INVALID_HANDLE"},
      {12001, "ERROR_INTERNET_OUT_OF_HANDLES"},
      {12031, "ERROR_INTERNET_CONNECTION_RESET"},
      {12032, "ERROR_INTERNET_FORCE_RETRY"},
      {12033, "Unregistered error code"},
      {12036, "ERROR_INTERNET_HANDLE_EXISTS"},
      {12041, "ERROR_INTERNET_MIXED_SECURITY"},
      {12111, "ERROR_FTP_DROPPED"},
      {12112, "Unregistered error code"},
      {12129, "Unregistered error code"},
      {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
      {12150, "ERROR_HTTP_HEADER_NOT_FOUND"},
      {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
      {12156, "Unregistered error code"},
      {0, "Unregistered error code"},
  };
  for (const auto& [code, name] : names) EXPECT_EQ(InternetErrorName(code), name) << code;
}

}  // namespace
