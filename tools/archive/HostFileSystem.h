// The archive tool's file service: Windows paths on drive letters that are
// mapped to host directories ("H:\home\me\f.dll" is /home/me/f.dll when H
// maps to /), so the kit's archive code works on the author's own files,
// unchanged and at host speed. Share modes are not enforced (the tool is
// the only program involved); everything else follows the file-service
// contract, including all-or-nothing writes and ERROR_DISK_FULL, and keeps
// the machine's host-file rules (platform/sim/HostFileRules.h): read-only
// files refuse to be written, deleted or replaced; only regular files open.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace archive_tool {

class HostFileSystem : public platform::FileSystem {
 public:
  // Maps drive `letter` (A-Z, any case) to the host directory `root`.
  void MapDrive(char letter, std::string root);
  // The Windows path of a host path under one of the mapped drives (the
  // deepest mapping wins); empty when no drive holds it.
  std::string WindowsPath(const std::string& hostPath) const;
  // Files written in the host directory `dir` cannot grow beyond `bytes`:
  // a write past it fails with ERROR_DISK_FULL, as on a full floppy.
  void LimitFileSize(const std::string& dir, uint64_t bytes);

  std::unique_ptr<platform::File> Open(std::string_view path, uint32_t access, uint32_t share,
                                       platform::Disposition disposition) override;
  std::optional<platform::FileInfo> Stat(std::string_view path) override;
  void SetAttributes(std::string_view path, uint32_t attributes) override;
  void SetLastWriteTime(std::string_view path, platform::FileTime time) override;
  void DeleteFile(std::string_view path) override;
  void MoveFile(std::string_view from, std::string_view to, uint32_t flags) override;
  void CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  void CreateDirectory(std::string_view path) override;
  void RemoveDirectory(std::string_view path) override;
  std::vector<platform::DirEntry> FindFiles(std::string_view pattern) override;
  platform::DiskSpace FreeSpace(std::string_view path) override;
  std::string FullPathName(std::string_view path) override;

  // The host path of a Windows path; raises OsError naming `call` for a
  // bad or unmapped path.
  std::string HostPath(std::string_view path, std::string_view call) const;

 private:
  std::map<char, std::string> roots_;
  std::string limitDir_;
  uint64_t limit_ = 0;
};

}  // namespace archive_tool
