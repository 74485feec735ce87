// Making a fresh simulated machine: drive folders, the folders a fresh
// Windows of the chosen kind has, the settings file and the registry values
// the kit reads (program files, shell folders) plus the keys Windows always
// has (RunOnce, Uninstall, SharedDLLs ...). See SimMachine.h.
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "framework/StrUtils.h"
#include "platform/SystemInfo.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/WinPath.h"

namespace platform::sim {
namespace {

namespace fs = std::filesystem;

const char* const kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

using Values = std::vector<std::pair<std::string, std::string>>;

// Where the shell keeps its folders on a kind, and which registry values
// name them. Win32s and NT 3.51 have the Program Manager instead of a
// shell: no shell folders, no Program Files.
struct Layout {
  std::vector<std::string> folders;
  Values userShellFolders;    // HKCU ...\Explorer\Shell Folders
  Values commonShellFolders;  // HKLM ...\Explorer\Shell Folders
  Values currentVersion;      // HKLM ...\Windows\CurrentVersion
  Values ntCurrentVersion;    // HKLM ...\Windows NT\CurrentVersion
};

Layout MakeLayout(const KindPreset& kind, const MachineSettings& s, const std::string& user) {
  Layout l;
  const std::string& win = s.windowsDir;
  std::string drive = win.substr(0, 2);
  bool nt = kind.version.platformId == kPlatformNT;
  bool shell = kind.version.platformId == kPlatformWindows || (nt && kind.version.major >= 4);
  l.folders = {win, s.systemDir, s.tempDir, win + "\\Fonts", win + "\\Help"};
  if (nt) l.folders.push_back(win + "\\System");  // NT keeps the 16-bit one too
  if (nt) {
    l.ntCurrentVersion = {
        {"CurrentVersion",
         std::to_string(kind.version.major) + "." + std::to_string(kind.version.minor)},
        {"CurrentBuildNumber", std::to_string(kind.version.build)},
        {"CSDVersion", kind.version.csdVersion},
        {"SystemRoot", win},
    };
  } else if (kind.version.platformId == kPlatformWindows) {
    char number[32];
    std::snprintf(number, sizeof number, "%u.%02u.%u", kind.version.major, kind.version.minor,
                  kind.version.build);
    l.currentVersion = {{"Version", std::string("Windows ") + kind.name},
                        {"VersionNumber", number}};
  }
  if (!shell) return l;

  std::string programFiles = drive + "\\Program Files";
  l.folders.push_back(programFiles + "\\Common Files");
  l.currentVersion.emplace_back("ProgramFilesDir", programFiles);
  l.currentVersion.emplace_back("CommonFilesDir", programFiles + "\\Common Files");

  std::string profile, common, personal;
  const char* startupName = "Startup";
  if (!nt) {
    profile = win;
    personal = drive + "\\My Documents";
    startupName = "StartUp";
  } else if (kind.version.major == 4) {
    profile = win + "\\Profiles\\" + user;
    common = win + "\\Profiles\\All Users";
    personal = profile + "\\Personal";
  } else {
    profile = drive + "\\Documents and Settings\\" + user;
    common = drive + "\\Documents and Settings\\All Users";
    personal = profile + "\\My Documents";
  }
  std::string startMenu = profile + "\\Start Menu";
  l.userShellFolders = {
      {"Start Menu", startMenu},
      {"Programs", startMenu + "\\Programs"},
      {"Startup", startMenu + "\\Programs\\" + startupName},
      {"Desktop", profile + "\\Desktop"},
      {"Personal", personal},
      {"Fonts", win + "\\Fonts"},
  };
  for (const auto& [name, path] : l.userShellFolders) l.folders.push_back(path);
  if (!nt) l.folders.push_back(startMenu + "\\Programs\\Accessories");
  if (!common.empty()) {
    std::string commonMenu = common + "\\Start Menu";
    l.commonShellFolders = {
        {"Common Start Menu", commonMenu},
        {"Common Programs", commonMenu + "\\Programs"},
        {"Common Startup", commonMenu + "\\Programs\\Startup"},
        {"Common Desktop", common + "\\Desktop"},
    };
    for (const auto& [name, path] : l.commonShellFolders) l.folders.push_back(path);
    l.folders.push_back(commonMenu + "\\Programs\\Accessories");
  }
  return l;
}

void WriteValues(Registry& reg, RootKey root, const std::string& key, const Values& values) {
  reg.CreateKey(root, key);
  for (const auto& [name, data] : values) reg.WriteValue(root, key, name, RegValue::Str(data));
}

MachineSettings SettingsFor(const MachineOptions& o, const KindPreset& kind) {
  MachineSettings s;
  s.Set("kind", kind.name);
  char drive = char(o.systemDrive & ~0x20);
  if (drive < 'A' || drive > 'Z') throw MachineError("system drive must be a letter A-Z");
  std::string win =
      o.windowsDir.empty() ? std::string(1, drive) + (kind.windowsDir + 1) : o.windowsDir;
  s.Set("windows-dir", win);
  std::string sys = s.windowsDir + "\\" + kind.systemName;
  s.Set("system-dir", sys);
  s.Set("temp-dir", s.windowsDir + "\\Temp");
  s.language = o.language;
  s.Set("screen", std::to_string(o.screenWidth) + "x" + std::to_string(o.screenHeight));
  s.Set("timezone", std::to_string(o.timeZoneMinutes));
  s.Set("clock", o.clock);
  std::string systemDrive = s.windowsDir.substr(0, 2);
  s.Set("program", o.program.empty() ? systemDrive + "\\SETUP\\SETUP.EXE" : o.program);
  s.Set("current-dir", systemDrive + "\\");
  return s;
}

}  // namespace

std::unique_ptr<SimMachine> CreateMachine(const std::string& hostDir,
                                          const MachineOptions& options) {
  const KindPreset* kind = FindKind(options.kind);
  if (!kind) throw MachineError("unknown kind '" + options.kind + "'; known: " + KindNames());
  if (options.userName.empty() ||
      options.userName.find_first_of("\\/:*?\"<>|") != std::string::npos)
    throw MachineError("invalid user name '" + options.userName + "'");
  MachineSettings settings = SettingsFor(options, *kind);
  std::string drives =
      "C" + std::string(1, settings.windowsDir[0]) + AsciiUpperCase(options.extraDrives);
  for (char d : drives)
    if (d < 'A' || d > 'Z') throw MachineError("drive letters must be A-Z: '" + drives + "'");

  std::error_code ec;
  fs::path dir(hostDir);
  bool existed = fs::exists(dir, ec);
  if (existed && (!fs::is_directory(dir, ec) || !fs::is_empty(dir, ec)))
    throw MachineError(
        "'" + hostDir +
        "' exists and is not empty: a machine is only made in a new or empty directory");
  try {
    fs::create_directories(dir);
    for (char d : drives) fs::create_directories(dir / (std::string("drive_") + char(d | 0x20)));
    fs::create_directories(dir / "registry");
    SaveSettings(hostDir, settings);
    auto machine = SimMachine::Open(hostDir);

    Layout layout = MakeLayout(*kind, settings, options.userName);
    FileSystem& files = machine->files();
    for (const auto& folder : layout.folders) files.CreateDirectories(folder);
    for (const char* ini : {"win.ini", "system.ini"}) {
      auto f = files.Create(settings.windowsDir + "\\" + ini);
      std::string text = std::string("[") + (ini[0] == 'w' ? "windows" : "boot") + "]\r\n";
      f->Write(text.data(), text.size());
      f->Close();
    }

    Registry& reg = machine->registry();
    WriteValues(reg, RootKey::LocalMachine, kCurrentVersion, layout.currentVersion);
    for (const char* sub : {"RunOnce", "Run", "Uninstall", "SharedDLLs", "App Paths"})
      reg.CreateKey(RootKey::LocalMachine, std::string(kCurrentVersion) + "\\" + sub);
    reg.CreateKey(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help");
    reg.CreateKey(RootKey::CurrentUser,
                  std::string("Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"));
    if (!layout.ntCurrentVersion.empty())
      WriteValues(reg, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                  layout.ntCurrentVersion);
    if (!layout.userShellFolders.empty())
      WriteValues(reg, RootKey::CurrentUser, kShellFolders, layout.userShellFolders);
    if (!layout.commonShellFolders.empty())
      WriteValues(reg, RootKey::LocalMachine, kShellFolders, layout.commonShellFolders);
    char locale[16];
    std::snprintf(locale, sizeof locale, "%08X", unsigned(settings.language));
    WriteValues(reg, RootKey::CurrentUser, "Control Panel\\International", {{"Locale", locale}});
    return machine;
  } catch (...) {
    // Leave the directory as it was found: missing or empty.
    if (existed) {
      for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    } else {
      fs::remove_all(dir, ec);
    }
    throw;
  }
}

}  // namespace platform::sim
