// Files packed into an archive other than the installer's share one
// component that keeps the archive's directory between them, and a
// rebuilt archive is read afresh.
#include <gtest/gtest.h>

#include "InstallFileFixture.h"
#include "archive/cmp_TVrexCompress.h"
#include "files/KeptArchive.h"
#include "support/Noise.h"

namespace filestest {
namespace {

class KeptArchiveTest : public InstallFileTest {};

TEST_F(KeptArchiveTest, FilesOfOneArchiveReadItsDirectoryOnceAndSeeARebuild) {
  const std::string archive = P("C:\\build\\part2.1");
  TRecordingGroup* group = NewGroup("Part2", P("C:\\Dest2"), archive);
  std::vector<TInstallFile*> files;
  for (int i = 0; i < 3; ++i) {
    const std::string name = "f" + std::to_string(i) + ".dat";
    PutFile(P("C:\\src\\" + name), std::string(1000 + i, char('a' + i)), kMid);
    files.push_back(NewFile("F" + std::to_string(i), group, P("C:\\src\\" + name)));
  }
  CompressContainer(*group, kBuildOptionsTraditional);

  TVrexCompress* kept = nullptr;
  for (int i = 0; i < 3; ++i) {
    files[i]->ReadInfoFromArchive();
    files[i]->SetState(ifsInstalling);
    EXPECT_EQ(ReadAll(P("C:\\Dest2\\f" + std::to_string(i) + ".dat")),
              std::string(1000 + i, char('a' + i)));
    // The same component, its directory still loaded: nothing is read again.
    TVrexCompress& now = KeptArchive(archive);
    EXPECT_TRUE(now.DirectoryLoaded());
    if (kept) {
      EXPECT_EQ(&now, kept);
    }
    kept = &now;
  }
  EXPECT_EQ(kept->FileCount(), 3);

  // The archive rebuilt with a longer first file: every member moves, and
  // the next file installed from it must not use the old directory.
  const std::string longer = testsupport::Noise(5000, 3);
  PutFile(P("C:\\src\\f0.dat"), longer, kNew);
  CompressContainer(*group, kBuildOptionsTraditional);
  for (TInstallFile* f : files) f->SetInformationRead(false);
  files[2]->ReadInfoFromArchive();
  files[2]->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest2\\f2.dat")), std::string(1002, 'c'));
  files[0]->ReadInfoFromArchive();
  EXPECT_EQ(files[0]->StoredSize(), 5000);
  files[0]->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest2\\f0.dat")), longer);

  FreeKeptArchive();
}

}  // namespace
}  // namespace filestest
