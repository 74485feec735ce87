// TVersionResource on the test machine: reading generated PE files,
// version comparison, and the overwrite decisions against stored versions
// and dates or a second file, including files that cannot be opened.
#include <gtest/gtest.h>

#include "files/version/cmp_TVersion.h"
#include "framework/ProcessState.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"
#include "tools/pegen/PeWriter.h"

namespace {

class VersionTest : public PellmoreTest {
 protected:
  VersionTest() : machine_(testsupport::ScratchNamed("pellmore-version")) {
    platform::files().CreateDirectories(P("C:\\QDE"));
  }
  ~VersionTest() override { TVersionResource::FreeShared(); }

  // `text` with its C:\\ paths in the scratch directory.
  std::string P(std::string_view text) const { return machine_.InScratch(text); }

  static pegen::PeOptions Dll(std::array<uint16_t, 4> version) {
    pegen::PeOptions o;
    pegen::VersionResource v;
    v.fileVersion = version;
    v.productVersion = {8, 2, 0, 0};
    v.tables = {{0x0409,
                 1252,
                 {{"CompanyName", "Quenby Software Corporation"},
                  {"FileDescription", "Quenby Database Engine"},
                  {"Comments", "engine core"},
                  {"LegalTradeMarks", "Quenby"}}},
                {0x0804, 1200, {{"CompanyName", "昆比软件公司"}, {"ProductVersion", "8.2 版"}}}};
    o.version = v;
    return o;
  }

  void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    auto f = platform::files().Create(path);
    f->Write(bytes.data(), bytes.size());
  }
  // Sets the file's last write to a local date-time.
  void Date(const std::string& path, TDateTime local) {
    platform::files().SetLastWriteTime(path, platform::LocalDateTimeToFileTime(local));
  }

  testsupport::TestMachine machine_;
};

const TDateTime kNoon = 36526.5;            // 2000-01-01 12:00 local
const TDateTime kTwoSeconds = 2.0 / 86400;  // one step of the DOS clock

TEST_F(VersionTest, ReadsTheFixedTextsAndTheStringTable) {
  Write(P("C:\\QDE\\QDENG32.DLL"), pegen::BuildPe(Dll({8, 2, 0, 17})));
  TVersionResource v(nullptr);
  v.SetFileName(P("C:\\QDE\\QDENG32.DLL"));
  const TVersionInfo& i = *v.VersionInfo();
  EXPECT_EQ(i.FileVersion(), "8.2.0.17");
  EXPECT_EQ(i.ProductVersion(), "8.2.0.0");
  EXPECT_EQ(i.FileOS(), "Windows NT with 32 bit Windows");
  EXPECT_EQ(i.FileType(), "Dynamic-Link Library");
  EXPECT_EQ(i.FileSubType(), "");
  EXPECT_EQ(i.CompanyName(), "Quenby Software Corporation");
  EXPECT_EQ(i.FileDescription(), "Quenby Database Engine");
  EXPECT_EQ(i.Comment(), "engine core");
  EXPECT_EQ(i.LegalTradeMarks(), "Quenby");
  EXPECT_EQ(i.InternalName(), "");
  EXPECT_EQ(v.TableKey(), "040904E4");

  // Another table: its strings, and a string ProductVersion replacing the
  // numeric one; FileVersion always comes from the fixed information.
  v.SetLanguage(TVersionResource::lnSimplifiedChinese);
  v.SetCharacterSet(csUnicode);
  EXPECT_EQ(v.TableKey(), "080404B0");
  EXPECT_EQ(i.CompanyName(), "昆比软件公司");
  EXPECT_EQ(i.ProductVersion(), "8.2 版");
  EXPECT_EQ(i.FileDescription(), "");
  EXPECT_EQ(i.FileVersion(), "8.2.0.17");
  ASSERT_EQ(v.Translations().size(), 2u);
  EXPECT_EQ(v.Translations()[1].language, 0x0804);

  // A file without a resource, or no file: every text empty.
  Write(P("C:\\QDE\\plain.txt"), {'a', 'b'});
  for (const std::string& path :
       {P("C:\\QDE\\plain.txt"), P("C:\\QDE\\missing.dll"), std::string()}) {
    SCOPED_TRACE(path);
    v.SetFileName(path);
    EXPECT_EQ(i.FileVersion(), "");
    EXPECT_EQ(i.CompanyName(), "");
    EXPECT_EQ(i.FileOS(), "");
  }
}

TEST_F(VersionTest, NamesFileTypesSubtypesAndSystems) {
  struct Case {
    uint32_t os, type, subtype;
    const char *osText, *typeText, *subText;
  };
  const Case cases[] = {
      {0x4, 1, 0, "32 bit Windows", "Application", ""},
      {0x10001, 3, 6, "Windows 3.0 or later with MS-Dos", "Device Driver", "Network"},
      {0x40000, 3, 11, "Windows NT", "Device Driver", "Unknown"},
      {0x30003, 4, 3, "32 bit OS/2 with Presentation Manager", "Font", "TrueType"},
      {0x12345, 6, 1, "Unknown", "Unknown", ""},
      {0x20000, 7, 2, "16 bit OS/2", "Static-Link Library", ""},
  };
  TVersionResource v(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.osText);
    auto o = Dll({1, 0, 0, 0});
    o.version->fileOS = c.os;
    o.version->fileType = c.type;
    o.version->fileSubtype = c.subtype;
    Write(P("C:\\QDE\\x.dll"), pegen::BuildPe(o));
    v.SetFileName(P("C:\\QDE\\x.dll"));
    EXPECT_EQ(v.VersionInfo()->FileOS(), c.osText);
    EXPECT_EQ(v.VersionInfo()->FileType(), c.typeText);
    EXPECT_EQ(v.VersionInfo()->FileSubType(), c.subText);
  }
}

TEST_F(VersionTest, StartsWithTheRunningProgramAndStoresOnlyAnotherName) {
  TVersionResource v(nullptr);
  EXPECT_EQ(v.FileName(), platform::system().ModuleFileName());
  EXPECT_FALSE(v.FileNameStored());
  v.SetFileName(P("C:\\QDE\\QDENG32.DLL"));
  EXPECT_TRUE(v.FileNameStored());
}

TEST(CompareVersions, FollowsThePartRules) {
  struct Case {
    const char *a, *b;
    int result;
  };
  const Case cases[] = {
      {"8.2.0.1", "8.2.0.1", 0},
      {"", "", 0},
      {"8.2.0.10", "8.2.0.9", 1},  // numbers, not text
      {"8.2.0.9", "8.2.0.10", 2},
      {"1.2", "1.2.0", 2},  // a missing part is older
      {"1.2.0", "1.2", 1},
      {"", "7.5", 2},
      {"7.5", "", 1},
      {"7.5.b", "7.5.a", 1},  // text parts compare byte by byte
      {"7.5.A", "7.5.a", 2},
      {"1.10a", "1.9a", 2},
      {"1.x", "1.2", 1},  // one side text: both compare as text ("x" > "2")
      {"08.2", "8.2", 0},
      {"1.-1", "1.0", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(TVersionResource::CompareVersions(c.a, c.b), c.result);
  }
}

TEST_F(VersionTest, DecidesAgainstAStoredVersionAndDate) {
  const std::string dest = P("C:\\QDE\\QDENG32.DLL");
  const std::string plain = P("C:\\QDE\\QDENG32.CNF");
  Write(dest, pegen::BuildPe(Dll({8, 2, 0, 9})));
  Date(dest, kNoon);
  Write(plain, {'[', ']'});
  Date(plain, kNoon);
  struct Case {
    const char* what;
    std::string version;
    std::string path;
    TOverwriteType mode;
    TDateTime date;
    int result;
  };
  const Case cases[] = {
      {"always", "", dest, owAlways, 0, 2},
      {"never, file there", "", dest, owNever, 0, 3},
      {"never, no file", "", P("C:\\QDE\\none.dll"), owNever, 0, 2},
      {"never, blank path", "", "  ", owNever, 0, 2},
      {"newer last part", "8.2.0.10", dest, owVersion, 0, 2},
      {"older", "8.2.0.8", dest, owVersion, 0, 3},
      {"same", "8.2.0.9", dest, owVersion, 0, 1},
      {"text part sorts before", "8.2.0.10a", dest, owVersion, 0, 3},  // "10a" < "9"
      {"an extra part is newer", "8.2.0.9.1", dest, owVersion, 0, 2},
      {"versioned against none", "1.0", P("C:\\QDE\\none.dll"), owVersion, 0, 2},
      {"both unversioned", "", plain, owVersion, 0, 1},
      {"date later by two seconds", "", dest, owDate, kNoon + kTwoSeconds, 2},
      {"date equal", "", dest, owDate, kNoon, 1},
      {"date earlier", "", dest, owDate, kNoon - kTwoSeconds, 3},
      {"date, no file", "", P("C:\\QDE\\none.dll"), owDate, kNoon, 0},
      {"same version, newer date", "8.2.0.9", dest, owVersionDate, kNoon + kTwoSeconds, 2},
      {"same version, same date", "8.2.0.9", dest, owVersionDate, kNoon, 1},
      {"older version, newer date", "8.2.0.8", dest, owVersionDate, kNoon + 1, 3},
      {"unknown mode", "", dest, static_cast<TOverwriteType>(9), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TVersionResource::IsFileNewer(c.version, c.path, c.mode, c.date), c.result);
  }
  // The shared reader points at the last file it read.
  EXPECT_EQ(TVersionResource::Shared().FileName(), dest);
}

TEST_F(VersionTest, DecidesBetweenTwoFiles) {
  const std::string src = P("C:\\SRC\\QDENG32.DLL"), dest = P("C:\\QDE\\QDENG32.DLL");
  platform::files().CreateDirectories(P("C:\\SRC"));
  Write(src, pegen::BuildPe(Dll({8, 2, 0, 10})));
  Write(dest, pegen::BuildPe(Dll({8, 2, 0, 10})));
  Date(src, kNoon);
  Date(dest, kNoon - kTwoSeconds);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(src, dest, owVersion), 1);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(src, dest, owVersionDate), 2);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(dest, src, owVersionDate), 3);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(src, dest, owDate), 2);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(src, dest, owNever), 3);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(src, P("C:\\QDE\\none"), owDate), 0);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(P("C:\\SRC\\none"), dest, owDate), 0);

  // A file another handle holds without read sharing cannot be compared by
  // date, whichever side it is on.
  for (const std::string& locked : {src, dest}) {
    SCOPED_TRACE(locked);
    auto hold = platform::files().Open(locked, platform::kAccessRead | platform::kAccessWrite,
                                       platform::kShareNone, platform::Disposition::OpenExisting);
    EXPECT_EQ(TVersionResource::IsFileNewerByName(src, dest, owDate), 0);
    EXPECT_EQ(TVersionResource::IsFileNewer("", locked, owDate, kNoon), 0);
  }
}

TEST_F(VersionTest, TheSharedInstanceGoesWithTheProcessReset) {
  TVersionResource& shared = TVersionResource::Shared();
  EXPECT_EQ(&TVersionResource::Shared(), &shared);
  EXPECT_TRUE(ProcessState::IsRegistered("TVersionResource.Shared"));
  const size_t alive = TObject::LiveCount();
  ProcessState::ResetAll();
  EXPECT_LT(TObject::LiveCount(), alive);
}

}  // namespace
