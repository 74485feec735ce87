#pragma once

#include <string>

#include "common/exceptions_Pellmore.h"
#include "files/cmp_TInstallFile.h"

class ClassRegistry;

// No installer component to take the product name from.
PELLMORE_DECLARE_EXCEPTION(IEUninstallEXE, IException);

// The uninstall program's file name in the kit directory and on the target.
inline constexpr const char* kUninstallProgramName = "uninstall.exe";

// TUninstallEXE: the install file item for the uninstall program. It is
// copied like any other file, but instead of a file record it enters the
// product in Windows' list of installed programs ("DisplayName" and
// "UninstallString" under the product's uninstall key), so the uninstall
// program can later be started from there with the product's name.
class TUninstallEXE : public TCustomInstallFile {
  PELLMORE_CLASS(TUninstallEXE, TCustomInstallFile)

 public:
  // An install file with Net set. Placed while designing, it takes
  // "uninstall.exe" from the kit directory when that holds one (a missing
  // kit directory or file leaves the item empty).
  explicit TUninstallEXE(TComponent* owner);

  // "DisplayName" := the product name and "UninstallString" := the
  // installed program's path, a blank and the product name, under `key`
  // (which is created when missing). IEUninstallEXE without an installer;
  // a refused write raises the registry routine's error.
  void WriteUninstallInfo(const std::string& key) override;

  // The command the uninstall entry starts: the destination directory, one
  // backslash, DestName, a blank and the product name.
  std::string UninstallCommand(const std::string& productName);
};

// Registers TUninstallEXE with the published properties of an install
// file; called after the install file classes.
void RegisterUninstallEXE(ClassRegistry& registry);
