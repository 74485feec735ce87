// The build mode on a simulated authoring machine: what a stand-alone build
// writes and where each file of the tree lands, that building twice gives
// the same bytes, the net distributions' file list, and the inputs a build
// refuses without leaving a "setup.exe" that looks complete.
#include <gmock/gmock.h>

#include "InstallFileSimFixture.h"
#include "archive/cmp_TVrexCompress.h"
#include "install/BuildAppend.h"
#include "install/ExtractionInfo.h"
#include "install/KitDirectory.h"
#include "install/NetLocationAccess.h"
#include "shell/routines_Registry.h"

namespace filestest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kProgram = "C:\\Authoring\\SETUP.EXE";
constexpr const char* kKit = "C:\\Kit";
constexpr const char* kLoader = "C:\\Kit\\PellmoreLoadProgram.exe";

// A net location as far as a build needs one.
class TTestNetLocation : public TComponent, public INetInstallLocation {
  PELLMORE_CLASS(TTestNetLocation, TComponent)

 public:
  using TComponent::TComponent;
  bool LoginFilledIn() const override { return true; }
  std::string NetLocationPath() const override { return "web\\quenby"; }
  void Download(const std::string&, const std::string&, ProgressHook) override {
    throw Exception("a build downloads nothing");
  }
};

class BuildTest : public InstallFileSimTest {
 protected:
  BuildTest() {
    installer_ = NewInstaller();
    PutFile(kProgram, "MZ the setup program", kMid);
    PutFile(std::string(kKit) + "\\PKIT.TXT", "kit", kMid);
    PutFile(kLoader, std::string(500, 'L'), kMid);
    PutFile("C:\\Kit\\QDSETUP.DLL", "MZ presetup library", kOld);
    WriteRegString(kRootLocalMachine, kKitKey, kKitSearchPathValue, kKit);
    installer_->AddPresetupFile("C:\\Kit\\QDSETUP.DLL", false);

    engine_ = NewGroup("Engine", "C:\\Dest", "");
    engine_->SetContainer(installer_);
    engine_->SetArchiveFileType(FindByClass<TpsContainerArchiveFile>());
    AddTo(engine_, "Library", "C:\\src\\engine.dll", "MZ engine library bytes", kOld);
    AddTo(engine_, "Help", "C:\\src\\engine.hlp", "help text", kNew);
    // Directly under the installer, in the main archive.
    TInstallFile* readme = AddTo(installer_, "Readme", "C:\\src\\readme.txt", "read me", kMid);
    readme->SetArchiveFileType(FindByClass<TpsMainArchiveFile>());
  }

  TInstallFile* AddTo(TInstallContainer* c, const std::string& name, const std::string& source,
                      const std::string& bytes, TDateTime date) {
    PutFile(source, bytes, date);
    return NewFile(name, c, source);
  }
  void Build(const std::string& dir, bool standalone = true) {
    installer_->Build(dir, kProgram, standalone);
  }
  // The member names of an archive, in order.
  static std::vector<std::string> Members(const std::string& archive) {
    TVrexCompress& a = TVrexCompress::Shared();
    a.SetCompressedFile(archive);
    a.ReadDirectory();
    std::vector<std::string> names;
    for (int i = 0; i < a.Directory().Count(); ++i)
      names.push_back(a.Directory().GetFileHeaders(i).Name());
    TVrexCompress::FreeShared();
    return names;
  }
  void BeNetDistribution(TDistributeType type) {
    auto* location = New<TTestNetLocation>(form_, "Server");
    installer_->SetDesigning(true);
    installer_->SetNetLocation(location);
    installer_->SetDistributeType(type);
    installer_->SetDesigning(false);
  }

  TInstall* installer_ = nullptr;
  TRecordingGroup* engine_ = nullptr;
};

TEST_F(BuildTest, TrailerOffsetsFollowTheLoaderAndBothArchives) {
  struct Case {
    const char* dir;
    bool withFiles;
    extraction_trailer::Offsets expected;
    uint64_t size;
  };
  const Case cases[] = {
      {"C:\\Both", true, {500, 599, 600, 899}, 956},
      {"C:\\NoFiles", false, {500, 599, 0, 0}, 656},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    const std::string dir = c.dir;
    PutFile(dir + "\\setup.exe", std::string(500, 'L'), kMid);
    PutFile(dir + "\\setup.1", std::string(100, 'S'), kMid);
    if (c.withFiles) PutFile(dir + "\\files.1", std::string(300, 'F'), kMid);
    const auto written = AppendSelfExtractor(dir + "\\setup.exe", dir + "\\setup.exe",
                                             dir + "\\setup.1", dir + "\\files.1");
    const auto read = ReadExtractionInfo(dir + "\\setup.exe");
    for (const auto& o : {written, read}) {
      EXPECT_EQ(o.setupStart, c.expected.setupStart);
      EXPECT_EQ(o.setupEnd, c.expected.setupEnd);
      EXPECT_EQ(o.filesStart, c.expected.filesStart);
      EXPECT_EQ(o.filesEnd, c.expected.filesEnd);
    }
    EXPECT_EQ(platform::files().Stat(dir + "\\setup.exe")->size, c.size);
  }
}

TEST_F(BuildTest, StandAloneBuildCarriesEverythingAndRepeatsByteForByte) {
  Build("C:\\Out");

  // setup.1: the program, then the presetup file; files.1: the groups'
  // files and the installer's own, appended rather than restarting it.
  EXPECT_THAT(Members("C:\\Out\\setup.1"), ElementsAre(kProgram, "C:\\Kit\\QDSETUP.DLL"));
  EXPECT_THAT(Members("C:\\Out\\files.1"),
              ElementsAre("C:\\src\\engine.dll", "C:\\src\\engine.hlp", "C:\\src\\readme.txt"));
  const std::string exe = ReadAll("C:\\Out\\setup.exe");
  const std::string setup1 = ReadAll("C:\\Out\\setup.1");
  const std::string files1 = ReadAll("C:\\Out\\files.1");
  const auto size = [](const std::string& b) { return static_cast<uint32_t>(b.size()); };
  EXPECT_EQ(exe.substr(0, exe.size() - 56), ReadAll(kLoader) + setup1 + files1);
  const auto o = ReadExtractionInfo("C:\\Out\\setup.exe");
  EXPECT_EQ(o.setupStart, 500u);
  EXPECT_EQ(o.setupEnd, 500 + size(setup1) - 1);
  EXPECT_EQ(o.filesStart, 500 + size(setup1));
  EXPECT_EQ(o.filesEnd, 500 + size(setup1) + size(files1) - 1);
  EXPECT_FALSE(platform::files().FileExists("C:\\Out\\setup.exe.tmp"));
  EXPECT_FALSE(platform::files().FileExists("C:\\Out\\filelist.lst"));  // traditional
  // The installer's archive settings are its own again.
  EXPECT_TRUE(installer_->ArchiveFileType()->Is<TpsMainArchiveFile>());
  EXPECT_EQ(installer_->ArchiveFile(), "");

  // The same tree from the same files, later, elsewhere and over itself.
  Build("C:\\Again");
  Build("C:\\Out");
  for (const char* dir : {"C:\\Again", "C:\\Out"}) {
    SCOPED_TRACE(dir);
    EXPECT_EQ(ReadAll(std::string(dir) + "\\setup.exe"), exe);
    EXPECT_EQ(ReadAll(std::string(dir) + "\\setup.1"), setup1);
    EXPECT_EQ(ReadAll(std::string(dir) + "\\files.1"), files1);
  }

  // Without the loading program the installer itself is copied.
  installer_->SetUseLoadingProgram(false);
  EXPECT_THROW(Build("C:\\Plain"), IEInstall);
  Build("C:\\Plain", false);
  EXPECT_EQ(ReadAll("C:\\Plain\\SETUP.EXE"), ReadAll(kProgram));
  EXPECT_EQ(ReadAll("C:\\Plain\\files.1"), files1);
  EXPECT_FALSE(platform::files().FileExists("C:\\Plain\\setup.1"));
}

TEST_F(BuildTest, NetDistributionsListWhatTheyPacked) {
  BeNetDistribution(dtWeb);
  Build("C:\\Web", false);
  const auto list = DecodeFileList(ReadAll("C:\\Web\\web\\quenby\\filelist.lst"));
  ASSERT_TRUE(list);
  std::vector<std::string> names;
  for (const FileListRecord& r : *list) names.push_back(r.name);
  EXPECT_THAT(names, ElementsAre("Library", "Help", "Readme"));
  EXPECT_EQ((*list)[1].size, 9u);
  EXPECT_NEAR((*list)[1].date, kNew, 1e-6);

  // A name the list cannot hold stops the build before any list is written.
  engine_->Objects(0)->SetName(std::string(45, 'N'));
  try {
    Build("C:\\Web2");
    ADD_FAILURE() << "a 45-character name was listed";
  } catch (const IEInstall& e) {
    EXPECT_THAT(e.Message(), HasSubstr(std::string(45, 'N')));
  }
  EXPECT_FALSE(platform::files().FileExists("C:\\Web2\\web\\quenby\\filelist.lst"));
  EXPECT_FALSE(platform::files().FileExists("C:\\Web2\\setup.exe"));
}

TEST_F(BuildTest, RefusedBuildsSayWhyAndLeaveNoSetupBehind) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    std::string message;  // for the build directory C:\Out<n>
  };
  const Case cases[] = {
      {"a source file gone", [] { platform::files().DeleteFile("C:\\src\\engine.hlp"); },
       "Could not open or find the following file when trying to read the Size, Date, and "
       "Version :C:\\src\\engine.hlp"},
      {"no loading program", [] { platform::files().DeleteFile(kLoader); },
       "The loader program C:\\Kit\\PellmoreLoadProgram.exe was not found"},
      {"no kit directory", [] { platform::files().DeleteFile("C:\\Kit\\PKIT.TXT"); },
       "The HKEY_LOCAL_MACHINE | \\Software\\Tolvane\\PellmoreKit key in the registry is either "
       "missing or points to an invalid Pellmore directory"},
      {"no program", [] { platform::files().DeleteFile(kProgram); },
       "TInstall: Cannot find the executable file C:\\Authoring\\SETUP.EXE"},
      {"the build directory is a file", [this] { PutFile("C:\\Out4", "a file", kMid); },
       "Cannot create the build directory C:\\Out4"},
      {"a read-only setup.exe from before",
       [this] {
         PutFile("C:\\Out5\\setup.exe", "old setup", kMid);
         platform::files().SetAttributes("C:\\Out5\\setup.exe", platform::kAttrReadOnly);
       },
       "Cannot copy the loading program from C:\\Out5\\setup.exe.tmp to C:\\Out5\\setup.exe"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = "C:\\Out" + std::to_string(n++);
    // Everything in place again, then this case's fault.
    PutFile(kProgram, "MZ the setup program", kMid);
    PutFile("C:\\Kit\\PKIT.TXT", "kit", kMid);
    PutFile(kLoader, std::string(500, 'L'), kMid);
    PutFile("C:\\src\\engine.hlp", "help text", kNew);
    c.spoil();
    const bool hadSetup = platform::files().FileExists(dir + "\\setup.exe");
    try {
      Build(dir);
      ADD_FAILURE() << "built";
    } catch (const Exception& e) {
      EXPECT_THAT(e.Message(), HasSubstr(c.message));
    }
    EXPECT_FALSE(platform::files().FileExists(dir + "\\setup.exe.tmp"));
    if (hadSetup)
      EXPECT_EQ(ReadAll(dir + "\\setup.exe"), "old setup");
    else
      EXPECT_FALSE(platform::files().FileExists(dir + "\\setup.exe"));
  }
}

}  // namespace
}  // namespace filestest
