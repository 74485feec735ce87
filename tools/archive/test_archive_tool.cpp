// pellmore-archive run in-process on host files: build with ids, list as a
// table and as JSON, extract, split into size-limited volumes and read them
// back, verify naming the first bad member, and usage errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ArchiveTool.h"

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

}  // namespace
