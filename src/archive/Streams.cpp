// The default stream operations and the in-memory stream.
#include "archive/Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

int64_t TStream::Size() {
  const int64_t here = Seek(0, TSeekOrigin::soCurrent);
  const int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(here, TSeekOrigin::soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  constexpr size_t kChunk = 65536;
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const auto buffer = std::make_unique<uint8_t[]>(kChunk);
  int64_t done = 0;
  while (done < count) {
    const size_t n = static_cast<size_t>(std::min<int64_t>(count - done, kChunk));
    source.ReadBuffer(buffer.get(), n);
    WriteBuffer(buffer.get(), n);
    done += static_cast<int64_t>(n);
  }
  return done;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (pos_ >= data_.size()) return 0;
  const size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (pos_ > data_.max_size() - count) return 0;
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  switch (origin) {
    case TSeekOrigin::soBeginning:
      base = 0;
      break;
    case TSeekOrigin::soCurrent:
      base = static_cast<int64_t>(pos_);
      break;
    case TSeekOrigin::soEnd:
      base = static_cast<int64_t>(data_.size());
      break;
  }
  // A position before the start is refused; the position stays.
  if (offset < 0 ? base + offset < 0 : base > std::numeric_limits<int64_t>::max() - offset)
    throw EStreamError("Stream seek error");
  pos_ = static_cast<size_t>(base + offset);
  return static_cast<int64_t>(pos_);
}
