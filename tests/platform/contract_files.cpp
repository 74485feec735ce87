// Contract of the file service, run against the simulated machine and, on
// the Win32 build, the real system: names, share modes, errors, times,
// listings, copies and moves behave as Windows defines them.
#include <gmock/gmock.h>

#include <algorithm>

#include "framework/DateTime.h"
#include "support/ContractMachine.h"

using namespace platform;
using ::testing::UnorderedElementsAreArray;

namespace {

class FileContract : public ContractMachine {
 protected:
  // The names listed for `pattern`; "." and ".." only when asked for, since
  // which patterns match them is a quirk nobody relies on.
  std::vector<std::string> Names(const std::string& pattern, bool dots = false) {
    std::vector<std::string> names;
    for (const auto& e : ContractMachine::Files().FindFiles(pattern))
      if (dots || (e.name != "." && e.name != "..")) names.push_back(e.name);
    return names;
  }
};

TEST_F(FileContract, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
  WriteFile(At("MixedCase.TXT"), "first");
  EXPECT_TRUE(Files().FileExists(At("mixedcase.txt")));
  EXPECT_EQ(ReadFile(At("MIXEDCASE.txt")), "first");

  // Writing through another spelling replaces the same file and keeps its name.
  WriteFile(At("mixedCASE.txt"), "second");
  EXPECT_THAT(Names(At("*")), UnorderedElementsAreArray({"MixedCase.TXT"}));
  EXPECT_EQ(ReadFile(At("MixedCase.TXT")), "second");

  // A rename that changes only the case is accepted (Windows takes the new
  // case; Wine keeps the old one, so only the simulated machine's own tests
  // check which).
  Files().MoveFile(At("MIXEDCASE.TXT"), At("mixedcase.txt"), 0);
  EXPECT_EQ(Names(At("*.txt")).size(), 1u);

  Files().CreateDirectory(At("SubDir"));
  EXPECT_TRUE(Files().DirectoryExists(At("SUBDIR")));
  WriteFile(At("subdir\\Inner.bin"), "x");
  EXPECT_THAT(Names(At("SUBDIR\\*.BIN")), UnorderedElementsAreArray({"Inner.bin"}));
}

TEST_F(FileContract, RefusalsCarryTheCallAndTheWindowsCode) {
  WriteFile(At("file.txt"), "data");
  WriteFile(At("readonly.txt"), "data");
  Files().SetAttributes(At("readonly.txt"), kAttrReadOnly);
  Files().CreateDirectory(At("dir"));
  WriteFile(At("dir\\inside.txt"), "x");
  auto& fs = Files();
  struct Case {
    const char* what;
    std::function<void()> action;
    uint32_t code;
  };
  const Case cases[] = {
      {"create new over an existing file",
       [&] { fs.Open(At("file.txt"), kAccessWrite, 0, Disposition::CreateNew); }, kErrorFileExists},
      {"open a missing file", [&] { fs.OpenRead(At("missing.txt")); }, kErrorFileNotFound},
      {"open in a missing directory", [&] { fs.OpenRead(At("nodir\\a.txt")); }, kErrorPathNotFound},
      {"create in a missing directory", [&] { fs.Create(At("nodir\\a.txt")); }, kErrorPathNotFound},
      {"open a directory as a file", [&] { fs.OpenRead(At("dir")); }, kErrorAccessDenied},
      {"name with <", [&] { fs.Create(At("a<b.txt")); }, kErrorInvalidName},
      {"name with |", [&] { fs.Create(At("a|b.txt")); }, kErrorInvalidName},
      {"name with *", [&] { fs.Create(At("a*b.txt")); }, kErrorInvalidName},
      {"name with ?", [&] { fs.Create(At("a?b.txt")); }, kErrorInvalidName},
      {"name with a quote", [&] { fs.Create(At("a\"b.txt")); }, kErrorInvalidName},
      {"name with a control character",
       [&] {
         fs.Create(
             At("a\x01"
                "b.txt"));
       },
       kErrorInvalidName},
      {"write a read-only file", [&] { fs.OpenWrite(At("readonly.txt")); }, kErrorAccessDenied},
      {"replace a read-only file", [&] { fs.Create(At("readonly.txt")); }, kErrorAccessDenied},
      {"delete a read-only file", [&] { fs.DeleteFile(At("readonly.txt")); }, kErrorAccessDenied},
      {"delete a missing file", [&] { fs.DeleteFile(At("missing.txt")); }, kErrorFileNotFound},
      {"delete a directory as a file", [&] { fs.DeleteFile(At("dir")); }, kErrorAccessDenied},
      {"remove a directory that is not empty", [&] { fs.RemoveDirectory(At("dir")); },
       kErrorDirNotEmpty},
      {"remove a file as a directory", [&] { fs.RemoveDirectory(At("file.txt")); },
       kErrorDirectory},
      {"create an existing directory", [&] { fs.CreateDirectory(At("dir")); }, kErrorAlreadyExists},
      {"create a directory over a file", [&] { fs.CreateDirectory(At("file.txt")); },
       kErrorAlreadyExists},
      {"create a directory in a missing one", [&] { fs.CreateDirectory(At("no\\sub")); },
       kErrorPathNotFound},
      {"move onto an existing file", [&] { fs.MoveFile(At("dir\\inside.txt"), At("file.txt"), 0); },
       kErrorAlreadyExists},
      {"move a missing file", [&] { fs.MoveFile(At("missing.txt"), At("x.txt"), 0); },
       kErrorFileNotFound},
      {"copy onto an existing file",
       [&] { fs.CopyFile(At("dir\\inside.txt"), At("file.txt"), true); }, kErrorFileExists},
      {"copy a file onto itself", [&] { fs.CopyFile(At("file.txt"), At("FILE.TXT"), false); },
       kErrorSharingViolation},
      {"list a missing directory", [&] { fs.FindFiles(At("nodir\\*")); }, kErrorPathNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CodeOf(c.action), c.code);
  }
  // Nothing that was there before was lost by the refusals.
  EXPECT_EQ(ReadFile(At("file.txt")), "data");
  EXPECT_EQ(ReadFile(At("readonly.txt")), "data");
  EXPECT_EQ(ReadFile(At("dir\\inside.txt")), "x");

  try {
    fs.DeleteFile(At("missing.txt"));
    FAIL() << "no error";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Call(), "DeleteFileW");
  }
  try {
    fs.MoveFile(At("missing.txt"), At("x.txt"), 0);
    FAIL() << "no error";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Call(), "MoveFileExW");
  }
  Files().SetAttributes(At("readonly.txt"), kAttrNormal);
}

TEST_F(FileContract, ShareModesDecideWhoMayReadWriteAndDelete) {
  WriteFile(At("shared.dat"), "content");
  auto& fs = Files();
  {
    // Open for writing, others may read: a second writer is refused, a
    // reader is not, and neither delete nor rename is possible.
    auto writer = fs.OpenWrite(At("shared.dat"));
    EXPECT_EQ(CodeOf([&] { fs.OpenWrite(At("SHARED.DAT")); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] {
                fs.Open(At("shared.dat"), kAccessRead, kShareRead, Disposition::OpenExisting);
              }),
              kErrorSharingViolation)
        << "a reader that denies writing conflicts with the open writer";
    EXPECT_EQ(ReadFile(At("shared.dat")), "content");
    EXPECT_EQ(CodeOf([&] { fs.DeleteFile(At("shared.dat")); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { fs.MoveFile(At("shared.dat"), At("moved.dat"), 0); }),
              kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { fs.CopyFile(At("shared.dat"), At("copy.dat"), false); }),
              kErrorSharingViolation);
  }
  {
    // A reader that denies writing keeps writers out but lets other readers in.
    auto reader = fs.Open(At("shared.dat"), kAccessRead, kShareRead, Disposition::OpenExisting);
    EXPECT_EQ(CodeOf([&] { fs.OpenWrite(At("shared.dat")); }), kErrorSharingViolation);
    EXPECT_EQ(ReadFile(At("shared.dat")), "content");
  }
  {
    // With delete sharing the file may be deleted while open.
    auto open = fs.Open(At("shared.dat"), kAccessRead, kShareRead | kShareWrite | kShareDelete,
                        Disposition::OpenExisting);
    fs.DeleteFile(At("shared.dat"));
  }
  EXPECT_FALSE(fs.FileExists(At("shared.dat")));
}

TEST_F(FileContract, HandlesReadWriteSeekAndTruncate) {
  auto f = Files().Create(At("stream.bin"));
  f->Write("0123456789", 10);
  EXPECT_EQ(f->Size(), 10u);
  EXPECT_EQ(f->Seek(4, SeekOrigin::Begin), 4u);
  char buf[8] = {};
  EXPECT_EQ(f->Read(buf, 3), 3u);
  EXPECT_EQ(std::string(buf, 3), "456");
  EXPECT_EQ(f->Seek(-2, SeekOrigin::End), 8u);
  EXPECT_EQ(f->Read(buf, 8), 2u) << "a read stops at the end";
  EXPECT_EQ(f->Read(buf, 8), 0u);
  EXPECT_EQ(CodeOf([&] { f->Seek(-11, SeekOrigin::End); }), kErrorNegativeSeek);
  EXPECT_EQ(f->Position(), 10u) << "a refused seek keeps the position";

  f->Seek(12, SeekOrigin::Begin);  // past the end: the gap reads as zeros
  f->Write("X", 1);
  EXPECT_EQ(f->Size(), 13u);
  f->Seek(6, SeekOrigin::Begin);
  f->SetEndOfFile();
  EXPECT_EQ(f->Size(), 6u);
  f->Close();
  EXPECT_EQ(CodeOf([&] { f->Size(); }), kErrorInvalidHandle);
  EXPECT_EQ(ReadFile(At("stream.bin")), "012345");

  auto g = Files().Create(At("gap.bin"));
  g->Seek(3, SeekOrigin::Begin);
  g->Write("Z", 1);
  g->Close();
  EXPECT_EQ(ReadFile(At("gap.bin")), std::string("\0\0\0Z", 4));

  auto r = Files().OpenRead(At("gap.bin"));
  EXPECT_EQ(CodeOf([&] { r->Write("a", 1); }), kErrorAccessDenied);
}

TEST_F(FileContract, LastWriteTimesRoundTripAtTwoSecondResolution) {
  struct Case {
    const char* what;
    int y, mo, d, h, mi, s;
  };
  const Case cases[] = {
      {"first DOS day", 1980, 1, 1, 0, 0, 0},   {"odd minute", 1999, 12, 31, 23, 59, 58},
      {"leap day", 2004, 2, 29, 12, 30, 44},    {"last DOS year", 2107, 12, 31, 23, 59, 58},
      {"the kit's era", 1998, 6, 15, 8, 15, 2},
  };
  WriteFile(At("dated.txt"), "x");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    uint32_t dos = DateTimeToDosDateTime(EncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, 0));
    FileTime t = LocalDateTimeToFileTime(DosDateTimeToDateTime(dos));

    Files().SetLastWriteTime(At("dated.txt"), t);
    auto info = Files().Stat(At("dated.txt"));
    ASSERT_TRUE(info);
    EXPECT_EQ(DateTimeToDosDateTime(FileTimeToLocalDateTime(info->lastWrite)), dos);

    // Through a handle after writing, as the kit stamps what it extracted;
    // closing the handle keeps the stamp.
    auto f = Files().OpenWrite(At("dated.txt"));
    f->Write("y", 1);
    f->SetLastWriteTime(t);
    EXPECT_EQ(DateTimeToDosDateTime(FileTimeToLocalDateTime(f->LastWriteTime())), dos);
    f->Close();
    EXPECT_EQ(
        DateTimeToDosDateTime(FileTimeToLocalDateTime(Files().Stat(At("dated.txt"))->lastWrite)),
        dos);
  }
  // Copies and moves keep the time.
  FileTime stamp = Files().Stat(At("dated.txt"))->lastWrite;
  Files().CopyFile(At("dated.txt"), At("copied.txt"), true);
  EXPECT_EQ(Files().Stat(At("copied.txt"))->lastWrite, stamp);
  Files().MoveFile(At("copied.txt"), At("moved.txt"), 0);
  EXPECT_EQ(Files().Stat(At("moved.txt"))->lastWrite, stamp);
}

// "*." (names without a dot) is left out: Wine lists everything for it.
TEST_F(FileContract, ListingsMatchWildcardsAsFindFirstFileDoes) {
  for (const char* name : {"a.txt", "B.TXT", "c.dat", "noext", "long.name.txt", "ab.txt"})
    WriteFile(At(name), "1234");
  Files().CreateDirectory(At("sub"));
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const std::vector<std::string> all = {"a.txt",         "B.TXT",  "c.dat", "noext",
                                        "long.name.txt", "ab.txt", "sub"};
  const Case cases[] = {
      {"*", all},
      {"*.*", all},
      {"*.txt", {"a.txt", "B.TXT", "long.name.txt", "ab.txt"}},
      {"?.txt", {"a.txt", "B.TXT"}},
      {"a*", {"a.txt", "ab.txt"}},
      {"noext.*", {"noext"}},
      {"*.d?t", {"c.dat"}},
      {"nomatch*", {}},
      {"B.txt", {"B.TXT"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_THAT(Names(At(c.pattern)), UnorderedElementsAreArray(c.names));
  }
  // Below a root, "*" also lists the directory itself and its parent.
  std::vector<std::string> withDots = all;
  withDots.insert(withDots.end(), {".", ".."});
  EXPECT_THAT(Names(At("*"), true), UnorderedElementsAreArray(withDots));
  for (const auto& e : Files().FindFiles(At("*"))) {
    SCOPED_TRACE(e.name);
    if (e.name == "sub" || e.name == "." || e.name == "..") {
      EXPECT_TRUE(e.IsDirectory());
    } else {
      EXPECT_FALSE(e.IsDirectory());
      EXPECT_EQ(e.size, 4u);
    }
  }
}

TEST_F(FileContract, CopiesAndMovesReplaceOnlyWhenAsked) {
  WriteFile(At("source.txt"), "new content");
  WriteFile(At("target.txt"), "old");
  Files().CopyFile(At("source.txt"), At("target.txt"), false);
  EXPECT_EQ(ReadFile(At("target.txt")), "new content");

  WriteFile(At("other.txt"), "other");
  EXPECT_EQ(CodeOf([&] { Files().MoveFile(At("other.txt"), At("target.txt"), 0); }),
            kErrorAlreadyExists);
  Files().MoveFile(At("other.txt"), At("target.txt"), kMoveReplaceExisting);
  EXPECT_EQ(ReadFile(At("target.txt")), "other");
  EXPECT_FALSE(Files().FileExists(At("other.txt")));

  // Directories move with their contents, but never onto a file.
  Files().CreateDirectories(At("tree\\deep\\er"));
  WriteFile(At("tree\\deep\\er\\leaf.txt"), "leaf");
  Files().MoveFile(At("tree"), At("moved tree"), 0);
  EXPECT_EQ(ReadFile(At("moved tree\\deep\\er\\leaf.txt")), "leaf");
  EXPECT_EQ(
      CodeOf([&] { Files().MoveFile(At("moved tree"), At("target.txt"), kMoveReplaceExisting); }),
      kErrorAccessDenied);
  EXPECT_TRUE(Files().DirectoryExists(At("moved tree")));

  // An empty file (a reserved temporary name) is replaced the same way,
  // named in any case, and the moved name is gone from listings too.
  WriteFile(At("Reserved.tmp"), "");
  Files().MoveFile(At("target.txt"), At("RESERVED.TMP"), kMoveReplaceExisting);
  EXPECT_EQ(ReadFile(At("reserved.tmp")), "other");
  EXPECT_FALSE(Files().FileExists(At("target.txt")));
  EXPECT_TRUE(Names(At("target.*")).empty());
  EXPECT_EQ(Names(At("*.tmp")).size(), 1u);
}

TEST_F(FileContract, CreateDirectoriesMakesEveryMissingParent) {
  Files().CreateDirectories(At("one\\two\\three"));
  EXPECT_TRUE(Files().DirectoryExists(At("one\\two\\three")));
  Files().CreateDirectories(At("one\\two\\three\\"));  // existing: fine
  WriteFile(At("one\\file"), "x");
  EXPECT_EQ(CodeOf([&] { Files().CreateDirectories(At("one\\file\\sub")); }), kErrorAlreadyExists);
}

TEST_F(FileContract, FullPathsResolveAgainstTheCurrentDirectory) {
  std::string saved = System().CurrentDirectory();
  Files().CreateDirectory(At("cwd"));
  System().SetCurrentDirectory(At("cwd"));
  EXPECT_EQ(Files().FullPathName("a\\..\\b.txt"), At("cwd\\b.txt"));
  EXPECT_EQ(Files().FullPathName("..\\x/y"), At("x\\y"));
  WriteFile("relative.txt", "here");
  EXPECT_EQ(ReadFile(At("cwd\\relative.txt")), "here");
  std::string root = Scratch().substr(0, 3);
  EXPECT_EQ(Files().FullPathName("\\top"), root + "top");
  EXPECT_EQ(Files().FullPathName(root + "..\\..\\x"), root + "x") << "'..' stops at the root";
  EXPECT_EQ(CodeOf([&] { System().SetCurrentDirectory(At("missing")); }), kErrorFileNotFound);
  EXPECT_EQ(CodeOf([&] { System().SetCurrentDirectory(At("cwd\\relative.txt")); }),
            kErrorDirectory);
  System().SetCurrentDirectory(saved);
}

TEST_F(FileContract, FreeSpaceIsReportedPerDrive) {
  DiskSpace space = Files().FreeSpace(Scratch());
  EXPECT_GT(space.totalBytes, 0u);
  EXPECT_LE(space.freeBytes, space.totalBytes);
}

}  // namespace
