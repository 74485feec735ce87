// Install files: the overwrite decision against existing destinations, the
// event order of a replacement, kept files, the safe replacement when the
// archive is damaged or the destination is in use, and the error messages
// of blank archives and destinations.
#include <gtest/gtest.h>

#include <algorithm>

#include "InstallFileFixture.h"
#include "archive/cmp_TVrexCompress.h"

namespace filestest {
namespace {

class InstallStepTest : public InstallFileTest {
 protected:
  const std::string kSource = P("C:\\src\\data.txt");
  const std::string kDest = P("C:\\Dest\\data.txt");

  // Packs `bytes` (dated `date`) as the group's only file and reads its
  // stored information back from the archive.
  TInstallFile* Packed(const std::string& bytes, TDateTime date) {
    PutFile(kSource, bytes, date);
    TInstallFile* f = NewFile("DataFile", group_, kSource);
    CompressContainer(*group_, kBuildOptionsTraditional);
    f->ReadInfoFromArchive();
    group_->Codes.clear();
    return f;
  }
  static int Position(const std::vector<int>& codes, int code) {
    auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
  }
};

TEST_F(InstallStepTest, OverwriteModesAgainstExistingAndMissingDestinations) {
  enum Dest { kMissing, kNewer, kOlder, kEqual };
  struct Case {
    TOverwriteType mode;
    Dest dest;
    bool installs;
  };
  // The packed file is dated kMid and has no version resource.
  const Case cases[] = {
      {owAlways, kNewer, true},
      {owAlways, kOlder, true},
      {owAlways, kEqual, true},
      {owAlways, kMissing, true},
      {owNever, kNewer, false},
      {owNever, kOlder, false},
      {owNever, kEqual, false},
      {owNever, kMissing, true},
      {owDate, kNewer, false},
      {owDate, kOlder, true},
      {owDate, kEqual, false},
      {owDate, kMissing, true},
      {owVersionDate, kNewer, false},
      {owVersionDate, kOlder, true},
      {owVersionDate, kEqual, false},
      {owVersionDate, kMissing, true},
      // Both versions empty compare "same": an existing file stays, but a
      // missing one is still installed.
      {owVersion, kOlder, false},
      {owVersion, kMissing, true},
  };
  TInstallFile* f = Packed("new contents", kMid);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " dest " << c.dest);
    if (platform::files().FileExists(kDest)) platform::files().DeleteFile(kDest);
    if (c.dest != kMissing)
      PutFile(kDest, "old", c.dest == kNewer ? kNew : c.dest == kOlder ? kOld : kMid);
    f->SetOverwriteMode(c.mode);
    int afterInstall = 0;
    f->SetOnAfterInstall([&](TInstallFileRef) { ++afterInstall; });
    group_->Codes.clear();

    f->SetState(ifsInstalling);

    EXPECT_EQ(f->State(), ifsIdle);
    EXPECT_EQ(f->DestExisted(), c.dest != kMissing);
    EXPECT_EQ(ReadAll(kDest), c.installs ? "new contents" : "old");
    EXPECT_EQ(afterInstall, 1);
    const std::vector<int>& codes = group_->Codes;
    EXPECT_EQ(Position(codes, kInfoFileKept) >= 0, !c.installs);
    EXPECT_EQ(Position(codes, kInfoReplacing) >= 0, c.installs);
    EXPECT_EQ(codes.back(), kInfoAfterInstall);
    if (c.installs) {
      EXPECT_DOUBLE_EQ(DateOf(kDest), kMid);
      // Replacing is announced before any byte is extracted.
      EXPECT_LT(Position(codes, kInfoReplacing), Position(codes, kInfoStatusInstalling));
    }
  }
}

TEST_F(InstallStepTest, SilentAbortsSkipOrKeep) {
  TInstallFile* f = Packed("new", kMid);
  PutFile(kDest, "old", kOld);

  f->SetOnBeforeInstall([](TInstallFileRef) { throw EAbort("skip"); });
  f->SetState(ifsInstalling);
  EXPECT_NE(std::find(group_->Codes.begin(), group_->Codes.end(), kInfoInstallSkipped),
            group_->Codes.end());
  EXPECT_EQ(ReadAll(kDest), "old");

  // An abort while replacing turns the decision into "keep".
  f->SetOnBeforeInstall(nullptr);
  f->SetOnReplacing([](TInstallFileRef) { throw EAbort("keep"); });
  group_->Codes.clear();
  f->SetState(ifsInstalling);
  EXPECT_NE(std::find(group_->Codes.begin(), group_->Codes.end(), kInfoFileKept),
            group_->Codes.end());
  EXPECT_EQ(ReadAll(kDest), "old");
}

TEST_F(InstallStepTest, DamagedMemberLeavesThePreviousFileUntouched) {
  const std::string v1(5000, 'a');
  // Noise, so the member is large in the archive and its middle is data.
  std::string v2;
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245u + 12345u;
    v2 += static_cast<char>(x >> 24);
  }
  TInstallFile* f = Packed(v1, kOld);
  f->SetState(ifsInstalling);
  ASSERT_EQ(ReadAll(kDest), v1);

  // Pack the second version, then damage its member in the middle.
  PutFile(kSource, v2, kNew);
  CompressContainer(*group_, kBuildOptionsTraditional);
  {
    auto archive = platform::files().OpenWrite(P("C:\\build\\files.1"));
    const uint64_t middle = archive->Size() / 2;
    std::string junk(64, '\x5a');
    archive->Seek(static_cast<int64_t>(middle), platform::SeekOrigin::Begin);
    archive->Write(junk.data(), junk.size());
  }
  TVrexCompress::FreeShared();
  f->SetInformationRead(false);
  f->ReadInfoFromArchive();
  f->SetOverwriteMode(owAlways);
  EXPECT_THROW(f->SetState(ifsInstalling), EVrexCompress);
  EXPECT_EQ(f->State(), ifsIdle);
  EXPECT_EQ(ReadAll(kDest), v1);
  EXPECT_DOUBLE_EQ(DateOf(kDest), kOld);
  // No temporary file is left beside the destination.
  EXPECT_EQ(platform::files().FindFiles(P("C:\\Dest\\*.*")).size(), 3u);  // ".", "..", data.txt
}

TEST_F(InstallStepTest, DestinationInUseWaitsForTheRestartWithoutLosingIt) {
  TInstallFile* f = Packed("new", kNew);
  PutFile(kDest, "old", kOld);
  auto held = platform::files().Open(kDest, platform::kAccessRead, platform::kShareRead,
                                     platform::Disposition::OpenExisting);
  f->SetState(ifsInstalling);
  held.reset();
  EXPECT_EQ(ReadAll(kDest), "old");
  EXPECT_TRUE(f->ReplacePending());
  EXPECT_EQ(ReadAll(P("C:\\Dest\\data.1")), "new");
}

TEST_F(InstallStepTest, BlankArchiveAndDestinationAreRefused) {
  PutFile(kSource, "x", kMid);
  TInstallFile* f = NewFile("DataFile", group_, kSource);
  group_->SetArchiveFile("");
  try {
    f->SetState(ifsCompressing);
    ADD_FAILURE() << "no error";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(),
              "Cannot either compress or decompress the following file because it's archive file "
              "property is blank. File is :data.txt");
  }
  EXPECT_EQ(f->State(), ifsIdle);

  group_->SetArchiveFile(P("C:\\build\\files.1"));
  group_->SetDestDir("");
  try {
    f->SetState(ifsInstalling);
    ADD_FAILURE() << "no error";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(),
              "Cannot compress,copy, or install the following file because it's destination "
              "directory is blank. File is :DataFile");
  }
}

TEST_F(InstallStepTest, CopyPlacesTheSourceAsItIs) {
  PutFile(kSource, "plain", kOld);
  TInstallFile* f = NewFile("DataFile", group_, kSource);
  f->SetDestName("renamed.txt");
  group_->CopyFiles();
  EXPECT_EQ(ReadAll(P("C:\\Dest\\renamed.txt")), "plain");
  EXPECT_EQ(f->State(), ifsIdle);
}

}  // namespace
}  // namespace filestest
