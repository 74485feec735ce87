// Configuring the installed engine (TInstallQDE::Configure): the engine's
// registry entries, the configuration file merged from the installed
// template by the engine's setup library, the fallback "QDENGNEW.CFG" when
// that fails, and the server-link driver settings.
#include <vector>

#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kGlobalStartupKey =
    "\\Software\\Quenby\\Database Engine\\Options\\Global\\Startup";
constexpr const char* kTabulaStartupKey =
    "\\Software\\Quenby\\Database Engine\\Options\\Drivers\\Tabula\\Startup";
constexpr const char* kShareDir = "SHARE DIR";

// The setup library's text arguments travel in 256-byte buffers.
std::string Buffer256(const std::string& text) {
  return text.substr(0, 255);
}

void WriteEngineValue(const char* key, const char* ident, const std::string& value) {
  WriteRegString(kRootLocalMachine, key, ident, value);
}

// E first, once, then the other entries in their order, upper case; an
// empty entry between two ";" stays.
std::string EnginePathWith(const std::string& current, const std::string& engineDir) {
  if (Trim(current).empty()) return engineDir;
  std::string result = engineDir;
  size_t start = 0;
  while (start <= current.size()) {
    size_t end = current.find(';', start);
    if (end == std::string::npos) end = current.size();
    const std::string entry = AsciiUpperCase(current.substr(start, end - start));
    start = end + 1;
    if (entry != engineDir) result += ";" + entry;
  }
  return result;
}

// Moves the template aside as the configuration to use instead; a name
// already taken is kept and the move then quietly fails.
std::string MoveToFallback(const std::string& templatePath, const std::string& configDir) {
  const std::string fallback = configDir + "\\" + kQDEFallbackConfig;
  try {
    platform::files().MoveFile(templatePath, fallback, 0);
  } catch (const platform::OsError&) {
    // Not reported: the fallback name is what the engine is told either way.
  }
  return fallback;
}

void DeleteQuietly(const std::string& path) {
  try {
    platform::files().DeleteFile(path);
  } catch (const platform::OsError&) {
    // A template left behind harms nothing.
  }
}

std::string ValueText(const platform::RegValue& v) {
  switch (v.type) {
    case platform::ValueType::DWord:
      return std::to_string(v.dword);
    case platform::ValueType::String:
    case platform::ValueType::ExpandString:
      return v.text;
    case platform::ValueType::MultiString: {
      std::string joined;
      for (const std::string& s : v.multi) joined += (joined.empty() ? "" : ",") + s;
      return joined;
    }
    case platform::ValueType::Binary:
      break;
  }
  std::string hex;
  for (uint8_t b : v.binary) hex += IntToHexBits(b, 2);
  return hex;
}

}  // namespace

std::optional<int32_t> TInstallQDE::CallSetupLibrary(
    const std::string& name, const std::vector<platform::LibraryArg>& args) {
  if (setupLibrary_) return setupLibrary_->Call(name, args);
  return LoadSetupLibrary()->Call(name, args);
}

void TInstallQDE::Configure(const std::string& templatePath, const std::string& languageCode) {
  const std::string engineDir = AsciiUpperCase(ExcludeTrailingBackslash(ResolveDestDir()));
  const std::string templateDir = TemplateDestinationDir();
  const std::string configDir = ExcludeTrailingBackslash(templateDir);
  const int32_t is16 = saveFor16Bit_ ? 1 : 0;

  WriteEngineValue(
      kQDEKey, kQDEEnginePath,
      EnginePathWith(ReadRegString(kRootLocalMachine, kQDEKey, kQDEEnginePath, ""), engineDir));
  WriteEngineValue(kQDEKey, kQDEConfigPath, templatePath);
  WriteEngineValue(kQDELocaleKey, kQDELangPackDir, engineDir);
  int pack = 0;
  for (int i = 0; i < ObjectCount(); ++i) {
    auto* f = dynamic_cast<TCustomInstallFile*>(Objects(i));
    if (f && AsciiUpperCase(f->DestName()).find(".QLL") != std::string::npos)
      WriteEngineValue(kQDELocaleKey, ("LANGPACK" + std::to_string(++pack)).c_str(),
                       f->ResolveDestDir() + "\\" + f->DestName());
  }
  WriteEngineValue(kQDEKey, kQDELangCode, languageDLL_);

  CallSetupLibrary("QdLocaleConfig", {Buffer256(templatePath), is16, Buffer256(languageCode)});

  targetConfigFile_ = templateDir + "\\" + configFileName_;
  const std::optional<int32_t> merged = LoadSetupLibrary()->Call(
      "QdMergeConfig",
      {templatePath, existingConfigFile_, targetConfigFile_, 1, is16, languageCode});
  if (merged.value_or(-1) != 0) {
    if (onMergeFailed_) onMergeFailed_(this);
    targetConfigFile_ = MoveToFallback(templatePath, configDir);
  } else {
    const std::string share = ReadRegString(kRootLocalMachine, kGlobalStartupKey, kShareDir, "");
    if (!share.empty() &&
        !ReadRegString(kRootLocalMachine, kTabulaStartupKey, kShareDir, "").empty()) {
      WriteEngineValue(kTabulaStartupKey, kShareDir, share);
      // The old entry is addressed as a key of its own; the value stays.
      DeleteRegKeyTree(kRootLocalMachine, std::string(kGlobalStartupKey) + "\\" + kShareDir);
    }
    bool keepTemplate = SameText(templatePath, targetConfigFile_);
    if (saveFor16Bit_) {
      std::string legacy =
          platform::iniFiles().ReadString("WIN.INI", "QDLEGACY", kQDEConfigPath, "");
      if (legacy.empty()) legacy = "*ERROR*";
      const int32_t differs = AsciiUpperCase(legacy) != AsciiUpperCase(targetConfigFile_) ? 1 : 0;
      const std::optional<int32_t> fixed = CallSetupLibrary(
          "QdRepairConfig", {Buffer256(targetConfigFile_), differs, is16, Buffer256(languageCode)});
      if (fixed.value_or(-1) != 0) {
        if (onFixFailed_) onFixFailed_(this);
        targetConfigFile_ = MoveToFallback(templatePath, configDir);
        keepTemplate = true;
      }
    }
    if (!keepTemplate) DeleteQuietly(templatePath);
  }

  WriteEngineValue(kQDEKey, kQDEConfigPath, targetConfigFile_);
  WriteEngineValue(kQDEKey, kQDEConfigFormat, saveFor16Bit_ ? "CFG16" : "CFG32");
  WriteServerLinkEntries();

  for (int i = 0; i < ObjectCount(); ++i) {
    auto* f = dynamic_cast<TCustomInstallFile*>(Objects(i));
    if (!f || !SameText(f->FileName(), "QDLSQ32.DLL")) continue;
    try {
      f->RegisterActiveXLibrary();
    } catch (const std::exception&) {
      // The local SQL engine registers itself again when first used.
    }
  }
}

void TInstallQDE::WriteServerLinkEntries() {
  std::string driver, section;
  bool header = false;
  for (int i = 0; i < serverLinkEntries_->Count(); ++i) {
    std::string line = serverLinkEntries_->Strings(i);
    const size_t session = line.find("[SESSION-");
    const size_t startup = line.find("[STARTUP-");
    if (session != std::string::npos || startup != std::string::npos) {
      const bool isSession = session != std::string::npos;
      line.pop_back();  // the closing bracket
      const size_t name = (isSession ? session : startup) + 9;
      driver = name < line.size() ? line.substr(name) : std::string();
      section = isSession ? "SESSION" : "STARTUP";
      // A header without a driver name would write beside every driver.
      header = !driver.empty();
      continue;
    }
    const size_t eq = line.find('=');
    if (!header || eq == std::string::npos) continue;
    // The whole text after the first "=": a value may hold "=" itself.
    WriteRegString(kRootLocalMachine, std::string(kQDEDriversKey) + "\\" + driver + "\\" + section,
                   line.substr(0, eq), line.substr(eq + 1));
  }
}

void TInstallQDE::RebuildServerLinkEntries() {
  serverLinkEntries_->Clear();
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  if (!reg.KeyExists(root, kQDEDriversKey))
    throw IEInstallQDE(
        "There is no %s key in your registry. Cannot read the information for Server Link",
        std::string(kQDEDriversKey));
  struct Wanted {
    const char* name;
    bool on;
  };
  const Wanted wanted[] = {{"KESTREL", slKestrel()}, {"OSPREY", slOsprey()},
                           {"PLOVER", slPlover()},   {"WREN", slWren()},
                           {"TERN", slTern()},       {"HERON", slHeronNext()}};
  for (const std::string& name : reg.SubKeyNames(root, kQDEDriversKey)) {
    bool take = false;
    for (const Wanted& w : wanted) take = take || (w.on && SameText(name, w.name));
    if (!take) continue;
    const std::string driverKey = std::string(kQDEDriversKey) + "\\" + name;
    for (const char* section : {"SESSION", "STARTUP"}) {
      const std::string key = driverKey + "\\" + section;
      if (!reg.KeyExists(root, driverKey) || !reg.KeyExists(root, key))
        throw IEInstallQDE(
            "Cannot open the %s key in your registry. Cannot read the information for %s Server "
            "Link",
            key, name);
      serverLinkEntries_->Add(std::string("[") + section + "-" + name + "]");
      for (const std::string& value : reg.ValueNames(root, key)) {
        const auto v = reg.ReadValue(root, key, value);
        serverLinkEntries_->Add(value + "=" + (v ? ValueText(*v) : std::string()));
      }
      serverLinkEntries_->Add("  ");
    }
  }
}
