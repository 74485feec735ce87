// TInstallQDE (see cmp_TInstallQDE.h): construction with the detection of
// the installed engine, the program-wide reference, the initialization
// hook that finds the engine's directory and configuration, the install
// step and the uninstall record. Configure and the server-link entries
// are in QDEConfigure.cpp, the published properties in QDERegistration.cpp.
#include "dbengine/cmp_TInstallQDE.h"

#include "dbengine/QDEFileSets.h"
#include "files/cmp_TInstallFile.h"
#include "files/version/cmp_TVersion.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/ComponentCalls.h"
#include "install/KitDirectory.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace {

TInstallQDE*& Group() {
  static TInstallQDE* group = nullptr;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("dbengine.QDEGroup", [] { Group() = nullptr; });
  }
  return group;
}

// The text before the first ";" (all of it when there is none).
std::string FirstEntry(const std::string& list) {
  return list.substr(0, list.find(';'));
}

std::string RemoveOneTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// The installed engine's language code; IEQDENoResourceDLLEntry when the
// machine has none.
std::string InstalledLanguageCode() {
  const std::string code = ReadRegString(kRootLocalMachine, kQDEKeyUpper, kQDELangCode, "");
  if (code.empty())
    throw IEQDENoResourceDLLEntry(
        "The \\SOFTWARE\\QUENBY\\DATABASE ENGINE | LANGCODE key could not be found in your "
        "registry");
  return code;
}

// A configuration candidate counts when it names a file that can be
// opened for reading.
bool Readable(const std::string& path) {
  if (Trim(path).empty()) return false;
  try {
    platform::files().OpenRead(path)->Close();
    return true;
  } catch (const platform::OsError&) {
    return false;
  }
}

// `name` in the current, the Windows and the system directory, in that
// order; empty when none has it.
std::string SearchConfig(const std::string& name) {
  platform::SystemInfo& sys = platform::system();
  std::string dirs[3];
  try {
    dirs[0] = sys.CurrentDirectory();
  } catch (const platform::OsError&) {
    // No current directory: the other two are still searched.
  }
  dirs[1] = sys.WindowsDirectory();
  dirs[2] = sys.SystemDirectory();
  for (const std::string& dir : dirs) {
    if (dir.empty()) continue;
    const std::string path = ExcludeTrailingBackslash(dir) + "\\" + name;
    if (platform::files().FileExists(path)) return path;
  }
  return {};
}

// A configuration named in WIN.INI, else found by the search; empty when
// neither gives a readable file.
std::string IniCandidate(const char* section, const char* searchName) {
  const std::string fromIni =
      platform::iniFiles().ReadString("win.ini", section, kQDEConfigPath, "");
  if (Readable(fromIni)) return fromIni;
  const std::string found = SearchConfig(searchName);
  return Readable(found) ? found : std::string();
}

}  // namespace

TInstallQDE* QDEGroup() noexcept {
  return Group();
}

std::string InstalledEngineDirectory() {
  return RemoveOneTrailingBackslash(
      FirstEntry(ReadRegString(kRootLocalMachine, kQDEKey, kQDEEnginePath, "")));
}

// --- construction -----------------------------------------------------------------------

TInstallQDE::TInstallQDE(TComponent* owner) : TInstallFileGroup(owner) {
  SetDefaultDestDirType(FindPathSpecifier<TpsQDEDLL>());
  SetGroupName("Quenby Database Engine");
  Description()->Add(TranslateFromEnglish("This will install the Quenby Database Engine."));
  try {
    languageDLL_ = InstalledLanguageCode();
  } catch (const IEQDENoResourceDLLEntry&) {
    languageDLL_ = "0009";
  }

  hook_.reset(new TGrabCall(nullptr));
  hook_->SetOnCall(
      [this](TObject* Sender, int call, TObject* PO) { InitializationHook(Sender, call, PO); });
  AttachHook();

  if (InState(csDesigning)) {
    if (TCustomInstall* installer = Installer()) {
      try {
        installer->AddPresetupFile(IncludeTrailingBackslash(KitDirectory()) + kQDESetupLibrary,
                                   true);
      } catch (const IENoPellmorePath&) {
        throw IEInstallQDE(
            "Cannot find the Pellmore directory on the library search path. This directory "
            "contains the QDSETUP.DLL file, which every installation of the engine needs: add it "
            "to the PresetupFiles property of the TInstall component by hand");
      }
    }
  }

  fileSet_ = DetectFileSet();
  Group() = this;
}

TInstallQDE::~TInstallQDE() {
  LeaveInstaller();
}

void TInstallQDE::BeforeDestruction() noexcept {
  LeaveInstaller();
  TInstallFileGroup::BeforeDestruction();
}

void TInstallQDE::LeaveInstaller() noexcept {
  if (left_) return;
  left_ = true;
  // The setup library belongs to the engine group: a program without one
  // no longer ships it.
  if (TCustomInstall* installer = Installer()) {
    TStringList* files = installer->PresetupFiles();
    for (int i = files->Count() - 1; i >= 0; --i)
      if (AsciiUpperCase(files->Strings(i)).find("QDSETUP.DLL") != std::string::npos)
        files->Delete(i);
  }
  if (Group() == this) Group() = nullptr;
  fileSet_.reset();
  hook_.reset();
}

void TInstallQDE::AttachHook() {
  TCustomInstall* installer = Installer();
  if (hook_ && installer && hook_->Container() != installer) hook_->SetContainer(installer);
}

void TInstallQDE::SetContainer(TInstallContainer*) {
  TCustomInstall* installer = Installer();
  if (installer != Container()) TInstallFileGroup::SetContainer(installer);
  AttachHook();
}

void TInstallQDE::Loaded() {
  TInstallFileGroup::Loaded();
  // The installer may have been read after this group.
  AttachHook();
}

std::unique_ptr<TQDEFileSet> TInstallQDE::DetectFileSet() {
  std::string version;
  try {
    const std::string enginePath = ReadRegString(kRootLocalMachine, kQDEKey, kQDEEnginePath, "");
    if (enginePath.empty())
      throw IEQDENoDLLEntry(
          "Cannot find the \\Software\\Quenby\\Database Engine | EnginePath registry entry in "
          "your registry under the HKEY_LOCAL_MACHINE root key");
    const std::string dir = RemoveOneTrailingBackslash(FirstEntry(enginePath));
    const std::string dll = dir + "\\" + kQDEEngineDll;
    if (!platform::files().FileExists(dll))
      throw IEQDEDLLMissing("The QDE DLL file %s cannot be found in the QDE DLL dir %s",
                            std::string(kQDEEngineDll), dir);
    TVersionResource& reader = TVersionResource::Shared();
    reader.SetFileName(dll);
    version = reader.VersionInfo()->FileVersion();
    if (version.size() < 3)
      throw IEQDEVersionInvalid(
          "The QDE DLL qdeng32.dll has an invalid version. Cannot determine the version of the "
          "QDE that is on your computer");
  } catch (const std::exception&) {
    // Without a readable installed engine the newest file set serves.
    return std::make_unique<TQDE80FileSet>(this);
  }
  const std::string head = version.substr(0, 3);
  if (head == "6.0") return std::make_unique<TQDE60FileSet>(this);
  if (head == "6.5") return std::make_unique<TQDE65FileSet>(this);
  if (head == "7.0") return std::make_unique<TQDE70FileSet>(this);
  if (head == "7.5") return std::make_unique<TQDE75FileSet>(this);
  return std::make_unique<TQDE80FileSet>(this);
}

// --- members ----------------------------------------------------------------------------------

TCustomInstallFile* TInstallQDE::FindMember(const std::string& fileName) const {
  const std::string wanted = Trim(fileName);
  for (int i = 0; i < ObjectCount(); ++i) {
    auto* f = dynamic_cast<TCustomInstallFile*>(Objects(i));
    if (f && SameText(Trim(f->FileName()), wanted)) return f;
  }
  return nullptr;
}

TCustomInstallFile* TInstallQDE::ConfigTemplate() const {
  return FindMember(kQDETemplate);
}

std::string TInstallQDE::TemplateDestinationDir() {
  TCustomInstallFile* t = ConfigTemplate();
  return t ? t->ResolveDestDir() : std::string();
}

// --- the initialization hook --------------------------------------------------------------

void TInstallQDE::InitializationHook(TObject*, int call, TObject*) {
  if (call != kCallInitialized) return;
  existingConfigFile_ = kQDENoConfig;
  targetConfigFile_.clear();
  LocateExistingConfig();
  const std::string enginePath = ReadRegString(kRootLocalMachine, kQDEKey, kQDEEnginePath, "");
  if (!enginePath.empty()) {
    AssignDestDirType(nullptr);
    SetDestDir(FirstEntry(enginePath));
  }
  if (TCustomInstallFile* t = ConfigTemplate()) {
    t->SetDestDirType(nullptr);
    t->SetDestDir(configDir_);
  }
}

void TInstallQDE::LocateExistingConfig() {
  std::string registered = ReadRegString(kRootLocalMachine, kQDEKey, kQDEConfigPath, "");
  // An install that stopped inside its configuration step left the value
  // on the new template it had just placed; merging from the template
  // would lose the user's settings. The configuration that run was merging
  // into is the one beside it; without one, the user's may be wherever the
  // search finds it, as if nothing were registered.
  if (TCustomInstallFile* t = ConfigTemplate();
      t && !registered.empty() && SameText(ExtractFileName(registered), t->DestName()))
    registered = IncludeTrailingBackslash(ExtractFilePath(registered)) + kQDEDefaultConfig;
  if (Readable(registered)) {
    existingConfigFile_ = registered;
    configDir_ = ExcludeTrailingBackslash(ExtractFilePath(registered));
    configFileName_ = ExtractFileName(registered);
    return;
  }
  std::string found = IniCandidate("QDENG", "qdeng.cfg");
  if (found.empty()) found = IniCandidate("QDLEGACY", "qdlegacy.cfg");
  configFileName_ = kQDEDefaultConfig;
  if (!found.empty()) {
    existingConfigFile_ = found;
    configDir_ = ExcludeTrailingBackslash(TemplateDestinationDir());
  } else {
    configDir_ = IncludeTrailingBackslash(TemplateDestinationDir());
  }
}

// --- the install step -------------------------------------------------------------------------

void TInstallQDE::CheckLanguage() {
  std::string installed;
  try {
    installed = InstalledLanguageCode();
  } catch (const IEQDENoResourceDLLEntry&) {
    return;  // no engine language to keep
  }
  if (SameText(Trim(installed), Trim(languageDLL_))) return;
  // Replacing an engine of another language is the handler's decision;
  // without one the installed engine is kept.
  bool overwrite = true;
  if (onLanguageDifferent_)
    onLanguageDifferent_(this, installed, languageDLL_, overwrite);
  else
    overwrite = false;
  if (!overwrite)
    throw IEQDELanguageDifferent(
        "The Quenby Database Engine installed on this machine is a different language from the "
        "Quenby Database Engine being installed");
}

std::unique_ptr<platform::Library> TInstallQDE::LoadSetupLibrary() {
  try {
    return platform::libraries().Load(kQDESetupLibrary);
  } catch (const platform::OsError& e) {
    throw WithCause(
        IEInstallQDE(
            "Could not load QDSETUP.DLL in cmp_TInstallQDE. If you have the UseLoadingProgram set "
            "to FALSE for the TInstall component, then you will need to distribute this file "
            "along with your installation executable file. If you are running your install "
            "project in the IDE, then you need to copy QDSETUP.DLL, which can be found in the "
            "Pellmore directory, into the directory for this project"),
        e.Message());
  }
}

void TInstallQDE::InstallObjects() {
  CheckLanguage();
  setupLibrary_ = LoadSetupLibrary();
  try {
    // A group without its one template could not configure the engine:
    // refused before any file of the engine is replaced.
    TCustomInstallFile* found = nullptr;
    int count = 0;
    for (int i = 0; i < ObjectCount(); ++i) {
      auto* f = dynamic_cast<TCustomInstallFile*>(Objects(i));
      if (f && SameText(Trim(f->FileName()), kQDETemplate)) {
        if (!found) found = f;
        ++count;
      }
    }
    if (count == 0) throw IEInstallQDE("Could not find a QDENG.CNF file in the TInstallQDE");
    if (count > 1) throw IEInstallQDE("More than one QDENG.CNF file found for the QDE group");
    TInstallFileGroup::InstallObjects();
    Configure(IncludeTrailingBackslash(found->ResolveDestDir()) + found->DestName(), languageDLL_);
    // An install the engine does not count lets another program's uninstall
    // remove the engine from under it: a refused count is a failed install.
    if (setupLibrary_->Call("IncrementEngineUseCount", {}).value_or(0) != 0)
      throw IEInstallQDE(std::string("Could not count this installation in the engine's use "
                                     "count (HKEY_LOCAL_MACHINE") +
                         kQDEKey + ", USECOUNT)");
  } catch (...) {
    setupLibrary_.reset();
    throw;
  }
  setupLibrary_.reset();
}

void TInstallQDE::WriteUninstallInfo(const std::string& key) {
  const std::string qdeKey = IncludeTrailingBackslash(key) + "QDE";
  const int32_t entries =
      StrToInt(ReadRegString(kRootLocalMachine, qdeKey, "Entries", "0"));  // EConvertError
  WriteRegString(kRootLocalMachine, qdeKey, "Entries", std::to_string(entries + 1));
  // The manifest names each file's group; this tells the uninstall program
  // which of them are the engine's.
  WriteRegString(kRootLocalMachine, qdeKey, "Group", Name());
}
