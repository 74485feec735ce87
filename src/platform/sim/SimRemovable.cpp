// Disks of the simulated removable drives (see SimRemovable.h).
#include "platform/sim/SimRemovable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/sim/MachineCore.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {
namespace fs = std::filesystem;

constexpr int kMaxDisk = 999;

void Check(const std::error_code& ec, const std::string& what) {
  if (ec) throw MachineError("cannot change disks: " + what + ": " + ec.message());
}

// Moves every entry of `from` into `to`.
void MoveAll(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(it->path());
  Check(ec, from.string());
  for (const fs::path& e : entries) {
    fs::rename(e, to / e.filename(), ec);
    Check(ec, e.string());
  }
}
}  // namespace

bool RemovableDisks::IsRemovable(char drive) const {
  return core_.Settings().removable.find(char(drive & ~0x20)) != std::string::npos;
}

std::string RemovableDisks::ShelfDir(char drive) const {
  return core_.HostDir() + "/disks/" + char(drive | 0x20);
}

int RemovableDisks::InDrive(char drive) const {
  std::ifstream in(ShelfDir(drive) + "/in-drive");
  int n = 0;
  if (!(in >> n) || n < 1 || n > kMaxDisk) return 1;
  return n;
}

std::vector<int> RemovableDisks::Shelved(char drive) const {
  std::vector<int> disks;
  std::error_code ec;
  for (fs::directory_iterator it(ShelfDir(drive), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name.size() > 3 || !it->is_directory(ec) ||
        name.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const int n = std::atoi(name.c_str());
    if (n >= 1 && n <= kMaxDisk) disks.push_back(n);
  }
  std::sort(disks.begin(), disks.end());
  return disks;
}

void RemovableDisks::Insert(char drive, int n) {
  drive = char(drive & ~0x20);
  const std::string letter(1, drive);
  if (!IsRemovable(drive)) throw MachineError("drive " + letter + ": is not removable");
  if (n < 1 || n > kMaxDisk)
    throw MachineError("disk " + std::to_string(n) + ": out of range 1.." +
                       std::to_string(kMaxDisk));
  if (core_.HasOpenFileOn(drive))
    throw MachineError("drive " + letter + ": a file on the disk in the drive is open");
  wantBlank_.erase(drive);
  lastMissing_.clear();
  const int current = InDrive(drive);
  if (n == current) return;

  const fs::path driveDir = core_.Tree().DriveDir(drive), shelf = ShelfDir(drive);
  const fs::path out = shelf / std::to_string(current), in = shelf / std::to_string(n);
  std::error_code ec;
  fs::create_directories(out, ec);
  Check(ec, out.string());
  MoveAll(driveDir, out);
  if (fs::is_directory(in, ec)) {
    MoveAll(in, driveDir);
    fs::remove(in, ec);
    Check(ec, in.string());
  }
  const fs::path record = shelf / "in-drive", temp = shelf / "in-drive.tmp";
  {
    std::ofstream file(temp, std::ios::trunc);
    file << n << "\n";
    if (!file.flush()) throw MachineError("cannot change disks: cannot write " + temp.string());
  }
  fs::rename(temp, record, ec);
  Check(ec, record.string());
  core_.Tree().Forget(driveDir.string());
  core_.ForgetUsage(drive);
}

void RemovableDisks::DiskFull(char drive) {
  if (IsRemovable(drive)) wantBlank_.insert(char(drive & ~0x20));
}

bool RemovableDisks::BeforeCreate(char drive) {
  drive = char(drive & ~0x20);
  if (!wantBlank_.count(drive) || core_.HasOpenFileOn(drive)) return false;
  const std::vector<int> shelved = Shelved(drive);
  const int last = std::max(InDrive(drive), shelved.empty() ? 0 : shelved.back());
  if (last >= kMaxDisk) return false;
  Insert(drive, last + 1);
  return true;
}

bool RemovableDisks::Missing(const Resolved& r) {
  if (!IsRemovable(r.path.drive) || r.path.IsRoot()) return false;
  const std::string key = r.path.Key();
  if (key != lastMissing_) {
    lastMissing_ = key;
    return false;
  }
  lastMissing_.clear();
  const int disk = DiskHolding(r);
  if (disk == 0 || core_.HasOpenFileOn(r.path.drive)) return false;
  Insert(r.path.drive, disk);
  return true;
}

int RemovableDisks::DiskHolding(const Resolved& r) {
  for (int n : Shelved(r.path.drive)) {
    std::string dir = ShelfDir(r.path.drive) + "/" + std::to_string(n);
    bool found = true;
    for (const std::string& part : r.path.parts) {
      std::optional<std::string> name = core_.Tree().Lookup(dir, part);
      if (!name) {
        found = false;
        break;
      }
      dir += "/" + *name;
    }
    if (found) return n;
  }
  return 0;
}

}  // namespace platform::sim
