// The install tests' fixture (see InstallFixture.h).
#include "InstallFixture.h"

#include <unistd.h>

#include <filesystem>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/StrUtils.h"
#include "install/InstallRegistration.h"
#include "platform/sim/SimMachine.h"

namespace installtest {

InstallTest::InstallTest() {
  std::string base = (std::filesystem::temp_directory_path() / "pellmore-install-XXXXXX").string();
  if (!::mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
  hostDir_ = base;
  auto machine = platform::sim::CreateMachine(hostDir_ + "/machine", {});
  machine_ = machine.get();
  platform::Install(std::move(machine));

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

InstallTest::~InstallTest() {
  platform::Install(nullptr);
  std::error_code ec;
  std::filesystem::remove_all(hostDir_, ec);
}

void InstallTest::SetCommandLine(const std::string& line) {
  machine_->SetCommandLine(line);
}

void InstallTest::PutFile(const std::string& path, const std::string& bytes, TDateTime localDate) {
  platform::FileSystem& fs = platform::files();
  fs.CreateDirectories(ExtractFileDir(path));
  auto f = fs.Create(path);
  f->Write(bytes.data(), bytes.size());
  f->SetLastWriteTime(platform::LocalDateTimeToFileTime(localDate));
  f->Close();
}

TForm* InstallTest::NewForm() {
  return new TForm(nullptr);
}

TForm* InstallTest::ReadForm(const std::string& text) {
  Owned<TForm> form(new TForm(nullptr));
  ::ReadForm(*form, text, "test.dfm");
  return form.release();
}

}  // namespace installtest
