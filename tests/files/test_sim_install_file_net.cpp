// A web distribution installed by the whole run from a net location: the
// list of files read first, each archive downloaded once into the
// temporary directory before anything is taken from it, the copy dialog
// told about the transfer, the downloads gone with the bookkeeping key.
// Then the ways a download fails, one fresh machine each: the run's
// outcome (failed or cancelled), the message with the server's words, and
// no partial download left or extracted.
#include <gmock/gmock.h>

#include <map>

#include "NetStandIn.h"
#include "archive/cmp_TVrexCompress.h"
#include "files/cmp_TInstallFile.h"
#include "install/ContainerCompress.h"
#include "install/FileList.h"
#include "install/RunFixture.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/SystemInfo.h"
#include "support/Noise.h"

namespace filestest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const TDateTime kDate = 40000.25;
const char* const kServed = "C:\\BUILD\\Net1";

struct Source {
  const char* name;
  const char* file;
  size_t bytes;
  TOverwriteType mode;
};
// Readme, Guide and Extra share the installer's net archive "Install1.1";
// Engine replaces by version and date, so it keeps "Engine.1" of its own.
const Source kSources[] = {
    {"Readme", "readme.txt", 30000, owAlways},
    {"Guide", "guide.txt", 500, owAlways},
    {"Extra", "extra.txt", 700, owAlways},
    {"Engine", "engine.dll", 12000, owVersionDate},
};

class NetInstall : public runtest::RunTest {
 protected:
  NetInstall() {
    RegisterPathSpecifiers(ClassRegistry::Global());
    RegisterInstallFile(ClassRegistry::Global());
    TTestNetLocation::Register(ClassRegistry::Global());
    SetCommandLine(std::string(kProgram) + " -sC:\\SETUP");
    Adopt(
        ReadForm("object T: TForm\n"
                 "  object Net1: TTestNetLocation\n  end\n"
                 "  object Install1: TInstall\n    NetLocation = Net1\n    DistributeType = dtWeb\n"
                 "  end\nend\n"));
    net_ = static_cast<TTestNetLocation*>(form_->FindComponent("Net1"));
    net_->Folder = kServed;
    install_->SetDestDirType(nullptr);
    install_->SetDestDir("C:\\Dest");
    for (const Source& s : kSources) {
      const std::string path = std::string("C:\\src\\") + s.file;
      PutFile(path, testsupport::Noise(s.bytes, static_cast<uint32_t>(s.bytes)), kDate);
      auto* f = new TInstallFile(form_.get(), install_, path);
      f->SetName(s.name);
      f->SetOverwriteMode(s.mode);
      files_.push_back(f);
    }
    Build();
  }

  // What a build for the web leaves in kServed, with the list naming every
  // file but Extra, and one name no file has; the sources go afterwards, so
  // only the server can deliver.
  void Build() {
    install_->SetArchiveFileType(nullptr);
    install_->SetArchiveFile("C:\\BUILD\\files.1");
    CompressContainer(*install_, kBuildOptionsWeb);
    TVrexCompress::FreeShared();
    std::vector<FileListRecord> list;
    for (TInstallFile* f : files_) {
      if (f->Name() != "Extra")
        list.push_back({uint32_t(f->StoredSize()), f->StoredDate(), f->Name(), f->StoredVersion()});
      f->SetInformationRead(false);
    }
    list.push_back({1, kDate, "Unknown", ""});
    PutFile(std::string(kServed) + "\\filelist.lst", EncodeFileList(list), kDate);
    for (const Source& s : kSources) {
      sources_[s.name] = Read(std::string("C:\\src\\") + s.file);
      platform::files().DeleteFile(std::string("C:\\src\\") + s.file);
    }
  }

  static std::string Read(const std::string& path) {
    auto f = platform::files().OpenRead(path);
    std::string s(f->Size(), '\0');
    if (!s.empty()) f->Read(s.data(), s.size());
    return s;
  }
  // The files in C:\Dest that hold exactly their source's bytes.
  std::vector<std::string> Installed() {
    std::vector<std::string> names;
    for (const Source& s : kSources) {
      const std::string path = std::string("C:\\Dest\\") + s.file;
      if (platform::files().FileExists(path) && Read(path) == sources_[s.name])
        names.push_back(s.name);
    }
    return names;
  }
  // Everything the run left in the temporary directory.
  static std::vector<std::string> TempFiles() {
    std::vector<std::string> names;
    for (const auto& e : platform::files().FindFiles(platform::system().TempDirectory() + "*"))
      if (!e.IsDirectory()) names.push_back(e.name);
    return names;
  }

  TTestNetLocation* net_ = nullptr;
  std::vector<TInstallFile*> files_;
  std::map<std::string, std::string> sources_;
};

TEST_F(NetInstall, WebDistributionInstallsFromTheServerDownloadingEachArchiveOnce) {
  std::vector<std::string> requestsBeforeCopy;
  install_->SetOnAfterInitialized([&](TObject*) { requestsBeforeCopy = net_->Requests; });
  StartRun();

  ASSERT_EQ(InstallOutcome(), ioFinished) << (transcript_.empty() ? "" : transcript_.back());
  EXPECT_THAT(Installed(), ElementsAre("Readme", "Guide", "Extra", "Engine"));
  // The list first; Extra, which it does not name, reads its information
  // from the archive it installs from, the net one (shared with Readme and
  // Guide, so fetched once); Engine's own archive only when it is copied.
  EXPECT_THAT(requestsBeforeCopy, ElementsAre("filelist.lst", "Install1.1"));
  EXPECT_THAT(net_->Requests, ElementsAre("filelist.lst", "Install1.1", "Engine.1"));
  EXPECT_EQ(files_[3]->StoredSize(), 12000);
  // The copy dialog heard the transfer, between the copy's start and end.
  const std::vector<int>& calls = dialog_->Calls;
  const auto begins = std::find(calls.begin(), calls.end(), kCallInstallObjectsBegins);
  const auto download = std::find(begins, calls.end(), kCallDownloadStatus);
  EXPECT_NE(download, calls.end());
  EXPECT_NE(std::find(download, calls.end(), kCallCopyEnded), calls.end());
  // The downloads and the list went with the bookkeeping key.
  EXPECT_THAT(TempFiles(), IsEmpty());
  EXPECT_THAT(InstallKeys(), IsEmpty());
}

struct Fault {
  const char* name;
  std::function<void(NetInstall&, TTestNetLocation&)> arrange;
  TInstallOutcome outcome;
  const char* message;  // in the error shown; empty: none shown
  std::vector<std::string> installed;
};

void PrintTo(const Fault& f, std::ostream* os) {
  *os << f.name;
}

class NetFaults : public NetInstall, public ::testing::WithParamInterface<Fault> {
 public:
  static void Free(uint64_t bytes, NetInstall& t) {
    static_cast<NetFaults&>(t).Machine().SetFreeSpace('C', bytes);
  }
  static void Put(NetInstall& t, const std::string& path, const std::string& bytes) {
    static_cast<NetFaults&>(t).PutFile(path, bytes, kDate);
  }
};

TEST_P(NetFaults, EndTheRunWithTheServersWordsAndNoPartialDownload) {
  const Fault& f = GetParam();
  f.arrange(*this, *net_);
  StartRun();

  EXPECT_EQ(InstallOutcome(), f.outcome);
  if (*f.message)
    EXPECT_EQ(Shown("error", f.message), 1) << (transcript_.empty() ? "" : transcript_.back());
  else
    EXPECT_EQ(Shown("error", ""), 0);
  EXPECT_EQ(Installed(), f.installed);
  // No list and no partial transfer stays; only an archive that came
  // whole stays recorded for the resume of a failed run.
  for (const std::string& name : TempFiles()) {
    EXPECT_EQ(name.rfind("net", 0), 0u) << name;
    EXPECT_EQ(Read(platform::system().TempDirectory() + name).size(),
              Read(std::string(kServed) + "\\Install1.1").size())
        << name;
  }
  if (f.outcome == ioCancelled) {
    EXPECT_THAT(TempFiles(), IsEmpty());
  }
}

std::string ShortList() {
  return EncodeFileList({{1, kDate, "Readme", ""}, {2, kDate, "Guide", ""}}).substr(0, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NetFaults,
    ::testing::Values(
        Fault{"Refused",
              [](NetInstall&, TTestNetLocation& n) {
                n.Refuse = "Cannot connect to host h. Response from server 421 Too many users";
              },
              ioFailed,
              "421 Too many users",
              {}},
        Fault{"LoginNotFilledIn",
              [](NetInstall&, TTestNetLocation& n) { n.LoggedIn = false; },
              ioFailed,
              "the login information of Net1 is not filled in",
              {}},
        Fault{"ListMissing",
              [](NetInstall&, TTestNetLocation&) {
                platform::files().DeleteFile(std::string(kServed) + "\\filelist.lst");
              },
              ioFailed,
              "Could not find the file filelist.lst on the server. Response 550",
              {}},
        Fault{"ListShort",
              [](NetInstall& t, TTestNetLocation&) {
                NetFaults::Put(t, std::string(kServed) + "\\filelist.lst", ShortList());
              },
              ioFailed,
              "Cannot read the remote list of files: C:\\\\",
              {}},
        Fault{"ArchiveMissing",
              [](NetInstall&, TTestNetLocation&) {
                platform::files().DeleteFile(std::string(kServed) + "\\Engine.1");
              },
              ioFailed,
              "Could not find the file Engine.1",
              {"Readme", "Guide", "Extra"}},
        Fault{"DroppedMidFile",
              [](NetInstall&, TTestNetLocation& n) { n.DropAfter = 9000; },
              ioFailed,
              "Connection reset",
              {}},
        Fault{"CancelledMidFile",
              [](NetInstall&, TTestNetLocation& n) { n.CancelAfter = 9000; },
              ioCancelled,
              "",
              {}},
        Fault{"DiskTooSmallForTheArchive",
              [](NetInstall& t, TTestNetLocation&) { NetFaults::Free(20000, t); },
              ioFailed,
              "There is not enough space on the disk to download Install1.1",
              {}},
        Fault{"DiskFillsWithoutKnownSize",
              [](NetInstall& t, TTestNetLocation& n) {
                n.HideSize = true;
                NetFaults::Free(20000, t);
              },
              ioFailed,
              "could not write to the local dest file",
              {}}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace filestest
