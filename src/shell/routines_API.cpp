// Platform queries over the platform services (see routines_API.h). The
// original buffers of 261 and 401 characters become length limits: a
// result that would not have fit counts as a failure, never as a cut text.
#include "shell/routines_API.h"

#include "framework/Utf8.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

const char* const kAPIVersionFailed = "无法获取 Windows 版本信息";
const char* const kAPITempFileFailed = "无法创建临时文件";
const char* const kAPISystemDirFailed = "无法获取 System 路径信息";
const char* const kAPIWindowsDirFailed = "无法获取 Windows 路径信息";

namespace {

constexpr size_t kPathBufferLimit = 260;  // a 261-character buffer less its terminator
constexpr size_t kShortPathLimit = 400;   // a 401-character buffer less its terminator

size_t Units(const std::string& s) {
  return Utf8ToUtf16(s).size();
}

// A directory query: the platform's answer, or EAPIRoutines with `message`
// when it is refused, empty or longer than the buffer allows.
template <class Query>
std::string DirectoryQuery(Query query, const char* message) {
  std::string dir;
  try {
    dir = query();
  } catch (const platform::OsError&) {
    throw EAPIRoutines(message);
  }
  if (dir.empty() || Units(dir) > kPathBufferLimit) throw EAPIRoutines(message);
  return dir;
}

}  // namespace

std::string ShortPathName(const std::string& path) {
  if (path.empty() || Units(path) > kShortPathLimit) return path;
  try {
    std::string shortPath = platform::system().ShortPathName(path);
    if (shortPath.empty() || Units(shortPath) > kShortPathLimit) return path;
    return shortPath;
  } catch (const platform::OsError&) {
    return path;
  }
}

uint8_t WindowsPlatform() {
  platform::WindowsVersion v;
  try {
    v = platform::system().Version();
  } catch (const platform::OsError&) {
    throw EAPIRoutines(kAPIVersionFailed);
  }
  switch (v.platformId) {
    case platform::kPlatformWin32s:
      return kPlatformKindWin32s;
    case platform::kPlatformWindows:
      return kPlatformKindWin95;
    case platform::kPlatformNT: {
      // NT 3.5x reports 3.50 or 3.51: major 3 with a minor written "5...".
      // A major that merely ends in 3 (13.5) is no NT 3.5x.
      std::string minor = std::to_string(v.minor);
      return v.major == 3 && minor[0] == '5' ? kPlatformKindNT35 : kPlatformKindNT;
    }
    default:
      return kPlatformKindOther;
  }
}

std::string TempFileName(bool keep) {
  std::string dir =
      DirectoryQuery([] { return platform::system().TempDirectory(); }, kAPITempFileFailed);
  std::string name;
  try {
    name = platform::system().TempFileName(dir, "bat");
  } catch (const platform::OsError&) {
    throw EAPIRoutines(kAPITempFileFailed);
  }
  if (name.empty()) throw EAPIRoutines(kAPITempFileFailed);
  if (!keep) {
    try {
      platform::files().DeleteFile(name);
    } catch (const platform::OsError&) {
      // The name is still unique; a caller creating that file overwrites
      // the empty one.
    }
  }
  return name;
}

std::string SystemDirectory() {
  return DirectoryQuery([] { return platform::system().SystemDirectory(); }, kAPISystemDirFailed);
}

std::string WindowsDirectory() {
  return DirectoryQuery([] { return platform::system().WindowsDirectory(); }, kAPIWindowsDirFailed);
}
