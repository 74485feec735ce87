// The file service of the simulated machine: Windows semantics (share
// modes, held files, read-only files, drive capacities, case-insensitive
// names keeping their case) over the machine's drive folders on the host.
#pragma once

#include "platform/FileSystem.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

class SimFileSystem : public FileSystem {
 public:
  explicit SimFileSystem(MachineCore& core) : core_(core) {}

  std::unique_ptr<File> Open(std::string_view path, uint32_t access, uint32_t share,
                             Disposition disposition) override;
  std::optional<FileInfo> Stat(std::string_view path) override;
  void SetAttributes(std::string_view path, uint32_t attributes) override;
  void SetLastWriteTime(std::string_view path, FileTime time) override;
  void DeleteFile(std::string_view path) override;
  void MoveFile(std::string_view from, std::string_view to, uint32_t flags) override;
  void CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  void CreateDirectory(std::string_view path) override;
  void RemoveDirectory(std::string_view path) override;
  std::vector<DirEntry> FindFiles(std::string_view pattern) override;
  DiskSpace FreeSpace(std::string_view path) override;
  std::string FullPathName(std::string_view path) override;

 private:
  // Copies the bytes, mode and time of `src` to the destination `dst` (named
  // `name` in its directory) through a temporary file renamed into place,
  // so a failure leaves an existing destination untouched.
  void CopyInto(const Resolved& src, const Resolved& dst, const std::string& name,
                std::string_view call, std::string_view subject);

  MachineCore& core_;
  uint32_t copySerial_ = 0;
};

}  // namespace platform::sim
