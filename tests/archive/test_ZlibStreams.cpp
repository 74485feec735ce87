// The compression stream: complete zlib streams at every level, stored
// blocks for colNone, one progress step per full output buffer, the
// forbidden stream operations, and a destination the owner moves around.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "archive/ZlibStreams.h"

namespace {

using testing::HasSubstr;
using testing::ThrowsMessage;

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t expected) {
  std::vector<uint8_t> out(expected + 1);
  uLongf outLen = static_cast<uLongf>(out.size());
  const int rc = uncompress(out.data(), &outLen, data, static_cast<uLong>(size));
  EXPECT_EQ(rc, Z_OK);
  out.resize(outLen);
  return out;
}

// Text-like data that compresses well, and noise that does not.
std::vector<uint8_t> Text(size_t n) {
  std::vector<uint8_t> v;
  const char* words[] = {"record ", "index ", "table ", "field ", "value ", "\r\n"};
  for (uint32_t i = 0; v.size() < n; ++i) {
    const char* w = words[(i * 7 + i / 3) % 6];
    v.insert(v.end(), w, w + std::strlen(w));
  }
  v.resize(n);
  return v;
}
std::vector<uint8_t> Noise(size_t n, uint32_t seed = 1) {
  std::vector<uint8_t> v(n);
  for (auto& b : v) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 16);
  }
  return v;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, TCompressionLevel level,
                              size_t piece = 10000) {
  TMemoryStream dest;
  TCompressionStream z(level, dest);
  for (size_t at = 0; at < data.size(); at += piece)
    z.Write(data.data() + at, std::min(piece, data.size() - at));
  z.Finish();
  return dest.Bytes();
}

TEST(CompressionStream, EmptyInputStillGivesACompleteStream) {
  TMemoryStream dest;
  {
    TCompressionStream z(colMax, dest);
    z.Finish();
  }
  // Header, an empty final block, Adler-32 of nothing (1).
  const std::vector<uint8_t> expected = {0x78, 0xDA, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(dest.Bytes(), expected);
  EXPECT_TRUE(Inflate(dest.Bytes().data(), dest.Bytes().size(), 0).empty());
}

TEST(CompressionStream, EveryLevelRoundTripsThroughPlainZlib) {
  struct Case {
    TCompressionLevel level;
    int zlibLevel;
    uint8_t headerByte;  // the level hint zlib writes into the header
  };
  const Case cases[] = {
      {colNone, 0, 0x01}, {colFastest, 1, 0x01}, {colDefault, -1, 0x9C}, {colMax, 9, 0xDA}};
  const auto text = Text(300000);
  const auto noise = Noise(150000);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zlibLevel);
    EXPECT_EQ(ZlibLevel(c.level), c.zlibLevel);
    for (const auto* data : {&text, &noise}) {
      const auto packed = Compress(*data, c.level);
      ASSERT_GE(packed.size(), 2u);
      EXPECT_EQ(packed[0], 0x78);
      EXPECT_EQ(packed[1], c.headerByte);
      EXPECT_EQ(Inflate(packed.data(), packed.size(), data->size()), *data);
    }
  }
  // Same output as zlib's own one-shot call at the same level.
  std::vector<uint8_t> direct(compressBound(text.size()));
  uLongf len = direct.size();
  ASSERT_EQ(compress2(direct.data(), &len, text.data(), text.size(), 9), Z_OK);
  direct.resize(len);
  EXPECT_EQ(Compress(text, colMax), direct);
}

TEST(CompressionStream, NoneWritesStoredBlocksSlightlyLargerThanTheSource) {
  const auto text = Text(200000);
  const auto packed = Compress(text, colNone);
  EXPECT_GT(packed.size(), text.size());
  EXPECT_LT(packed.size(), text.size() + 100);
  // The first block is stored (BTYPE 00) and its bytes are the source's.
  EXPECT_EQ(packed[2] & 0x06, 0x00);
  EXPECT_EQ(std::memcmp(packed.data() + 7, text.data(), 1000), 0);
}

TEST(CompressionStream, ReportsProgressOncePerFullOutputBuffer) {
  const auto noise = Noise(400000, 7);  // output about as large as input
  TMemoryStream dest;
  std::vector<int64_t> sizesAtProgress;
  {
    TCompressionStream z(colMax, dest);
    z.OnProgress = [&](TCustomZlibStream&) { sizesAtProgress.push_back(dest.Size()); };
    for (size_t at = 0; at < noise.size(); at += 4096)
      z.Write(noise.data() + at, std::min<size_t>(4096, noise.size() - at));
    const size_t duringWrites = sizesAtProgress.size();
    z.Finish();
    // Finishing writes the rest without a progress step; the archive adds
    // its own final step.
    EXPECT_EQ(sizesAtProgress.size(), duringWrites);
  }
  ASSERT_FALSE(sizesAtProgress.empty());
  for (size_t i = 0; i < sizesAtProgress.size(); ++i)
    EXPECT_EQ(sizesAtProgress[i], int64_t(i + 1) * 65536);
  EXPECT_EQ(sizesAtProgress.size(), (dest.Bytes().size() - 1) / 65536);
  EXPECT_EQ(Inflate(dest.Bytes().data(), dest.Bytes().size(), noise.size()), noise);
}

TEST(CompressionStream, RefusesReadingSeekingAndWritingAfterFinish) {
  TMemoryStream dest;
  TCompressionStream z(colDefault, dest);
  const auto data = Text(5000);
  z.Write(data.data(), data.size());
  EXPECT_EQ(z.Seek(0, TSeekOrigin::soCurrent), 5000);  // bytes taken in
  uint8_t b[4];
  EXPECT_THAT([&] { z.Read(b, 4); },
              ThrowsMessage<ECompressionError>(testing::StrEq("Invalid stream operation")));
  EXPECT_THROW(z.Seek(1, TSeekOrigin::soCurrent), ECompressionError);
  EXPECT_THROW(z.Seek(0, TSeekOrigin::soBeginning), ECompressionError);
  EXPECT_THROW(z.Seek(0, TSeekOrigin::soEnd), ECompressionError);
  z.Finish();
  z.Finish();  // a second finish changes nothing
  const auto size = dest.Size();
  EXPECT_THROW(z.Write(data.data(), 1), ECompressionError);
  EXPECT_EQ(dest.Size(), size);
}

TEST(CompressionStream, ContinuesWhereItLeftTheDestination) {
  // The archive writes a header, compresses behind it and moves the
  // destination between writes; the stream goes back to its own end.
  TMemoryStream dest;
  const std::vector<uint8_t> header(172, 0xAA);
  dest.Write(header.data(), header.size());
  const auto data = Noise(200000, 3);
  TCompressionStream z(colFastest, dest);
  z.Write(data.data(), 100000);
  dest.SetPosition(0);
  dest.Write("HDR", 3);
  z.Write(data.data() + 100000, 100000);
  dest.SetPosition(10);
  z.Finish();
  ASSERT_GT(dest.Bytes().size(), 172u);
  EXPECT_EQ(std::memcmp(dest.Bytes().data(), "HDR", 3), 0);
  EXPECT_EQ(Inflate(dest.Bytes().data() + 172, dest.Bytes().size() - 172, data.size()), data);
}

// A destination that takes only `room` bytes.
class SmallDisk : public TMemoryStream {
 public:
  explicit SmallDisk(size_t room) : room_(room) {}
  size_t Write(const void* b, size_t n) override {
    const size_t take = std::min(n, room_ > Bytes().size() ? room_ - Bytes().size() : 0);
    return TMemoryStream::Write(b, take);
  }

 private:
  size_t room_;
};

TEST(CompressionStream, AShortDestinationWriteFailsInsteadOfLosingData) {
  const auto noise = Noise(200000, 5);
  SmallDisk dest(70000);
  TCompressionStream z(colMax, dest);
  EXPECT_THROW(z.Write(noise.data(), noise.size()), EWriteError);
  // The stream cannot be completed after that.
  EXPECT_THROW(z.Write(noise.data(), 10), ECompressionError);
}

}  // namespace
