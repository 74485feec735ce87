// A small fake engine on the simulated test machine: the engine's files
// (they only need to exist) in the engine directory with its registry keys,
// language packs, server-link driver keys, an Osprey installation with its
// message file, and the kit directory with the files the kit supplies.
// Every file and value can be taken away again to shape a failure.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "support/TestMachine.h"

namespace dbenginetest {

inline constexpr const char* kEngineDir = "C:\\Program Files\\Quenby\\Common Files\\QDE";
inline constexpr const char* kKitDir = "C:\\Pellmore";
inline constexpr const char* kOspreyHome = "C:\\Osprey";
inline constexpr const char* kLocaleKey = "Software\\Quenby\\QDLOC32";
inline constexpr const char* kDriversKey = "Software\\Quenby\\Database Engine\\Options\\Drivers";

inline std::string EngineFile(const std::string& name) {
  return std::string(kEngineDir) + "\\" + name;
}

inline void SetValue(const std::string& key, const std::string& name, const std::string& value) {
  platform::registry().CreateKey(platform::RootKey::LocalMachine, key);
  platform::registry().WriteValue(platform::RootKey::LocalMachine, key, name,
                                  platform::RegValue::Str(value));
}

// Lays the engine down on the current (simulated) machine.
inline void InstallFakeEngine() {
  const char* engineFiles[] = {
      "qdeng32.dll",  "QDLOC32.DLL",  "QDDRV32.DLL",  "QDBMV32.DLL",  "QDRS0009.DLL",
      "QDMGR.EXE",    "QDMGR.HLP",    "QDMGR.CNT",    "QDMGR.CPL",    "QDCFG32.EXE",
      "QDCFG32.HLP",  "QDCFG32.CNT",  "QDVLT32.DLL",  "QDVOB32.DLL",  "QDTXT32.DLL",
      "QDFOL32.DLL",  "QDOBR32.DLL",  "QDTAB32.DLL",  "QDLSQ32.DLL",  "QDQBF32.DLL",
      "SRVLNK32.HLP", "SRVLNK32.CNT", "QLKTRN32.DLL", "QLKWRN32.DLL", "QLKOSP32.DLL",
      "QLKKST32.DLL", "QLKPLV32.DLL", "QLKHNX32.DLL", "QLKHCL32.DLL", "lceast.qlt",
      "lcwest.qlt",   "lcasia.qlt",   "lcjpn.qlt",    "lcmisc.qlt",   "lcus.qlt",
      "charset.qcv",  "qdcvt.dll",    "QDE0009.QLL",  "QDE0007.QLL"};
  for (const char* name : engineFiles)
    testsupport::TestMachine::WriteFile(EngineFile(name), std::string("fake ") + name);
  const std::string system = platform::system().SystemDirectory();
  testsupport::TestMachine::WriteFile(system + "\\OSPCLI32.DLL", "osprey client");
  for (const char* name : {"PKIT.TXT", "QDSETUP.DLL", "QDENG32.CNF", "OSP_KEY.DAT"})
    testsupport::TestMachine::WriteFile(std::string(kKitDir) + "\\" + name, name);
  testsupport::TestMachine::WriteFile(std::string(kOspreyHome) + "\\OSPREY.MSG", "messages");

  SetValue("Software\\Tolvane\\PellmoreKit", "LibraryPath", std::string("C:\\Nowhere;") + kKitDir);
  const std::string engineKey = "Software\\Quenby\\Database Engine";
  SetValue(engineKey, "ENGINEPATH", kEngineDir);
  SetValue(engineKey, "LANGCODE", "0009");
  SetValue(kLocaleKey, "LANGPACKDIR", kEngineDir);
  SetValue(kLocaleKey, "LANGPACK1", EngineFile("QDE0009.QLL"));
  SetValue(kLocaleKey, "LANGPACK2", EngineFile("QDE0007.QLL"));
  SetValue(kLocaleKey, "LANGPACK3", EngineFile("QDE0001.QLL"));  // a pack that is gone
  SetValue(kLocaleKey, "OTHER", EngineFile("QDMGR.EXE"));        // not a language pack
  SetValue("SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION", "HomeDir", kOspreyHome);
  for (const char* driver : {"KESTREL", "HERON", "OSPREY"}) {
    const std::string key = std::string(kDriversKey) + "\\" + driver;
    SetValue(key + "\\SESSION", "HOST", std::string(driver) + "_SERVER");
    SetValue(key + "\\STARTUP", "TRACE", "0");
  }
}

inline void DeleteMachineFile(const std::string& path) {
  platform::files().DeleteFile(path);
}

}  // namespace dbenginetest
