// The engine's setup operations behind "QDSETUP.DLL": merging the
// configuration template into the configuration in use, setting the
// template's language, the 16-bit fix-up and the engine's use count. They
// reach files, the registry and WIN.INI only through an EngineHost, so the
// Windows library and the simulated machine run the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace enginesetup {

// What the operations need of the machine. Texts are 8-bit, paths Windows
// paths. No call raises: a refusal answers nullopt or false.
class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // The whole file; nullopt when it cannot be read (missing, a directory,
  // refused, or larger than kMaxConfigBytes).
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Replaces (or creates) the file with `bytes` atomically: a temporary
  // file in the same directory, then a replacing rename. False when that
  // fails; the old file is then untouched and the temporary file gone.
  virtual bool ReplaceAtomically(const std::string& path, const std::string& bytes) = 0;
  // Whether anything (file or directory) is at the path.
  virtual bool Exists(const std::string& path) = 0;
  // A string value of HKEY_LOCAL_MACHINE `key` ("\Software\..."); nullopt
  // when the key or value is missing or not a string.
  virtual std::optional<std::string> ReadMachineString(const std::string& key,
                                                       const std::string& name) = 0;
  // Writes a string value, creating the key when missing.
  virtual bool WriteMachineString(const std::string& key, const std::string& name,
                                  const std::string& value) = 0;
  // A value of an INI file (a bare name lives in the Windows directory).
  virtual std::optional<std::string> ReadIniString(const std::string& file,
                                                   const std::string& section,
                                                   const std::string& key) = 0;
  virtual bool WriteIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& value) = 0;
};

// The largest configuration file the operations read.
inline constexpr size_t kMaxConfigBytes = 16u << 20;

// Where the engine keeps its use count: a decimal string value.
inline constexpr const char* kEngineKey = "\\Software\\Quenby\\Database Engine";
inline constexpr const char* kUseCountValue = "USECOUNT";
// Where 16-bit programs look for the configuration file.
inline constexpr const char* kLegacyIniFile = "WIN.INI";
inline constexpr const char* kLegacySection = "QDLEGACY";
inline constexpr const char* kLegacyPathKey = "CONFIGPATH";
// What an existing-configuration argument says when there is none.
inline constexpr const char* kNoExistingConfig = "***";

// The operations' results (the library's return values). Every failure
// leaves every file as it was, except where said.
enum Result : int32_t {
  kOk = 0,
  kTemplateUnreadable = 1,   // the template is missing or cannot be read
  kTemplateDamaged = 2,      // the template does not parse
  kExistingUnreadable = 3,   // the configuration in use exists but cannot be read
  kExistingDamaged = 4,      // the configuration in use does not parse
  kWriteFailed = 5,          // the file could not be replaced
  kTargetUnreadable = 6,     // the configuration to fix is missing or cannot be read
  kTargetDamaged = 7,        // the configuration to fix does not parse
  kIniWriteFailed = 8,       // WIN.INI refused (the fixed file is already written)
  kRegistryWriteFailed = 9,  // the use count could not be written
  kBadArguments = 10,        // a null or empty path, a flag other than 0/1, an unknown
                             // mode, a text with a line break
  kInternalError = 11,       // anything unexpected (out of memory ...); nothing written
};

// A short English text for a result, for logs and tests.
const char* ResultText(int32_t result);

// Merges `templatePath` into the configuration at `existingPath` ("***" or
// a path where nothing exists: none) and writes the result to
// `targetPath` atomically (see EngineConfig::Merge; with no existing
// configuration the result is the template). `targetPath` may name the
// template or the existing file. `mode` must be 1; `is16` 0 or 1; neither
// it nor `lang` changes the merge (the template's language was set before).
int32_t MergeConfig(EngineHost& host, std::string_view templatePath, std::string_view existingPath,
                    std::string_view targetPath, int32_t mode, int32_t is16, std::string_view lang);

// Sets [SYSTEM INIT] LANGCODE=<lang> in the template, rewritten
// atomically. A missing or damaged template is left as it is.
int32_t LocaleConfig(EngineHost& host, std::string_view templatePath, int32_t is16,
                     std::string_view lang);

// The 16-bit fix-up: the target must parse; with `is16` 1 it gets
// [SYSTEM INIT] CONFIG16=TRUE (rewritten atomically); with `differs` 1
// WIN.INI [QDLEGACY] CONFIGPATH is set to the target afterwards, so
// 16-bit programs use the same file.
int32_t RepairConfig(EngineHost& host, std::string_view targetPath, int32_t differs, int32_t is16,
                     std::string_view lang);

// Raises the engine's use count by one; a missing value or one that is not
// a decimal number counts as 0, and a count at the largest 32-bit number
// stays there.
int32_t IncrementUseCount(EngineHost& host);

}  // namespace enginesetup
