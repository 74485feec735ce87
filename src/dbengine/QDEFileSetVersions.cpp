// What the engine versions change in their file sets: the tool that comes
// with the core (6.x "QDCFG32", 7.0 and later "QDMGR"), the ODBC bridge's
// second library (7.0 and later), Vault in the full driver set and as a
// user of the core (7.5 and later). The 8.0 locale files are with the core
// in QDEFileSets.cpp.
#include "dbengine/QDEFileSets.h"

#include "dbengine/cmp_TInstallQDE.h"
#include "framework/StrUtils.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace {

constexpr const char* kConfigTool[] = {"QDCFG32.EXE", "QDCFG32.HLP", "QDCFG32.CNT"};
constexpr const char* kManager[] = {"QDMGR.EXE", "QDMGR.HLP", "QDMGR.CNT"};
constexpr const char* kManagerApplet = "QDMGR.CPL";
constexpr const char* kBridgeObjects = "QDVOB32.DLL";

}  // namespace

// --- 6.0 and 6.5 --------------------------------------------------------------------------------

void TQDE60FileSet::AddCoreFiles() {
  TQDEFileSet::AddCoreFiles();
  for (const char* name : kConfigTool) AddEngineFile(name);
}

// The tool is added only with the core, but goes whenever a driver is
// cleared.
void TQDE60FileSet::RemoveCoreIfUnused() {
  TQDEFileSet::RemoveCoreIfUnused();
  for (const char* name : kConfigTool) RemoveFile(name);
}

// --- 7.0
// ------------------------------------------------------------------------------------------

void TQDE70FileSet::AddCoreFiles() {
  TQDEFileSet::AddCoreFiles();
  for (const char* name : kManager) AddEngineFile(name);
  // The control panel applet goes into the system directory; an engine
  // directory without it may have left it there.
  std::string applet = InstalledEngineDirectory() + "\\" + kManagerApplet;
  if (!platform::files().FileExists(applet))
    applet = ExcludeTrailingBackslash(platform::system().SystemDirectory()) + "\\" + kManagerApplet;
  AddFile(applet, TpsSystem::StaticMetaClass());
}

void TQDE70FileSet::RemoveToolFiles() {
  for (const char* name : kManager) RemoveFile(name);
  RemoveFile(kManagerApplet);
}

void TQDE70FileSet::RemoveCoreIfUnused() {
  TQDEFileSet::RemoveCoreIfUnused();
  RemoveToolFiles();
}

void TQDE70FileSet::AddODBC() {
  TQDEFileSet::AddODBC();
  AddEngineFile(kBridgeObjects);
}

bool TQDE70FileSet::HasODBC() {
  return TQDEFileSet::HasODBC() && HasMember(kBridgeObjects);
}

// Vault needs the bridge's second library too: clearing ODBC must not
// switch Vault off and leave its other library behind.
void TQDE70FileSet::RemoveODBC() {
  RemoveFile("QDOBR32.DLL");
  if (!HasVault()) RemoveFile(kBridgeObjects);
  RemoveCoreIfUnused();
}

// --- 7.5 and 8.0
// ----------------------------------------------------------------------------------

void TQDE75FileSet::AddAllDrivers(bool ignoreErrors) {
  try {
    AddVault();
  } catch (const std::exception&) {
    if (!ignoreErrors) throw;
  }
  TQDE70FileSet::AddAllDrivers(ignoreErrors);
}

bool TQDE75FileSet::HasFull() {
  return TQDE70FileSet::HasFull() && HasVault();
}

void TQDE75FileSet::RemoveCoreIfUnused() {
  if (!HasVault()) {
    TQDE70FileSet::RemoveCoreIfUnused();
    return;
  }
  RemoveToolFiles();
}
