// Volume sets: splitting an archive onto floppies in drive A: (a change of
// disk moves the floppy's files to D:\DISKS and back), a member crossing
// from volume 2 to 3, extraction asking for disks, a missing volume found
// on the third request or failing after four, and splits that cannot
// finish leaving no volumes behind.
#include "archive/ArchiveLayout.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using testing::StrEq;

class VolumeTest : public ArchiveTest {
 protected:
  VolumeTest() {
    platform::files().CreateDirectories("D:\\DISKS");
    machine_->SetFreeSpace('A', kFloppy);
    Build(*c, "C:\\OUT\\files.1",
          {{"C:\\SRC\\ONE", one_}, {"C:\\SRC\\TWO", two_}, {"C:\\SRC\\THREE", "3"}});
  }

  // Puts floppy `n` into drive A: (the one there goes back to the shelf).
  void InsertDisk(int n) {
    for (const auto& e : platform::files().FindFiles("A:\\files.*"))
      platform::files().MoveFile("A:\\" + e.name, "D:\\DISKS\\" + e.name,
                                 platform::kMoveCopyAllowed | platform::kMoveReplaceExisting);
    const std::string shelf = "D:\\DISKS\\files." + std::to_string(n);
    if (platform::files().FileExists(shelf))
      platform::files().MoveFile(shelf, "A:\\files." + std::to_string(n),
                                 platform::kMoveCopyAllowed);
  }

  // Splits C:\OUT\files.1 onto floppies and shelves them all.
  void SplitOntoFloppies() {
    std::vector<int> asked;
    c->OnNewDisk = [&](TObject*, int n, std::string& path) {
      asked.push_back(n);
      EXPECT_EQ(path, "A:");
      InsertDisk(n);
    };
    c->SetCompressedFile("C:\\OUT\\files.1");
    c->SplitToVolumes("A:\\", "files.1");
    EXPECT_FALSE(c->Abort());
    InsertDisk(0);
    // Disks 2 and 3 were asked for as they were needed, disk 1 again for
    // the final directory.
    EXPECT_EQ(asked, (std::vector<int>{2, 3, 1}));
  }

  static constexpr uint64_t kFloppy = 40000;
  // ONE runs from volume 1 onto 2, TWO from 2 onto 3, THREE sits on 3.
  const std::string one_ = Noise(50000, 1), two_ = Noise(45000, 2);
  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
};

TEST_F(VolumeTest, SplitsOntoFloppiesAndReadsAMemberAcrossVolumes) {
  SplitOntoFloppies();
  EXPECT_EQ(Snapshot("D:\\DISKS").size(), 3u);
  // The loaded directory still describes the single-file archive.
  EXPECT_FALSE(c->Directory().VolumeSet());
  ExtractTo(*c, "C:\\DEST\\SINGLE", {"C:\\SRC\\TWO"});

  Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
  r->SetCompressedFile("D:\\DISKS\\files.1");
  ASSERT_EQ(r->FileCount(), 3);
  EXPECT_TRUE(r->Directory().VolumeSet());
  const TFileHeader& two = r->Directory().GetFileHeaders(1);
  EXPECT_EQ(two.StartVolume(), 2);
  EXPECT_EQ(two.EndVolume(), 3);
  EXPECT_EQ(two.CompressedSize(), c->Directory().GetFileHeaders(1).CompressedSize());
  // The data runs to the end of volume 2 and on from position 0 of 3.
  const int64_t second = int64_t(Read("D:\\DISKS\\files.2").size());
  EXPECT_EQ(second - two.DataStart() + two.EndPosition() + 1, two.CompressedSize());

  // Extracting from the floppies asks for each disk as the data needs it.
  InsertDisk(1);
  std::vector<int> asked;
  r->OnNewDisk = [&](TObject*, int n, std::string& path) {
    asked.push_back(n);
    path = "A:\\";
    InsertDisk(n);
  };
  r->SetCompressedFile("A:\\files.1");
  ExtractTo(*r, "C:\\DEST", {"C:\\SRC\\ONE", "C:\\SRC\\TWO", "C:\\SRC\\THREE"});
  EXPECT_EQ(
      Snapshot("C:\\DEST"),
      (std::map<std::string, std::string>{
          {"SINGLE\\", ""}, {"SINGLE\\TWO", two_}, {"ONE", one_}, {"TWO", two_}, {"THREE", "3"}}));
  EXPECT_EQ(asked, (std::vector<int>{2, 3}));
  EXPECT_EQ(r->CompressedFile(), "A:\\files.3");  // the volume last opened
}

TEST_F(VolumeTest, ASplitFromInsideAProgramGivesTheSameVolumes) {
  SplitOntoFloppies();
  const auto fromAlone = Snapshot("D:\\DISKS");
  for (const auto& e : platform::files().FindFiles("D:\\DISKS\\files.*"))
    platform::files().DeleteFile("D:\\DISKS\\" + e.name);

  // The archive behind a loader of an odd size, as a self-extractor has it.
  const int32_t offset = 70001;
  Write("C:\\OUT\\SETUP.EXE", Noise(size_t(offset), 9) + Read("C:\\OUT\\files.1") + Noise(56, 4));
  c.reset(new TVrexCompress(nullptr));
  c->SetOffset(offset);
  std::vector<int> asked;
  c->OnNewDisk = [&](TObject*, int n, std::string&) {
    asked.push_back(n);
    InsertDisk(n);
  };
  c->SetCompressedFile("C:\\OUT\\SETUP.EXE");
  c->SplitToVolumes("A:\\", "files.1");
  InsertDisk(0);
  EXPECT_EQ(asked, (std::vector<int>{2, 3, 1}));
  // Positions in the volumes are their own: nothing of the offset is left.
  EXPECT_EQ(Snapshot("D:\\DISKS"), fromAlone);

  Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
  r->SetCompressedFile("D:\\DISKS\\files.1");
  ExtractTo(*r, "C:\\DEST", {"C:\\SRC\\TWO"});  // from volume 2 onto 3
  EXPECT_EQ(Read("C:\\DEST\\TWO"), two_);
}

TEST_F(VolumeTest, AsksForAMissingVolumeUpToFourTimes) {
  SplitOntoFloppies();
  platform::files().CreateDirectories("D:\\ELSEWHERE");
  platform::files().MoveFile("D:\\DISKS\\files.3", "D:\\ELSEWHERE\\files.3", 0);
  Write("C:\\DEST\\TWO", "old");
  const auto before = Snapshot("C:\\DEST");

  struct Case {
    const char* what;
    int rightOnCall;  // 0: never
    const char* message;
    int calls;
  };
  const Case cases[] = {
      {"found on the third request", 3, nullptr, 3},
      {"never found", 0, "Cannot open the compressed file D:\\NOPE\\files.3", 4},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Write("C:\\DEST\\TWO", "old");
    Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
    r->SetCompressedFile("D:\\DISKS\\files.1");
    int calls = 0;
    r->OnNewDisk = [&](TObject*, int n, std::string& path) {
      EXPECT_EQ(n, 3);
      ++calls;
      path = calls == k.rightOnCall ? "D:\\ELSEWHERE\\" : "D:\\NOPE";
    };
    if (k.message) {
      EXPECT_THAT([&] { ExtractTo(*r, "C:\\DEST", {"C:\\SRC\\TWO"}); },
                  ThrowsMessage<EVrexCompress>(StrEq(k.message)));
      EXPECT_EQ(Snapshot("C:\\DEST"), before);
    } else {
      ExtractTo(*r, "C:\\DEST", {"C:\\SRC\\TWO"});
      EXPECT_EQ(Read("C:\\DEST\\TWO"), two_);
    }
    EXPECT_EQ(calls, k.calls);
  }

  Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
  r->SetCompressedFile("D:\\DISKS\\files.1");
  Write("C:\\DEST\\TWO", "old");
  EXPECT_THAT([&] { ExtractTo(*r, "C:\\DEST", {"C:\\SRC\\TWO"}); },
              ThrowsMessage<EVrexCompress>(StrEq("Could not open the correct disk file 3")));
  EXPECT_EQ(Snapshot("C:\\DEST"), before);
}

TEST_F(VolumeTest, ASplitThatCannotFinishLeavesNoVolumes) {
  struct Case {
    const char* what;
    std::function<void(TVrexCompress&)> arm;
    const char* message;  // nullptr: ends quietly through OnAborted
  };
  int aborted = 0;
  const Case cases[] = {
      {"cancelled",
       [&](TVrexCompress& k) {
         k.OnStatus = [&k](TObject*, const TlzhFileStats& s) {
           if (s.TotalBytesDone > 20000) k.SetAbort(true);
         };
         k.OnNewDisk = [this](TObject*, int n, std::string&) { InsertDisk(n); };
         k.OnAborted = [&](TObject*) { ++aborted; };
       },
       nullptr},
      {"no OnNewDisk handler", [](TVrexCompress&) {},
       "There was no event handler for the OnNewDisk event, therefore no new disk could be "
       "inserted"},
      {"the new disk is full too",
       [](TVrexCompress& k) { k.OnNewDisk = [](TObject*, int, std::string&) {}; },
       "There is too little space on this disk to operate"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Owned<TVrexCompress> s{new TVrexCompress(nullptr)};
    k.arm(*s);
    s->SetCompressedFile("C:\\OUT\\files.1");
    if (k.message) {
      EXPECT_THAT([&] { s->SplitToVolumes("A:", "files.1"); },
                  ThrowsMessage<EVrexCompress>(StrEq(k.message)));
      EXPECT_TRUE(s->Abort());
    } else {
      s->SplitToVolumes("A:", "files.1");
      EXPECT_EQ(aborted, 1);
    }
    InsertDisk(0);
    EXPECT_EQ(Snapshot("D:\\DISKS").size(), 0u);
  }
}

}  // namespace
}  // namespace archive_test
