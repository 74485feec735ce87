// Install files given names that would leave their directory, source paths
// the archive's name field cannot hold, and archives without members: each
// is refused with its message before anything is written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "InstallFileFixture.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/StrUtils.h"

namespace filestest {
namespace {

using testing::AllOf;
using testing::HasSubstr;
using testing::StartsWith;
using testing::ThrowsMessage;

class HostileInstallFileTest : public InstallFileTest {
 protected:
  const std::string kSource = P("C:\\src\\data.txt");

  // Every file below `dir` with its contents (directories end in "\").
  std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : platform::files().FindFiles(IncludeTrailingBackslash(dir) + "*")) {
      if (e.name == "." || e.name == "..") continue;
      const std::string path = IncludeTrailingBackslash(dir) + e.name;
      if (e.IsDirectory()) {
        out[path + "\\"] = "";
        for (auto& [k, v] : Snapshot(path)) out[k] = v;
      } else {
        out[path] = ReadAll(path);
      }
    }
    return out;
  }
};

TEST_F(HostileInstallFileTest, DestNamesThatLeaveTheDirectoryAreRefused) {
  PutFile(kSource, "new contents", kMid);
  TInstallFile* f = NewFile("DataFile", group_, kSource);
  CompressContainer(*group_, kBuildOptionsTraditional);
  f->ReadInfoFromArchive();
  platform::files().CreateDirectories(P("C:\\Dest"));
  PutFile(P("C:\\victim.txt"), "victim", kOld);
  PutFile(P("C:\\Dest\\data.txt"), "old", kOld);

  // The archive would flatten the paths; the install file refuses them so
  // its decision, extraction and records cannot name different files.
  const char* const names[] = {"..\\victim.txt",
                               "../victim.txt",
                               "sub/data.txt",
                               "sub\\data.txt",
                               "C:\\victim.txt",
                               "C:victim.txt",
                               "\\\\srv\\s\\x",
                               "..",
                               ".",
                               "",
                               "CON",
                               "nul.txt",
                               "COM1",
                               "data.txt:s",
                               "data.txt.",
                               "data.txt ",
                               "da*ta.txt",
                               "LPT1.dll"};
  const auto before = Snapshot(P("C:\\"));
  for (const char* name : names) {
    SCOPED_TRACE(name);
    f->SetDestName(name);
    for (int job : {ifsInstalling, ifsCopying}) {
      EXPECT_THAT([&] { f->SetState(job); },
                  ThrowsMessage<EVrexCompress>(
                      StartsWith("Cannot create the file " + P("C:\\Dest\\") + name)));
      EXPECT_EQ(f->State(), ifsIdle);
    }
    EXPECT_EQ(Snapshot(P("C:\\")), before);
  }

  // A plain name installs.
  f->SetDestName("data.txt");
  f->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest\\data.txt")), "new contents");
  EXPECT_EQ(ReadAll(P("C:\\victim.txt")), "victim");
}

TEST_F(HostileInstallFileTest, SourcePathsLongerThanTheNameFieldAreRefusedWhenPacking) {
  const std::string dir = P("C:\\src\\");
  // Chinese characters are three bytes each in UTF-8: 33 of them and the
  // directory pass the 100 bytes that 100 ASCII characters would need.
  std::string han;
  for (int i = 0; i < 33; ++i) han += "\xE4\xB8\xAD";
  const std::string tooLong = dir + han + ".dll";
  ASSERT_GT(tooLong.size(), 100u);
  // The longest path that fits, to show the limit is 100 bytes exactly.
  ASSERT_LT(dir.size() + 4, 100u);
  const std::string fits = dir + std::string(100 - dir.size() - 4, 'f') + ".dll";

  PutFile(tooLong, "long", kMid);
  PutFile(fits, "fits", kMid);
  TInstallFile* longFile = NewFile("LongFile", group_, tooLong);
  EXPECT_THAT([&] { longFile->SetState(ifsCompressing); },
              ThrowsMessage<EVrexCompress>(
                  AllOf(HasSubstr(tooLong), HasSubstr(std::to_string(tooLong.size()) + " bytes"),
                        HasSubstr("at most 100 bytes"))));
  EXPECT_EQ(longFile->State(), ifsIdle);
  EXPECT_FALSE(platform::files().FileExists(P("C:\\build\\files.1")));

  // The whole build stops there too, before the archive is written.
  EXPECT_THROW(CompressContainer(*group_, kBuildOptionsTraditional), EVrexCompress);
  longFile->Free();

  TInstallFile* fitting = NewFile("FitFile", group_, fits);
  CompressContainer(*group_, kBuildOptionsTraditional);
  fitting->ReadInfoFromArchive();
  fitting->SetState(ifsInstalling);
  EXPECT_EQ(ReadAll(P("C:\\Dest\\") + ExtractFileName(fits)), "fits");
}

TEST_F(HostileInstallFileTest, AnArchiveWithoutMembersSaysTheFileIsNotInIt) {
  PutFile(kSource, "x", kMid);
  TInstallFile* f = NewFile("DataFile", group_, kSource);
  platform::files().CreateDirectories(P("C:\\build"));
  const std::string archive = P("C:\\build\\files.1");
  const std::string expected =
      "The file <" + kSource + "> was not found in the archive <" + archive + ">";
  for (const std::string& bytes : {std::string(5, '\0'), std::string("\0\0\0\0\0trailer", 12)}) {
    SCOPED_TRACE(bytes.size());
    auto out = platform::files().Create(archive);
    out->Write(bytes.data(), bytes.size());
    out.reset();
    TVrexCompress::FreeShared();
    f->SetInformationRead(false);
    EXPECT_THAT([&] { f->ReadInfoFromArchive(); },
                ThrowsMessage<EVrexCompress>(testing::StrEq(expected)));
  }
}

}  // namespace
}  // namespace filestest
