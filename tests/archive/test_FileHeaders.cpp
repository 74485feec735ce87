// Member headers and the directory: the stored byte layout, byte-limited
// names and versions that never split UTF-8, loading from files, lookups,
// and the head and header table of both layouts.
#include "archive/ArchiveLayout.h"
#include "archive/FileHeaders.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using namespace archive_layout;

class FileHeadersTest : public ArchiveTest {};

TEST(FileHeader, StoresEveryFieldAtItsOffsetLittleEndian) {
  TFileHeader h;
  h.SetSequenceNumber(0x01020304);
  h.SetDate(36526.5);
  h.SetEndVolume(3);
  h.SetEndPosition(0x11223344);
  h.SetName("C:\\SRC\\A.DLL");
  h.SetNextHeader(0x55667788 & 0x7FFFFFFF);
  h.SetSize(1000);
  h.SetDataStart(177);
  h.SetCompressedSize(-2);
  h.SetStartVolume(2);
  h.SetUniqueID(1999);
  h.SetVersion("8.2.0.17");
  const auto& b = h.Data();
  EXPECT_EQ(GetLE32(&b[0]), 0x01020304u);
  EXPECT_EQ(b[0], 0x04);  // little-endian
  EXPECT_EQ(GetLEDouble(&b[4]), 36526.5);
  EXPECT_EQ(b[12], 3);
  EXPECT_EQ(GetLE32(&b[16]), 0x11223344u);
  EXPECT_EQ(b[20], 12);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[21]), 12), "C:\\SRC\\A.DLL");
  EXPECT_EQ(GetLE32(&b[124]), 0x55667788u & 0x7FFFFFFF);
  EXPECT_EQ(GetLE32(&b[128]), 1000u);
  EXPECT_EQ(GetLE32(&b[132]), 177u);
  EXPECT_EQ(GetLE32(&b[136]), 0xFFFFFFFEu);
  EXPECT_EQ(b[140], 2);
  EXPECT_EQ(GetLE32(&b[144]), 1999u);
  EXPECT_EQ(b[148], 8);
  // Padding and the unused rest of the strings stay zero.
  for (size_t i : {13, 14, 15, 121, 122, 123, 141, 142, 143, 169, 170, 171})
    EXPECT_EQ(b[i], 0) << i;
  for (size_t i = 21 + 12; i < 121; ++i) EXPECT_EQ(b[i], 0) << i;

  // A length byte beyond the field is read as the field's width.
  auto bytes = b;
  bytes[kName] = 255;
  bytes[kVersion] = 200;
  const TFileHeader damaged(bytes);
  EXPECT_EQ(damaged.Name().size(), 100u);
  EXPECT_EQ(damaged.Version().size(), 20u);
}

TEST(FileHeader, CutsNamesAndVersionsByBytesWithoutSplittingACharacter) {
  struct Case {
    const char* what;
    std::string name;
    std::string stored;
  };
  const std::string a100(100, 'a');
  std::string chinese;
  for (int i = 0; i < 34; ++i) chinese += "中";  // 102 bytes
  const Case cases[] = {
      {"exactly 100", a100, a100},
      {"101 bytes", a100 + "b", a100},
      {"two-byte character across the limit", std::string(99, 'a') + "é", std::string(99, 'a')},
      {"three-byte characters", chinese, chinese.substr(0, 99)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFileHeader h;
    h.SetName(c.name);
    EXPECT_EQ(h.Name(), c.stored);
  }
  TFileHeader h;
  h.SetVersion("65535.65535.65535.65535");
  EXPECT_EQ(h.Version(), "65535.65535.65535.65");
  h.SetVersion(std::string(19, '1') + "版");
  EXPECT_EQ(h.Version(), std::string(19, '1'));
}

TEST(FileHeaders, AddsLooksUpAndRefusesAsTheDirectoryShould) {
  TFileHeaders d;
  auto add = [&](const std::string& name) {
    auto h = std::make_unique<TFileHeader>();
    h->SetName(name);
    d.Add(std::move(h));
  };
  EXPECT_THAT([&] { add("  \t"); },
              ThrowsMessage<EVrexCompress>(testing::StrEq("Tried to add an invalid file header")));
  add("C:\\SRC\\QDENG32.DLL");
  add("C:\\SRC\\README.TXT");
  add("c:\\src\\qdeng32.dll");  // same name again: the first wins
  EXPECT_EQ(d.Count(), 3);
  EXPECT_EQ(d.IndexOfName("c:\\SRC\\qdeng32.DLL"), 0);
  EXPECT_EQ(d.IndexOfName("C:\\SRC\\README.TXT;group;5"), 1);  // only the first field counts
  EXPECT_EQ(d.IndexOfName("C:\\SRC\\README"), -1);
  d.GetFileHeaders(0).SetName("C:\\OTHER.DLL");  // the lookup follows renames
  EXPECT_EQ(d.IndexOfName("C:\\SRC\\QDENG32.DLL"), 2);
  EXPECT_EQ(d.IndexOfName("C:\\OTHER.DLL"), 0);
  for (int bad : {-1, 3}) {
    SCOPED_TRACE(bad);
    EXPECT_THAT([&] { d.GetFileHeaders(bad); },
                ThrowsMessage<EVrexCompress>(testing::StrEq(
                    std::to_string(bad) +
                    " is an invalid TFileHeader index in TFileHeaders.GetFileHeaders")));
  }
  d.Clear();
  EXPECT_EQ(d.Count(), 0);
  EXPECT_EQ(d.IndexOfName("C:\\OTHER.DLL"), -1);
}

TEST(FileHeaders, WritesAndReadsTheHeadAndTableOfBothLayouts) {
  for (bool volumeSet : {false, true}) {
    SCOPED_TRACE(volumeSet ? "volume set" : "single file");
    TFileHeaders d;
    d.SetVolumeSet(volumeSet);
    for (int i = 0; i < 3; ++i) {
      auto h = std::make_unique<TFileHeader>();
      h->SetName("C:\\F" + std::to_string(i));
      h->SetSize(10 * i);
      h->SetCompressedSize(5 * i + 8);
      h->SetStartVolume(volumeSet ? 1 : 0);
      h->SetEndVolume(volumeSet ? 1 : 0);
      h->SetUniqueID(i + 7);
      d.Add(std::move(h));
    }
    TMemoryStream s;
    s.Write("garbage", 7);
    d.WriteHeaders(s);
    const auto& bytes = s.Bytes();
    EXPECT_EQ(GetLE32(&bytes[0]), 3u);
    EXPECT_EQ(bytes[4], volumeSet ? 1 : 0);
    if (!volumeSet) {
      // A single-file archive's headers are written with their data.
      EXPECT_EQ(bytes.size(), 7u);
      continue;
    }
    ASSERT_EQ(bytes.size(), 5u + 3 * 172);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(GetLE32(&bytes[5 + 172 * i + kNextHeader]), 5u + 172 * (i + 1));

    // Data behind the table so the positions are inside the archive.
    s.Seek(0, TSeekOrigin::soEnd);
    s.Write(std::string(100, 'x').data(), 100);
    TFileHeaders back;
    back.ReadHeaders(s, 0);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_TRUE(back.VolumeSet());
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(back.GetFileHeaders(i).Stored());
      EXPECT_EQ(back.GetFileHeaders(i).Data(), d.GetFileHeaders(i).Data());
    }
    TlzhFileStats stats;
    stats.TotalBytesDone = 99;
    stats.Finished = true;
    back.StartTotals(stats);
    EXPECT_EQ(stats.TotalSize, 30);
    EXPECT_EQ(stats.TotalCompressed, 39);
    EXPECT_EQ(stats.TotalRatio, 130);
    EXPECT_EQ(stats.TotalBytesDone, 0);
    EXPECT_FALSE(stats.Finished);
  }
}

TEST_F(FileHeadersTest, LoadsHeadersFromTheFilesOfAList) {
  const std::string deep = P("C:\\SRC\\") + std::string(120, 'd') + "\\QDENG32.DLL";
  Write(P("C:\\SRC\\A.TXT"), "hello");
  Write(deep, Sample(3000, 1));
  SetDate(P("C:\\SRC\\A.TXT"), EncodeDateTime(2001, 2, 3, 4, 5, 7, 400));
  versions_->byPath[AsciiUpperCase(deep)] = "65535.65535.65535.65535";

  TFileHeaders d;
  TStringList list;
  list.Add(P("C:\\SRC\\A.TXT;ignored;fields"));
  list.Add(deep);
  d.AddFromList(list, false);
  ASSERT_EQ(d.Count(), 2);
  const TFileHeader& a = d.GetFileHeaders(0);
  EXPECT_EQ(a.Name(), P("C:\\SRC\\A.TXT"));
  EXPECT_EQ(a.SequenceNumber(), 1);
  EXPECT_EQ(a.Size(), 5);
  EXPECT_EQ(a.Version(), "");
  EXPECT_EQ(a.Date(), EncodeDateTime(2001, 2, 3, 4, 5, 6, 0));  // on the two-second grid
  EXPECT_FALSE(a.Stored());
  const TFileHeader& b = d.GetFileHeaders(1);
  EXPECT_EQ(b.Name(), deep.substr(0, 100));
  EXPECT_EQ(b.SourcePath(), deep);
  EXPECT_EQ(b.Version(), "65535.65535.65535.65");
  EXPECT_EQ(b.SequenceNumber(), 2);

  // Appending numbers the new lines from 1 again; without append the
  // directory starts over.
  list.Clear();
  list.Add(P("C:\\SRC\\A.TXT"));
  d.AddFromList(list, true);
  EXPECT_EQ(d.Count(), 3);
  EXPECT_EQ(d.GetFileHeaders(2).SequenceNumber(), 1);
  d.AddFromList(list, false);
  EXPECT_EQ(d.Count(), 1);

  list.Add(P("C:\\SRC\\MISSING.DLL"));
  EXPECT_THAT(
      [&] { d.AddFromList(list, false); },
      ThrowsMessage<EVrexCompress>(testing::StrEq(P("Cannot open the file C:\\SRC\\MISSING.DLL"))));
}

}  // namespace
}  // namespace archive_test
