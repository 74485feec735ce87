// Archives that start inside a larger file (a self-extracting setup carries
// "files.1" behind its loader): the directory, the statistics, lookups by
// id and extraction all read through the offset, whatever its alignment
// against the decoder's 64 KiB input chunks.
#include "archive/ArchiveLayout.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

class OffsetTest : public ArchiveTest {
 protected:
  OffsetTest() {
    Build(*alone_, P("C:\\OUT\\files.1"),
          {{P("C:\\SRC\\ONE.DLL"), one_}, {P("C:\\SRC\\TWO.TXT"), two_}, {P("C:\\SRC\\E"), ""}},
          lzcOverwrite, 7);
    archive_ = Read(P("C:\\OUT\\files.1"));
  }

  Owned<TVrexCompress> alone_{new TVrexCompress(nullptr)};
  // Larger than one 64 KiB input chunk of the decoder, so a member's data
  // straddles chunk borders at every offset.
  const std::string one_ = Noise(150000, 11), two_ = Sample(90000, 12);
  std::string archive_;
};

TEST_F(OffsetTest, ReadsAndExtractsAnArchiveInsideALargerFile) {
  const size_t offsets[] = {1, 4096, 65535, 65536 + 17, 200003};
  for (size_t offset : offsets) {
    SCOPED_TRACE(offset);
    // A loader in front, a trailer-sized tail behind: neither is read.
    const std::string program = Noise(offset, uint32_t(offset)) + archive_ + Noise(56, 3);
    const std::string path = P("C:\\OUT\\SETUP.EXE");
    Write(path, program);

    Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
    c->SetCompressedFile(path);
    c->SetOffset(int32_t(offset));
    ASSERT_EQ(c->FileCount(), 3);
    for (int i = 0; i < 3; ++i) {
      TlzhFileStats inside, standalone;
      c->GetFileStats(i, inside);
      alone_->GetFileStats(i, standalone);
      // Stored positions stay archive-relative.
      EXPECT_EQ(inside.Header, standalone.Header);
      EXPECT_EQ(inside.TotalCompressed, standalone.TotalCompressed);
      EXPECT_NO_THROW(c->VerifyMember(i));
    }
    EXPECT_EQ(c->IndexOfUniqueID(7), 2);  // the last member with the id wins

    const std::string dest = P("C:\\DEST\\") + std::to_string(offset);
    ExtractTo(*c, dest, {P("C:\\SRC\\TWO.TXT"), P("C:\\SRC\\ONE.DLL"), P("C:\\SRC\\E")});
    EXPECT_EQ(Snapshot(dest), (std::map<std::string, std::string>{
                                  {"ONE.DLL", one_}, {"TWO.TXT", two_}, {"E", ""}}));
    EXPECT_EQ(Read(path), program);  // reading never writes
  }
}

}  // namespace
}  // namespace archive_test
