// The non-virtual helpers of the file service (see FileSystem.h): existence
// tests, creating a directory with its parents, and FILETIME conversions.
#include "platform/FileSystem.h"

#include <cmath>

#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace platform {
namespace {
constexpr uint64_t kTicksPerDay = 864000000000ULL;  // 100-ns ticks
constexpr int64_t kTicksPerMinute = 600000000LL;
constexpr int64_t kDaysFrom1601To1899 = 109205;  // 1601-01-01 .. 1899-12-30
constexpr int64_t kMsPerDay = 86400000;
// Beyond 9999-12-31 nothing is a date any more; keeps the arithmetic finite.
constexpr double kLastDay = 2958466.0;

// The length of the root of a full path: "C:\" (3) or "\\server\share" (up
// to the separator after the share); 0 when there is none.
size_t RootLength(const std::string& path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  if (path.rfind("\\\\", 0) == 0) {
    size_t server = path.find('\\', 2);
    if (server == std::string::npos) return path.size();
    size_t share = path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share;
  }
  return 0;
}

FileTime Shift(FileTime t, int minutes) {
  int64_t delta = int64_t(minutes) * kTicksPerMinute;
  if (delta < 0 && t < uint64_t(-delta)) return 0;
  return t + delta;
}
}  // namespace

bool FileSystem::FileExists(std::string_view path) {
  auto info = Stat(path);
  return info && !info->IsDirectory();
}

bool FileSystem::DirectoryExists(std::string_view path) {
  auto info = Stat(path);
  return info && info->IsDirectory();
}

void FileSystem::CreateDirectories(std::string_view path) {
  std::string full = FullPathName(path);
  size_t root = RootLength(full);
  while (full.size() > root && full.back() == '\\') full.pop_back();
  // Collect the missing directories from the deepest up, then create them
  // top-down; each step is one CreateDirectory, so the work is linear.
  std::vector<std::string> missing;
  std::string dir = full;
  while (dir.size() > root && !DirectoryExists(dir)) {
    missing.push_back(dir);
    size_t slash = dir.rfind('\\');
    if (slash == std::string::npos) break;
    dir.resize(slash < root ? root : slash);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    try {
      CreateDirectory(*it);
    } catch (const OsError& e) {
      // Someone else made it meanwhile: fine, as long as it is a directory.
      if (e.Code() != kErrorAlreadyExists || !DirectoryExists(*it)) throw;
    }
  }
}

TDateTime FileTimeToDateTime(FileTime time) {
  int64_t days = int64_t(time / kTicksPerDay) - kDaysFrom1601To1899;
  int64_t ms = int64_t(time % kTicksPerDay) / 10000;
  return ComposeDateTime(double(days), double(ms) / double(kMsPerDay));
}

FileTime DateTimeToFileTime(TDateTime value) {
  if (!std::isfinite(value) || value <= -double(kDaysFrom1601To1899) - 1) return 0;
  if (value > kLastDay) value = kLastDay;
  int64_t days = int64_t(DateOf(value));
  int64_t ms = std::llround(TimeOf(value) * double(kMsPerDay));
  if (ms >= kMsPerDay) {  // rounds up to the next midnight
    ms -= kMsPerDay;
    ++days;
  }
  int64_t since1601 = days + kDaysFrom1601To1899;
  if (since1601 < 0) return 0;
  return uint64_t(since1601) * kTicksPerDay + uint64_t(ms) * 10000;
}

TDateTime FileTimeToLocalDateTime(FileTime utc) {
  return FileTimeToDateTime(Shift(utc, system().TimeZoneOffsetMinutes()));
}

FileTime LocalDateTimeToFileTime(TDateTime local) {
  return Shift(DateTimeToFileTime(local), -system().TimeZoneOffsetMinutes());
}

}  // namespace platform
