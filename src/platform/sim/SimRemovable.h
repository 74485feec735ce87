// Removable drives of the simulated machine (setting "removable", e.g. "A";
// "capacity.A" is then the size of each disk). The drive's folder
// (drive_a/) holds the disk in the drive; the other disks lie on a shelf,
// "disks/a/<n>/", and "disks/a/in-drive" holds the number of the disk in
// the drive (1 when missing). A program cannot change disks itself, so the
// user at the drive is played by the file service, from what the program
// does around its prompt for a disk:
// - after a write found the disk full, the next file created on the drive
//   goes onto a blank disk (the prompt for the next disk was answered);
// - the same missing file looked up again (once before the prompt, once
//   after) brings in the shelved disk that holds it, if one does.
// `pellmore-machine disk` changes disks by hand.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/sim/HostTree.h"

namespace platform::sim {

class MachineCore;

class RemovableDisks {
 public:
  explicit RemovableDisks(MachineCore& core) : core_(core) {}

  bool IsRemovable(char drive) const;
  int InDrive(char drive) const;
  std::vector<int> Shelved(char drive) const;
  // Shelves the disk in the drive and inserts disk `n` (a blank one when
  // no disk of that number is shelved). Raises MachineError for a drive
  // that is not removable, a bad number, or a file of this process still
  // open on the drive.
  void Insert(char drive, int n);

  // A write to the drive found the disk full.
  void DiskFull(char drive);
  // A file is about to be created on the drive: true when a blank disk was
  // inserted first (resolve the path again).
  bool BeforeCreate(char drive);
  // `r` on a removable drive was not found: true when the shelved disk
  // holding it was inserted (resolve again).
  bool Missing(const Resolved& r);

 private:
  std::string ShelfDir(char drive) const;
  // The disk holding the file `r` names, by its path below the drive; 0 if none.
  int DiskHolding(const Resolved& r);

  MachineCore& core_;
  std::set<char> wantBlank_;
  std::string lastMissing_;  // WinPath key of the last missing file looked up
};

}  // namespace platform::sim
