// Archives made to hurt: member names that try to leave the destination
// (separators of both kinds, dots, drive letters, UNC prefixes, devices,
// streams) and members whose stored size lies. Each line says where the
// member lands or the message it is refused with; nothing outside the
// destination may change, and a refused or lying member leaves no trace.
#include <algorithm>

#include "archive/ArchiveLayout.h"
#include "archive/MemberNames.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using namespace archive_layout;
using testing::StartsWith;
using testing::StrEq;

const char* const kSizeMismatch =
    "The decompressed file's size does not match with the actual size of the file.  The file is ";

class HostileArchiveTest : public ArchiveTest {
 protected:
  HostileArchiveTest() {
    // The destination is two levels down, so a name climbing one or two
    // levels still lands somewhere the snapshot sees.
    platform::files().CreateDirectories(P("C:\\TOP\\MID\\DEST"));
    Write(P("C:\\TOP\\victim.txt"), "victim");
    Write(P("C:\\TOP\\MID\\victim.txt"), "victim");
    Write(P("C:\\victim.txt"), "victim");
  }

  // `archive`'s first member renamed to `name` (at most 100 bytes).
  static std::string Renamed(std::string archive, const std::string& name) {
    auto* b = reinterpret_cast<uint8_t*>(archive.data()) + kHeadSize + kName;
    std::fill(b, b + 1 + kMaxNameBytes, 0);
    b[0] = static_cast<uint8_t>(name.size());
    std::copy(name.begin(), name.end(), b + 1);
    return archive;
  }
  static std::string Put32(std::string s, size_t at, uint32_t v) {
    PutLE32(reinterpret_cast<uint8_t*>(s.data()) + at, v);
    return s;
  }
};

TEST_F(HostileArchiveTest, NamesThatEscapeLandInsideOrAreRefused) {
  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
  Build(*c, P("C:\\OUT\\good.1"), {{P("C:\\SRC\\A"), "member bytes"}});
  const std::string good = Read(P("C:\\OUT\\good.1"));
  const std::string dest = P("C:\\TOP\\MID\\DEST");

  struct Case {
    const char* name;
    const char* lands;  // the file in the destination, or null: refused
  };
  const Case cases[] = {
      {"..\\victim.txt", "victim.txt"},
      {"../victim.txt", "victim.txt"},
      {"..\\..\\..\\..\\victim.txt", "victim.txt"},
      {"../../victim.txt", "victim.txt"},
      {"sub/dir/file.txt", "file.txt"},  // "/" separates like "\"
      {"sub\\dir/..\\file.txt", "file.txt"},
      {"C:\\victim.txt", "victim.txt"},
      {"C:victim.txt", "victim.txt"},
      {"C:../victim.txt", "victim.txt"},
      {"\\\\server\\share\\victim.txt", "victim.txt"},
      {"//server/share/victim.txt", "victim.txt"},
      {"\\\\?\\C:\\victim.txt", "victim.txt"},
      {"\\\\.\\C:\\victim.txt", "victim.txt"},
      {"\\victim.txt", "victim.txt"},
      {" victim.txt", " victim.txt"},  // a leading blank is part of the name
      {"..", nullptr},
      {".", nullptr},
      {"sub\\..", nullptr},
      {"sub/.", nullptr},
      {"..\\", nullptr},
      {"C:", nullptr},
      {"C:..", nullptr},
      {"...", nullptr},
      {"victim.txt.", nullptr},
      {"victim.txt ", nullptr},
      {"..\\victim.txt::$DATA", nullptr},
      {"victim.txt:hidden", nullptr},
      {"CON", nullptr},
      {"con.txt", nullptr},
      {"NUL", nullptr},
      {"nul .txt", nullptr},
      {"..\\PRN", nullptr},
      {"AUX.dll", nullptr},
      {"COM1", nullptr},
      {"com9.log", nullptr},
      {"LPT1", nullptr},
      {"COM\xC2\xB9", nullptr},
      {"CONIN$", nullptr},
      {"CONOUT$.txt", nullptr},
      {"a*b", nullptr},
      {"a?b", nullptr},
      {"a\"b", nullptr},
      {"a<b", nullptr},
      {"a>b", nullptr},
      {"a|b", nullptr},
      {"a\x01"
       "b",
       nullptr},
      {"a\tb", nullptr},
  };
  const auto root = Snapshot(P("C:\\TOP"));
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Write(P("C:\\OUT\\bad.1"), Renamed(good, k.name));
    c->SetCompressedFile(P("C:\\OUT\\good.1"));  // drops the loaded directory
    c->SetCompressedFile(P("C:\\OUT\\bad.1"));
    if (k.lands) {
      ExtractTo(*c, dest, {k.name});
      auto expected = root;
      expected[std::string("MID\\DEST\\") + k.lands] = "member bytes";
      EXPECT_EQ(Snapshot(P("C:\\TOP")), expected);
      platform::files().DeleteFile(dest + "\\" + k.lands);
    } else {
      EXPECT_THAT(
          [&] { ExtractTo(*c, dest, {k.name}); },
          ThrowsMessage<EVrexCompress>(StartsWith("Cannot create the file " + dest + "\\")));
      EXPECT_TRUE(c->Abort());
      EXPECT_EQ(Snapshot(P("C:\\TOP")), root);
      // Verifying reads the data only: the name does not matter there.
      c->VerifyMember(0);
    }
    EXPECT_EQ(Read(P("C:\\victim.txt")), "victim");
  }

  // A name handed back by OnBeforeExtracting goes through the same rule.
  c->SetCompressedFile(P("C:\\OUT\\good.1"));
  c->OnBeforeExtracting = [&](TObject*, const TlzhFileStats&) { c->ExtractName = "../NUL"; };
  EXPECT_THAT([&] { ExtractTo(*c, dest, {P("C:\\SRC\\A")}); },
              ThrowsMessage<EVrexCompress>(StrEq("Cannot create the file " + dest + "\\NUL")));
  c->OnBeforeExtracting = [&](TObject*, const TlzhFileStats&) { c->ExtractName = "..\\x/y.txt"; };
  ExtractTo(*c, dest, {P("C:\\SRC\\A")});
  EXPECT_EQ(Read(dest + "\\y.txt"), "member bytes");
}

TEST_F(HostileArchiveTest, TheNameRuleItself) {
  // Whatever the rule gives back is a single component that is no path.
  const char* const names[] = {"a\\b/c", "C:x", "\\\\?\\UNC\\s\\x", "x/", "/", "C:\\", "D:"};
  for (const char* n : names) {
    SCOPED_TRACE(n);
    const std::string last = MemberFileName(n);
    EXPECT_EQ(last.find_first_of("\\/"), std::string::npos);
    EXPECT_FALSE(last.size() >= 2 && last[1] == ':');
  }
  std::string why;
  EXPECT_TRUE(IsPlainFileName("QDENG32.DLL", &why));
  EXPECT_TRUE(IsPlainFileName("CONFIG.SYS", &why));  // CON only as the whole base name
  EXPECT_TRUE(IsPlainFileName("COM10", &why));
  EXPECT_TRUE(IsPlainFileName("\xE4\xB8\xAD\xE6\x96\x87.txt", &why));
  EXPECT_FALSE(IsPlainFileName("lpt0.txt", &why));
  EXPECT_THAT(why, HasSubstr("device"));
}

TEST_F(HostileArchiveTest, SizesThatLieStopAtTheStoredSize) {
  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
  const std::string zeros(3000000, '\0');  // packs into a few kilobytes
  Build(*c, P("C:\\OUT\\big.1"), {{P("C:\\SRC\\A"), zeros}});
  const std::string big = Read(P("C:\\OUT\\big.1"));
  Build(*c, P("C:\\OUT\\small.1"), {{P("C:\\SRC\\A"), Sample(5000, 4)}});
  const std::string small = Read(P("C:\\OUT\\small.1"));
  c->SetCompressedFile(P("C:\\OUT\\small.1"));
  platform::files().CreateDirectories(P("C:\\SET"));
  c->SplitToVolumes(P("C:\\SET"), "files.1");
  const std::string set = Read(P("C:\\SET\\files.1"));
  Write(P("C:\\DEST\\A"), "the old file");
  const auto before = Snapshot(P("C:\\DEST"));

  struct Case {
    const char* what;
    std::string bytes;
    int32_t stored;
    bool volumeSet = false;
  };
  const Case cases[] = {
      {"3 MB stored as 10 bytes", Put32(big, kHeadSize + kSize, 10), 10},
      {"3 MB stored as nothing", Put32(big, kHeadSize + kSize, 0), 0},
      {"3 MB stored as one byte less", Put32(big, kHeadSize + kSize, 2999999), 2999999},
      {"one output cycle stored, more follows", Put32(small, kHeadSize + kSize, 4096), 4096},
      {"volume set, stored as 100 bytes", Put32(set, kHeadSize + kSize, 100), 100, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    const std::string archive = k.volumeSet ? P("C:\\SET\\files.1") : P("C:\\OUT\\bad.1");
    Write(archive, k.bytes);
    c->SetCompressedFile(P("C:\\OUT\\other.1"));
    c->SetCompressedFile(archive);
    int64_t most = 0;
    c->OnStatus = [&](TObject*, const TlzhFileStats& s) {
      most = std::max<int64_t>(most, s.FileBytesDone);
    };
    try {
      ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\A")});
      ADD_FAILURE() << "extracted";
    } catch (const EArchiveError& e) {
      EXPECT_EQ(e.Message(), kSizeMismatch + P("C:\\SRC\\A"));
      EXPECT_THAT(e.Reason(), HasSubstr("more than its stored"));
    }
    EXPECT_LE(most, k.stored);  // not a byte beyond the stored size was written
    EXPECT_EQ(Snapshot(P("C:\\DEST")), before);
    EXPECT_THAT([&] { c->VerifyMember(0); },
                ThrowsMessage<EVrexCompress>(StrEq(kSizeMismatch + P("C:\\SRC\\A"))));
    c->OnStatus = nullptr;
  }
  Write(P("C:\\SET\\files.1"), set);

#ifndef _WIN32  // a small simulated D: drive
  // On a drive with room for the stored size only, the lie is named as
  // such, never as a full disk.
  platform::files().CreateDirectories("D:\\KEEP");
  Write("D:\\KEEP\\A", "the old file");
  machine_->SetFreeSpace('D', 200000);
  Write(P("C:\\OUT\\bad.1"), Put32(big, kHeadSize + kSize, 100000));
  c->SetCompressedFile(P("C:\\OUT\\other.1"));
  c->SetCompressedFile(P("C:\\OUT\\bad.1"));
  EXPECT_THAT([&] { ExtractTo(*c, "D:\\KEEP", {P("C:\\SRC\\A")}); },
              ThrowsMessage<EVrexCompress>(StrEq(kSizeMismatch + P("C:\\SRC\\A"))));
  EXPECT_EQ(Read("D:\\KEEP\\A"), "the old file");
  EXPECT_EQ(platform::files().FindFiles("D:\\KEEP\\*").size(), 3u);  // ".", "..", A
#endif

  // The true size still extracts.
  Write(P("C:\\OUT\\bad.1"), big);
  c->SetCompressedFile(P("C:\\OUT\\other.1"));
  c->SetCompressedFile(P("C:\\OUT\\bad.1"));
  ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\A")});
  EXPECT_EQ(Read(P("C:\\DEST\\A")), zeros);
}

}  // namespace
}  // namespace archive_test
