// Rules the Win32 file service adds on top of the system calls: a failed
// replacing copy keeps the destination, an explicit file time survives later
// writes (the host file system under Wine would move it), names with a NUL
// are refused instead of being cut short, closed handles stay closed.
#include <gtest/gtest.h>

#include <functional>

#include "framework/StrUtils.h"
#include "support/ContractMachine.h"

namespace {

using Win32Files = ContractMachine;
using namespace platform;

// 2024-05-06 13:14:16 UTC as a FILETIME.
constexpr FileTime kStamp = 133594616560000000ULL;

TEST_F(Win32Files, FailedReplacingCopyKeepsTheDestination) {
  struct Case {
    const char* what;
    bool readOnlyDestination;
    const char* from;
    uint32_t code;
  };
  const Case cases[] = {
      {"source missing", false, "missing.txt", kErrorFileNotFound},
      {"destination read-only", true, "source.txt", kErrorAccessDenied},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(At("source.txt"), "new contents");
    if (Files().FileExists(At("dest.txt"))) Files().SetAttributes(At("dest.txt"), kAttrNormal);
    WriteFile(At("dest.txt"), "old contents");
    if (c.readOnlyDestination) Files().SetAttributes(At("dest.txt"), kAttrReadOnly);
    EXPECT_EQ(CodeOf([&] { Files().CopyFile(At(c.from), At("dest.txt"), false); }), c.code);
    EXPECT_EQ(ReadFile(At("dest.txt")), "old contents");
    // Nothing but the two files is left behind.
    EXPECT_EQ(Files().FindFiles(At("*.tmp")).size(), 0u);
  }
}

TEST_F(Win32Files, ReplacingCopyBringsBytesTimeAndNothingElse) {
  WriteFile(At("source.txt"), "new contents");
  Files().SetLastWriteTime(At("source.txt"), kStamp);
  WriteFile(At("dest.txt"), "old and longer contents");
  Files().CopyFile(At("source.txt"), At("dest.txt"), false);
  EXPECT_EQ(ReadFile(At("dest.txt")), "new contents");
  EXPECT_EQ(Files().Stat(At("dest.txt"))->lastWrite, kStamp);
  EXPECT_EQ(Files().FindFiles(At("*")).size(), 4u);  // ".", "..", the two files
  EXPECT_EQ(CodeOf([&] { Files().CopyFile(At("source.txt"), At("dest.txt"), true); }),
            kErrorFileExists);
  Files().CreateDirectory(At("folder"));
  EXPECT_EQ(CodeOf([&] { Files().CopyFile(At("source.txt"), At("folder"), false); }),
            kErrorAccessDenied);
}

TEST_F(Win32Files, ExplicitTimeSurvivesLaterWritesAndClosing) {
  auto f = Files().Create(At("stamped.bin"));
  f->Write("abc", 3);
  f->SetLastWriteTime(kStamp);
  f->Write("def", 3);
  f->SetEndOfFile();
  EXPECT_EQ(f->LastWriteTime(), kStamp);
  f->Close();
  EXPECT_EQ(Files().Stat(At("stamped.bin"))->lastWrite, kStamp);
  EXPECT_EQ(ReadFile(At("stamped.bin")), "abcdef");
}

TEST_F(Win32Files, NamesWithANulAreRefusedNotCut) {
  WriteFile(At("a"), "keep me");
  const std::string cut = At("a") + std::string("\0.txt", 5);
  struct Case {
    const char* call;
    std::function<void()> action;
  };
  const Case cases[] = {
      {"CreateFileW", [&] { Files().Create(cut); }},
      {"DeleteFileW", [&] { Files().DeleteFile(cut); }},
      {"MoveFileExW", [&] { Files().MoveFile(At("a"), cut, kMoveReplaceExisting); }},
      {"SetFileAttributesW", [&] { Files().SetAttributes(cut, kAttrReadOnly); }},
      {"FindFirstFileW", [&] { Files().FindFiles(cut); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    try {
      c.action();
      ADD_FAILURE() << "accepted";
    } catch (const OsError& e) {
      EXPECT_EQ(e.Call(), c.call);
      EXPECT_EQ(e.Code(), kErrorInvalidName);
    }
  }
  EXPECT_FALSE(Files().Stat(cut).has_value());
  EXPECT_EQ(ReadFile(At("a")), "keep me");
  EXPECT_EQ(Files().Stat(At("a"))->attributes & kAttrReadOnly, 0u);
}

TEST_F(Win32Files, ClosedFileRefusesEveryCallWithItsName) {
  auto f = Files().Create(At("closed.bin"));
  f->Close();
  char buffer[4];
  struct Case {
    const char* call;
    std::function<void()> action;
  };
  const Case cases[] = {
      {"ReadFile", [&] { f->Read(buffer, sizeof buffer); }},
      {"WriteFile", [&] { f->Write("x", 1); }},
      {"SetFilePointerEx", [&] { f->Seek(0, SeekOrigin::Begin); }},
      {"GetFileSizeEx", [&] { f->Size(); }},
      {"SetFileTime", [&] { f->SetLastWriteTime(kStamp); }},
      {"CloseHandle", [&] { f->Close(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    try {
      c.action();
      ADD_FAILURE() << "accepted";
    } catch (const OsError& e) {
      EXPECT_EQ(e.Call(), c.call);
      EXPECT_EQ(e.Code(), kErrorInvalidHandle);
    }
  }
}

TEST_F(Win32Files, FreeSpaceAnswersForTheDriveOfAnyPath) {
  WriteFile(At("file.txt"), "x");
  const DiskSpace drive = Files().FreeSpace(Scratch());
  EXPECT_GT(drive.totalBytes, 0u);
  EXPECT_LE(drive.freeBytes, drive.totalBytes);
  for (const char* p : {"file.txt", "not\\there\\yet"}) {
    SCOPED_TRACE(p);
    EXPECT_EQ(Files().FreeSpace(At(p)).totalBytes, drive.totalBytes);
  }
  EXPECT_TRUE(SameText(
      Files().Open(At("file.txt"), kAccessRead, kShareRead, Disposition::OpenExisting)->Path(),
      At("file.txt")));
}

}  // namespace
