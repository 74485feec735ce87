// Windows path to host path mapping with a case-insensitive name cache (see
// HostTree.h).
#include "platform/sim/HostTree.h"

#include <dirent.h>
#include <sys/stat.h>

#include "framework/StrUtils.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;  // 1970-01-01 as FILETIME
constexpr size_t kMaxCachedDirs = 4096;

int64_t MtimeNs(const struct stat& st) {
  return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
}  // namespace

FileTime FileTimeOfHost(int64_t sec, int64_t nsec) {
  int64_t ticks = sec * 10000000 + nsec / 100 + kUnixEpochTicks;
  return ticks < 0 ? 0 : FileTime(ticks);
}

void HostTimeOf(FileTime time, int64_t& sec, int64_t& nsec) {
  int64_t ticks = int64_t(time) - kUnixEpochTicks;
  sec = ticks / 10000000;
  int64_t rem = ticks % 10000000;
  if (rem < 0) {
    rem += 10000000;
    --sec;
  }
  nsec = rem * 100;
}

HostTree::HostTree(std::string machineDir, ShortNameResolver shortNames)
    : machineDir_(std::move(machineDir)), shortNames_(std::move(shortNames)) {}

std::string HostTree::DriveDir(char drive) const {
  return machineDir_ + "/drive_" + char(drive | 0x20);
}

HostTree::Listing* HostTree::Fresh(const std::string& dir) {
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0) return nullptr;
  auto it = cache_.find(dir);
  if (it != cache_.end() && it->second.mtimeNs == MtimeNs(st)) return &it->second;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return nullptr;
  if (cache_.size() >= kMaxCachedDirs) cache_.clear();
  Listing& listing = cache_[dir];
  listing.byUpper.clear();
  listing.mtimeNs = MtimeNs(st);
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    listing.byUpper.emplace(AsciiUpperCase(name), std::move(name));
  }
  ::closedir(d);
  return &listing;
}

std::optional<std::string> HostTree::Lookup(const std::string& dir, std::string_view name) {
  struct stat st;
  std::string exact = dir + "/" + std::string(name);
  if (::lstat(exact.c_str(), &st) == 0) return std::string(name);
  Listing* listing = Fresh(dir);
  if (!listing) return std::nullopt;
  auto it = listing->byUpper.find(AsciiUpperCase(name));
  if (it == listing->byUpper.end()) return std::nullopt;
  return it->second;
}

void HostTree::Added(const std::string& dir, const std::string& name) {
  auto it = cache_.find(dir);
  if (it == cache_.end()) return;
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0) {
    cache_.erase(it);
    return;
  }
  it->second.byUpper[AsciiUpperCase(name)] = name;
  it->second.mtimeNs = MtimeNs(st);
}

void HostTree::Removed(const std::string& dir, const std::string& name) {
  auto it = cache_.find(dir);
  if (it == cache_.end()) return;
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0) {
    cache_.erase(it);
    return;
  }
  auto entry = it->second.byUpper.find(AsciiUpperCase(name));
  if (entry != it->second.byUpper.end() && entry->second == name) it->second.byUpper.erase(entry);
  it->second.mtimeNs = MtimeNs(st);
}

void HostTree::Forget(const std::string& dir) {
  std::string below = dir + "/";
  for (auto it = cache_.begin(); it != cache_.end();) {
    if (it->first == dir || it->first.rfind(below, 0) == 0)
      it = cache_.erase(it);
    else
      ++it;
  }
}

Resolved HostTree::Resolve(const WinPath& path, std::string_view call, std::string_view subject) {
  Resolved r;
  r.path.drive = path.drive;
  std::string host = DriveDir(path.drive);
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    Refuse(call, subject, kErrorPathNotFound);
  for (size_t i = 0; i < path.parts.size(); ++i) {
    const std::string& want = path.parts[i];
    bool last = i + 1 == path.parts.size();
    std::optional<std::string> actual = Lookup(host, want);
    if (!actual && shortNames_) {
      if (auto longName = shortNames_(r.path.Key(), host, AsciiUpperCase(want)))
        actual = Lookup(host, *longName);
    }
    std::string child = actual ? host + "/" + *actual : std::string();
    if (!actual || ::lstat(child.c_str(), &st) != 0) {
      if (!last) Refuse(call, subject, kErrorPathNotFound);
      r.path.parts.push_back(want);
      r.hostParent = host;
      r.hostName = want;
      r.host = host + "/" + want;
      return r;
    }
    if (S_ISLNK(st.st_mode)) Refuse(call, subject, kErrorAccessDenied);
    r.path.parts.push_back(*actual);
    if (!last) {
      if (!S_ISDIR(st.st_mode)) Refuse(call, subject, kErrorPathNotFound);
      host = std::move(child);
      continue;
    }
    r.hostParent = host;
    r.hostName = *actual;
    r.host = std::move(child);
  }
  if (path.parts.empty()) {
    r.host = host;
  }
  if (::lstat(r.host.c_str(), &st) != 0) RefuseErrno(call, subject);
  r.exists = true;
  r.isDir = S_ISDIR(st.st_mode);
  r.readOnly = !r.isDir && (st.st_mode & S_IWUSR) == 0;
  r.size = r.isDir ? 0 : uint64_t(st.st_size);
  r.lastWrite = FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  r.device = st.st_dev;
  r.inode = st.st_ino;
  return r;
}

}  // namespace platform::sim
