// The compression stream of the archive: a write-only stream that deflates
// everything written to it into a destination stream as one zlib stream
// (2-byte header, deflate data, Adler-32 trailer). The owner calls Finish()
// to complete the stream; destruction only releases the zlib state.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/Streams.h"
#include "common/exceptions_Pellmore.h"

// A zlib call failed. The message is the fixed text callers rely on
// ("error", "Invalid stream operation"); Reason() keeps zlib's own detail
// for logs and tests.
class EZlibError : public ECustomPellmoreAbnormal {
 public:
  explicit EZlibError(std::string message, std::string reason = {})
      : ECustomPellmoreAbnormal(std::move(message)), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }
  const char* ClassName() const noexcept override { return "EZlibError"; }

 private:
  std::string reason_;
};
PELLMORE_DECLARE_EXCEPTION(ECompressionError, EZlibError);
PELLMORE_DECLARE_EXCEPTION(EDecompressionError, EZlibError);

enum TCompressionLevel { colNone, colFastest, colDefault, colMax };

// zlib's level for a compression level: 0, 1, -1 (zlib's default), 9.
int ZlibLevel(TCompressionLevel level);

// Fields shared by the zlib streams: the destination (not owned), where
// this stream last left it, the zlib state and the 65536-byte buffer.
class TCustomZlibStream : public TStream {
 public:
  static constexpr size_t kBufferSize = 65536;

  // Called once each time a full buffer went to the destination.
  std::function<void(TCustomZlibStream& sender)> OnProgress;

 protected:
  explicit TCustomZlibStream(TStream& destination);

  void Progress() {
    if (OnProgress) OnProgress(*this);
  }

  TStream& strm_;
  int64_t strmPos_ = 0;
  z_stream zrec_{};
  std::unique_ptr<uint8_t[]> buffer_;
};

class TCompressionStream final : public TCustomZlibStream {
 public:
  // Starts deflate at `level` (window bits 15, memory level 8, default
  // strategy) at the destination's current position. Raises
  // ECompressionError "error" when zlib refuses.
  TCompressionStream(TCompressionLevel level, TStream& destination);
  // Releases the deflate state. Never writes: a stream not finished leaves
  // an incomplete zlib stream in the destination.
  ~TCompressionStream() override;
  TCompressionStream(const TCompressionStream&) = delete;
  TCompressionStream& operator=(const TCompressionStream&) = delete;

  // Compresses `count` bytes; returns count. Each full output buffer is
  // written to the destination and reported through OnProgress.
  size_t Write(const void* buffer, size_t count) override;
  // Raises ECompressionError "Invalid stream operation".
  size_t Read(void* buffer, size_t count) override;
  // Only Seek(0, soCurrent) is allowed: it returns the uncompressed bytes
  // taken in so far. Everything else raises "Invalid stream operation".
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;

  // Completes the zlib stream: flushes deflate's remaining output and the
  // trailer into the destination. Once finished, Finish does nothing and
  // Write raises "Invalid stream operation". On failure the stream is
  // unusable and the destination holds an incomplete stream.
  void Finish();

  uint64_t TotalIn() const { return totalIn_; }
  uint64_t TotalOut() const { return totalOut_; }

 private:
  void Check(int result);
  void FlushBuffer(size_t used);

  bool finished_ = false;
  bool initialised_ = false;
  uint64_t totalIn_ = 0;
  uint64_t totalOut_ = 0;
};
