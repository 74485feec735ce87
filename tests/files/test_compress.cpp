// The containers' build step: a tree of files packed into one archive and
// installed on a fresh machine; the options that choose each child's
// archive, with the child's settings put back afterwards, also on error.
#include <gtest/gtest.h>

#include "InstallFileFixture.h"
#include "archive/cmp_TVrexCompress.h"

namespace filestest {
namespace {

using CompressTest = InstallFileTest;

struct Source {
  std::string path;
  const char* contents;
  TDateTime date;
};

TEST_F(CompressTest, TreePacksIntoOneArchiveAndInstallsOnAFreshMachine) {
  const Source sources[] = {
      {P("C:\\src\\readme.txt"), "read me", kOld},
      {P("C:\\src\\bin\\tool.exe"), "MZ tool bytes", kMid},
      {P("C:\\src\\doc\\guide.hlp"), "", kNew},
  };
  for (const Source& s : sources) PutFile(s.path, s.contents, s.date);
  TRecordingGroup* docs = NewGroup("Docs", "", "D:\\elsewhere\\docs.1");
  docs->SetContainer(group_);
  docs->SetDestDir("\\Docs");
  docs->SetArchiveFileType(FindByClass<TpsContainerArchiveFile>());
  TInstallFile* files[] = {NewFile("Readme", group_, sources[0].path),
                           NewFile("Tool", group_, sources[1].path),
                           NewFile("Guide", docs, sources[2].path)};
  files[2]->SetInclude(false);  // packed all the same

  CompressContainer(*group_, kBuildOptionsTraditional);

  for (TInstallFile* f : files) EXPECT_TRUE(f->Packed()) << f->Name();
  EXPECT_FALSE(files[2]->Include());
  EXPECT_EQ(group_->State(), fcsIdle);
  TVrexCompress& shared = TVrexCompress::Shared();
  shared.SetCompressedFile(P("C:\\build\\files.1"));
  shared.ReadDirectory();
  EXPECT_EQ(shared.FileCount(), 3);
  const std::string archive = ReadAll(P("C:\\build\\files.1"));
  TVrexCompress::FreeShared();

#ifndef _WIN32
  // A fresh machine holding only the archive.
  ReplaceMachine({});
#else
  // The real system cannot be replaced: the sources go instead.
  testsupport::TestMachine::RemoveTree(P("C:\\src"));
#endif
  PutFile(P("C:\\build\\files.1"), archive, kMid);
  files[2]->SetInclude(true);
  for (TInstallFile* f : files) f->SetInformationRead(false);

  group_->Process();

  const std::string installed[] = {P("C:\\Dest\\readme.txt"), P("C:\\Dest\\tool.exe"),
                                   P("C:\\Dest\\Docs\\guide.hlp")};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(installed[i]);
    EXPECT_EQ(ReadAll(installed[i]), sources[i].contents);
    EXPECT_DOUBLE_EQ(DateOf(installed[i]), sources[i].date);
    EXPECT_EQ(files[i]->StoredSize(),
              static_cast<int64_t>(std::string(sources[i].contents).size()));
  }
  EXPECT_EQ(group_->BytesDone(), group_->TotalBytes());
}

TEST_F(CompressTest, ChildArchiveLocationsFollowTheOptions) {
  PutFile(P("C:\\src\\a.txt"), "a", kOld);
  PutFile(P("C:\\src\\b.txt"), "b", kOld);
  PutFile(P("C:\\src\\c.txt"), "c", kOld);
  auto* installer = New<installtest::TCountingInstall>(form_, "Install");
  installer->SetArchiveFileType(nullptr);
  installer->SetArchiveFile(P("C:\\main\\files.1"));
  TInstallFile* own = NewFile("Own", group_, P("C:\\src\\a.txt"));
  own->SetArchiveFileType(nullptr);
  own->SetArchiveFile("E:\\sub\\own.1");
  TInstallFile* source = NewFile("FromSource", group_, P("C:\\src\\b.txt"));
  source->SetArchiveFileType(FindByClass<TpsInstallSource>());
  source->SetArchiveFile("src.1");

  std::vector<std::string> seen;
  auto record = [&](TInstallFileRef f) {
    seen.push_back(static_cast<TInstallFile*>(f)->ResolveArchiveFile() + " " +
                   std::to_string(static_cast<TInstallFile*>(f)->AddToArchive()));
  };
  TInstallFile* inGroup = NewFile("InGroup", group_, P("C:\\src\\c.txt"));
  inGroup->SetAddToArchive(lzcOverwrite);
  own->SetOnBeforeCompress(record);
  source->SetOnBeforeCompress(record);
  inGroup->SetOnBeforeCompress(record);

  CompressContainer(*group_, coContainerRelative | coForceNetFilesLocal);

  // Children run in their container's order; modes: 0 overwrite, 1 append.
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], P("C:\\build\\sub\\own.1 0"));
  EXPECT_EQ(seen[1], P("C:\\main\\src.1 0"));
  EXPECT_EQ(seen[2], P("C:\\build\\files.1 1"));
  for (TInstallFile* f : {own, source, inGroup}) EXPECT_TRUE(f->Packed()) << f->Name();
  EXPECT_EQ(inGroup->AddToArchive(), lzcOverwrite);
  // Settings are back.
  EXPECT_EQ(own->ArchiveFile(), "E:\\sub\\own.1");
  EXPECT_EQ(own->ArchiveFileType(), nullptr);
  EXPECT_TRUE(source->ArchiveFileType()->Is<TpsInstallSource>());
  EXPECT_EQ(source->ArchiveFile(), "src.1");
  EXPECT_EQ(own->AddToArchive(), lzcOverwrite);
}

TEST_F(CompressTest, ErrorsRestoreSettingsAndLeaveTheContainerIdle) {
  PutFile(P("C:\\src\\a.txt"), "a", kOld);
  TInstallFile* f = NewFile("A", group_, P("C:\\src\\a.txt"));
  f->SetInclude(false);
  f->SetOnBeforeCompress([](TInstallFileRef) { throw IEInstall("stop"); });
  EXPECT_THROW(CompressContainer(*group_, kBuildOptionsTraditional), IEInstall);
  EXPECT_FALSE(f->Include());
  EXPECT_EQ(f->AddToArchive(), lzcOverwrite);
  EXPECT_TRUE(f->ArchiveFileType()->Is<TpsContainerArchiveFile>());
  EXPECT_EQ(group_->State(), fcsIdle);
  EXPECT_EQ(f->State(), ifsIdle);

  try {
    CompressContainer(*group_, coForceNetFilesLocal | coForceFilesNet);
    ADD_FAILURE() << "no error";
  } catch (const IEFileContainer& e) {
    EXPECT_EQ(e.Message(), "Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  }
  // A missing net location is an error unless net files are forced local.
  EXPECT_THROW(CompressContainer(*group_, kBuildOptionsTraditionalNet), IEFileRel_NoNetLocation);
  EXPECT_EQ(group_->State(), fcsIdle);
}

TEST_F(CompressTest, BuildStepDropsFilesWithoutSource) {
  PutFile(P("C:\\src\\here.txt"), "x", kOld);
  NewFile("Here", group_, P("C:\\src\\here.txt"));
  NewFile("Gone", group_, P("C:\\src\\gone.txt"));
  RemoveFilesWithoutSource(*group_);
  ASSERT_EQ(group_->ObjectCount(), 1);
  EXPECT_EQ(group_->Objects(0)->Name(), "Here");
  EXPECT_EQ(form_->FindComponent("Gone"), nullptr);
}

}  // namespace
}  // namespace filestest
