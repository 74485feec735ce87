// Machines laid out with the sample engine: a target with the 7.5 engine
// (files, registry values, LANGPACK names, shared-library counts, the
// configuration in use agreeing with its driver keys), the authoring
// machine whose kit directory the kit finds, folders taken from the
// machine, and the Wine branch (.reg file, prefix files) matching what the
// machine got. Simulated machines only: the layouts write fixed paths.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "EngineConfigReader.h"
#include "install/KitDirectory.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/sim/PeExportReader.h"
#include "support/TempDir.h"
#include "support/TestMachine.h"
#include "tools/sample-engine/SampleEngine.h"

namespace {

using platform::RootKey;
constexpr const char* kEngineDir = "C:\\Program Files\\Quenby\\Common Files\\QDE";
constexpr const char* kEngineKey = "\\Software\\Quenby\\Database Engine";
constexpr const char* kLocaleKey = "\\Software\\Quenby\\QDLOC32";
constexpr const char* kDrivers = "\\Software\\Quenby\\Database Engine\\Options\\Drivers\\";
constexpr const char* kShared = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The string value, "<absent>", or "dword:N".
std::string Value(const std::string& key, const std::string& name) {
  const auto v = platform::registry().ReadValue(RootKey::LocalMachine, key, name);
  if (!v) return "<absent>";
  if (v->type == platform::ValueType::DWord) return "dword:" + std::to_string(v->dword);
  return v->text;
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

testsupport::EngineConfigSections ConfigAt(const std::string& path) {
  std::string why;
  const auto c = testsupport::ReadEngineConfig(testsupport::TestMachine::ReadFile(path), &why);
  if (!c) throw std::runtime_error(path + ": " + why);
  return *c;
}

// Every value of a driver key equals the setting of the same name in the
// configuration in use, and each side has the same names.
void ExpectDriverKeysMatch(const testsupport::EngineConfigSections& config, const char* driver) {
  for (const char* part : {"SESSION", "STARTUP"}) {
    SCOPED_TRACE(std::string(driver) + "\\" + part);
    const std::string key = std::string(kDrivers) + driver + "\\" + part;
    const auto& section = config.at(std::string("DRIVERS\\") + driver + "\\" + part);
    const auto names = platform::registry().ValueNames(RootKey::LocalMachine, key);
    EXPECT_EQ(names.size(), section.size());
    for (const auto& [name, value] : section) EXPECT_EQ(Value(key, name), value) << name;
  }
}

TEST(SampleEngineMachine, OlderEngineHasItsFilesValuesLangPacksAndCounts) {
  testsupport::TestMachine machine;
  sample_engine::InstallOlderEngine();
  const std::string dir = kEngineDir;
  const std::string sys = platform::system().SystemDirectory();

  const struct {
    const char* key;
    std::string name;
    std::string expected;
  } values[] = {
      {kEngineKey, "ENGINEPATH", dir},
      {kEngineKey, "LANGCODE", "0009"},
      {kEngineKey, "CONFIGPATH", dir + "\\qdeng32.cfg"},
      {kLocaleKey, "LANGPACKDIR", dir},
      {kLocaleKey, "LANGPACK1", dir + "\\USA.QLL"},
      {kLocaleKey, "LANGPACK2", dir + "\\EUROPE.QLL"},
      {kLocaleKey, "LANGPACK3", dir + "\\OTHER.QLL"},
      {kLocaleKey, "LANGPACK4", "<absent>"},
      {kShared, dir + "\\QDENG32.DLL", "dword:1"},
      {kShared, dir + "\\QLKKST32.DLL", "dword:1"},
      {kShared, dir + "\\QDMGR.EXE", "<absent>"},
  };
  for (const auto& v : values) EXPECT_EQ(Value(v.key, v.name), v.expected) << v.name;
  EXPECT_FALSE(
      platform::registry().KeyExists(RootKey::LocalMachine, std::string(kDrivers) + "HERON"));

  // Every file in place with its bytes; the applet where Windows looks; one
  // count per library and no other.
  size_t libraries = 0;
  for (const auto& f : sample_engine::BuildEngine(sample_engine::Release::v75)) {
    SCOPED_TRACE(f.name);
    const std::string path = (f.name == "QDMGR.CPL" ? sys : dir) + "\\" + f.name;
    EXPECT_EQ(Bytes(testsupport::TestMachine::ReadFile(path)), f.bytes);
    if (f.name.ends_with(".DLL")) {
      ++libraries;
      EXPECT_EQ(Value(kShared, path), "dword:1");
    }
  }
  EXPECT_EQ(libraries, 16u);
  EXPECT_EQ(platform::registry().ValueNames(RootKey::LocalMachine, kShared).size(), libraries);

  const auto config = ConfigAt(Value(kEngineKey, "CONFIGPATH"));
  EXPECT_EQ(config.at("SYSTEM INIT").at("MAXFILEHANDLES"), "96");
  EXPECT_EQ(config.at("ALIASES\\SALES").at("PATH"), "D:\\DATA\\SALES");
  ExpectDriverKeysMatch(config, "KESTREL");
  EXPECT_EQ(Value(std::string(kDrivers) + "KESTREL\\SESSION", "HOST"), "PRODSRV");
  EXPECT_EQ(Value(std::string(kDrivers) + "KESTREL\\SESSION", "BATCH SIZE"), "500");
}

TEST(SampleEngineMachine, AuthoringMachineHasTheEngineAndAKitTheKitFinds) {
  testsupport::TestMachine machine;
  EXPECT_THROW(KitDirectory(), IENoPellmorePath);
  sample_engine::InstallAuthoringEngine();
  EXPECT_EQ(KitDirectory(), "C:\\Pellmore");

  for (const auto& f : sample_engine::BuildKitFiles())
    EXPECT_EQ(Bytes(testsupport::TestMachine::ReadFile("C:\\Pellmore\\" + f.name)), f.bytes)
        << f.name;
  const auto dll = platform::sim::ReadPeImage(platform::files(), "C:\\Pellmore\\QDSETUP.DLL");
  ASSERT_TRUE(dll.has_value());
  EXPECT_TRUE(dll->dll);
  std::set<std::string> exports;
  for (const auto& e : dll->exports) exports.insert(e.name);
  EXPECT_EQ(exports, (std::set<std::string>{"IncrementEngineUseCount", "QdLocaleConfig",
                                            "QdMergeConfig", "QdRepairConfig"}));

  const std::string engineDir = Value(kEngineKey, "ENGINEPATH");
  EXPECT_EQ(engineDir, kEngineDir);
  EXPECT_EQ(Value(kLocaleKey, "LANGPACKDIR"), engineDir);
  for (const auto& f : sample_engine::BuildEngine(sample_engine::Release::v82))
    EXPECT_TRUE(platform::files().FileExists(engineDir + "\\" + f.name)) << f.name;
  const auto config = ConfigAt(Value(kEngineKey, "CONFIGPATH"));
  EXPECT_EQ(config.at("SYSTEM INIT").at("VERSION"), "8.2");
  for (const char* driver : {"KESTREL", "HERON", "OSPREY"}) ExpectDriverKeysMatch(config, driver);

  // What the Osprey link takes from outside the engine directory.
  EXPECT_TRUE(
      platform::files().FileExists(platform::system().SystemDirectory() + "\\OSPCLI32.DLL"));
  const std::string home = Value("\\SOFTWARE\\OSPREY SYSTEMS\\OSPREY\\CURRENTVERSION", "HomeDir");
  EXPECT_TRUE(platform::files().FileExists(home + "\\OSPREY.MSG")) << home;
}

TEST(SampleEngineMachine, FoldersComeFromTheMachine) {
  testsupport::TestMachineOptions o;
  o.sim.windowsDir = "C:\\WINNT";
  testsupport::TestMachine machine(o);
  platform::registry().WriteValue(RootKey::LocalMachine,
                                  "\\Software\\Microsoft\\Windows\\CurrentVersion",
                                  "ProgramFilesDir", platform::RegValue::Str("C:\\Programme"));
  sample_engine::InstallOlderEngine();

  const std::string dir = "C:\\Programme\\Quenby\\Common Files\\QDE";
  EXPECT_EQ(Value(kEngineKey, "ENGINEPATH"), dir);
  EXPECT_TRUE(platform::files().FileExists(dir + "\\QDENG32.DLL"));
  EXPECT_FALSE(platform::files().DirectoryExists("C:\\Program Files\\Quenby"));
  const std::string sys = platform::system().SystemDirectory();
  ASSERT_EQ(sys.rfind("C:\\WINNT\\", 0), 0u) << sys;
  EXPECT_TRUE(platform::files().FileExists(sys + "\\QDMGR.CPL"));
}

// "name" -> value as the .reg file gives it ("dword:N" for REG_DWORD), by key.
std::map<std::string, std::map<std::string, std::string>> ReadRegFile(const std::string& text) {
  std::map<std::string, std::map<std::string, std::string>> keys;
  std::string key;
  size_t pos = 0;
  auto unquote = [](const std::string& s, size_t& i) {
    std::string out;
    for (++i; i < s.size() && s[i] != '"'; ++i) out += s[i] == '\\' ? s[++i] : s[i];
    ++i;
    return out;
  };
  EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    const std::string line = text.substr(pos, end - pos);
    pos = end == std::string::npos ? text.size() : end + 2;
    if (line.starts_with("[HKEY_LOCAL_MACHINE\\")) {
      key = "\\" + line.substr(20, line.size() - 21);
    } else if (line.starts_with("\"")) {
      size_t i = 0;
      const std::string name = unquote(line, i);
      EXPECT_EQ(line[i], '=') << line;
      ++i;
      keys[key][name] = line.compare(i, 6, "dword:") == 0
                            ? "dword:" + std::to_string(std::stoul(line.substr(i + 6), nullptr, 16))
                            : unquote(line, i);
    }
  }
  return keys;
}

TEST(SampleEngineMachine, WineBranchNamesWhatTheMachineGot) {
  testsupport::TestMachine machine;
  sample_engine::InstallOlderEngine();
  const auto paths = sample_engine::CurrentMachinePaths();
  const auto layout = sample_engine::OlderEngineLayout(paths);
  const auto reg = ReadRegFile(sample_engine::RenderRegFile(layout));

  // Both ways: every value of the file is on the machine, and every value
  // the machine has below the engine's keys and SharedDLLs is in the file.
  size_t inFile = 0;
  for (const auto& [key, values] : reg)
    for (const auto& [name, value] : values) {
      ++inFile;
      EXPECT_EQ(Value(key, name), value) << key << " " << name;
    }
  EXPECT_EQ(inFile, layout.values.size());
  std::vector<std::string> todo = {"\\Software\\Quenby", kShared};
  while (!todo.empty()) {
    const std::string key = todo.back();
    todo.pop_back();
    for (const auto& sub : platform::registry().SubKeyNames(RootKey::LocalMachine, key))
      todo.push_back(key + "\\" + sub);
    for (const auto& name : platform::registry().ValueNames(RootKey::LocalMachine, key)) {
      bool found = false;
      for (const auto& [k, values] : reg)
        if (testsupport::ConfigUpper(k) == testsupport::ConfigUpper(key))
          found = values.count(name) == 1;
      EXPECT_TRUE(found) << key << " " << name;
    }
  }

  // The prefix's files: where Wine finds them, in the folders the prefix
  // already has whatever their case.
  testsupport::TempDir prefix("pellmore-wine-prefix");
  std::filesystem::create_directories(prefix / "drive_c/program files");
  std::filesystem::create_directories(prefix / "drive_c/windows/system32");
  const auto winLayout =
      sample_engine::OlderEngineLayout({"C:\\Program Files", "C:\\Windows\\System32"});
  sample_engine::WriteFilesToWinePrefix(winLayout, prefix.Path());
  EXPECT_FALSE(std::filesystem::exists(prefix / "drive_c/Program Files"));
  EXPECT_FALSE(std::filesystem::exists(prefix / "drive_c/Windows"));
  EXPECT_TRUE(std::filesystem::exists(prefix / "drive_c/windows/system32/QDMGR.CPL"));
  std::ifstream in(prefix / "drive_c/program files/Quenby/Common Files/QDE/qdeng32.cfg",
                   std::ios::binary);
  const std::string cfg{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(cfg, testsupport::TestMachine::ReadFile(Value(kEngineKey, "CONFIGPATH")));
  for (const char* bad : {"D:\\DATA\\x.cfg", "C:\\QDE\\..\\..\\x"})
    EXPECT_THROW(sample_engine::WinePrefixPath(prefix.Path(), bad), std::runtime_error) << bad;
}

}  // namespace
