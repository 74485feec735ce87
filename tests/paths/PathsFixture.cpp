// The destination-path tests' fixture (see PathsFixture.h).
#include "PathsFixture.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "install/InstallRegistration.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "shell/routines_Registry.h"

namespace pathstest {

PathsTest::PathsTest() {
  std::string base = (std::filesystem::temp_directory_path() / "pellmore-paths-XXXXXX").string();
  if (!::mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
  hostDir_ = base;
  UseMachine({});

  ClassRegistry& r = ClassRegistry::Global();
  RegisterControls(r);
  RegisterPathSpecifiers(r);
  RegisterInstallClasses(r);
  r.Class<TTestGroup, TInstallFileGroup>("TTestGroup")
      .Prop("Container", &TTestGroup::Container, &TTestGroup::SetContainer)
      .Prop("DestDir", &TTestGroup::DestDir, &TTestGroup::SetDestDir)
      .Prop("DestDirType", &TTestGroup::DestDirType, &TTestGroup::SetDestDirType);
}

PathsTest::~PathsTest() {
  platform::Install(nullptr);
  std::error_code ec;
  std::filesystem::remove_all(hostDir_, ec);
}

void PathsTest::UseMachine(const platform::sim::MachineOptions& options) {
  platform::Install(nullptr);
  machineDir_ = hostDir_ + "/machine" + std::to_string(++machines_);
  auto machine = platform::sim::CreateMachine(machineDir_, options);
  machine_ = machine.get();
  platform::Install(std::move(machine));
}

std::string StandardSpecifierObjects() {
  std::string out;
  for (const char* kind :
       {"QDEDLL", "CommonFiles", "ContainerArchiveFile", "ContainerDestDir", "DesktopMenu",
        "InstallSource", "MainInstall", "ProgramFiles", "ProgramMenu", "StartMenu", "StartupMenu",
        "System", "MainArchiveFile", "Window"})
    out += std::string("  object ps") + kind + ": Tps" + kind + "\n  end\n";
  return out;
}

void PathsTest::SetValue(uint8_t root, const std::string& key, const std::string& name,
                         const std::string& value) {
  WriteRegString(root, key, name, value);
}

void PathsTest::DeleteValue(uint8_t root, const std::string& key, const std::string& name) {
  platform::registry().DeleteValue(RootKeyFromIndex(root), key, name);
}

TForm* PathsTest::LoadInstaller(const std::string& args, const std::string& props,
                                const std::string& more) {
  machine_->SetCommandLine("C:\\SETUP\\SETUP.EXE " + args);
  Owned<TForm> form(new TForm(nullptr));
  ReadForm(*form,
           "object T: TForm\n" + StandardSpecifierObjects() +
               "  object Install1: TInstall\n    RunAutomatic = False\n" + props + "\n  end\n" +
               more + "end\n",
           "test.dfm");
  return form.release();
}

}  // namespace pathstest
