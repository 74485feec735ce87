// The install tests' fixture (see InstallFixture.h).
#include "InstallFixture.h"

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/StrUtils.h"
#include "install/InstallRegistration.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

namespace installtest {

InstallTest::InstallTest() : machine_(testsupport::ScratchNamed("pellmore-install")) {
  ClassRegistry& r = ClassRegistry::Global();
  RegisterControls(r);
  RegisterInstallClasses(r);
  r.Class<TTestFile, TFileRelated>("TTestFile")
      .Prop("Container", &TTestFile::Container, &TTestFile::SetContainer)
      .Prop("Order", &TTestFile::Order, &TTestFile::SetOrder, -1);
  r.Class<TTestDialog, TInstallObject>("TTestDialog")
      .Prop("Container", &TTestDialog::Container, &TTestDialog::SetContainer);
  r.Class<TCountingInstall, TInstall>("TCountingInstall");
}

// The machine goes after the test's objects, which the derived fixtures
// free in their own destructors.
InstallTest::~InstallTest() = default;

#ifndef _WIN32
void InstallTest::SetCommandLine(const std::string& line) {
  machine_.Sim()->SetCommandLine(line);
}
#endif

void InstallTest::PutFile(const std::string& path, const std::string& bytes, TDateTime localDate) {
  platform::FileSystem& fs = platform::files();
  fs.CreateDirectories(ExtractFileDir(path));
  auto f = fs.Create(path);
  f->Write(bytes.data(), bytes.size());
  f->SetLastWriteTime(platform::LocalDateTimeToFileTime(localDate));
  f->Close();
}

TForm* InstallTest::ReadForm(const std::string& text) {
  Owned<TForm> form(NewForm());
  ::ReadForm(*form, text, "test.dfm");
  return form.release();
}

}  // namespace installtest
