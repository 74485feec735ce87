// The simulated machine's Windows path parsing, wildcard matching and 8.3
// name rules, checked as pure text functions.
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/sim/ShortNames.h"
#include "platform/sim/WinPath.h"

using namespace platform;
using namespace platform::sim;

namespace {

WinPath Current() {
  WinPath p;
  p.drive = 'C';
  p.parts = {"Work", "Dir"};
  return p;
}

TEST(SimPaths, ParseResolvesEveryFormAgainstTheCurrentDirectory) {
  struct Case {
    const char* path;
    const char* full;
  };
  const Case cases[] = {
      {"C:\\a\\b", "C:\\a\\b"},
      {"c:/a/b/", "C:\\a\\b"},
      {"file.txt", "C:\\Work\\Dir\\file.txt"},
      {".\\x\\..\\y", "C:\\Work\\Dir\\y"},
      {"..\\..\\..\\..\\up", "C:\\up"},
      {"\\rooted", "C:\\rooted"},
      {"C:rel", "C:\\Work\\Dir\\rel"},
      {"D:rel", "D:\\rel"},
      {"C:\\..\\..\\etc\\passwd", "C:\\etc\\passwd"},
      {"C:\\trailing dots...\\name. .", "C:\\trailing dots\\name"},
      {"\\\\?\\C:\\long", "C:\\long"},
      {"C:\\a\\\\\\b", "C:\\a\\b"},
      {"C:\\中文\\файл.txt", "C:\\中文\\файл.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ParseWindowsPath(c.path, Current(), "Test").Text(), c.full);
  }
}

TEST(SimPaths, ParseRefusesWhatWindowsRefuses) {
  struct Case {
    const char* path;
    uint32_t code;
  };
  const Case cases[] = {
      {"", kErrorPathNotFound},
      {"\\\\server\\share\\x", kErrorBadNetPath},
      {"C:\\a<b", kErrorInvalidName},
      {"C:\\a>b", kErrorInvalidName},
      {"C:\\a:b", kErrorInvalidName},
      {"C:\\a|b", kErrorInvalidName},
      {"C:\\a\"b", kErrorInvalidName},
      {"C:\\a*b", kErrorInvalidName},
      {"C:\\a?b", kErrorInvalidName},
      {"C:\\a\tb", kErrorInvalidName},
      {"C:\\dir\\CON", kErrorInvalidName},
      {"C:\\dir\\nul.txt", kErrorInvalidName},
      {"C:\\dir\\com1", kErrorInvalidName},
      {"C:\\...", kErrorInvalidName},
      {"1:\\x", kErrorInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      ParseWindowsPath(c.path, Current(), "CreateFileW");
      ADD_FAILURE() << "accepted";
    } catch (const OsError& e) {
      EXPECT_EQ(e.Code(), c.code);
      EXPECT_EQ(e.Call(), "CreateFileW");
    }
  }
  EXPECT_NO_THROW(ParseWindowsPath("C:\\dir\\console.txt", Current(), "x"));
  EXPECT_NO_THROW(ParseWindowsPath("C:\\dir\\*.t?t", Current(), "x", true));
  std::string longName(256, 'a');
  try {
    ParseWindowsPath("C:\\" + longName, Current(), "x");
    ADD_FAILURE() << "accepted";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Code(), kErrorFilenameExcedRange);
  }
}

TEST(SimPaths, WildcardsFollowFindFirstFile) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "anything.at.all", true},
      {"*.*", "noext", true},
      {"*.txt", "A.TXT", true},
      {"*.txt", "a.txt.bak", false},
      {"?.txt", "a.txt", true},
      {"?.txt", "ab.txt", false},
      {"??.txt", "a.txt", true},
      {"a?", "a", true},
      {"noext.*", "noext", true},
      {"noext.*", "noext.c", true},
      {"*.", "noext", true},
      {"*.", "has.dot", false},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
      {"?", "中", true},
      {"文?", "文件", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match);
  }
}

TEST(SimPaths, ShortNameRules) {
  struct Case {
    const char* name;
    bool shortName;
  };
  const Case cases[] = {
      {"SETUP.EXE", true},  {"readme.txt", true}, {"A", true},        {"12345678.123", true},
      {"123456789", false}, {"a.html", false},    {"a b.txt", false}, {"a.b.c", false},
      {"a+b.txt", false},   {".profile", false},  {"x.", false},      {"中文.txt", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsShortName(c.name), c.shortName);
  }
}

}  // namespace
