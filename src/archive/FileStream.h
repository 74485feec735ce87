// A TStream over an open file of the platform's file service, so the
// archive's streams read and write real (or simulated) files.
#pragma once

#include <memory>

#include "archive/Streams.h"
#include "platform/FileSystem.h"

class TFileStream : public TStream {
 public:
  explicit TFileStream(std::unique_ptr<platform::File> file) : file_(std::move(file)) {}

  // Refusals of the file service pass on as platform::OsError: a write
  // either stores all its bytes or raises (ERROR_DISK_FULL when the drive
  // has no room), so a short count never reaches the caller.
  size_t Read(void* buffer, size_t count) override { return file_->Read(buffer, count); }
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(file_->Size()); }

  platform::File& File() { return *file_; }

 private:
  std::unique_ptr<platform::File> file_;
};
