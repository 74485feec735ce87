// The version service: the version resource of a file, loaded once and
// queried the way the Windows version API answers (the fixed file
// information, "\VarFileInfo\Translation" and "\StringFileInfo\<language
// and code page>\<key>"). Texts come out as UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The fixed part of a version resource, field for field.
struct FixedFileInfo {
  uint32_t signature = 0;
  uint32_t strucVersion = 0;
  uint32_t fileVersionMS = 0;
  uint32_t fileVersionLS = 0;
  uint32_t productVersionMS = 0;
  uint32_t productVersionLS = 0;
  uint32_t fileFlagsMask = 0;
  uint32_t fileFlags = 0;
  uint32_t fileOS = 0;
  uint32_t fileType = 0;
  uint32_t fileSubtype = 0;
  uint32_t fileDateMS = 0;
  uint32_t fileDateLS = 0;
  bool operator==(const FixedFileInfo&) const = default;
};

// One "\VarFileInfo\Translation" entry.
struct VersionTranslation {
  uint16_t language = 0;
  uint16_t codePage = 0;
  bool operator==(const VersionTranslation&) const = default;
};

// The version resource of one file, as loaded by the system.
class VersionInfoData {
 public:
  virtual ~VersionInfoData() = default;
  // "\": nullopt when the resource carries no fixed information.
  virtual std::optional<FixedFileInfo> Fixed() const = 0;
  // "\VarFileInfo\Translation" in stored order; empty when absent.
  virtual std::vector<VersionTranslation> Translations() const = 0;
  // "\StringFileInfo\<table>\<key>", where table is the language and code
  // page as eight hex digits ("040904E4"). Table and key compare ignoring
  // case. nullopt when either is absent; a value stored empty gives "".
  virtual std::optional<std::string> StringValue(std::string_view table,
                                                 std::string_view key) const = 0;
};

class VersionInfoService {
 public:
  virtual ~VersionInfoService() = default;
  // The version resource of the file at a Windows path, or nullptr when the
  // file does not exist, cannot be read or has none. Never raises for those.
  virtual std::unique_ptr<VersionInfoData> Load(std::string_view path) = 0;
};

// The service of this build: on the simulated machine it reads files
// through platform::files(); on Windows it asks the system.
VersionInfoService& versions();

// Replaces the service (tests); nullptr restores the build's own.
void InstallVersionService(std::unique_ptr<VersionInfoService> service);

// The build's own service; defined once in platform/sim or platform/win32.
std::unique_ptr<VersionInfoService> CreateDefaultVersionService();

}  // namespace platform
