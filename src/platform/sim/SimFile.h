// An open file of the simulated machine: a host descriptor with the Windows
// handle's access, share bits and position. Writes on a capacity-limited
// drive are counted before any byte is written. Times are the host's
// modification time (host file systems may clamp times before 1901).
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

class SimFile : public File {
 public:
  // Takes ownership of `fd`; registers the handle for share checks.
  // `changed`: opening created or truncated the file, which stamps it.
  SimFile(MachineCore& core, int fd, std::string path, char drive, const OpenHandle& handle,
          bool changed);
  ~SimFile() override;

  const std::string& Path() const override { return path_; }
  size_t Read(void* buffer, size_t count) override;
  void Write(const void* data, size_t count) override;
  uint64_t Seek(int64_t offset, SeekOrigin origin) override;
  uint64_t Position() override;
  uint64_t Size() override;
  void SetEndOfFile() override;
  FileTime LastWriteTime() override;
  void SetLastWriteTime(FileTime time) override;
  void Close() override;

 private:
  void CheckOpen(const char* call) const;
  // Puts the explicit time back after the host moved it on a write.
  void KeepExplicitTime();
  void CloseNoThrow() noexcept;

  MachineCore& core_;
  int fd_;
  std::string path_;
  char drive_;
  uint32_t access_;
  OpenHandle* handle_;
  uint64_t position_ = 0;
  bool written_ = false;       // the data changed through this handle
  bool timeExplicit_ = false;  // SetLastWriteTime was called: keep that time
  FileTime explicitTime_ = 0;
};

}  // namespace platform::sim
