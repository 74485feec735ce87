// -f: a self-extracting setup copied onto floppies in drive A:. The user
// at the drive is played by a widgetset that changes the disk when the
// prompt for one is answered (the full disk goes onto a shelf, the disk
// asked for, or a blank one, goes in).
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "archive/ExtractionTrailer.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/Strings.h"
#include "framework/WidgetsetSlot.h"
#include "install/InstallFloppies.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "platform/sim/SimMachine.h"
#include "support/Noise.h"

using namespace installtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr const char* kShelf = "D:\\SHELF";

// Answers message boxes from a UI script; a disk prompt first puts the
// disk asked for into drive A:.
class DiskChangingWidgetset : public platform::headless::HeadlessWidgetset {
 public:
  using HeadlessWidgetset::HeadlessWidgetset;
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    int disk = 0;
    if (std::sscanf(text.c_str(), "Please insert disk %d", &disk) == 1) {
      Prompts.push_back(disk);
      const int answer = HeadlessWidgetset::MessageBox(text, caption, flags);
      if (answer == IDOK) Insert(disk);
      return answer;
    }
    Messages.push_back(text);
    return HeadlessWidgetset::MessageBox(text, caption, flags);
  }

  // Shelves the files in A: as disk `inDrive` and inserts disk `n`.
  void Insert(int n) {
    platform::FileSystem& fs = platform::files();
    const std::string from = std::string(kShelf) + "\\" + std::to_string(inDrive);
    fs.CreateDirectories(from);
    for (const auto& e : fs.FindFiles("A:\\*"))
      fs.MoveFile("A:\\" + e.name, from + "\\" + e.name, platform::kMoveCopyAllowed);
    const std::string to = std::string(kShelf) + "\\" + std::to_string(n);
    if (fs.FileExists(to + "\\files." + std::to_string(n)) || n == 1)
      for (const auto& e : fs.FindFiles(to + "\\*"))
        if (!(e.attributes & platform::kAttrDirectory))
          fs.MoveFile(to + "\\" + e.name, "A:\\" + e.name, platform::kMoveCopyAllowed);
    inDrive = n;
  }

  int inDrive = 1;
  std::vector<int> Prompts;
  std::vector<std::string> Messages;
};

class Floppies : public InstallTest {
 protected:
  Floppies() {
    platform::sim::MachineOptions options;
    options.extraDrives = "AD";
    ReplaceMachine(options);
    platform::files().CreateDirectories(kShelf);
    Machine().SetFreeSpace('A', 60000);

    // The self-extracting program: loader, "setup.1", "files.1", trailer.
    platform::files().CreateDirectories("C:\\BUILD");
    platform::files().CreateDirectories("C:\\SETUP");
    TStringList names;
    for (const auto& [name, bytes] : members_) {
      Put("C:\\BUILD\\" + name, bytes);
      names.Add("C:\\BUILD\\" + name);
    }
    Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
    c->SetCompressedFile("C:\\BUILD\\files.1");
    c->SetFilesToProcess(&names);
    c->Compress(lzcOverwrite, 0);
    const std::string files1 = Get("C:\\BUILD\\files.1");
    const uint32_t setupStart = uint32_t(loader_.size());
    const uint32_t filesStart = setupStart + uint32_t(setup1_.size());
    const auto trailer = extraction_trailer::Encode(
        {setupStart, filesStart - 1, filesStart, filesStart + uint32_t(files1.size()) - 1});
    Put("C:\\SETUP\\SETUP.EXE",
        loader_ + setup1_ + files1 + std::string(trailer.begin(), trailer.end()));
  }

  void Put(const std::string& path, const std::string& bytes) {
    platform::files().Create(path)->Write(bytes.data(), bytes.size());
  }
  std::string Get(const std::string& path) {
    auto f = platform::files().OpenRead(path);
    std::string bytes(f->Size(), '\0');
    f->Read(bytes.data(), bytes.size());
    return bytes;
  }

  // Starts the program with `args`; the user answers with `script`.
  DiskChangingWidgetset& Start(const std::string& args, const std::string& script = "") {
    platform::headless::HeadlessOptions options;
    options.script = script;
    auto widgetset = std::make_unique<DiskChangingWidgetset>(options);
    DiskChangingWidgetset& user = *widgetset;
    InstallWidgetset(std::move(widgetset));
    SetCommandLine("C:\\SETUP\\SETUP.EXE " + args);
    form_.reset(ReadForm("object T: TForm\n  object Install1: TCountingInstall\n  end\nend\n"));
    return user;
  }

  const std::string loader_ = testsupport::Noise(3000, 1);
  const std::string setup1_ = testsupport::Noise(20000, 2);
  const std::vector<std::pair<std::string, std::string>> members_{
      {"ENGINE.DLL", testsupport::Noise(50000, 3)}, {"README.TXT", std::string(9000, 'r')}};
  Owned<TForm> form_;
};

TEST_F(Floppies, CopiesTheSetupOntoDisksAndTheirFilesInstallFromThem) {
  DiskChangingWidgetset& user = Start("-f -eSETUP.EXE");
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_THAT(user.Messages, ElementsAre());
  // Disk 1 filled up with files.1; disk 2 took the rest; disk 1 came back
  // for the volume set's final directory.
  EXPECT_THAT(user.Prompts, ElementsAre(2, 1));
  EXPECT_EQ(Get("A:\\setup.exe"), loader_);
  EXPECT_EQ(Get("A:\\setup.1"), setup1_);
  // A volume set holds the same bytes as the single file, headers first.
  EXPECT_EQ(Get("A:\\files.1").size() + Get(std::string(kShelf) + "\\2\\files.2").size(),
            Get("C:\\BUILD\\files.1").size());

  // The disks, read as a volume set, give back every file.
  Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
  r->OnNewDisk = [&](TObject*, int n, std::string& path) {
    user.Insert(n);
    path = "A:";
  };
  r->SetCompressedFile("A:\\files.1");
  TStringList names;
  for (const auto& m : members_) names.Add("C:\\BUILD\\" + m.first);
  r->SetExtractDirectory("C:\\FROMDISKS");
  r->SetFilesToProcess(&names);
  r->Extract();
  for (const auto& [name, bytes] : members_) EXPECT_EQ(Get("C:\\FROMDISKS\\" + name), bytes);
}

TEST_F(Floppies, SetupOneGoesInBlocksOf8192AndStopsAtAFullDisk) {
  Put("C:\\SETUP.1", setup1_);
  for (uint64_t freeOnA : {uint64_t(60000), uint64_t(10000)}) {
    SCOPED_TRACE(freeOnA);
    Machine().SetFreeSpace('A', freeOnA);
    auto in = platform::files().OpenRead("C:\\SETUP.1");
    auto out = platform::files().Create("A:\\setup.1");
    std::vector<size_t> blocks;
    const uint64_t done =
        CopyInBlocks(*in, 0, setup1_.size(), *out, [&](size_t n) { blocks.push_back(n); });
    if (freeOnA == 60000) {
      EXPECT_THAT(blocks, ElementsAre(8192, 8192, 3616));
      EXPECT_EQ(done, setup1_.size());
    } else {
      EXPECT_THAT(blocks, ElementsAre(8192));  // the second block did not fit
      EXPECT_EQ(done, 8192u);
    }
    out.reset();
    platform::files().DeleteFile("A:\\setup.1");
  }
}

TEST_F(Floppies, FailuresEndInAMessageAndTheirOutcome) {
  struct Case {
    const char* what;
    std::string args;
    std::string script;
    uint64_t freeOnA;
    const char* message;
    TInstallOutcome outcome;
  };
  const Case cases[] = {
      {"without -e", "-f", "", 60000,
       "Sorry... You can only transfer this installation to floppies through the "
       "self-extracting file. Usage example: setup.exe *TODISK",
       ioFailed},
      {"cancel at the prompt", "-f -eSETUP.EXE", "answer Cancel", 60000, "Aborted by user",
       ioCancelled},
      {"setup.1 does not fit", "-f -eSETUP.EXE", "", 10000,
       "Cannot create setup.1 on the A drive. Probably not enough room", ioFailed},
      {"setup.exe does not fit", "-f -eSETUP.EXE", "", 2000,
       "Cannot create setup.exe on the A drive. Probably not enough room", ioFailed},
      {"no such program", "-f -eNOSUCH.EXE", "", 60000,
       "Could not read the extraction info from the archive file C:\\SETUP\\NOSUCH.EXE", ioFailed},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    for (const auto& e : platform::files().FindFiles("A:\\*"))
      platform::files().DeleteFile("A:\\" + e.name);
    Machine().SetFreeSpace('A', k.freeOnA);
    form_.reset();
    DiskChangingWidgetset& user = Start(k.args, k.script);
    ASSERT_EQ(user.Messages.size(), 1u);
    EXPECT_THAT(user.Messages[0], HasSubstr(k.message));
    EXPECT_EQ(InstallOutcome(), k.outcome);
    EXPECT_TRUE(Application().Terminated());
  }
}

}  // namespace
