// Share checks and drive accounting of the simulated machine (see
// MachineCore.h). Drive usage is counted once per process (a walk over the
// drive's folder) the first time a capacity-limited drive is written, then
// kept current by this process's own writes, truncations and deletions.
#include "platform/sim/MachineCore.h"

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "framework/StrUtils.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {
bool Within(const std::string& key, const std::string& dirKey) {
  if (key.size() <= dirKey.size() || key.compare(0, dirKey.size(), dirKey) != 0) return false;
  return dirKey.back() == '\\' || key[dirKey.size()] == '\\';
}
}  // namespace

MachineCore::MachineCore(std::string hostDir, MachineSettings settings)
    : hostDir_(std::move(hostDir)),
      tree_(hostDir_,
            [this](const std::string& dirKey, const std::string& hostDir,
                   const std::string& upper) { return LongNameOf(dirKey, hostDir, upper); }),
      shortNames_(hostDir_ + "/shortnames.txt") {
  SetSettings(std::move(settings));
  currentDir_ = ParseWindowsPath(settings_.currentDir, WinPath{}, "SetCurrentDirectoryW");
}

std::optional<std::string> MachineCore::LongNameOf(const std::string& dirKey,
                                                   const std::string& hostDir,
                                                   const std::string& shortUpper) {
  if (auto known = shortNames_.LongFor(dirKey, shortUpper)) return known;
  if (shortUpper.find('~') == std::string::npos) return std::nullopt;
  // Windows gives a long name its short name when the name is made; the
  // machine does it when first asked. A short name used before any was
  // asked for therefore assigns them to the whole directory first, in name
  // order, so the answer is the same whichever name is asked about first.
  std::vector<std::string> names;
  if (DIR* d = ::opendir(hostDir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != ".." && !IsShortName(name) &&
          name.find_first_of("?*:|<>\"\\") == std::string::npos)
        names.push_back(std::move(name));
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  auto taken = [&](const std::string& name) { return tree_.Lookup(hostDir, name).has_value(); };
  for (const auto& name : names) shortNames_.ShortFor(dirKey, name, taken, "CreateFileW");
  return shortNames_.LongFor(dirKey, shortUpper);
}

void MachineCore::SetSettings(MachineSettings settings) {
  settings_ = std::move(settings);
  heldKeys_.clear();
  for (const auto& h : settings_.held) heldKeys_.insert(AsciiUpperCase(h));
  usage_.clear();  // capacities may have changed: count afresh when needed
}

void MachineCore::CheckShare(const Resolved& file, uint32_t access, uint32_t share,
                             std::string_view call, std::string_view subject) const {
  auto conflicts = [&](uint32_t theirAccess, uint32_t theirShare) {
    return ((access & kAccessRead) && !(theirShare & kShareRead)) ||
           ((access & kAccessWrite) && !(theirShare & kShareWrite)) ||
           ((theirAccess & kAccessRead) && !(share & kShareRead)) ||
           ((theirAccess & kAccessWrite) && !(share & kShareWrite));
  };
  if (IsHeld(file.path.Key()) && conflicts(kAccessRead, kShareRead))
    Refuse(call, subject, kErrorSharingViolation);
  for (const auto& h : handles_)
    if (h.device == file.device && h.inode == file.inode && conflicts(h.access, h.share))
      Refuse(call, subject, kErrorSharingViolation);
}

void MachineCore::CheckDeletable(const Resolved& file, std::string_view call,
                                 std::string_view subject) const {
  if (IsHeld(file.path.Key())) Refuse(call, subject, kErrorSharingViolation);
  for (const auto& h : handles_)
    if (h.device == file.device && h.inode == file.inode && !(h.share & kShareDelete))
      Refuse(call, subject, kErrorSharingViolation);
}

void MachineCore::CheckTreeFree(const Resolved& dir, std::string_view call,
                                std::string_view subject) const {
  std::string dirKey = dir.path.Key();
  std::string current = currentDir_.Key();
  if (current == dirKey || Within(current, dirKey)) Refuse(call, subject, kErrorSharingViolation);
  for (const auto& key : heldKeys_)
    if (Within(key, dirKey)) Refuse(call, subject, kErrorAccessDenied);
  for (const auto& h : handles_)
    if (Within(h.key, dirKey)) Refuse(call, subject, kErrorAccessDenied);
}

OpenHandle* MachineCore::Register(const OpenHandle& handle) {
  handles_.push_back(handle);
  return &handles_.back();
}

void MachineCore::Unregister(OpenHandle* handle) {
  for (auto it = handles_.begin(); it != handles_.end(); ++it)
    if (&*it == handle) {
      handles_.erase(it);
      return;
    }
}

bool MachineCore::HasOpenFileOn(char drive) const {
  for (const auto& h : handles_)
    if (!h.key.empty() && h.key[0] == drive) return true;
  return false;
}

std::optional<uint64_t> MachineCore::Capacity(char drive) const {
  auto it = settings_.capacity.find(drive);
  if (it == settings_.capacity.end()) return std::nullopt;
  return it->second;
}

void MachineCore::Count(char drive, Usage& usage) {
  namespace fs = std::filesystem;
  uint64_t used = 0;
  std::error_code ec;
  fs::recursive_directory_iterator it(tree_.DriveDir(drive), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code sizeEc;
    if (it->is_regular_file(sizeEc) && !it->is_symlink(sizeEc)) {
      uintmax_t size = it->file_size(sizeEc);
      if (!sizeEc) used += size;
    }
  }
  usage.used = used;
  usage.counted = true;
}

uint64_t MachineCore::UsedBytes(char drive) {
  Usage& usage = usage_[drive];
  if (!usage.counted) Count(drive, usage);
  return usage.used;
}

void MachineCore::Reserve(char drive, uint64_t bytes, std::string_view call,
                          std::string_view subject) {
  std::optional<uint64_t> capacity = Capacity(drive);
  if (!capacity || bytes == 0) return;
  uint64_t used = UsedBytes(drive);
  if (used > *capacity || bytes > *capacity - used) {
    removable_.DiskFull(drive);
    Refuse(call, subject, kErrorDiskFull);
  }
  usage_[drive].used = used + bytes;
}

void MachineCore::Release(char drive, uint64_t bytes) {
  auto it = usage_.find(drive);
  if (it == usage_.end() || !it->second.counted) return;
  it->second.used -= std::min(it->second.used, bytes);
}

FileTime MachineCore::NowUtc() const {
  constexpr int64_t kTicksPerSecond = 10000000;
  if (settings_.clockMode == ClockMode::Fixed) {
    int64_t t = int64_t(DateTimeToFileTime(settings_.clockFixed)) -
                int64_t(settings_.timeZoneMinutes) * 60 * kTicksPerSecond;
    return t < 0 ? 0 : FileTime(t);
  }
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch())
                .count();
  FileTime now = FileTimeOfHost(ns / 1000000000, ns % 1000000000);
  if (settings_.clockMode == ClockMode::Offset) {
    int64_t t = int64_t(now) + settings_.clockOffsetSeconds * kTicksPerSecond;
    now = t < 0 ? 0 : FileTime(t);
  }
  return now;
}

}  // namespace platform::sim
