// The destination-path tests' fixture: the test machine (a fresh simulated
// machine, or the real system on Windows), the control model, the install
// classes and the path specifiers registered, registry value changes that
// are put back afterwards, and on the sim build machines of other shapes
// and forms holding an installer read with a chosen command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/Registry.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

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
  // Starts on the test machine (on the sim build NT 4 on C:).
  PathsTest();
  ~PathsTest() override;

  // HKCU (root index 2) or HKLM (4) value writes and deletions. On Windows
  // these are the machine's own folders, so each value is put back as it
  // was when the test ends.
  void SetValue(uint8_t root, const std::string& key, const std::string& name,
                const std::string& value);
  void DeleteValue(uint8_t root, const std::string& key, const std::string& name);

  // What the machine itself says, read past the code under test: the
  // registry's Program Files directory without its trailing backslash.
  static std::string ProgramFilesFromRegistry();

  // A form holding the standard specifiers and an installer made in code
  // (so no command line is read): Installer() with DestDirType
  // psProgramFiles and `destDir`. The caller frees the form.
  TForm* NewInstallerForm(const std::string& destDir);

#ifndef _WIN32
  // Replaces the machine with a fresh one of this shape.
  void UseMachine(const platform::sim::MachineOptions& options);
  platform::sim::SimMachine& Machine() {
    return *machine_.Sim();
  }
  // The host directory of the current machine (no result may name it).
  const std::string& HostDir() const {
    return machine_.Sim()->HostDir();
  }

  // A form holding the standard specifiers, then `Install1: TInstall` with
  // `props` (RunAutomatic off),
  // read with the program started as "C:\SETUP\SETUP.EXE <args>", and
  // `more` objects after it. The caller frees the form.
  TForm* LoadInstaller(const std::string& args, const std::string& props = "",
                       const std::string& more = "");
#endif

 private:
  // A registry value as it was before the test first changed it.
  struct SavedValue {
    platform::RootKey root;
    std::string key;
    std::string name;
    bool keyExisted;
    std::optional<platform::RegValue> value;
  };
  void Remember(platform::RootKey root, const std::string& key, const std::string& name);
  void RestoreValues();

  testsupport::TestMachine machine_;
  std::vector<SavedValue> saved_;
};

class ExpandPaths : public PathsTest {
 protected:
  std::string Expand(const std::string& text, TComponent* component = nullptr);
  // The exception's class and message, or "expanded: <result>".
  std::string ExpandError(const std::string& text, TComponent* component);
};

class PathSpecifiers : public PathsTest {
 protected:
  template <class T>
  T* Specifier() {
    return FindByClass<T>();
  }
  // The exception's class and message, or "ok: <result>".
  template <class F>
  std::string Outcome(F&& f) {
    try {
      return "ok: " + f();
    } catch (const Exception& e) {
      return e.ClassName() + std::string(": ") + e.Message();
    }
  }
  static TInstall* InstallOf(TForm* form) {
    return static_cast<TInstall*>(form->FindComponent("Install1"));
  }
};

}  // namespace pathstest
