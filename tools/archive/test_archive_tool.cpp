// pellmore-archive run in-process on host files: build with ids, list as a
// table and as JSON, extract, split into size-limited volumes and read them
// back, verify naming the first bad member, and usage errors; hostile
// archives, read-only targets, FIFOs, directories and empty paths; and the
// host-file rules its file service shares with the simulated machine.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>

#include "ArchiveTool.h"
#include "HostFileSystem.h"
#include "platform/sim/SimMachine.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

class ArchiveToolTest : public ::testing::Test {
 protected:
  ArchiveToolTest() {
    dir_ = fs::temp_directory_path() / ("pellmore-archive-tool-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "src");
  }
  ~ArchiveToolTest() override { fs::remove_all(dir_); }

  std::string P(const std::string& rel) const { return (dir_ / rel).string(); }
  void Write(const std::string& rel, const std::string& bytes) {
    std::ofstream(P(rel), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& rel) {
    std::ifstream in(P(rel), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return archive_tool::RunArchiveTool(args, out_, err_);
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

std::string Bytes(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (auto& c : s) {
    seed = seed * 1664525u + 1013904223u;
    c = char(seed >> 24);
  }
  return s;
}

TEST_F(ArchiveToolTest, BuildsListsExtractsSplitsAndVerifies) {
  Write("src/a.txt", std::string(50000, 'a') + "end");
  Write("src/b.bin", Bytes(30000, 1));
  // --drive stores names as the setup's file list gives them.
  ASSERT_EQ(Run({"--drive", "C=" + P("src"), "add", P("files.1"), "--ids", "10", P("src/a.txt"),
                 P("src/b.bin")}),
            0)
      << err_.str();
  ASSERT_EQ(Run({"list", P("files.1"), "--json"}), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("\"name\": \"C:\\\\a.txt\""));
  EXPECT_THAT(out_.str(), HasSubstr("\"uniqueId\": 11"));
  EXPECT_THAT(out_.str(), HasSubstr("\"layout\": \"single\""));
  ASSERT_EQ(Run({"list", P("files.1")}), 0);
  EXPECT_THAT(out_.str(), HasSubstr("2 member(s), 80003 bytes"));

  ASSERT_EQ(Run({"extract", P("files.1"), "-d", P("out")}), 0) << err_.str();
  EXPECT_EQ(Read("out/a.txt"), Read("src/a.txt"));
  EXPECT_EQ(Read("out/b.bin"), Read("src/b.bin"));
  ASSERT_EQ(Run({"verify", P("files.1")}), 0) << err_.str();

  fs::create_directories(P("vols"));
  ASSERT_EQ(Run({"split", P("files.1"), P("vols"), "--volume-size", "16K"}), 0) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("files.3"));
  for (const auto& e : fs::directory_iterator(P("vols"))) EXPECT_LE(e.file_size(), 16384u);
  ASSERT_EQ(Run({"verify", P("vols/files.1")}), 0) << err_.str();
  ASSERT_EQ(Run({"extract", P("vols/files.1"), "-d", P("out2"), "C:\\b.bin"}), 0) << err_.str();
  EXPECT_EQ(Read("out2/b.bin"), Read("src/b.bin"));
}

TEST_F(ArchiveToolTest, VerifyNamesTheFirstBadMemberAndUsageErrorsExitTwo) {
  Write("src/a.txt", std::string(5000, 'a'));
  Write("src/b.txt", std::string(5000, 'b'));
  ASSERT_EQ(Run({"add", P("files.1"), P("src/a.txt"), P("src/b.txt")}), 0) << err_.str();
  std::string bytes = Read("files.1");
  bytes[bytes.size() - 12] ^= 0x40;  // inside the second member's data
  Write("files.1", bytes);
  EXPECT_EQ(Run({"verify", P("files.1")}), 1);
  EXPECT_THAT(out_.str(), HasSubstr("bad member 1: "));
  EXPECT_THAT(out_.str(), HasSubstr("b.txt"));

  EXPECT_EQ(Run({"frobnicate"}), 2);
  EXPECT_THAT(err_.str(), HasSubstr("unknown command"));
  EXPECT_EQ(Run({"extract", P("files.1"), "--overwrite", "sometimes"}), 2);
  EXPECT_EQ(Run({"list", P("missing.1")}), 1);
  EXPECT_THAT(err_.str(), HasSubstr("Cannot open the compressed file"));
}

// Runs `body`, which opens `fifo` somewhere; if it has not returned after
// a while it is blocked on the FIFO: a writer is attached so it can end,
// and the case fails.
template <class F>
void Bounded(const std::string& fifo, F body) {
  auto done = std::async(std::launch::async, body);
  if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "blocked on " << fifo;
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    done.wait();
    if (fd >= 0) ::close(fd);
  }
  done.get();
}

std::string Patched(std::string archive, size_t at, const std::string& bytes) {
  archive.replace(at, bytes.size(), bytes);
  return archive;
}

TEST_F(ArchiveToolTest, HostileArchivesExtractInsideTheDirectoryOrFail) {
  fs::create_directories(P("src/sub"));
  Write("src/sub/member.txt", "member bytes");
  ASSERT_EQ(Run({"--drive", "C=" + P("src"), "add", P("good.1"), "--new", P("src/sub/member.txt")}),
            0)
      << err_.str();
  const std::string good = Read("good.1");
  Write("victim.txt", "victim");
  fs::create_directories(P("out"));
  // Name field: one length byte and the name at header offset 20.
  auto named = [&](const std::string& name) {
    std::string n(1, char(name.size()));
    n += name;
    n.resize(101, '\0');
    return Patched(good, 5 + 20, n);
  };
  auto sized = [&](uint32_t size) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[size_t(i)] = char(size >> (8 * i));
    return Patched(good, 5 + 128, b);
  };
  struct Case {
    const char* what;
    std::string archive;
    int exit;
    const char* lands;  // the file in out/, or the message of a failure
  };
  const Case cases[] = {
      {"parent by slash", named("../victim.txt"), 0, "victim.txt"},
      {"parent by backslash", named("..\\..\\victim.txt"), 0, "victim.txt"},
      {"slash inside the name", named("C:/sub/member.txt"), 0, "member.txt"},
      {"absolute host path", named("H:\\" + P("victim.txt")), 0, "victim.txt"},
      {"device", named("C:\\sub\\NUL.txt"), 1, "Cannot create the file "},
      {"dots only", named("sub/.."), 1, "Cannot create the file "},
      {"stream", named("victim.txt:x"), 1, "Cannot create the file "},
      {"size that lies", sized(5), 1, "size does not match"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Write("bad.1", k.archive);
    EXPECT_EQ(Run({"extract", P("bad.1"), "-d", P("out")}), k.exit) << err_.str();
    EXPECT_EQ(Read("victim.txt"), "victim");
    std::vector<std::string> inOut;
    for (const auto& e : fs::directory_iterator(P("out"))) inOut.push_back(e.path().filename());
    if (k.exit == 0) {
      EXPECT_EQ(inOut, std::vector<std::string>{k.lands});
      EXPECT_EQ(Read("out/" + std::string(k.lands)), "member bytes");
      fs::remove(P("out/" + std::string(k.lands)));
    } else {
      EXPECT_THAT(err_.str(), HasSubstr(k.lands));
      EXPECT_TRUE(inOut.empty());  // not even a temporary file
    }
  }
}

TEST_F(ArchiveToolTest, ReadOnlyFilesFifosDirectoriesAndEmptyPaths) {
  Write("src/a.txt", "new");
  ASSERT_EQ(Run({"add", P("files.1"), P("src/a.txt")}), 0) << err_.str();
  fs::create_directories(P("out"));
  Write("out/a.txt", "old");
  fs::permissions(P("out/a.txt"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Run({"extract", P("files.1"), "-d", P("out"), "--overwrite", "always"}), 1);
  EXPECT_THAT(err_.str(), HasSubstr("Cannot create the file"));
  EXPECT_THAT(err_.str(), HasSubstr("Access is denied"));
  EXPECT_EQ(Read("out/a.txt"), "old");
  EXPECT_EQ(fs::status(P("out/a.txt")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(P("out")), fs::directory_iterator()), 1);

  ASSERT_EQ(::mkfifo(P("fifo.1").c_str(), 0644), 0);
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int exit;
    const char* message;
  };
  const Case cases[] = {
      {"list a FIFO", {"list", P("fifo.1")}, 1, "is not a regular file"},
      {"extract from a FIFO", {"extract", P("fifo.1"), "-d", P("out")}, 1, "is not a regular file"},
      {"add a FIFO", {"add", P("files.1"), P("fifo.1")}, 1, "is not a regular file"},
      {"list a directory", {"list", P("out")}, 1, "is a directory"},
      {"verify a directory", {"verify", P("src")}, 1, "is a directory"},
      {"empty -d", {"extract", P("files.1"), "-d", ""}, 2, "-d is empty"},
      {"empty archive name", {"list", ""}, 2, "archive name is empty"},
      {"empty file to add", {"add", P("files.1"), ""}, 2, "file name is empty"},
  };
  const std::string archive = Read("files.1");
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Bounded(P("fifo.1"), [&] { EXPECT_EQ(Run(k.args), k.exit); });
    EXPECT_THAT(err_.str(), HasSubstr(k.message));
    EXPECT_THAT(err_.str(), testing::Not(HasSubstr("filesystem error")));
    EXPECT_EQ(Read("files.1"), archive);
  }
}

TEST_F(ArchiveToolTest, AddRefusesPathsTheNameFieldWouldCut) {
  std::string han;
  for (int i = 0; i < 34; ++i) han += "\xE4\xB8\xAD";  // three bytes each
  Write("src/" + han + ".dll", "long");
  Write("src/short.dll", "short");
  EXPECT_EQ(Run({"--drive", "C=" + P("src"), "add", P("files.1"), P("src/short.dll"),
                 P("src/" + han + ".dll")}),
            1);
  EXPECT_THAT(err_.str(), HasSubstr("C:\\" + han + ".dll"));
  EXPECT_THAT(err_.str(), HasSubstr("at most 100 bytes"));
  EXPECT_FALSE(fs::exists(P("files.1")));  // nothing packed, not even the short one
  ASSERT_EQ(Run({"--drive", "C=" + P("src"), "add", P("files.1"), P("src/short.dll")}), 0);
}

// The tool's host drives and the simulated machine refuse the same things
// on a read-only file and on a FIFO, with the same codes.
TEST(HostFileRules, TheToolsFileServiceAndTheMachinesAgree) {
  const fs::path dir =
      fs::temp_directory_path() / ("pellmore-archive-rules-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "host");
  auto machine = platform::sim::CreateMachine((dir / "machine").string(), {});
  archive_tool::HostFileSystem host;
  host.MapDrive('C', (dir / "host").string());
  platform::FileSystem* services[] = {&machine->files(), &host};
  const std::string hostDirs[] = {(dir / "machine" / "drive_c").string(), (dir / "host").string()};

  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "machine" : "tool");
    platform::FileSystem& files = *services[i];
    for (const char* name : {"C:\\ro.txt", "C:\\other.txt"}) {
      auto f = files.Create(name);
      f->Write("old", 3);
    }
    files.SetAttributes("C:\\ro.txt", platform::kAttrReadOnly);
    ASSERT_EQ(::mkfifo((hostDirs[i] + "/fifo").c_str(), 0644), 0);
    using platform::Disposition;
    struct Op {
      const char* what;
      std::function<void()> run;
    };
    const Op ops[] = {
        {"open for writing", [&] { files.OpenWrite("C:\\ro.txt"); }},
        {"create over", [&] { files.Create("C:\\ro.txt"); }},
        {"truncate",
         [&] {
           files.Open("C:\\ro.txt", platform::kAccessWrite, 0, Disposition::TruncateExisting);
         }},
        {"delete", [&] { files.DeleteFile("C:\\ro.txt"); }},
        {"replace by a move",
         [&] { files.MoveFile("C:\\other.txt", "C:\\ro.txt", platform::kMoveReplaceExisting); }},
        {"copy over", [&] { files.CopyFile("C:\\other.txt", "C:\\ro.txt", false); }},
        {"read a FIFO", [&] { files.OpenRead("C:\\fifo"); }},
        {"copy a FIFO", [&] { files.CopyFile("C:\\fifo", "C:\\copy.txt", false); }},
    };
    for (const Op& op : ops) {
      SCOPED_TRACE(op.what);
      Bounded(hostDirs[i] + "/fifo", [&] {
        try {
          op.run();
          ADD_FAILURE() << "allowed";
        } catch (const platform::OsError& e) {
          EXPECT_EQ(e.Code(), platform::kErrorAccessDenied) << e.Message();
        }
      });
    }
    EXPECT_EQ(files.Stat("C:\\ro.txt")->attributes & platform::kAttrReadOnly,
              platform::kAttrReadOnly);
    auto f = files.OpenRead("C:\\ro.txt");
    char buf[4] = {};
    EXPECT_EQ(f->Read(buf, sizeof buf), 3u);
    EXPECT_EQ(std::string(buf, 3), "old");
    EXPECT_FALSE(files.FileExists("C:\\copy.txt"));
  }
  machine.reset();
  fs::remove_all(dir);
}

}  // namespace
