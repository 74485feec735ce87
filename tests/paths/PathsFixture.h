// The destination-path tests' fixture: a fresh simulated machine of a
// chosen shape (kind, Windows directory, drives), the control model, the
// install classes and the path specifiers registered, and helpers to
// change registry values and to read a form holding an installer.
#pragma once

#include <string>

#include "framework/Forms.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/sim/SimMachine.h"
#include "support/Fixture.h"

namespace pathstest {

inline constexpr const char* kShellFolders =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kCurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const char* kEngineKey = "\\Software\\Quenby\\Database Engine";

// A file group the tests can place in code (its class publishes Container).
class TTestGroup : public TInstallFileGroup {
  PELLMORE_CLASS(TTestGroup, TInstallFileGroup)

 public:
  using TInstallFileGroup::TInstallFileGroup;
};

// An install object that is not file-related (as dialogs and links are).
class TTestObject : public TInstallObject {
  PELLMORE_CLASS(TTestObject, TInstallObject)

 public:
  using TInstallObject::TInstallObject;
  int RegisteredType() const override { return kRegisteredDialog; }
};

// The 14 standard specifiers as form objects, in their stored order.
std::string StandardSpecifierObjects();

class PathsTest : public PellmoreTest {
 protected:
  // Starts on a default machine (NT 4 on C:).
  PathsTest();
  ~PathsTest() override;

  // Replaces the machine with a fresh one of this shape.
  void UseMachine(const platform::sim::MachineOptions& options);
  platform::sim::SimMachine& Machine() { return *machine_; }
  // The host directory of the current machine (no result may name it).
  const std::string& HostDir() const { return machineDir_; }

  // HKCU (root index 2) or HKLM (4) value writes and deletions.
  void SetValue(uint8_t root, const std::string& key, const std::string& name,
                const std::string& value);
  void DeleteValue(uint8_t root, const std::string& key, const std::string& name);

  // A form holding the standard specifiers, then `Install1: TInstall` with
  // `props` (RunAutomatic off),
  // read with the program started as "C:\SETUP\SETUP.EXE <args>", and
  // `more` objects after it. The caller frees the form.
  TForm* LoadInstaller(const std::string& args, const std::string& props = "",
                       const std::string& more = "");

  template <class T>
  T* New(TComponent* owner, const std::string& name) {
    auto* c = new T(owner);
    c->SetName(name);
    return c;
  }

 private:
  std::string hostDir_;
  std::string machineDir_;
  int machines_ = 0;
  platform::sim::SimMachine* machine_ = nullptr;
};

}  // namespace pathstest
