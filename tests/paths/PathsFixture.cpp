// The destination-path tests' fixture (see PathsFixture.h).
#include "PathsFixture.h"

#include <algorithm>
#include <stdexcept>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/StrUtils.h"
#include "install/InstallRegistration.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"

namespace pathstest {

PathsTest::PathsTest() : machine_(testsupport::ScratchNamed("pellmore-paths")) {
  ClassRegistry& r = ClassRegistry::Global();
  RegisterControls(r);
  RegisterPathSpecifiers(r);
  RegisterInstallClasses(r);
  r.Class<TTestGroup, TInstallFileGroup>("TTestGroup")
      .Prop("Container", &TTestGroup::Container, &TTestGroup::SetContainer)
      .Prop("DestDir", &TTestGroup::DestDir, &TTestGroup::SetDestDir)
      .Prop("DestDirType", &TTestGroup::DestDirType, &TTestGroup::SetDestDirType);
}

// The values go back first, while the registry is still the test's; then
// the machine, which on Windows also lets the next kit test in.
PathsTest::~PathsTest() {
  RestoreValues();
  machine_.Release();
}

void PathsTest::Remember(platform::RootKey root, const std::string& key, const std::string& name) {
  for (const SavedValue& s : saved_)
    if (s.root == root && SameText(s.key, key) && SameText(s.name, name)) return;
  platform::Registry& reg = platform::registry();
  SavedValue saved{root, key, name, reg.KeyExists(root, key), reg.ReadValue(root, key, name)};
  if (!saved.value && saved.keyExisted) {
    // A value the service cannot read could not be put back: refuse to
    // overwrite it rather than lose it.
    const auto names = reg.ValueNames(root, key);
    if (std::any_of(names.begin(), names.end(),
                    [&](const std::string& n) { return SameText(n, name); }))
      throw std::runtime_error("cannot save the registry value " + key + "\\" + name);
  }
  saved_.push_back(std::move(saved));
}

void PathsTest::RestoreValues() {
  platform::Registry& reg = platform::registry();
  // Latest first, so a key this test created is empty again when its turn comes.
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    try {
      if (it->value) {
        reg.CreateKey(it->root, it->key);
        reg.WriteValue(it->root, it->key, it->name, *it->value);
      } else {
        reg.DeleteValue(it->root, it->key, it->name);
        if (!it->keyExisted && reg.KeyExists(it->root, it->key) &&
            reg.ValueNames(it->root, it->key).empty() && reg.SubKeyNames(it->root, it->key).empty())
          reg.DeleteKey(it->root, it->key);
      }
    } catch (const std::exception& e) {
      ADD_FAILURE() << "cannot restore " << it->key << "\\" << it->name << ": " << e.what();
    }
  }
  saved_.clear();
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
  Remember(RootKeyFromIndex(root), key, name);
  WriteRegString(root, key, name, value);
}

void PathsTest::DeleteValue(uint8_t root, const std::string& key, const std::string& name) {
  Remember(RootKeyFromIndex(root), key, name);
  platform::registry().DeleteValue(RootKeyFromIndex(root), key, name);
}

std::string PathsTest::ProgramFilesFromRegistry() {
  auto value = platform::registry().ReadValue(platform::RootKey::LocalMachine, kCurrentVersion,
                                              "ProgramFilesDir");
  if (!value || value->text.empty()) throw std::runtime_error("the machine names no Program Files");
  std::string dir = value->text;
  if (dir.back() == '\\') dir.pop_back();
  return dir;
}

TForm* PathsTest::NewInstallerForm(const std::string& destDir) {
  Owned<TForm> form(NewForm());
  EnsureStandardSpecifiers(nullptr, form.get(), false);
  auto* install = New<TInstall>(form.get(), "Install1");
  install->SetDestDirType(FindByClass<TpsProgramFiles>());
  install->SetDestDir(destDir);
  return form.release();
}

#ifndef _WIN32
void PathsTest::UseMachine(const platform::sim::MachineOptions& options) {
  // The values saved so far belong to the machine being replaced.
  RestoreValues();
  machine_.Replace(options);
}

TForm* PathsTest::LoadInstaller(const std::string& args, const std::string& props,
                                const std::string& more) {
  Machine().SetCommandLine("C:\\SETUP\\SETUP.EXE " + args);
  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object T: TForm\n" + StandardSpecifierObjects() +
               "  object Install1: TInstall\n    RunAutomatic = False\n" + props + "\n  end\n" +
               more + "end\n",
           "test.dfm");
  return form.release();
}
#endif

std::string ExpandPaths::Expand(const std::string& text, TComponent* component) {
  std::string result;
  ExpandMetaVariables(text, component, result);
  return result;
}

std::string ExpandPaths::ExpandError(const std::string& text, TComponent* component) {
  std::string result = "untouched";
  try {
    ExpandMetaVariables(text, component, result);
  } catch (const Exception& e) {
    EXPECT_EQ(result, "untouched");
    return e.ClassName() + std::string(": ") + e.Message();
  }
  return "expanded: " + result;
}

}  // namespace pathstest
