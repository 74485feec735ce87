// Contract of the system queries and the shared command-line splitter, run
// on the simulated machine and on Windows: directories, temporary and short
// names, the version, and how a command line splits into arguments.
#include <gmock/gmock.h>

#include <set>

#include "platform/CommandLine.h"
#include "support/ContractMachine.h"

using namespace platform;

namespace {

class SystemContract : public ContractMachine {};

bool IsEightDotThree(const std::string& name) {
  size_t dot = name.find('.');
  size_t base = dot == std::string::npos ? name.size() : dot;
  size_t ext = dot == std::string::npos ? 0 : name.size() - dot - 1;
  return base >= 1 && base <= 8 && ext <= 3 && name.find(' ') == std::string::npos &&
         (dot == std::string::npos || name.find('.', dot + 1) == std::string::npos);
}

std::string LastPart(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

TEST_F(SystemContract, DirectoriesExistAndHaveTheWindowsForm) {
  for (const std::string& dir : {System().WindowsDirectory(), System().SystemDirectory()}) {
    SCOPED_TRACE(dir);
    EXPECT_TRUE(Files().DirectoryExists(dir));
    EXPECT_NE(dir.back(), '\\');
    EXPECT_EQ(dir[1], ':');
  }
  std::string temp = System().TempDirectory();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(Files().DirectoryExists(temp));
}

TEST_F(SystemContract, TempFileNamesAreFreshEmptyFilesWithThePrefix) {
  std::set<std::string> seen;
  for (int i = 0; i < 5; ++i) {
    std::string name = System().TempFileName(Scratch(), "batch");
    SCOPED_TRACE(name);
    EXPECT_EQ(name.substr(0, Scratch().size() + 4), Scratch() + "\\bat");
    std::string number = LastPart(name).substr(3);
    ASSERT_GT(number.size(), 4u);
    EXPECT_EQ(number.substr(number.size() - 4), ".tmp");
    number.resize(number.size() - 4);
    // Windows writes the number in upper-case hex, Wine in lower case.
    EXPECT_EQ(number.find_first_not_of("0123456789ABCDEFabcdef"), std::string::npos);
    auto info = Files().Stat(name);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 0u);
    EXPECT_TRUE(seen.insert(name).second) << "names repeat";
  }
  EXPECT_NE(CodeOf([&] { System().TempFileName(At("missing"), "bat"); }), 0u);
}

TEST_F(SystemContract, ShortNamesAreEightDotThreeStableAndUsable) {
  Files().CreateDirectory(At("Long Directory Name"));
  WriteFile(At("Long Directory Name\\A Long File Name.text"), "one");
  WriteFile(At("Long Directory Name\\A Long File Name.other"), "two");
  WriteFile(At("Long Directory Name\\SHORT.TXT"), "three");

  std::string first = System().ShortPathName(At("Long Directory Name\\A Long File Name.text"));
  std::string second = System().ShortPathName(At("long directory name\\a long file name.other"));
  EXPECT_EQ(System().ShortPathName(At("Long Directory Name\\A Long File Name.text")), first);
  EXPECT_TRUE(IsEightDotThree(LastPart(first))) << first;
  EXPECT_NE(LastPart(first), LastPart(second));
  EXPECT_EQ(ReadFile(first), "one") << "the short path names the same file";
  EXPECT_EQ(ReadFile(second), "two");
  EXPECT_EQ(LastPart(System().ShortPathName(At("Long Directory Name\\SHORT.TXT"))), "SHORT.TXT")
      << "an 8.3 name is its own short name";
  EXPECT_EQ(CodeOf([&] { System().ShortPathName(At("Long Directory Name\\missing.txt")); }),
            kErrorFileNotFound);
}

TEST_F(SystemContract, VersionAndArgumentsAreAnswered) {
  WindowsVersion v = System().Version();
  EXPECT_LE(v.platformId, 2u);
  EXPECT_GE(v.major, 3u);
  auto args = System().Arguments();
  ASSERT_FALSE(args.empty());
  EXPECT_FALSE(args[0].empty());
  EXPECT_GT(System().ScreenWidth(), 0);
  EXPECT_GT(System().ScreenHeight(), 0);
}

TEST(CommandLine, SplitsAtBlanksWithQuotesTogglingAndBackslashesLiteral) {
  struct Case {
    const char* line;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"setup.exe", {"setup.exe"}},
      {"  setup.exe   -r  ", {"setup.exe", "-r"}},
      {"\"C:\\Program Files\\setup.exe\" -d", {"C:\\Program Files\\setup.exe", "-d"}},
      {"setup -d \"-sC:\\My Build\"", {"setup", "-d", "-sC:\\My Build"}},
      {"setup \"-sC:\\My Build\\\" -r", {"setup", "-sC:\\My Build\\", "-r"}},
      {"a\"b c\"d e", {"ab cd", "e"}},
      {"a \"\" b", {"a", "", "b"}},
      {"C:\\dir\\\\x", {"C:\\dir\\\\x"}},
      {"\"unterminated quote", {"unterminated quote"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.args);
  }
}

TEST(CommandLine, JoinedArgumentsSplitBackToThemselves) {
  const std::vector<std::string> args = {
      "C:\\Program Files\\setup.exe", "-d", "-sC:\\My Build\\", "", "tab\there", "plain"};
  EXPECT_EQ(SplitCommandLine(JoinCommandLine(args)), args);
  EXPECT_EQ(QuoteArgument("plain"), "plain");
  EXPECT_EQ(QuoteArgument("a \"b\""), "a \"b\"") << "quotes keep their meaning";
}

}  // namespace
