// A minimal byte-stream abstraction for the archive: sequential Read/Write
// with a movable position, plus an in-memory stream. Read and Write report
// how much they moved; ReadBuffer/WriteBuffer raise when a transfer falls
// short, for callers that cannot go on with part of a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/exceptions_Pellmore.h"

// A stream could not move the bytes a caller needed (short read or write).
PELLMORE_DECLARE_EXCEPTION(EStreamError, ECustomPellmoreAbnormal);
PELLMORE_DECLARE_EXCEPTION(EReadError, EStreamError);
PELLMORE_DECLARE_EXCEPTION(EWriteError, EStreamError);

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Moves up to `count` bytes; returns how many moved. A short read means
  // the end of the data; a short write means the medium took no more.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  // Length of the data; the default finds it by seeking and restores the
  // position.
  virtual int64_t Size();

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }

  // Whole transfers: raise EReadError "Stream read error" or EWriteError
  // "Stream write error" when fewer bytes moved than asked.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);

  // Copies `count` bytes from `source` (all of it from position 0 when
  // count is 0) through a fixed buffer; returns the bytes copied. Raises
  // EReadError/EWriteError on a short transfer.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A growable stream in memory. Writing past the end extends it; a position
// beyond the end (after Seek) is filled with zeros on the next write.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }
  void Clear() {
    data_.clear();
    pos_ = 0;
  }

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};
