#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/exceptions_Pellmore.h"
#include "framework/Strings.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TFileContainer.h"
#include "platform/Libraries.h"

class ClassRegistry;
class TQDEFileSet;
class TCustomInstallFile;

// The engine group's exceptions.
PELLMORE_DECLARE_EXCEPTION(IEInstallQDE, IException);
PELLMORE_DECLARE_EXCEPTION(IEQDEFileDoesNotExist, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDEDLLMissing, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDEVersionInvalid, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDENoDLLEntry, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDENoOspreyEntry, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDENoResourceDLLEntry, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDELanguageDifferent, IEInstallQDE);
PELLMORE_DECLARE_EXCEPTION(IEQDENoOspreyMsgFile, IEInstallQDE);

// Registry keys and values of the engine (HKEY_LOCAL_MACHINE, strings).
inline constexpr const char* kQDEKey = "\\Software\\Quenby\\Database Engine";
inline constexpr const char* kQDEKeyUpper = "\\SOFTWARE\\QUENBY\\DATABASE ENGINE";
inline constexpr const char* kQDELocaleKey = "\\Software\\Quenby\\QDLOC32";
inline constexpr const char* kQDEDriversKey =
    "\\Software\\Quenby\\Database Engine\\Options\\Drivers";
inline constexpr const char* kQDEEnginePath = "ENGINEPATH";
inline constexpr const char* kQDELangCode = "LANGCODE";
inline constexpr const char* kQDEConfigPath = "CONFIGPATH";
inline constexpr const char* kQDEConfigFormat = "CONFIGFORMAT";
inline constexpr const char* kQDELangPackDir = "LANGPACKDIR";
// The engine's own files the group knows by name.
inline constexpr const char* kQDEEngineDll = "qdeng32.dll";
inline constexpr const char* kQDETemplate = "QDENG32.CNF";
inline constexpr const char* kQDESetupLibrary = "QDSETUP.DLL";
inline constexpr const char* kQDEDefaultConfig = "qdeng32.cfg";
inline constexpr const char* kQDEFallbackConfig = "QDENGNEW.CFG";
// ExistingConfigFile when no configuration was found.
inline constexpr const char* kQDENoConfig = "***";

// Asked when the installed engine has another language code; leaving
// Overwrite true lets the installation go on.
using TQDELanguageDifferentEvent =
    std::function<void(TObject* Sender, const std::string& InstalledResourceCode,
                       const std::string& InstallingResourceCode, bool& Overwrite)>;
using TQDENotifyEvent = std::function<void(TObject* Sender)>;

// TInstallQDE: the file group that installs the Quenby Database Engine. It
// finds the engine already on the machine (its directory, version, language
// and configuration file), installs its member files like any file group,
// then configures the engine through the engine's setup library
// "QDSETUP.DLL": registry entries, the merged configuration file, the
// server-link driver settings and the engine's use count.
//
// The fifteen feature flags (dr... drivers, sl... server links) are not
// stored in the component: they read what the member files contain, and
// outside loading they add or remove the feature's files through the
// engine file set (QDEFileSets.h), taking them from the engine installed on
// the machine where that happens (the author's).
class TInstallQDE : public TInstallFileGroup {
  PELLMORE_CLASS(TInstallQDE, TInstallFileGroup)

 public:
  // Detects the installed engine and chooses its file set; becomes the
  // program's engine group (QDEGroup()). In the design state it also adds
  // the kit directory's "QDSETUP.DLL" to the installer's PresetupFiles.
  explicit TInstallQDE(TComponent* owner);
  ~TInstallQDE() override;

  // Whatever is assigned, the program's installer.
  void SetContainer(TInstallContainer* value) override;
  // Attaches the hook to an installer read after this group.
  void Loaded() override;
  // Language check, the setup library loaded for the step, the files
  // installed as a file group does, Configure, the engine's use count.
  void InstallObjects() override;
  // Counts the engine in the product's uninstall key ("<key>\QDE",
  // "Entries").
  void WriteUninstallInfo(const std::string& key) override;

  // --- virtual operations ---------------------------------------------------
  // Writes the engine's registry entries and produces the configuration
  // file from the installed template `templatePath`.
  virtual void Configure(const std::string& templatePath, const std::string& languageCode);
  // Finds the configuration file in use: ExistingConfigFile, ConfigDir and
  // ConfigFileName.
  virtual void LocateExistingConfig();
  // Writes ServerLinkEntries under the engine's driver keys.
  virtual void WriteServerLinkEntries();
  // Rebuilds ServerLinkEntries from this machine's driver keys for the
  // server links that are on (used while authoring).
  virtual void RebuildServerLinkEntries();

  // --- published properties ---------------------------------------------------
  bool drVault() const;
  void SetdrVault(bool v);
  bool drAscii() const;
  void SetdrAscii(bool v);
  bool drFolio() const;
  void SetdrFolio(bool v);
  bool drFull() const;
  void SetdrFull(bool v);
  bool drODBC() const;
  void SetdrODBC(bool v);
  bool drTabula() const;
  void SetdrTabula(bool v);
  bool drSQLEngine() const;
  void SetdrSQLEngine(bool v);
  bool drQBFEngine() const;
  void SetdrQBFEngine(bool v);
  const std::string& LanguageDLL() const noexcept { return languageDLL_; }
  void SetLanguageDLL(const std::string& v) { languageDLL_ = v; }
  bool SaveFor16Bit() const noexcept { return saveFor16Bit_; }
  void SetSaveFor16Bit(bool v) { saveFor16Bit_ = v; }
  bool slKestrel() const;
  void SetslKestrel(bool v);
  bool slHeronClassic() const;
  void SetslHeronClassic(bool v);
  bool slOsprey() const;
  void SetslOsprey(bool v);
  bool slPlover() const;
  void SetslPlover(bool v);
  bool slWren() const;
  void SetslWren(bool v);
  bool slTern() const;
  void SetslTern(bool v);
  bool slHeronNext() const;
  void SetslHeronNext(bool v);
  TStringList* ServerLinkEntries() const noexcept { return serverLinkEntries_.get(); }
  // Copies the lines.
  void SetServerLinkEntries(const TStrings& lines);
  const TQDELanguageDifferentEvent& OnLanguageDifferent() const noexcept {
    return onLanguageDifferent_;
  }
  void SetOnLanguageDifferent(TQDELanguageDifferentEvent e) { onLanguageDifferent_ = std::move(e); }
  const TQDENotifyEvent& OnFixFailed() const noexcept { return onFixFailed_; }
  void SetOnFixFailed(TQDENotifyEvent e) { onFixFailed_ = std::move(e); }
  const TQDENotifyEvent& OnMergeFailed() const noexcept { return onMergeFailed_; }
  void SetOnMergeFailed(TQDENotifyEvent e) { onMergeFailed_ = std::move(e); }

  // --- state ------------------------------------------------------------------
  TQDEFileSet* FileSet() const noexcept { return fileSet_.get(); }
  const std::string& ExistingConfigFile() const noexcept { return existingConfigFile_; }
  const std::string& TargetConfigFile() const noexcept { return targetConfigFile_; }
  const std::string& ConfigDir() const noexcept { return configDir_; }
  const std::string& ConfigFileName() const noexcept { return configFileName_; }
  // The member whose FileName, trimmed, is "QDENG32.CNF" (case ignored), or
  // null; the first of several.
  TCustomInstallFile* ConfigTemplate() const;
  // The member install file named `fileName` (trimmed, case ignored), or
  // null.
  TCustomInstallFile* FindMember(const std::string& fileName) const;

 protected:
  void BeforeDestruction() noexcept override;

 private:
  // The installer's component calls; -986 locates the engine.
  void InitializationHook(TObject* Sender, int call, TObject* PO);
  // The file set class for the installed engine's version.
  std::unique_ptr<TQDEFileSet> DetectFileSet();
  void CheckLanguage();
  // "QDSETUP.DLL" by the system's library search; IEInstallQDE when it
  // cannot be loaded.
  std::unique_ptr<platform::Library> LoadSetupLibrary();
  // Calls an export of the setup library: the one the install step holds,
  // else loaded for the call.
  std::optional<int32_t> CallSetupLibrary(const std::string& name,
                                          const std::vector<platform::LibraryArg>& args);
  // The configuration template's destination directory now; empty without
  // a template.
  std::string TemplateDestinationDir();
  // The hook listens to the installer's calls once there is an installer.
  void AttachHook();
  void LeaveInstaller() noexcept;

  std::unique_ptr<TQDEFileSet> fileSet_;
  std::unique_ptr<platform::Library> setupLibrary_;
  std::string existingConfigFile_ = kQDENoConfig;
  std::string targetConfigFile_;
  std::string configDir_;
  std::string configFileName_ = kQDEDefaultConfig;
  Owned<TGrabCall> hook_;
  std::string languageDLL_;
  bool saveFor16Bit_ = false;
  Owned<TStringList> serverLinkEntries_{new TStringList};
  TQDELanguageDifferentEvent onLanguageDifferent_;
  TQDENotifyEvent onFixFailed_;
  TQDENotifyEvent onMergeFailed_;
  bool left_ = false;
};

// The program's engine group, or null.
TInstallQDE* QDEGroup() noexcept;

// The first entry of the engine's "ENGINEPATH" on this machine, one
// trailing backslash removed; empty when there is none.
std::string InstalledEngineDirectory();

// Registers TInstallQDE and its published properties; called after the
// install files.
void RegisterQDEClasses(ClassRegistry& registry);
