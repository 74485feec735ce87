// Compression stream over zlib's deflate. Invariant between calls: the
// output buffer is empty (zrec_.avail_out == kBufferSize) or partly filled
// with bytes not yet written, and strmPos_ is where the destination ends.
#include "archive/ZlibStreams.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;

std::string ZlibReason(int result, const z_stream& z) {
  std::string reason = "zlib result " + std::to_string(result);
  if (z.msg != nullptr) reason += std::string(": ") + z.msg;
  return reason;
}

[[noreturn]] void InvalidOperation() {
  throw ECompressionError("Invalid stream operation");
}
}  // namespace

int ZlibLevel(TCompressionLevel level) {
  switch (level) {
    case colNone:
      return Z_NO_COMPRESSION;
    case colFastest:
      return Z_BEST_SPEED;
    case colDefault:
      return Z_DEFAULT_COMPRESSION;
    case colMax:
      return Z_BEST_COMPRESSION;
  }
  return Z_DEFAULT_COMPRESSION;
}

TCustomZlibStream::TCustomZlibStream(TStream& destination)
    : strm_(destination),
      strmPos_(destination.Position()),
      buffer_(std::make_unique<uint8_t[]>(kBufferSize)) {}

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& destination)
    : TCustomZlibStream(destination) {
  zrec_.next_out = buffer_.get();
  zrec_.avail_out = kBufferSize;
  Check(deflateInit2(&zrec_, ZlibLevel(level), Z_DEFLATED, kWindowBits, kMemLevel,
                     Z_DEFAULT_STRATEGY));
  initialised_ = true;
}

TCompressionStream::~TCompressionStream() {
  if (initialised_) deflateEnd(&zrec_);
}

void TCompressionStream::Check(int result) {
  if (result < 0) throw ECompressionError("error", ZlibReason(result, zrec_));
}

void TCompressionStream::FlushBuffer(size_t used) {
  strm_.WriteBuffer(buffer_.get(), used);
  totalOut_ += used;
  zrec_.next_out = buffer_.get();
  zrec_.avail_out = kBufferSize;
  strmPos_ = strm_.Position();
}

size_t TCompressionStream::Write(const void* buffer, size_t count) {
  if (finished_) InvalidOperation();
  if (count == 0) return 0;
  try {
    if (strm_.Position() != strmPos_) strm_.SetPosition(strmPos_);
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t left = count;
    while (left > 0) {
      // zlib counts input in 32 bits; feed larger writes in slices.
      const uInt slice =
          static_cast<uInt>(std::min<size_t>(left, std::numeric_limits<uInt>::max()));
      zrec_.next_in = const_cast<Bytef*>(in);
      zrec_.avail_in = slice;
      while (zrec_.avail_in > 0) {
        Check(deflate(&zrec_, Z_NO_FLUSH));
        if (zrec_.avail_out == 0) {
          FlushBuffer(kBufferSize);
          Progress();
        }
      }
      in += slice;
      left -= slice;
    }
  } catch (...) {
    // Part of the input may be in deflate's state and part not: the
    // stream cannot be completed any more.
    finished_ = true;
    throw;
  }
  totalIn_ += count;
  zrec_.next_in = nullptr;
  return count;
}

void TCompressionStream::Finish() {
  if (finished_) return;
  finished_ = true;
  zrec_.next_in = nullptr;
  zrec_.avail_in = 0;
  if (strm_.Position() != strmPos_) strm_.SetPosition(strmPos_);
  for (;;) {
    const int result = deflate(&zrec_, Z_FINISH);
    Check(result);
    if (result == Z_STREAM_END) break;
    // With Z_FINISH, deflate stops short of the end only when the buffer
    // is full; anything else would leave a stream without its trailer.
    if (zrec_.avail_out != 0) throw ECompressionError("error", ZlibReason(result, zrec_));
    FlushBuffer(kBufferSize);
  }
  const size_t used = kBufferSize - zrec_.avail_out;
  if (used > 0) FlushBuffer(used);
}

size_t TCompressionStream::Read(void*, size_t) {
  InvalidOperation();
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == TSeekOrigin::soCurrent) return static_cast<int64_t>(totalIn_);
  InvalidOperation();
}

int64_t TCompressionStream::Size() {
  InvalidOperation();
}
