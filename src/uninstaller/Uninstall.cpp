// Carrying out an uninstall plan (see Uninstall.h). The order matters:
// the engine's use count decides before any file is looked at whether the
// engine's files go; ActiveX files are unregistered before they are
// deleted; folders are removed after their files; the uninstall key goes
// last, so an uninstall that stops half way can be run again.
#include "uninstaller/Uninstall.h"

#include <algorithm>
#include <memory>
#include <set>

#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/Libraries.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Restart.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Registry.h"

namespace uninstaller {
namespace {

constexpr auto kHKLM = platform::RootKey::LocalMachine;
constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kCurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string FolderId(std::string_view path) {
  return AsciiUpperCase(ExcludeTrailingBackslash(path));
}

bool IsDriveRoot(const std::string& dir) {
  const std::string d = ExcludeTrailingBackslash(dir);
  return d.size() <= 2 || d.find('\\') == std::string::npos;
}

// The entries of `dir` other than "." and ".."; nullopt when it cannot be
// listed.
std::optional<std::vector<std::string>> Entries(const std::string& dir) {
  try {
    std::vector<std::string> names;
    for (const platform::DirEntry& e : platform::files().FindFiles(dir + "\\*.*"))
      if (e.name != "." && e.name != "..") names.push_back(e.name);
    return names;
  } catch (const platform::OsError&) {
    return std::nullopt;
  }
}

class Run {
 public:
  Run(const UninstallPlan& plan, UninstallResult& result) : plan_(plan), r_(result) {
    for (const std::string& f : ProtectedFolders()) protected_.insert(f);
  }

  void Go() {
    r_.damaged = plan_.problems;
    const bool engineStays = DecideEngine();
    for (const RecordedFile& f : plan_.files) File(f, engineStays);
    if (!engineStays && plan_.engineGroups > 0) RemoveEngine();
    RemoveEmptyFolders();
    DeleteRegKeyTree(kRootLocalMachine, plan_.key);
    if (platform::registry().KeyExists(kHKLM, plan_.key))
      r_.notRemoved.push_back("HKLM" + plan_.key + ": the uninstall entry could not be deleted");
    RemoveOwnProgram();
  }

 private:
  // Lowers the engine's use count by the engine groups this product
  // installed; true while other programs still use the engine (or when the
  // count cannot be read, so nothing of the engine is touched).
  bool DecideEngine() {
    if (plan_.engineGroups <= 0) return false;
    const std::string raw = ReadRegString(kRootLocalMachine, kEngineKey, "USECOUNT", "");
    int32_t count = 0;
    if (!TryStrToInt(raw, count) || count < 0) {
      r_.damaged.push_back("HKLM" + std::string(kEngineKey) + ": \"USECOUNT\" is not a count (\"" +
                           raw + "\"); the engine was left as it is");
      return true;
    }
    const int32_t left = std::max(0, count - plan_.engineGroups);
    try {
      WriteRegString(kRootLocalMachine, kEngineKey, "USECOUNT", std::to_string(left));
    } catch (const std::exception& e) {
      r_.notRemoved.push_back("HKLM" + std::string(kEngineKey) + ": " + e.what());
      return true;
    }
    return left > 0;
  }

  void RemoveEngine() {
    const std::string config = ReadRegString(kRootLocalMachine, kEngineKey, "CONFIGPATH", "");
    std::string why;
    if (!config.empty() && !IsUsableAbsolutePath(config, why))
      r_.damaged.push_back("HKLM" + std::string(kEngineKey) + ": \"CONFIGPATH\" (" + config + ") " +
                           why + "; the file it names was left alone");
    else if (!config.empty() && platform::files().FileExists(config))
      Delete(config);
    DeleteRegKeyTree(kRootLocalMachine, kEngineKey);
    r_.engineRemoved = !platform::registry().KeyExists(kHKLM, kEngineKey);
    if (!r_.engineRemoved)
      r_.notRemoved.push_back("HKLM" + std::string(kEngineKey) + ": could not be deleted");
    // The maker's key goes with its last product.
    const std::string maker = ExtractFileDir(kEngineKey);
    auto& reg = platform::registry();
    if (reg.KeyExists(kHKLM, maker) && reg.SubKeyNames(kHKLM, maker).empty() &&
        reg.ValueNames(kHKLM, maker).empty()) {
      try {
        reg.DeleteKey(kHKLM, maker);
      } catch (const platform::OsError&) {
        // An empty key left behind harms nobody.
      }
    }
  }

  void File(const RecordedFile& f, bool engineStays) {
    const auto info = platform::files().Stat(f.path);
    const int32_t count = DecrementSharedCount(f, info.has_value());
    if (!info) {
      r_.notes.push_back(f.path + ": was already gone");
      if (count <= 0) RemoveHelpEntry(f.path);
      return;
    }
    if (f.engine && engineStays) return Keep(f.path, "the engine stays: other programs use it");
    if (count > 0)
      return Keep(f.path,
                  "still used by other programs (shared count " + std::to_string(count) + ")");
    if (!f.manifestProblem.empty()) return Keep(f.path, f.manifestProblem);
    if (f.manifest) {
      if (f.manifest->existedBefore) return Keep(f.path, "it was there before the installation");
      const auto now = FingerprintFile(f.path);
      if (!now || now->size != f.manifest->size || now->crc32 != f.manifest->crc32)
        return Keep(f.path, "it changed since the installation");
    }
    if (f.kind != FileKind::Plain) {
      std::string why;
      if (!Unregister(f, why)) {
        r_.notRemoved.push_back(f.path + ": " + why);
        return;
      }
    }
    if (Delete(f.path)) RemoveHelpEntry(f.path);
  }

  void Keep(const std::string& path, const std::string& why) {
    r_.kept.push_back(path + ": " + why);
  }

  // Deletes a file the plan names: now, or at the next restart when it is
  // in use. True when it is gone or will be.
  bool Delete(const std::string& path) {
    auto& files = platform::files();
    try {
      try {
        files.DeleteFile(path);
      } catch (const platform::OsError& e) {
        if (e.Code() != platform::kErrorAccessDenied) throw;
        // A read-only file: the installation's own, so its attribute goes too.
        files.SetAttributes(path, platform::kAttrNormal);
        files.DeleteFile(path);
      }
      r_.removed.push_back(path);
      folders_.insert(ExtractFileDir(path));
      return true;
    } catch (const platform::OsError& e) {
      if (e.Code() != platform::kErrorSharingViolation) {
        r_.notRemoved.push_back(path + ": " + e.what());
        return false;
      }
    }
    try {
      platform::restart().MoveAtRestart(path, "");
      r_.atRestart.push_back(path);
      return true;
    } catch (const platform::OsError& e) {
      r_.notRemoved.push_back(path + ": in use, and its removal at the next restart was refused (" +
                              e.what() + ")");
      return false;
    }
  }

  // Takes this product's uses off the file's SharedDLLs count (the value
  // under the short name when there is one, else under the full path);
  // the value goes at zero. Returns the count left, or 0 when the file
  // has none.
  int32_t DecrementSharedCount(const RecordedFile& f, bool exists) {
    auto& reg = platform::registry();
    std::string name;
    std::optional<platform::RegValue> value;
    if (exists) {
      try {
        name = platform::system().ShortPathName(f.path);
        value = reg.ReadValue(kHKLM, kSharedDllsKey, name);
      } catch (const platform::OsError&) {
        value.reset();
      }
    }
    if (!value || value->type != platform::ValueType::DWord) {
      name = f.path;
      value = reg.ReadValue(kHKLM, kSharedDllsKey, name);
    }
    if (!value || value->type != platform::ValueType::DWord) return 0;
    const int64_t left = std::max<int64_t>(0, int64_t(value->dword) - f.records);
    try {
      if (left > 0)
        reg.WriteValue(kHKLM, kSharedDllsKey, name, platform::RegValue::DWordValue(uint32_t(left)));
      else
        reg.DeleteValue(kHKLM, kSharedDllsKey, name);
    } catch (const platform::OsError& e) {
      r_.notRemoved.push_back(f.path + ": its shared count could not be lowered (" + e.what() +
                              ")");
      return int32_t(std::max<int64_t>(left, 1));  // unchanged count: the file stays
    }
    return int32_t(left);
  }

  // The help table's entry for the file, when it names this file's folder.
  void RemoveHelpEntry(const std::string& path) {
    const std::string name = AsciiUpperCase(ExtractFileName(path));
    const std::string dir = ExtractFileDir(path);
    const std::string data = ReadRegString(kRootLocalMachine, kHelpKey, name, "");
    if (data.empty() || FolderId(data) != FolderId(dir)) return;
    try {
      platform::registry().DeleteValue(kHKLM, kHelpKey, name);
    } catch (const platform::OsError& e) {
      r_.notRemoved.push_back("HKLM" + std::string(kHelpKey) + " \"" + name + "\": " + e.what());
    }
  }

  bool Unregister(const RecordedFile& f, std::string& why) {
    if (f.kind == FileKind::ActiveXProgram) {
      const std::string program =
          f.path.find(' ') == std::string::npos ? f.path : "\"" + f.path + "\"";
      try {
        const uint32_t code =
            platform::processes().Run(program + " /UNREGSERVER", platform::ShowMode::Hidden);
        if (code == 0) return true;
        why =
            "\"/UNREGSERVER\" ended with exit code " + std::to_string(code) + "; the file was kept";
      } catch (const platform::OsError& e) {
        why = std::string("could not be started with /UNREGSERVER (") + e.what() +
              "); the file was kept";
      }
      return false;
    }
    auto& libs = platform::libraries();
    try {
      libs.OleInitialize();
      struct Ole {
        ~Ole() {
          try {
            platform::libraries().OleUninitialize();
          } catch (...) {
          }
        }
      } ole;
      std::unique_ptr<platform::Library> lib = libs.Load(f.path);
      const std::optional<int32_t> result = lib->Call("DllUnregisterServer");
      if (!result) {
        why = "it has no DllUnregisterServer; the file was kept";
        return false;
      }
      if (*result < 0) {
        why = "DllUnregisterServer returned " + std::to_string(*result) + "; the file was kept";
        return false;
      }
      return true;
    } catch (const platform::OsError& e) {
      why =
          std::string("could not be loaded to unregister it (") + e.what() + "); the file was kept";
      return false;
    }
  }

  bool IsProtected(const std::string& dir) const {
    return IsDriveRoot(dir) || protected_.count(FolderId(dir)) > 0;
  }

  // Each folder a removed file was in, then its parents, while empty and
  // not one of the system's own folders. Deepest first, so a parent is
  // looked at after its children went.
  void RemoveEmptyFolders() {
    std::vector<std::string> dirs(folders_.begin(), folders_.end());
    std::sort(dirs.begin(), dirs.end(), [](const std::string& a, const std::string& b) {
      return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
    });
    for (std::string dir : dirs) {
      while (!IsProtected(dir)) {
        const auto entries = Entries(dir);
        if (!entries || !entries->empty()) break;
        try {
          platform::files().RemoveDirectory(dir);
        } catch (const platform::OsError&) {
          break;
        }
        r_.removed.push_back(dir);
        dir = ExtractFileDir(dir);
      }
    }
  }

  // The uninstall program cannot delete its own file while it runs: the
  // file, and the folders only it keeps from being empty, go at the next
  // restart. Another copy (the program was started from elsewhere) is
  // deleted like any recorded file.
  void RemoveOwnProgram() {
    const std::string& self = plan_.uninstallProgram;
    if (self.empty() || !platform::files().FileExists(self)) return;
    if (!SameText(self, platform::system().ModuleFileName())) {
      folders_.clear();
      if (Delete(self)) RemoveEmptyFolders();
      return;
    }
    try {
      platform::restart().MoveAtRestart(self, "");
    } catch (const platform::OsError& e) {
      r_.notRemoved.push_back(self + ": its removal at the next restart was refused (" + e.what() +
                              ")");
      return;
    }
    r_.ownAtRestart.push_back(self);
    std::string only = ExtractFileName(self);
    for (std::string dir = ExtractFileDir(self); !IsProtected(dir); dir = ExtractFileDir(dir)) {
      const auto entries = Entries(dir);
      if (!entries || entries->size() != 1 || !SameText(entries->front(), only)) break;
      try {
        platform::restart().MoveAtRestart(dir, "");
      } catch (const platform::OsError&) {
        break;
      }
      r_.ownAtRestart.push_back(dir);
      only = ExtractFileName(dir);
    }
  }

  const UninstallPlan& plan_;
  UninstallResult& r_;
  std::set<std::string> protected_;
  std::set<std::string> folders_;
};

void AddFolder(std::vector<std::string>& out, const std::string& path) {
  if (!Trim(path).empty()) out.push_back(FolderId(path));
}

}  // namespace

std::vector<std::string> ProtectedFolders() {
  std::vector<std::string> out;
  auto& sys = platform::system();
  try {
    AddFolder(out, sys.WindowsDirectory());
    AddFolder(out, sys.SystemDirectory());
    AddFolder(out, sys.TempDirectory());
  } catch (const platform::OsError&) {
    // The registry's folders below still count.
  }
  AddFolder(out, ReadRegString(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir", ""));
  AddFolder(out, ReadRegString(kRootLocalMachine, kCurrentVersion, "CommonFilesDir", ""));
  auto& reg = platform::registry();
  for (const auto root : {platform::RootKey::CurrentUser, platform::RootKey::LocalMachine}) {
    for (const char* sub : {"\\Explorer\\Shell Folders", "\\Explorer\\User Shell Folders"}) {
      const std::string key = std::string(kCurrentVersion) + sub;
      for (const std::string& name : reg.ValueNames(root, key)) {
        const auto v = reg.ReadValue(root, key, name);
        if (v && (v->type == platform::ValueType::String ||
                  v->type == platform::ValueType::ExpandString))
          AddFolder(out, v->text);
      }
    }
  }
  return out;
}

UninstallResult Uninstall(const UninstallPlan& plan) {
  UninstallResult result;
  Run(plan, result).Go();
  return result;
}

}  // namespace uninstaller
