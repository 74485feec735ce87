// Fixture for install-file tests of registrations and replacements: packs
// source files into the group's archive, makes the installer with its
// bookkeeping key, and reads what the kit wrote into the registry. Portable
// itself; the tests that shape the simulated machine (held files, platform
// kind, the program table, restarts) are the test_sim_* ones.
#pragma once

#include <string>
#include <vector>

#include "InstallFileFixture.h"
#include "framework/StrUtils.h"
#include "install/cmp_TInstall.h"
#include "platform/Registry.h"
#include "tools/pegen/PeWriter.h"

namespace filestest {

inline constexpr const char* kSharedDlls =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kRunOnce = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* kTestInstallKey = "\\SOFTWARE\\Pellmore\\Install\\Install0";

class InstallFileSimTest : public InstallFileTest {
 protected:
  // The installer the files report to, with a bookkeeping key so that
  // unfinished business can be recorded.
  TInstall* NewInstaller() {
    auto* install = New<TInstall>(form_, "Install1");
    install->SetInstallKey(kTestInstallKey);
    return install;
  }

  // Writes the source files, packs the whole group and reads every
  // file's stored information back, as the run does.
  void PackGroup() {
    CompressContainer(*group_, kBuildOptionsTraditional);
    for (TInstallFile* f : files_) f->ReadInfoFromArchive();
    group_->Codes.clear();
  }
  TInstallFile* AddFile(const std::string& name, const std::string& source,
                        const std::string& bytes, TDateTime date = kMid) {
    PutFile(source, bytes, date);
    TInstallFile* f = NewFile(name, group_, source);
    files_.push_back(f);
    return f;
  }
  TInstallFile* AddFile(const std::string& name, const std::string& source,
                        const std::vector<uint8_t>& bytes, TDateTime date = kMid) {
    return AddFile(name, source, std::string(bytes.begin(), bytes.end()), date);
  }

  // A library exporting DllRegisterServer (or not).
  static std::vector<uint8_t> RegisteringDll(bool exportsRegister = true) {
    pegen::PeOptions o;
    if (exportsRegister) o.exports.push_back({"DllRegisterServer", 0, 0});
    o.exports.push_back({"DllUnregisterServer", 0, 0});
    return pegen::BuildPe(o);
  }

  static std::optional<platform::RegValue> Value(const std::string& key, const std::string& name) {
    return platform::registry().ReadValue(platform::RootKey::LocalMachine, key, name);
  }
  static std::string Text(const std::string& key, const std::string& name) {
    auto v = Value(key, name);
    return v ? v->text : "<none>";
  }
  static int64_t Count(const std::string& name) {
    auto v = Value(kSharedDlls, name);
    return v && v->type == platform::ValueType::DWord ? int64_t(v->dword) : -1;
  }
  static std::vector<std::string> Unfinished(TInstall& install) {
    TStringList list;
    install.ReadUnfinished(list);
    return list.ToVector();
  }
  static bool Exists(const std::string& path) { return platform::files().FileExists(path); }

  std::vector<TInstallFile*> files_;
};

}  // namespace filestest
