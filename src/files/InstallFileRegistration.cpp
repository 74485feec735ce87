// What installing a file means beyond its bytes: the help-file table, the
// shared-DLL reference count, self-registration of ActiveX files (now,
// after the restart, or once more at the end of the run) and the records
// from which the uninstall program removes the file again.
#include <memory>

#include "files/UninstallManifest.h"
#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "install/RetryList.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Libraries.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kRegServer = "DllRegisterServer";

bool IsProgram(const std::string& name) {
  return AsciiUpperCase(ExtractFileExt(name)) == ".EXE";
}

// Runs with the current directory switched to `dir` (a self-registering
// file may load its neighbours from there) and puts it back. Neither switch
// may fail the registration.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& dir) {
    platform::SystemInfo& sys = platform::system();
    try {
      saved_ = sys.CurrentDirectory();
      sys.SetCurrentDirectory(dir);
    } catch (const platform::OsError&) {
      // The registration still runs; the file's own path is absolute.
    }
  }
  ~CurrentDirectoryScope() {
    if (saved_.empty()) return;
    try {
      platform::system().SetCurrentDirectory(saved_);
    } catch (...) {
      // Ignored: a destructor never raises.
    }
  }
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  std::string saved_;
};

// OLE is initialised for exactly the duration of one registration.
class OleScope {
 public:
  OleScope() { platform::libraries().OleInitialize(); }
  ~OleScope() {
    try {
      platform::libraries().OleUninitialize();
    } catch (...) {
      // Ignored: a destructor never raises.
    }
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
};

// The decimal count stored as "Entries" under `key` ("0" when there is
// none); false when the stored text is no count.
bool ReadEntries(const std::string& key, int32_t& count) {
  return TryStrToInt(ReadRegString(kRootLocalMachine, key, "Entries", "0"), count) && count >= 0;
}

// The name of the nearest file group (the engine group is one) holding
// `c`, or "" when none does: the uninstall program tells the engine's files
// by it.
std::string OwningGroup(const TInstallContainer* c) {
  for (const TInstallContainer* p = c; p;) {
    if (p->Is<TInstallFileGroup>()) return p->Name();
    if (!p->Is<TInstallObject>()) break;
    p = static_cast<const TInstallObject*>(p)->Container();
  }
  return {};
}

}  // namespace

// --- after-install steps ------------------------------------------------------------------

void TCustomInstallFile::AfterInstallSteps() {
  // The help entry and the count belong to the name the file keeps, not to
  // a numbered copy that waits for the restart.
  const std::string finalName = replacePending_ ? replacedName_ : destName_;
  if (registerAsHelp_)
    WriteRegString(kRootLocalMachine, kHelpKey, AsciiUpperCase(finalName), ResolveDestDir());
  if (updateDLLCounter_ && !IncrementDLLCount())
    throw IECustomInstallFile("Cannot update the DLL count for the following file :%s:", fileName_);

  TCustomInstall* installer = Installer();
  if (replacePending_ && installer) {
    installer->AddUnfinished(Name(), 0);
  } else if (activeX_) {
    if (!RegistrationFailuresDeferred()) {
      RegisterActiveX();
      return;
    }
    try {
      RegisterActiveX();
    } catch (const IECustomInstallFile&) {
      AddToRetryList(this);
    } catch (const platform::OsError&) {
      AddToRetryList(this);
    }
  }
}

bool TCustomInstallFile::IncrementDLLCount() {
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  try {
    reg.CreateKey(root, kSharedDllsKey);
  } catch (const platform::OsError& e) {
    throw IECustomInstallFile(
        "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError "
        "return: %d",
        Name(), e.Code());
  }
  const std::string full = FinalPath();
  // An existing count under the short name is the one Windows keeps.
  try {
    const std::string shortName = platform::system().ShortPathName(full);
    const auto value = reg.ReadValue(root, kSharedDllsKey, shortName);
    if (value && value->type == platform::ValueType::DWord) {
      reg.WriteValue(root, kSharedDllsKey, shortName,
                     platform::RegValue::DWordValue(value->dword + 1));
      return true;
    }
  } catch (const platform::OsError&) {
    // Falls back to the full path, as for a missing value.
  }
  const auto value = reg.ReadValue(root, kSharedDllsKey, full);
  const uint32_t count = value && value->type == platform::ValueType::DWord ? value->dword : 0;
  try {
    reg.WriteValue(root, kSharedDllsKey, full, platform::RegValue::DWordValue(count + 1));
  } catch (const platform::OsError&) {
    return false;
  }
  return true;
}

// --- ActiveX registration ---------------------------------------------------------------------

void TCustomInstallFile::RegisterActiveX() {
  if (IsProgram(destName_))
    RegisterActiveXProgram();
  else
    RegisterActiveXLibrary();
}

void TCustomInstallFile::RegisterActiveXProgram() {
  const std::string destDir = ResolveDestDir();
  const std::string dest = destDir + "\\" + destName_;
  if (Trim(destDir).empty() || !platform::files().FileExists(dest))
    throw IECustomInstallFile(kMsgDestBlank, Name());
  CurrentDirectoryScope cd(destDir);
  // Quoted when it holds blanks: the command line is split there.
  const std::string program = dest.find(' ') == std::string::npos ? dest : "\"" + dest + "\"";
  const std::string command = program + " /REGSERVER";
  const uint32_t result = platform::processes().Start(command, platform::ShowMode::Hidden);
  if (result < 32)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the WinExec(%s,SW_HIDE) function "
        "returned a value < 32. The file component is %s. The following value is the value of "
        "the GetLastError function: %d",
        dest, command, Name(), result);
}

void TCustomInstallFile::RegisterActiveXLibrary() {
  const std::string destDir = ResolveDestDir();
  const std::string dest = destDir + "\\" + destName_;
  if (Trim(destDir).empty() || !platform::files().FileExists(dest))
    throw IECustomInstallFile(kMsgDestBlank, Name());
  CurrentDirectoryScope cd(destDir);
  OleScope ole;
  std::unique_ptr<platform::Library> library;
  try {
    library = platform::libraries().Load(dest);
  } catch (const platform::OsError& e) {
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure "
        "returned a value of 0. The file component is %s. The following value is the value of "
        "the GetLastError function: %d",
        dest, dest, Name(), e.Code());
  }
  const std::optional<int32_t> result = library->Call(kRegServer);
  if (!result)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function "
        "could not be found. The file component is %s. The following value is the value of the "
        "GetLastError function: %d",
        dest, Name(), platform::kErrorProcNotFound);
  // An HRESULT: failure codes are negative, S_FALSE still succeeded.
  if (*result < 0)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function "
        "returned a value of %d. The file component is %s",
        dest, *result, Name());
}

void TCustomInstallFile::ContinueAfterReboot() {
  if (activeX_) RegisterActiveX();
}

void TCustomInstallFile::RetryRegistration() {
  RegisterActiveX();
}

// --- uninstall records ------------------------------------------------------------------------

void TCustomInstallFile::WriteUninstallInfo(const std::string& key) {
  // The path the uninstall program will find the file under, also when the
  // new copy still waits for the restart under a numbered name.
  const std::string path = FinalPath();
  // Where the bytes are now: the numbered copy while it waits for the
  // restart, which then moves it onto `path` unchanged.
  const std::string copy = ResolveDestDir() + "\\" + destName_;
  if (!activeX_) {
    WriteFilesRecord(key, path);
    WriteManifestEntry(key, path, copy, destExisted_, OwningGroup(Container()));
    return;
  }
  const std::string sub = key + "\\ActiveX";
  int32_t n = 0;
  if (!ReadEntries(sub, n))
    throw IECustomInstallFile("The uninstall entry count under %s is not a number", sub);
  ++n;
  const bool program = IsProgram(replacePending_ ? replacedName_ : destName_);
  WriteRegString(kRootLocalMachine, sub, "File" + std::to_string(n),
                 path + (program ? ";1" : ";0"));
  WriteRegString(kRootLocalMachine, sub, "Entries", std::to_string(n));
  WriteManifestEntry(key, path, copy, destExisted_, OwningGroup(Container()));
}

void TCustomInstallFile::WriteFilesRecord(const std::string& key, const std::string& path) {
  if (AppendFilesRecord(key, path)) return;
  throw IECustomInstallFile(
      "%s cannot record its uninstall entry: none of the keys Files to Files%d under %s took it",
      Name(), kMaxFilesKeySuffix, key);
}
