// Corrupt archives, one line each: bad counts and layouts, positions out of
// bounds, damaged or cut zlib data, wrong sizes and dates, and the archive
// truncated at every length. Each extraction must fail with its message and
// leave the destination directory exactly as it was.
#include <cmath>
#include <limits>

#include "archive/ArchiveLayout.h"
#include "framework/Strings.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using namespace archive_layout;

const char* const kCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be "
    "corrupt";

class CorruptArchiveTest : public ArchiveTest {
 protected:
  CorruptArchiveTest() {
    Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
    Build(*c, P("C:\\OUT\\good.1"),
          {{P("C:\\SRC\\A"), Sample(600, 1)}, {P("C:\\SRC\\B"), Noise(300, 2)}});
    good_ = Read(P("C:\\OUT\\good.1"));
    // The same archive as a one-volume set.
    c->SetCompressedFile(P("C:\\OUT\\good.1"));
    platform::files().CreateDirectories(P("C:\\SET"));
    c->SplitToVolumes(P("C:\\SET"), "files.1");
    set_ = Read(P("C:\\SET\\files.1"));
    Write(P("C:\\DEST\\A"), "old a");
    Write(P("C:\\DEST\\KEEP"), "keep");
    before_ = Snapshot(P("C:\\DEST"));
  }

  // Header i's position in a single-file archive.
  size_t HeaderAt(const std::string& bytes, int i) const {
    size_t pos = kHeadSize;
    for (int k = 0; k < i; ++k) pos = GetLE32(U(bytes) + pos + kNextHeader);
    return pos;
  }
  static const uint8_t* U(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
  }
  static std::string Put32(std::string s, size_t at, uint32_t v) {
    PutLE32(reinterpret_cast<uint8_t*>(s.data()) + at, v);
    return s;
  }
  // Member 0's field at `field` set to v.
  std::string Field(size_t field, uint32_t v) const { return Put32(good_, kHeadSize + field, v); }

  // Extracts `member` from `bytes`; returns the EVrexCompress message (or
  // a note that nothing or something else was raised).
  std::string Fails(const std::string& bytes, const std::string& member = "C:\\SRC\\A",
                    int32_t offset = 0) {
    Write(P("C:\\OUT\\bad.1"), bytes);
    Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
    c->SetCompressedFile(P("C:\\OUT\\bad.1"));
    c->SetOffset(offset);
    try {
      ExtractTo(*c, P("C:\\DEST"), {P(member)});
    } catch (const EVrexCompress& e) {
      EXPECT_TRUE(c->Abort());
      return e.Message();
    } catch (const std::exception& e) {
      return std::string("another exception: ") + e.what();
    }
    return "no failure";
  }

  std::string good_, set_;
  std::map<std::string, std::string> before_;
};

TEST_F(CorruptArchiveTest, FailsWithItsMessageAndLeavesTheDestination) {
  const size_t h0 = kHeadSize;
  const uint32_t start0 = GetLE32(U(good_) + h0 + kDataStart);
  const uint32_t next0 = GetLE32(U(good_) + h0 + kNextHeader);
  std::string flipped = good_;
  for (size_t i = start0 + 4; i < start0 + 12; ++i) flipped[i] ^= 0x55;
  std::string noName = good_;
  noName[h0 + kName] = 0;
  std::string nanDate = good_;
  PutLEDouble(reinterpret_cast<uint8_t*>(nanDate.data()) + h0 + kDate,
              std::numeric_limits<double>::quiet_NaN());
  const size_t s0 = kHeadSize;  // first header of the volume set

  struct Case {
    const char* what;
    std::string bytes;
    const char* message;  // the message starts with this
    int32_t offset = 0;
    const char* member = "C:\\SRC\\A";
  };
  const Case cases[] = {
      {"empty file", "", kCorrupt},
      {"negative count", Put32(good_, kHeadCount, 0xFFFFFFFF), kCorrupt},
      {"one member more than stored", Put32(good_, kHeadCount, 3), kCorrupt},
      {"count that cannot fit", Put32(good_, kHeadCount, 0x7FFFFFFF), kCorrupt},
      {"unknown layout byte", Put32(good_, kHeadCount, 2).replace(kHeadLayout, 1, "\x02"),
       kCorrupt},
      {"next header inside its own header", Field(kNextHeader, h0 + 100), kCorrupt},
      {"next header past the end", Field(kNextHeader, 1u << 30), kCorrupt},
      {"end before start", Field(kEndPosition, start0 - 5), kCorrupt},
      {"data inside its header", Field(kDataStart, h0 + 100), kCorrupt},
      {"data reaching the next header", Field(kEndPosition, next0), kCorrupt},
      {"negative size", Field(kSize, 0xFFFFFFFF), kCorrupt},
      {"volume numbers in a single file", Field(kEndVolume, 2), kCorrupt},
      {"empty name", noName, kCorrupt},
      {"archive offset past the end", good_, kCorrupt, 100000},
      {"volume set: start volume 0", Put32(set_, s0 + kStartVolume, 0), kCorrupt},
      {"volume set: data past the volume's end", Put32(set_, s0 + kDataStart, 1u << 20), kCorrupt},
      {"volume set: end past the volume's end", Put32(set_, s0 + kEndPosition, 1u << 20), kCorrupt},
      {"damaged zlib data", flipped, "The compressed data of C:\\SRC\\A is corrupt"},
      {"zlib stream cut short", Field(kEndPosition, start0 + 5),
       "The compressed data of C:\\SRC\\A is incomplete"},
      {"stored size too large", Field(kSize, 601),
       "The decompressed file's size does not match with the actual size of the file.  The file "
       "is C:\\SRC\\A"},
      {"stored size too small", Field(kSize, 599),
       "The decompressed file's size does not match with the actual size of the file.  The file "
       "is C:\\SRC\\A"},
      {"date that is no date", nanDate, "Cannot set the date of the file just extracted."},
      {"member not in the archive", good_,
       "The file <C:\\SRC\\Z> was not found in the archive <C:\\OUT\\bad.1>", 0, "C:\\SRC\\Z"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(Fails(k.bytes, k.member, k.offset), testing::StartsWith(P(k.message)));
    EXPECT_EQ(Snapshot(P("C:\\DEST")), before_);
  }
  // The unchanged archives extract, so each line above fails for its own
  // reason only.
  EXPECT_EQ(Fails(good_), "no failure");
  EXPECT_EQ(Fails(set_), "no failure");
  EXPECT_EQ(Read(P("C:\\DEST\\A")), Sample(600, 1));
}

TEST_F(CorruptArchiveTest, FailsAtEveryTruncatedLength) {
  // Every prefix of the archive: the head, each header, and the data.
  for (size_t len = 0; len < good_.size(); ++len) {
    SCOPED_TRACE(len);
    ASSERT_THAT(Fails(good_.substr(0, len)), testing::StrEq(kCorrupt));
  }
  EXPECT_EQ(Snapshot(P("C:\\DEST")), before_);
  // The archive inside a larger file, cut the same way.
  const std::string prefix(777, 'p');
  for (size_t len = 0; len < good_.size(); len += 37) {
    SCOPED_TRACE(len);
    ASSERT_THAT(Fails(prefix + good_.substr(0, len), P("C:\\SRC\\B"), 777),
                testing::StrEq(kCorrupt));
  }
  EXPECT_EQ(Fails(prefix + good_ + "trailer", P("C:\\SRC\\B"), 777), "no failure");
  EXPECT_EQ(Read(P("C:\\DEST\\B")), Noise(300, 2));
}

}  // namespace
}  // namespace archive_test
