// The engine setup operations' host on Windows: files through CreateFileA
// and MoveFileExA, HKEY_LOCAL_MACHINE through the registry's A calls, and
// WIN.INI through the profile calls. Texts stay 8-bit (the ANSI code page),
// as the library's callers pass them.
#pragma once

#include "enginesetup/EngineSetup.h"

namespace enginesetup {

class Win32EngineHost : public EngineHost {
 public:
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceAtomically(const std::string& path, const std::string& bytes) override;
  bool Exists(const std::string& path) override;
  std::optional<std::string> ReadMachineString(const std::string& key,
                                               const std::string& name) override;
  bool WriteMachineString(const std::string& key, const std::string& name,
                          const std::string& value) override;
  std::optional<std::string> ReadIniString(const std::string& file, const std::string& section,
                                           const std::string& key) override;
  bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) override;
};

}  // namespace enginesetup
