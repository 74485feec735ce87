// The archive component on the test machine: single-file round trips,
// appending and rewriting, cut names and UniqueID lookups, the
// CompressedFile switching rule, the overwrite decision and its events,
// cancel and disk full, plain copies, and the shared instance.
#include "archive/ArchiveLayout.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using namespace archive_layout;
using testing::StrEq;

class VrexCompressTest : public ArchiveTest {
 protected:
  // The names in the temporary directory but the tests' own scratch
  // directories (this test's and, on Windows, those of tests running
  // beside it).
  static std::vector<std::string> LeftInTemp() {
    std::vector<std::string> names;
    const std::string temp = ExcludeTrailingBackslash(platform::system().TempDirectory());
    for (const auto& e : platform::files().FindFiles(temp + "\\*"))
      if (e.name != "." && e.name != ".." && e.name.rfind("pellmore-", 0) != 0)
        names.push_back(e.name);
    return names;
  }

  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
};

TEST_F(VrexCompressTest, CompressesAndExtractsASingleFileArchive) {
  const std::string a = Sample(200000, 1), b = Noise(70000, 2);
  Write(P("C:\\SRC\\A.TXT"), a);
  SetDate(P("C:\\SRC\\A.TXT"), EncodeDateTime(2003, 4, 5, 6, 7, 8, 0));
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\B.BIN"), b}, {P("C:\\SRC\\EMPTY"), ""}},
        lzcOverwrite, 5);
  TStringList more;
  more.Add(P("C:\\SRC\\A.TXT"));
  c->SetFilesToProcess(&more);
  c->Compress(lzcOnlyAdd, 6);
  EXPECT_FALSE(c->DirectoryLoaded());
  EXPECT_EQ(c->FilesToProcess()->Count(), 0);

  // The stored layout: head, then each header followed by its data.
  const std::string raw = Read(P("C:\\OUT\\files.1"));
  const auto* p = reinterpret_cast<const uint8_t*>(raw.data());
  EXPECT_EQ(GetLE32(p), 3u);
  EXPECT_EQ(p[4], 0);
  uint32_t pos = 5;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const uint8_t* h = p + pos;
    EXPECT_EQ(GetLE32(h + kDataStart), pos + 172);
    EXPECT_EQ(GetLE32(h + kEndPosition), GetLE32(h + kNextHeader) - 1);
    EXPECT_EQ(GetLE32(h + kCompressedSize), GetLE32(h + kNextHeader) - pos - 172);
    EXPECT_EQ(h[kStartVolume], 0);
    EXPECT_EQ(h[kEndVolume], 0);
    pos = GetLE32(h + kNextHeader);
  }
  EXPECT_EQ(pos, raw.size());

  ASSERT_EQ(c->FileCount(), 3);
  EXPECT_TRUE(c->DirectoryLoaded());
  TlzhFileStats s;
  c->GetFileStats(2, s);
  EXPECT_EQ(s.FileName, P("C:\\SRC\\A.TXT"));
  EXPECT_EQ(s.FileSize, 200000);
  EXPECT_EQ(s.TotalSize, 270000);
  EXPECT_LT(s.CompressedSize, s.FileSize);
  EXPECT_EQ(s.Ratio, RatioOf(s.CompressedSize, 200000));
  EXPECT_EQ(GetLE32(&s.Header[kUniqueID]), 6u);
  EXPECT_THAT([&] { c->GetFileStats(3, s); },
              ThrowsMessage<EVrexCompress>(
                  StrEq("Tried to access the 3th file. This file is not defined")));
  EXPECT_EQ(c->IndexOfUniqueID(5), 1);  // a later member with the same id wins
  EXPECT_EQ(c->IndexOfUniqueID(6), 2);

  std::vector<std::string> events;
  c->OnBeforeExtracting = [&](TObject*, const TlzhFileStats& st) {
    events.push_back("before " + st.FileName);
  };
  int lastPercent = -1;
  c->OnStatus = [&](TObject*, const TlzhFileStats& st) {
    EXPECT_GE(int(st.TotalPercent), lastPercent);
    lastPercent = st.TotalPercent;
    if (st.Finished) events.push_back("done " + st.FileName);
  };
  ExtractTo(*c, P("C:\\DEST\\NEW"),
            {P("c:\\src\\a.txt"), P("C:\\SRC\\B.BIN"), P("C:\\SRC\\EMPTY")});
  EXPECT_EQ(lastPercent, 100);
  EXPECT_EQ(events,
            (std::vector<std::string>{P("before C:\\SRC\\A.TXT"), P("done C:\\SRC\\A.TXT"),
                                      P("before C:\\SRC\\B.BIN"), P("done C:\\SRC\\B.BIN"),
                                      P("before C:\\SRC\\EMPTY"), P("done C:\\SRC\\EMPTY")}));
  // Exactly the members, with their stored dates: no temporary file left.
  EXPECT_EQ(Snapshot(P("C:\\DEST\\NEW")),
            (std::map<std::string, std::string>{{"A.TXT", a}, {"B.BIN", b}, {"EMPTY", ""}}));
  EXPECT_NEAR(DateOf(P("C:\\DEST\\NEW\\A.TXT")), EncodeDateTime(2003, 4, 5, 6, 7, 8, 0), 1e-7);
  EXPECT_EQ(c->FilesToProcess()->Count(), 0);
  EXPECT_EQ(c->ExtractName, "");
}

TEST_F(VrexCompressTest, AppendingKeepsOldMembersAndRewritingKeepsOnlyTheList) {
  Build(*c, P("C:\\OUT\\files.1"),
        {{P("C:\\SRC\\A"), Sample(5000, 1)}, {P("C:\\SRC\\B"), Sample(7000, 2)}});
  const std::string before = Read(P("C:\\OUT\\files.1"));
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\C"), Sample(9000, 3)}}, lzcOnlyAdd, 9);
  const std::string after = Read(P("C:\\OUT\\files.1"));
  ASSERT_GT(after.size(), before.size());
  EXPECT_EQ(GetLE32(reinterpret_cast<const uint8_t*>(after.data())), 3u);
  EXPECT_EQ(after.substr(4, before.size() - 4), before.substr(4));  // old members untouched
  EXPECT_EQ(c->FileCount(), 3);
  EXPECT_EQ(c->IndexOfUniqueID(9), 2);
  ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\C")});
  EXPECT_EQ(Read(P("C:\\DEST\\C")), Sample(9000, 3));

  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\D"), "d"}}, lzcOverwrite);
  ASSERT_EQ(c->FileCount(), 1);
  TlzhFileStats s;
  c->GetFileStats(0, s);
  EXPECT_EQ(s.FileName, P("C:\\SRC\\D"));
  EXPECT_EQ(Snapshot(P("C:\\OUT")).size(), 1u);  // no temporary file beside it
}

TEST_F(VrexCompressTest, FindsACutNameOnlyByItsUniqueID) {
  const std::string longPath = P("C:\\SRC\\") + std::string(110, 'x') + "\\QDENG32.DLL";
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\FIRST"), "1"}}, lzcOverwrite, 1);
  Build(*c, P("C:\\OUT\\files.1"), {{longPath, "engine"}}, lzcOnlyAdd, 42);
  EXPECT_THAT(
      [&] { ExtractTo(*c, P("C:\\DEST"), {longPath}); },
      ThrowsMessage<EVrexCompress>(
          StrEq("The file <" + longPath + P("> was not found in the archive <C:\\OUT\\files.1>"))));
  EXPECT_TRUE(c->Abort());
  const int index = c->IndexOfUniqueID(42);
  ASSERT_EQ(index, 1);
  TlzhFileStats s;
  c->GetFileStats(index, s);
  EXPECT_EQ(s.FileName, longPath.substr(0, 100));
  c->ExtractName = "QDENG32.DLL";
  ExtractTo(*c, P("C:\\DEST"), {s.FileName});
  EXPECT_EQ(Read(P("C:\\DEST\\QDENG32.DLL")), "engine");

  // Ids no member carries, or outside the table, give member 0.
  for (int id : {0, 7, 1999, 2000, -1, 1 << 30}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(c->IndexOfUniqueID(id), 0);
  }
}

TEST_F(VrexCompressTest, KeepsTheDirectoryWithinAVolumeSetOnly) {
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\A"), "a"}});
  Build(*c, P("C:\\OUT\\other.1"), {{P("C:\\SRC\\B"), "b"}});
  struct Step {
    std::string name;
    bool loaded;
  };
  c->SetCompressedFile(P("C:\\OUT\\files.1"));
  c->FileCount();
  const Step steps[] = {{P("c:\\out\\FILES.1"), true},
                        {P("C:\\OUT\\files.2"), true},
                        {P("C:\\OUT\\files.17"), true},
                        {P("C:\\OUT\\other.1"), false}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    c->SetCompressedFile(s.name);
    EXPECT_EQ(c->DirectoryLoaded(), s.loaded);
  }
  EXPECT_EQ(c->CompressedFile(), P("C:\\OUT\\other.1"));
  // Once dropped, the directory is read again on demand from the new file.
  TlzhFileStats st;
  c->GetFileStats(0, st);
  EXPECT_EQ(st.FileName, P("C:\\SRC\\B"));
  c->SetCompressedFile("D:\\OUT\\other.1");  // same name, another directory
  EXPECT_FALSE(c->DirectoryLoaded());
}

TEST_F(VrexCompressTest, HandlesTheEmptyArchiveAndAFileTooShortForAHead) {
  Write(P("C:\\OUT\\empty.1"), std::string("\0\0\0\0\0", 5));
  c->SetCompressedFile(P("C:\\OUT\\empty.1"));
  EXPECT_EQ(c->FileCount(), 0);
  ExtractTo(*c, P("C:\\DEST"), {});
  Build(*c, P("C:\\OUT\\empty.1"), {{P("C:\\SRC\\A"), "a"}}, lzcOnlyAdd);
  EXPECT_EQ(c->FileCount(), 1);

  const std::string four("\1\0\0\0", 4);
  Write(P("C:\\OUT\\short.1"), four);
  c->SetCompressedFile(P("C:\\OUT\\short.1"));
  EXPECT_THAT([&] { c->ReadDirectory(); },
              ThrowsMessage<EVrexCompress>(
                  StrEq("Could not read the file headers for the compressed file. The Archive file "
                        "could possible be corrupt")));
  EXPECT_FALSE(c->DirectoryLoaded());
  EXPECT_THAT(
      [&] {
        Build(*c, P("C:\\OUT\\short.1"), {{P("C:\\SRC\\A"), "a"}}, lzcOnlyAdd);
      },
      ThrowsMessage<EVrexCompress>(
          StrEq("Could not read the file header count for the compressed file")));
  EXPECT_EQ(Read(P("C:\\OUT\\short.1")), four);
  c->SetCompressedFile(P("C:\\OUT\\missing.1"));
  EXPECT_THAT(
      [&] { c->FileCount(); },
      ThrowsMessage<EVrexCompress>(StrEq(P("Cannot open the compressed file C:\\OUT\\missing.1"))));
}

TEST_F(VrexCompressTest, MakesTheOverwriteDecisionBeforeWriting) {
  const TDateTime stored = EncodeDateTime(2005, 6, 7, 8, 9, 10, 0);
  const TDateTime step = 2.0 / 86400;
  Write(P("C:\\SRC\\X.DLL"), "new");
  SetDate(P("C:\\SRC\\X.DLL"), stored);
  versions_->byPath[AsciiUpperCase(P("C:\\SRC\\X.DLL"))] = "2.0.0.10";
  TStringList list;
  list.Add(P("C:\\SRC\\X.DLL"));
  c->SetCompressedFile(P("C:\\OUT\\files.1"));
  c->SetFilesToProcess(&list);
  c->Compress(lzcOverwrite, 0);

  struct Case {
    const char* what;
    TOverwriteType mode;
    const char* destVersion;  // nullptr: none
    TDateTime destDate;
    bool replaced;
  };
  const Case cases[] = {
      {"always", owAlways, "3.0.0.0", stored + 100, true},
      {"never", owNever, nullptr, stored - 100, false},
      {"older version", owVersion, "2.0.0.9", stored + 100, true},
      {"newer version", owVersion, "2.0.0.11", stored - 100, false},
      {"same version", owVersion, "2.0.0.10", stored - 100, false},
      {"older date", owDate, "9.0.0.0", stored - step, true},
      {"same date", owDate, nullptr, stored, false},
      {"same version, older date", owVersionDate, "2.0.0.10", stored - step, true},
      {"same version, newer date", owVersionDate, "2.0.0.10", stored + step, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Write(P("C:\\DEST\\X.DLL"), "old");
    SetDate(P("C:\\DEST\\X.DLL"), k.destDate);
    versions_->byPath.erase(AsciiUpperCase(P("C:\\DEST\\X.DLL")));
    if (k.destVersion) versions_->byPath[AsciiUpperCase(P("C:\\DEST\\X.DLL"))] = k.destVersion;
    int replaces = 0, finished = 0;
    c->OnReplace = [&](TObject*, const TlzhFileStats&) { ++replaces; };
    c->OnStatus = [&](TObject*, const TlzhFileStats& s) { finished += s.Finished; };
    c->SetOverwrite(k.mode);
    ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\X.DLL")});
    EXPECT_EQ(Read(P("C:\\DEST\\X.DLL")), k.replaced ? "new" : "old");
    EXPECT_EQ(replaces, k.replaced ? 1 : 0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(Snapshot(P("C:\\DEST")).size(), 1u);
  }

  // A destination that cannot be opened to read its date: no decision.
  Write(P("C:\\DEST\\X.DLL"), "old");
  auto lock = platform::files().Open(P("C:\\DEST\\X.DLL"), platform::kAccessRead,
                                     platform::kShareNone, platform::Disposition::OpenExisting);
  c->SetOverwrite(owDate);
  EXPECT_THAT(
      [&] { ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\X.DLL")}); },
      ThrowsMessage<EVrexCompress>(StrEq("Error comparing file versions in TVrexCompress")));
  lock.reset();
  EXPECT_EQ(Read(P("C:\\DEST\\X.DLL")), "old");

  // OnReplace may redirect the write; the old file then stays.
  c->SetOverwrite(owAlways);
  c->OnReplace = [&](TObject*, const TlzhFileStats&) { c->ExtractName = "X.NEW"; };
  ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\X.DLL")});
  EXPECT_EQ(Read(P("C:\\DEST\\X.DLL")), "old");
  EXPECT_EQ(Read(P("C:\\DEST\\X.NEW")), "new");
}

TEST_F(VrexCompressTest, LetsTheBeforeExtractingHandlerRenameOrSkip) {
  Build(*c, P("C:\\OUT\\files.1"),
        {{P("C:\\SRC\\A"), "a"}, {P("C:\\SRC\\B"), "b"}, {P("C:\\SRC\\C"), "c"}});
  std::vector<std::string> seen;
  c->OnBeforeExtracting = [&](TObject*, const TlzhFileStats& s) {
    seen.push_back(c->ExtractName);
    if (s.FileName == P("C:\\SRC\\A")) c->ExtractName = "..\\SUB\\RENAMED";  // only the name counts
    if (s.FileName == P("C:\\SRC\\B")) c->SkipFile = true;
  };
  ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\A"), P("C:\\SRC\\B"), P("C:\\SRC\\C")});
  EXPECT_EQ(seen, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(Snapshot(P("C:\\DEST")),
            (std::map<std::string, std::string>{{"RENAMED", "a"}, {"C", "c"}}));

  // A name that is no file name is refused, not written onto a directory.
  c->OnBeforeExtracting = [&](TObject*, const TlzhFileStats&) { c->ExtractName = P("C:\\.."); };
  EXPECT_THAT([&] { ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\A")}); },
              ThrowsMessage<EVrexCompress>(StrEq(P("Cannot create the file C:\\DEST\\.."))));
  EXPECT_EQ(c->ExtractName, "");  // not left behind for the next extraction
}

TEST_F(VrexCompressTest, CancelLeavesArchivesAndDestinationsAsTheyWere) {
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\OLD"), Sample(3000, 1)}});
  const std::string archive = Read(P("C:\\OUT\\files.1"));
  Write(P("C:\\SRC\\BIG"), Noise(300000, 2));
  const auto tempBefore = LeftInTemp();
  int aborted = 0;
  c->OnAborted = [&](TObject* sender) {
    EXPECT_EQ(sender, c.get());
    ++aborted;
  };
  c->OnStatus = [&](TObject*, const TlzhFileStats&) { c->SetAbort(true); };
  for (TlzhCommand command : {lzcOnlyAdd, lzcOverwrite}) {
    SCOPED_TRACE(command);
    TStringList list;
    list.Add(P("C:\\SRC\\BIG"));
    c->SetFilesToProcess(&list);
    c->Compress(command, 3);  // quiet: no exception
    EXPECT_EQ(Read(P("C:\\OUT\\files.1")), archive);
    EXPECT_EQ(Snapshot(P("C:\\OUT")).size(), 1u);
    EXPECT_EQ(LeftInTemp(), tempBefore);
    EXPECT_EQ(c->FilesToProcess()->Count(), 0);
  }
  EXPECT_EQ(aborted, 2);

  c->OnStatus = nullptr;
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\BIG"), Noise(300000, 2)}});
  Write(P("C:\\DEST\\BIG"), "old");
  const auto before = Snapshot(P("C:\\DEST"));
  c->OnStatus = [&](TObject*, const TlzhFileStats& s) {
    if (s.FileBytesDone > 10000) c->SetAbort(true);
  };
  ExtractTo(*c, P("C:\\DEST"), {P("C:\\SRC\\BIG")});
  EXPECT_EQ(aborted, 3);
  EXPECT_EQ(Snapshot(P("C:\\DEST")), before);
  EXPECT_EQ(c->ExtractName, "");
}

#ifndef _WIN32  // fills a simulated D: drive
TEST_F(VrexCompressTest, HandsAFullDiskToOnFullDiskOrFails) {
  const std::string big = Noise(200000, 3);
  Build(*c, P("C:\\OUT\\files.1"), {{P("C:\\SRC\\BIG"), big}});
  Write("D:\\KEEP\\BIG", "old");
  Write("D:\\FILLER", std::string(150000, 'f'));
  machine_->SetFreeSpace('D', 100000);
  const auto before = Snapshot("D:\\KEEP");

  // Without a handler: EvcDiskFull, the old file as it was, no partial file.
  EXPECT_THAT([&] { ExtractTo(*c, "D:\\KEEP", {P("C:\\SRC\\BIG")}); },
              ThrowsMessage<EvcDiskFull>(StrEq("The disk is full")));
  EXPECT_TRUE(c->Abort());
  EXPECT_EQ(Snapshot("D:\\KEEP"), before);

  // A handler that frees nothing gets a bounded number of calls.
  int calls = 0;
  c->OnFullDisk = [&](TObject*) { ++calls; };
  EXPECT_THAT([&] { ExtractTo(*c, "D:\\KEEP", {P("C:\\SRC\\BIG")}); },
              ThrowsMessage<EvcDiskFull>(StrEq("The disk is full")));
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(Snapshot("D:\\KEEP"), before);

  // One that makes room lets the extraction go on.
  calls = 0;
  c->OnFullDisk = [&](TObject*) {
    ++calls;
    platform::files().DeleteFile("D:\\FILLER");
  };
  ExtractTo(*c, "D:\\KEEP", {P("C:\\SRC\\BIG")});
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Read("D:\\KEEP\\BIG"), big);

  // Compressing onto a full disk keeps the archive that was there.
  c->OnFullDisk = nullptr;
  machine_->SetFreeSpace('D', 10000000);
  Write("D:\\OUT\\files.1", Read(P("C:\\OUT\\files.1")));
  const std::string old = Read("D:\\OUT\\files.1");
  machine_->SetFreeSpace('D', 50000);
  for (TlzhCommand command : {lzcOnlyAdd, lzcOverwrite}) {
    SCOPED_TRACE(command);
    EXPECT_THAT(
        [&] {
          Build(*c, "D:\\OUT\\files.1", {{P("C:\\SRC\\BIG"), big}}, command);
        },
        ThrowsMessage<EvcDiskFull>(StrEq("The disk is full")));
    EXPECT_EQ(Read("D:\\OUT\\files.1"), old);
    EXPECT_EQ(Snapshot("D:\\OUT").size(), 1u);
  }
}
#endif

TEST_F(VrexCompressTest, CopiesPlainFilesWithTheOverwriteRule) {
  Write(P("C:\\SRC\\P.TXT"), Sample(20000, 4));
  const TDateTime date = EncodeDateTime(1999, 12, 31, 23, 59, 58, 0);
  SetDate(P("C:\\SRC\\P.TXT"), date);
  c->SkipFile = true;  // left over from an extraction: must not skip the copy
  int statuses = 0;
  c->OnStatus = [&](TObject*, const TlzhFileStats& s) {
    ++statuses;
    EXPECT_EQ(s.FileName, P("C:\\SRC\\P.TXT"));
  };
  c->CopyPlainFile(P("C:\\SRC\\P.TXT"), P("C:\\DEST\\P.TXT"));
  EXPECT_EQ(Read(P("C:\\DEST\\P.TXT")), Sample(20000, 4));
  EXPECT_NEAR(DateOf(P("C:\\DEST\\P.TXT")), date, 1e-7);
  EXPECT_EQ(statuses, 4);  // two full buffers, the short one, finished
  EXPECT_EQ(c->ExtractDirectory(), P("C:\\DEST"));
  EXPECT_EQ(c->ExtractName, "");

  Write(P("C:\\DEST\\P.TXT"), "kept");
  c->SetOverwrite(owNever);
  c->CopyPlainFile(P("C:\\SRC\\P.TXT"), P("C:\\DEST\\P.TXT"));
  EXPECT_EQ(Read(P("C:\\DEST\\P.TXT")), "kept");

  // Cancel stops quietly with the destination untouched.
  c->SetOverwrite(owAlways);
  c->OnStatus = [&](TObject*, const TlzhFileStats&) { c->SetAbort(true); };
  c->CopyPlainFile(P("C:\\SRC\\P.TXT"), P("C:\\DEST\\P.TXT"));
  EXPECT_EQ(Snapshot(P("C:\\DEST")), (std::map<std::string, std::string>{{"P.TXT", "kept"}}));

  c->OnStatus = nullptr;
  EXPECT_THAT([&] { c->CopyPlainFile(P("C:\\SRC\\NONE"), P("C:\\DEST\\NONE")); },
              ThrowsMessage<EVrexCompress>(StrEq(P("Cannot open the file C:\\SRC\\NONE"))));
}

TEST_F(VrexCompressTest, CleansItsFileListAndSharesOneInstance) {
  TStringList list;
  list.Add(P("C:\\A"));
  list.Add("   ");
  list.Add("");
  list.Add(P("C:\\B"));
  c->SetFilesToProcess(&list);
  EXPECT_EQ(c->FilesToProcess()->Text(), P("C:\\A\r\nC:\\B\r\n"));
  // Every property and event kind is one the class registry can describe.
  RegisterVrexCompress(ClassRegistry::Global());
  EXPECT_NE(ClassRegistry::Global().FindClass("TVrexCompress"), nullptr);

  TVrexCompress& shared = TVrexCompress::Shared();
  EXPECT_EQ(&shared, &TVrexCompress::Shared());
  shared.SetAbort(true);
  EXPECT_TRUE(ProcessState::IsRegistered("TVrexCompress.Shared"));
  ProcessState::ResetAll();
  EXPECT_FALSE(TVrexCompress::Shared().Abort());  // a fresh instance
}

}  // namespace
}  // namespace archive_test
