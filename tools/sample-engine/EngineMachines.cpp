// Machines with an installed engine: the layouts (files and registry
// values) of the authoring machine and of a target with the 7.5 engine,
// laid down through the platform services (simulated machine or real
// Windows), or into a Wine prefix as files plus a REGEDIT4 file. One
// layout feeds every branch, so they cannot drift apart.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "tools/pegen/PeWriter.h"
#include "tools/sample-engine/EngineConfig.h"
#include "tools/sample-engine/SampleEngine.h"

namespace sample_engine {
namespace {

constexpr const char* kEngineKey = "\\Software\\Quenby\\Database Engine";
constexpr const char* kLocaleKey = "\\Software\\Quenby\\QDLOC32";
constexpr const char* kDriversKey = "\\Software\\Quenby\\Database Engine\\Options\\Drivers";
constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kCurrentVersionKey = "\\Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kKitKey = "\\Software\\Tolvane\\PellmoreKit";
constexpr const char* kOspreyKey = "\\SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && Upper(s.substr(s.size() - tail.size())) == tail;
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

void Str(MachineLayout& l, const std::string& key, const std::string& name,
         const std::string& text) {
  l.values.push_back({key, name, text, false, 0});
}

// The engine's registry entries shared by both machines.
void EngineKeys(MachineLayout& l, const std::string& engineDir) {
  const std::string config = engineDir + "\\qdeng32.cfg";
  Str(l, kEngineKey, "ENGINEPATH", engineDir);
  Str(l, kEngineKey, "LANGCODE", "0009");
  Str(l, kEngineKey, "CONFIGPATH", config);
  Str(l, kEngineKey, "CONFIGFORMAT", "CFG32");
  // One program (whatever installed the engine) uses it.
  Str(l, kEngineKey, "USECOUNT", "1");
  Str(l, kLocaleKey, "LANGPACKDIR", engineDir);
}

// A server link's SESSION and STARTUP keys hold the values of its sections
// in the configuration in use, as the engine's manager keeps them.
void DriverKeys(MachineLayout& l, const Config& inUse, const char* driver) {
  for (const char* part : {"SESSION", "STARTUP"}) {
    const ConfigSection* s = FindSection(inUse, std::string("DRIVERS\\") + driver + "\\" + part);
    if (s == nullptr) throw std::logic_error(std::string("no configuration section for ") + driver);
    for (const ConfigSetting& v : s->settings)
      Str(l, std::string(kDriversKey) + "\\" + driver + "\\" + part, v.name, v.value);
  }
}

// A small Windows client library the Osprey link loads.
std::vector<uint8_t> OspreyClient() {
  pegen::PeOptions o;
  o.moduleName = "OSPCLI32.DLL";
  o.timeDateStamp = 0x36500000u;
  o.exports = {{"osp_connect", 0, 12}, {"osp_disconnect", 0, 4}};
  pegen::VersionResource v;
  v.fileVersion = {5, 1, 0, 12};
  v.productVersion = {5, 1, 0, 0};
  pegen::StringTable t;
  t.strings = {{"CompanyName", "Osprey Systems"}, {"FileDescription", "Osprey Client Library"},
               {"FileVersion", "5.1.0.12"},       {"OriginalFilename", "OSPCLI32.DLL"},
               {"ProductName", "Osprey Client"},  {"ProductVersion", "5.1"}};
  v.tables.push_back(t);
  o.version = v;
  o.payload = pegen::MakeFiller(0x05C1, 60 * 1024);
  return pegen::BuildPe(o);
}

std::string RegEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

MachineLayout AuthoringLayout(const MachinePaths& paths) {
  MachineLayout l;
  const std::string engineDir = paths.programFiles + "\\" + kEngineSubdir;
  for (EngineFile& f : BuildEngine(Release::v82))
    l.files.push_back({engineDir + "\\" + f.name, std::move(f.bytes), kEngine82Date});
  const Config inUse = EngineConfig(Release::v82, true);
  l.files.push_back({engineDir + "\\qdeng32.cfg",
                     RenderConfig(inUse, "Quenby Database Engine configuration", 14 * 1024, 82)});
  EngineKeys(l, engineDir);
  for (const char* driver : {"KESTREL", "HERON", "OSPREY"}) DriverKeys(l, inUse, driver);

  // What the Osprey link takes from outside the engine directory.
  const std::string ospreyHome = paths.programFiles + "\\Osprey";
  l.files.push_back({paths.systemDir + "\\OSPCLI32.DLL", OspreyClient()});
  l.files.push_back(
      {ospreyHome + "\\OSPREY.MSG", Bytes("OSPMSG 5.1\r\n0001 Connection refused\r\n"
                                          "0002 Login failed\r\n0003 Server not found\r\n")});
  Str(l, kOspreyKey, "HomeDir", ospreyHome);

  for (EngineFile& f : BuildKitFiles())
    l.files.push_back({std::string(kKitDir) + "\\" + f.name, std::move(f.bytes)});
  Str(l, kKitKey, "LibraryPath", kKitDir);
  return l;
}

MachineLayout OlderEngineLayout(const MachinePaths& paths) {
  MachineLayout l;
  const std::string engineDir = paths.programFiles + "\\" + kEngineSubdir;
  EngineKeys(l, engineDir);
  std::vector<std::string> libraries;
  int langPack = 0;
  for (EngineFile& f : BuildEngine(Release::v75)) {
    // Its installer put the control panel applet where Windows looks.
    const std::string dir = Upper(f.name) == "QDMGR.CPL" ? paths.systemDir : engineDir;
    const std::string path = dir + "\\" + f.name;
    if (EndsWith(f.name, ".QLL")) Str(l, kLocaleKey, "LANGPACK" + std::to_string(++langPack), path);
    if (EndsWith(f.name, ".DLL")) libraries.push_back(path);
    l.files.push_back({path, std::move(f.bytes), kEngine75Date});
  }
  DriverKeys(l, EngineConfig(Release::v75, true), "KESTREL");
  for (const std::string& path : libraries) l.values.push_back({kSharedDllsKey, path, "", true, 1});
  return l;
}

MachinePaths CurrentMachinePaths() {
  MachinePaths p;
  p.systemDir = platform::system().SystemDirectory();
  const auto dir = platform::registry().ReadValue(platform::RootKey::LocalMachine,
                                                  kCurrentVersionKey, "ProgramFilesDir");
  if (dir && dir->type == platform::ValueType::String && !dir->text.empty())
    p.programFiles = dir->text;
  else
    p.programFiles = platform::system().WindowsDirectory().substr(0, 2) + "\\Program Files";
  while (p.programFiles.size() > 3 && p.programFiles.back() == '\\') p.programFiles.pop_back();
  while (p.systemDir.size() > 3 && p.systemDir.back() == '\\') p.systemDir.pop_back();
  return p;
}

void ApplyLayout(const MachineLayout& layout) {
  platform::FileSystem& fs = platform::files();
  for (const LaidFile& f : layout.files) {
    fs.CreateDirectories(f.path.substr(0, f.path.rfind('\\')));
    auto file = fs.Create(f.path);
    file->Write(f.bytes.data(), f.bytes.size());
    file->Close();
    if (f.date != 0) fs.SetLastWriteTime(f.path, platform::DateTimeToFileTime(f.date));
  }
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  for (const LaidValue& v : layout.values) {
    reg.CreateKey(root, v.key);
    reg.WriteValue(
        root, v.key, v.name,
        v.isDWord ? platform::RegValue::DWordValue(v.number) : platform::RegValue::Str(v.text));
  }
}

MachineLayout InstallAuthoringEngine() {
  MachineLayout l = AuthoringLayout(CurrentMachinePaths());
  ApplyLayout(l);
  return l;
}

MachineLayout InstallOlderEngine() {
  MachineLayout l = OlderEngineLayout(CurrentMachinePaths());
  ApplyLayout(l);
  return l;
}

std::string RenderRegFile(const MachineLayout& layout) {
  std::vector<std::string> keys;
  for (const LaidValue& v : layout.values)
    if (std::find(keys.begin(), keys.end(), v.key) == keys.end()) keys.push_back(v.key);
  std::string out = "REGEDIT4\r\n";
  for (const std::string& key : keys) {
    out += "\r\n[HKEY_LOCAL_MACHINE\\" + key.substr(key[0] == '\\' ? 1 : 0) + "]\r\n";
    for (const LaidValue& v : layout.values) {
      if (v.key != key) continue;
      out += "\"" + RegEscape(v.name) + "\"=";
      if (v.isDWord) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(v.number));
        out += std::string("dword:") + hex;
      } else {
        out += "\"" + RegEscape(v.text) + "\"";
      }
      out += "\r\n";
    }
  }
  return out;
}

std::filesystem::path WinePrefixPath(const std::filesystem::path& prefix,
                                     const std::string& windowsPath) {
  if (windowsPath.size() < 3 || std::toupper(static_cast<unsigned char>(windowsPath[0])) != 'C' ||
      windowsPath[1] != ':' || windowsPath[2] != '\\')
    throw std::runtime_error("not a path on drive C: " + windowsPath);
  std::filesystem::path host = prefix / "drive_c";
  size_t pos = 3;
  while (pos < windowsPath.size()) {
    size_t end = windowsPath.find('\\', pos);
    if (end == std::string::npos) end = windowsPath.size();
    std::string part = windowsPath.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..") throw std::runtime_error("not a plain path: " + windowsPath);
    // Wine finds "Program Files" and "program files" alike; reuse what is
    // there instead of making a second folder that differs in case.
    std::error_code ec;
    if (std::filesystem::is_directory(host, ec))
      for (const auto& entry : std::filesystem::directory_iterator(host, ec))
        if (Upper(entry.path().filename().string()) == Upper(part)) {
          part = entry.path().filename().string();
          break;
        }
    host /= part;
  }
  return host;
}

void WriteFilesToWinePrefix(const MachineLayout& layout, const std::filesystem::path& prefix) {
  for (const LaidFile& f : layout.files) {
    const std::filesystem::path host = WinePrefixPath(prefix, f.path);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.bytes.data()),
              static_cast<std::streamsize>(f.bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + host.string());
    if (f.date != 0) {
      const auto seconds = static_cast<time_t>((f.date - 25569.0) * 86400.0);
      std::error_code error;
      std::filesystem::last_write_time(
          host, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(seconds)),
          error);
      if (error) throw std::runtime_error("cannot date " + host.string());
    }
  }
}

}  // namespace sample_engine
