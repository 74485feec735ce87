// What a user sees while files are installed: the "Please insert disk #%d"
// box when a volume of a split archive is missing (Cancel stops the copy
// and leaves the destination alone, OK asks again until the archive gives
// up), the kit's change-disk form when it is registered instead (each disk
// asked for with its number and path, Proceed, Cancel, a path given
// through Browse), and the exact file and total percentages a group
// reports.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "InstallFileFixture.h"
#include "archive/cmp_TVrexCompress.h"
#include "common/exceptions_Pellmore.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/ControlsRegistration.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/TranslatorRegistration.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TInstall.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Noise.h"

namespace filestest {
namespace {

using testsupport::Noise;

class DisksAndStatusTest : public InstallFileTest {
 protected:
  ~DisksAndStatusTest() override { InstallWidgetset(nullptr); }

  // A headless widgetset answering from `script`; its transcript goes to
  // `transcript`.
  void UseScript(const std::string& script) {
    platform::headless::HeadlessOptions o;
    o.script = script;
    o.scriptName = "test.ui";
    o.transcript = [this](std::string_view line) { transcript.emplace_back(line); };
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(std::move(o)));
  }

  // Packs `bytes` as the group's only file and splits the archive onto
  // volumes of at most `volumeBytes` in C:\DIST (files.1, files.2 ...).
  TInstallFile* PackOntoVolumes(const std::string& bytes, uint64_t volumeBytes) {
    PutFile("C:\\src\\big.bin", bytes, kMid);
    TInstallFile* f = NewFile("BigFile", group_, "C:\\src\\big.bin");
    CompressContainer(*group_, kBuildOptionsTraditional);
    TVrexCompress::FreeShared();

    // The volumes are written into C:\VOL while the drive has room for one
    // volume only; each request for the next disk shelves what was written.
    platform::FileSystem& fs = platform::files();
    fs.CreateDirectories("C:\\VOL");
    std::map<int, std::string> shelf;
    auto shelve = [&] {
      for (const auto& e : fs.FindFiles("C:\\VOL\\files.*")) {
        const int n = std::stoi(e.name.substr(6));
        shelf[n] = ReadAll("C:\\VOL\\" + e.name);
        fs.DeleteFile("C:\\VOL\\" + e.name);
      }
    };
    Owned<TVrexCompress> splitter(new TVrexCompress(nullptr));
    splitter->OnNewDisk = [&](TObject*, int n, std::string& path) {
      shelve();
      if (shelf.count(n)) PutFile("C:\\VOL\\files." + std::to_string(n), shelf[n], kMid);
      path = "C:\\VOL";
    };
    Machine().SetFreeSpace('C', volumeBytes);
    splitter->SetCompressedFile("C:\\build\\files.1");
    splitter->SplitToVolumes("C:\\VOL\\", "files.1");
    Machine().SetFreeSpace('C', uint64_t(1) << 36);
    shelve();
    for (const auto& [n, volume] : shelf)
      PutFile("C:\\DIST\\files." + std::to_string(n), volume, kMid);
    volumes = static_cast<int>(shelf.size());

    group_->SetArchiveFile("C:\\DIST\\files.1");
    f->SetInformationRead(false);
    f->ReadInfoFromArchive();
    return f;
  }

  static std::string DestOf(const std::string& name) { return "C:\\Dest\\" + name; }

  // The message records of the transcript.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const std::string& line : transcript)
      if (line.find("\"event\":\"message\"") != std::string::npos) out.push_back(line);
    return out;
  }

  std::vector<std::string> transcript;
  int volumes = 0;
};

TEST_F(DisksAndStatusTest, AMissingDiskIsAskedForAndCancelStopsTheCopy) {
  TInstallFile* f = PackOntoVolumes(Noise(90000, 7), 40000);
  ASSERT_GE(volumes, 3);
  platform::files().DeleteFile("C:\\DIST\\files.2");
  PutFile(DestOf("big.bin"), "previous", kOld);

  UseScript("answer Cancel\n");
  EXPECT_THROW(f->SetState(ifsInstalling), EPLUserAbort);
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"text\":\"Please insert disk #2\""), std::string::npos)
      << messages[0];
  EXPECT_NE(messages[0].find("\"buttons\":[\"OK\",\"Cancel\"]"), std::string::npos);
  EXPECT_EQ(ReadAll(DestOf("big.bin")), "previous");
}

TEST_F(DisksAndStatusTest, OkWithoutTheDiskAsksAgainThenFailsKeepingTheDestination) {
  TInstallFile* f = PackOntoVolumes(Noise(90000, 8), 40000);
  platform::files().DeleteFile("C:\\DIST\\files.2");
  PutFile(DestOf("big.bin"), "previous", kOld);

  UseScript("");  // every box takes its default button, OK
  try {
    f->SetState(ifsInstalling);
    ADD_FAILURE() << "installing without disk 2 succeeded";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.Message()).find("files.2"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(Messages().size(), 4u);  // asked four times, then the archive gives up
  EXPECT_EQ(ReadAll(DestOf("big.bin")), "previous");
}

TEST_F(DisksAndStatusTest, AllDisksPresentInstallsWithoutAsking) {
  const std::string bytes = Noise(90000, 9);
  TInstallFile* f = PackOntoVolumes(bytes, 40000);
  UseScript("");
  f->SetState(ifsInstalling);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadAll(DestOf("big.bin")), bytes);
}

// The change-disk form in the run: an installer with a dmChangeDisk
// manager, and the form's unit linked without its component unit, so the
// form answers every disk request of the volume set. The disks after the
// first are out of the drive; a listener ahead of the manager "inserts"
// the requested one where the request looks for it, unless the test keeps
// it elsewhere.
class ChangeDiskFormTest : public DisksAndStatusTest {
 protected:
  ChangeDiskFormTest() {
    RegisterControls(ClassRegistry::Global());
    RegisterTranslatorClasses(ClassRegistry::Global());
    RegisterDialogClasses(ClassRegistry::Global());
    StartDialogUnits(false);
    installer_ = New<TInstall>(form_, "Install1");
    auto* drive = New<TGrabCall>(form_, "Drive");
    drive->SetContainer(installer_);
    drive->SetOnCall([this](TObject*, int call, TObject* PO) {
      if (call != kCallChangeDisk) return;
      const auto& disk = *static_cast<TDiskParameter*>(static_cast<TParameterList*>(PO)->Items[1]);
      asked.push_back(disk.DiskNumber);
      if (inDrive.count(disk.DiskNumber))
        PutFile(disk.Path + "\\files." + std::to_string(disk.DiskNumber), inDrive[disk.DiskNumber],
                kMid);
    });
    auto* manager = New<TDialogManager>(form_, "DialogManager4");
    manager->SetManagerType(dmChangeDisk);
    manager->SetContainer(installer_);
  }

  // Packs `bytes` onto three volumes and takes disks 2 and 3 out.
  TInstallFile* PackOntoThreeDisks(const std::string& bytes) {
    TInstallFile* f = PackOntoVolumes(bytes, 40000);
    EXPECT_EQ(volumes, 3);
    for (int n : {2, 3}) {
      const std::string path = "C:\\DIST\\files." + std::to_string(n);
      inDrive[n] = ReadAll(path);
      platform::files().DeleteFile(path);
    }
    return f;
  }

  // The change-disk form's records: the prompt and the path it showed.
  std::vector<std::pair<std::string, std::string>> Prompts() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& line : transcript) {
      if (line.find("\"event\":\"form\",\"form\":\"ChangeDiskForm\"") == std::string::npos)
        continue;
      auto text = [&](const std::string& control) {
        const std::string key = "\"name\":\"" + control + "\",\"text\":\"";
        const size_t at = line.find(key);
        if (at == std::string::npos) return std::string();
        const size_t from = at + key.size();
        return line.substr(from, line.find('"', from) - from);
      };
      out.emplace_back(text("PromptDiskLabel"), text("PathEdit"));
    }
    return out;
  }

  TInstall* installer_ = nullptr;
  std::map<int, std::string> inDrive;  // what the user inserts when asked
  std::vector<int> asked;
};

using Prompt = std::pair<std::string, std::string>;

TEST_F(ChangeDiskFormTest, EachDiskIsAskedForByNumberAndPathAndProceedGoesOn) {
  const std::string bytes = Noise(90000, 11);
  TInstallFile* f = PackOntoThreeDisks(bytes);
  UseScript("press Proceed\npress Proceed\n");
  f->SetState(ifsInstalling);
  EXPECT_TRUE(ReadAll(DestOf("big.bin")) == bytes);
  EXPECT_EQ(asked, (std::vector<int>{2, 3}));
  EXPECT_EQ(Prompts(), (std::vector<Prompt>{{"Please insert disk number 2", "C:\\\\DIST"},
                                            {"Please insert disk number 3", "C:\\\\DIST"}}));
  EXPECT_TRUE(Messages().empty()) << "the file's own prompt was not needed";
  EXPECT_EQ(f->Tag(), 1);
}

TEST_F(ChangeDiskFormTest, InsideTheInstallersRunEachDiskIsAskedForOnce) {
  // The file reports the request to the installation and its group passes
  // it up to the installer, which reports it again: one form per disk.
  const std::string bytes = Noise(90000, 14);
  PackOntoThreeDisks(bytes);
  group_->SetContainer(installer_);  // a move that resets the group's places
  group_->SetDestDirType(nullptr);
  group_->SetDestDir(P("C:\\Dest"));
  group_->SetArchiveFileType(nullptr);
  group_->SetArchiveFile("C:\\DIST\\files.1");
  UseScript("press Proceed\npress Proceed\n");
  installer_->InstallObjects();
  EXPECT_TRUE(ReadAll(DestOf("big.bin")) == bytes);
  EXPECT_EQ(asked, (std::vector<int>{2, 2, 3, 3})) << "a listener hears the file and the installer";
  EXPECT_EQ(Prompts().size(), 2u);
}

TEST_F(ChangeDiskFormTest, APathGivenThroughBrowseIsUsedForThatDisk) {
  const std::string bytes = Noise(90000, 12);
  TInstallFile* f = PackOntoThreeDisks(bytes);
  // Disk 2 is found in another folder, not in the drive.
  PutFile("C:\\Elsewhere\\files.2", inDrive[2], kMid);
  inDrive.erase(2);
  UseScript(
      "press Browse\ntype Value C:\\Elsewhere\npress OK\npress Proceed\n"
      "press Proceed\n");
  f->SetState(ifsInstalling);
  EXPECT_TRUE(ReadAll(DestOf("big.bin")) == bytes);
  const auto prompts = Prompts();
  ASSERT_EQ(prompts.size(), 3u) << "disk 2 asked, browsed to, then disk 3";
  EXPECT_EQ(prompts[0], Prompt("Please insert disk number 2", "C:\\\\DIST"));
  EXPECT_EQ(prompts[1], Prompt("Please insert disk number 2", "C:\\\\Elsewhere"));
  EXPECT_EQ(prompts[2].first, "Please insert disk number 3");
}

TEST_F(ChangeDiskFormTest, CancelEndsTheRunAsCancelledAndKeepsTheDestination) {
  TInstallFile* f = PackOntoThreeDisks(Noise(90000, 13));
  PutFile(DestOf("big.bin"), "previous", kOld);
  UseScript("press Cancel\n");
  EXPECT_THROW(f->SetState(ifsInstalling), EPLUserAbort);
  EXPECT_EQ(Prompts().size(), 1u);
  EXPECT_EQ(ReadAll(DestOf("big.bin")), "previous");
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST_F(DisksAndStatusTest, PercentagesFollowTheBytesOfEachFileAndOfTheGroup) {
  // Three files of 30,000, 10,000 and 60,000 bytes: the group's total is
  // 100,000, so the total percentage is the bytes done in thousands.
  const size_t sizes[] = {30000, 10000, 60000};
  std::vector<TInstallFile*> files;
  for (int i = 0; i < 3; ++i) {
    const std::string src = "C:\\src\\f" + std::to_string(i) + ".bin";
    PutFile(src, Noise(sizes[i], uint32_t(20 + i)), kMid);
    files.push_back(NewFile("File" + std::to_string(i), group_, src));
  }
  CompressContainer(*group_, kBuildOptionsTraditional);
  TVrexCompress::FreeShared();
  for (TInstallFile* f : files) f->SetInformationRead(false);

  struct Report {
    std::string file;
    int filePercent;
    int totalPercent;
  };
  std::vector<Report> reports;
  group_->SetOnStatus([&](TInstallFileRef file, int filePercent, int totalPercent) {
    reports.push_back({file ? file->Name() : "", filePercent, totalPercent});
  });
  group_->Process();

  ASSERT_FALSE(reports.empty());
  // Every file ends at 100 %, and the group's total reaches 100 % exactly
  // once all bytes are in: 30, 40, 100 at the ends of the three files.
  std::map<std::string, int> lastFilePercent;
  std::vector<int> totalsAtFileEnds;
  int previousTotal = 0;
  for (size_t i = 0; i < reports.size(); ++i) {
    const Report& r = reports[i];
    EXPECT_GE(r.totalPercent, previousTotal) << "the total went back at report " << i;
    EXPECT_GE(r.filePercent, 0);
    EXPECT_LE(r.filePercent, 100);
    previousTotal = r.totalPercent;
    lastFilePercent[r.file] = r.filePercent;
    const bool last = i + 1 == reports.size() || reports[i + 1].file != r.file;
    if (last) totalsAtFileEnds.push_back(r.totalPercent);
  }
  for (const TInstallFile* f : files) EXPECT_EQ(lastFilePercent[f->Name()], 100) << f->Name();
  EXPECT_EQ(totalsAtFileEnds, (std::vector<int>{30, 40, 100}));
  EXPECT_EQ(group_->BytesDone(), 100000);
}

}  // namespace
}  // namespace filestest
