// The engine's features as member files: the collation drivers, which
// need the core, and the server links, which need the two link help
// files. A driver's test is the core plus its files; removing a driver
// keeps a file another present driver still needs, then applies the core
// rule.
#include "dbengine/QDEFileSets.h"

#include "dbengine/cmp_TInstallQDE.h"
#include "framework/StrUtils.h"
#include "install/KitDirectory.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kVaultDll = "QDVLT32.DLL";
constexpr const char* kVaultObjects = "QDVOB32.DLL";  // also the ODBC bridge's (7.0 and later)
constexpr const char* kTabulaDll = "QDTAB32.DLL";     // also the SQL and QBF engines'
constexpr const char* kLinkHelp = "SRVLNK32.HLP";
constexpr const char* kLinkContents = "SRVLNK32.CNT";
constexpr const char* kOspreyLink = "QLKOSP32.DLL";
constexpr const char* kOspreyClient = "OSPCLI32.DLL";
constexpr const char* kOspreyKey = "OSP_KEY.DAT";
constexpr const char* kOspreyMsg = "OSPREY.MSG";
constexpr const char* kOspreyMsgOld = "OSPMSG.MSG";

// The Osprey server's root directory, from the server's own key or else
// from the client's; empty when neither names one.
std::string OspreyHomeDirectory() {
  std::string home =
      ReadRegString(kRootLocalMachine, "\\SOFTWARE\\OSPREY\\SERVER\\CURRENTVERSION", "HomeDir", "");
  if (Trim(home).empty())
    home = ReadRegString(kRootLocalMachine, "\\SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION",
                         "HomeDir", "");
  return ExcludeTrailingBackslash(Trim(home));
}

}  // namespace

// --- drivers ----------------------------------------------------------------------------------

void TQDEFileSet::AddVault() {
  AddCoreFiles();
  AddEngineFile(kVaultDll);
  AddEngineFile(kVaultObjects);
}

void TQDEFileSet::AddAscii() {
  AddCoreFiles();
  AddEngineFile("QDTXT32.DLL");
}

void TQDEFileSet::AddFolio() {
  AddCoreFiles();
  AddEngineFile("QDFOL32.DLL");
}

void TQDEFileSet::AddODBC() {
  AddCoreFiles();
  AddEngineFile("QDOBR32.DLL");
}

void TQDEFileSet::AddTabula() {
  AddCoreFiles();
  AddEngineFile(kTabulaDll);
}

void TQDEFileSet::AddSQLEngine() {
  AddCoreFiles();
  AddEngineFile("QDLSQ32.DLL");
  AddEngineFile(kTabulaDll);
}

void TQDEFileSet::AddQBFEngine() {
  AddCoreFiles();
  AddEngineFile("QDQBF32.DLL");
  AddEngineFile(kTabulaDll);
}

void TQDEFileSet::AddAllDrivers(bool ignoreErrors) {
  using Adder = void (TQDEFileSet::*)();
  for (Adder add :
       {&TQDEFileSet::AddAscii, &TQDEFileSet::AddFolio, &TQDEFileSet::AddODBC,
        &TQDEFileSet::AddTabula, &TQDEFileSet::AddSQLEngine, &TQDEFileSet::AddQBFEngine}) {
    try {
      (this->*add)();
    } catch (const std::exception&) {
      if (!ignoreErrors) throw;
    }
  }
}

bool TQDEFileSet::HasVault() {
  return HasCore() && HasMembers({kVaultDll, kVaultObjects});
}

bool TQDEFileSet::HasAscii() {
  return HasCore() && HasMember("QDTXT32.DLL");
}

bool TQDEFileSet::HasFolio() {
  return HasCore() && HasMember("QDFOL32.DLL");
}

bool TQDEFileSet::HasODBC() {
  return HasCore() && HasMember("QDOBR32.DLL");
}

bool TQDEFileSet::HasTabula() {
  return HasCore() && HasMember(kTabulaDll);
}

bool TQDEFileSet::HasSQLEngine() {
  return HasCore() && HasMembers({"QDLSQ32.DLL", kTabulaDll});
}

bool TQDEFileSet::HasQBFEngine() {
  return HasCore() && HasMembers({"QDQBF32.DLL", kTabulaDll});
}

bool TQDEFileSet::HasFull() {
  return HasAscii() && HasFolio() && HasODBC() && HasTabula() && HasSQLEngine() && HasQBFEngine();
}

void TQDEFileSet::RemoveVault() {
  RemoveFile(kVaultDll);
  if (!HasODBC()) RemoveFile(kVaultObjects);
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveAscii() {
  RemoveFile("QDTXT32.DLL");
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveFolio() {
  RemoveFile("QDFOL32.DLL");
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveODBC() {
  RemoveFile("QDOBR32.DLL");
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveTabula() {
  if (!HasSQLEngine() && !HasQBFEngine()) RemoveFile(kTabulaDll);
  RemoveCoreIfUnused();
}

// The Tabula library stays while Tabula is present, which it is whenever
// the core and that library are: the SQL and QBF engines never take it
// from each other.
void TQDEFileSet::RemoveSQLEngine() {
  RemoveFile("QDLSQ32.DLL");
  if (!HasTabula()) RemoveFile(kTabulaDll);
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveQBFEngine() {
  RemoveFile("QDQBF32.DLL");
  if (!HasTabula()) RemoveFile(kTabulaDll);
  RemoveCoreIfUnused();
}

void TQDEFileSet::RemoveFull() {
  RemoveCoreIfUnused();
}

// --- server links -------------------------------------------------------------------------------

void TQDEFileSet::AddLinkFiles() {
  AddEngineFile(kLinkHelp);
  AddEngineFile(kLinkContents);
}

bool TQDEFileSet::HasLinkFiles() {
  return HasMembers({kLinkHelp, kLinkContents});
}

void TQDEFileSet::RemoveLinkFiles() {
  RemoveFile(kLinkHelp);
  RemoveFile(kLinkContents);
}

#define PELLMORE_QDE_SIMPLE_LINK(Link, Dll)  \
  void TQDEFileSet::Add##Link() {            \
    AddLinkFiles();                          \
    AddEngineFile(Dll);                      \
  }                                          \
  bool TQDEFileSet::Has##Link() {            \
    return HasLinkFiles() && HasMember(Dll); \
  }                                          \
  void TQDEFileSet::Remove##Link() {         \
    RemoveFile(Dll);                         \
    RemoveLinkFiles();                       \
  }

PELLMORE_QDE_SIMPLE_LINK(Tern, "QLKTRN32.DLL")
PELLMORE_QDE_SIMPLE_LINK(Wren, "QLKWRN32.DLL")
PELLMORE_QDE_SIMPLE_LINK(Kestrel, "QLKKST32.DLL")
PELLMORE_QDE_SIMPLE_LINK(Plover, "QLKPLV32.DLL")
PELLMORE_QDE_SIMPLE_LINK(HeronNext, "QLKHNX32.DLL")
PELLMORE_QDE_SIMPLE_LINK(HeronClassic, "QLKHCL32.DLL")

#undef PELLMORE_QDE_SIMPLE_LINK

// Osprey's client library lives in the system directory and its licence
// key in the kit directory; both go into the engine directory with the
// link. The message file comes from the Osprey installation.
void TQDEFileSet::AddOsprey() {
  AddLinkFiles();
  AddEngineFile(kOspreyLink);
  const TMetaClass& toEngine = TpsContainerDestDir::StaticMetaClass();
  AddFile(ExcludeTrailingBackslash(platform::system().SystemDirectory()) + "\\" + kOspreyClient,
          toEngine);
  AddFile(KitDirectory() + "\\" + kOspreyKey, toEngine);
  const std::string home = OspreyHomeDirectory();
  if (home.empty())
    throw IEQDENoOspreyEntry(
        "Cannot find the \\SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION | HomeDir registry "
        "entry in your registry under the HKEY_LOCAL_MACHINE root key");
  for (const char* name : {kOspreyMsg, kOspreyMsgOld}) {
    const std::string path = home + "\\" + name;
    if (platform::files().FileExists(path)) {
      AddFile(path, toEngine);
      return;
    }
  }
  throw IEQDENoOspreyMsgFile("The Osprey MSG file could not be found");
}

bool TQDEFileSet::HasOsprey() {
  return HasLinkFiles() && HasMembers({kOspreyLink, kOspreyClient, kOspreyKey}) &&
         (HasMember(kOspreyMsgOld) || HasMember(kOspreyMsg));
}

void TQDEFileSet::RemoveOsprey() {
  for (const char* name : {kOspreyLink, kOspreyClient, kOspreyKey, kOspreyMsgOld, kOspreyMsg})
    RemoveFile(name);
  RemoveLinkFiles();
}
