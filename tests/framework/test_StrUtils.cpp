// Text and path helpers: Windows path parts, trimming, integer parsing with
// its refusals, hexadecimal output and replacing.
#include <gtest/gtest.h>

#include "framework/Exception.h"
#include "framework/StrUtils.h"

namespace {

TEST(StrUtils, PathParts) {
  struct Case {
    const char* path;
    const char* name;
    const char* dir;
    const char* ext;
    const char* drive;
  };
  const Case cases[] = {
      {"C:\\Dir\\Sub\\File.Txt", "File.Txt", "C:\\Dir\\Sub", ".Txt", "C:"},
      {"C:\\File", "File", "C:\\", "", "C:"},
      {"C:File.a.b", "File.a.b", "C:", ".b", "C:"},
      {"\\File.txt", "File.txt", "\\", ".txt", ""},
      {"C:\\Dir.x\\File", "File", "C:\\Dir.x", "", "C:"},
      {"\\\\srv\\share\\dir\\f.dll", "f.dll", "\\\\srv\\share\\dir", ".dll", "\\\\srv\\share"},
      {"\\\\srv\\share", "share", "\\\\srv", "", "\\\\srv\\share"},
      {"dir\\", "", "dir", "", ""},
      {"plain", "plain", "", "", ""},
      {"1:x", "1:x", "", "", ""},  // a colon splits only after a drive letter
      {"", "", "", "", ""},
      {"C:\\\xE4\xB8\xAD\\\xE6\x96\x87.ini", "\xE6\x96\x87.ini", "C:\\\xE4\xB8\xAD", ".ini", "C:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
    EXPECT_EQ(ExtractFilePath(c.path) + ExtractFileName(c.path), c.path);
    EXPECT_EQ(ExtractFileDir(c.path), c.dir);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext);
    EXPECT_EQ(ExtractFileDrive(c.path), c.drive);
  }
  EXPECT_EQ(ChangeFileExt("C:\\a.b\\setup.exe", ".bat"), "C:\\a.b\\setup.bat");
  EXPECT_EQ(ChangeFileExt("C:\\a.b\\setup", ".bat"), "C:\\a.b\\setup.bat");
  EXPECT_EQ(ChangeFileExt("setup.exe", ""), "setup");
  EXPECT_EQ(IncludeTrailingBackslash("C:"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\Dir\\\\"), "C:\\Dir\\");
}

TEST(StrUtils, TrimAndCase) {
  EXPECT_EQ(Trim(" \t\r\n\x01 a b \x1F "), "a b");
  EXPECT_EQ(TrimLeft("  a  "), "a  ");
  EXPECT_EQ(TrimRight("  a  "), "  a");
  EXPECT_EQ(Trim("\xE3\x80\x80x\xC2\xA0"), "\xE3\x80\x80x\xC2\xA0");  // UTF-8 bytes stay
  EXPECT_EQ(Trim(" \x7F "), "\x7F");
  EXPECT_EQ(UpperCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
  EXPECT_TRUE(StartsText("Setup.EXE", "SETUP"));
  EXPECT_TRUE(EndsText("Setup.EXE", ".exe"));
  EXPECT_FALSE(EndsText("exe", "a.exe"));
  EXPECT_EQ(FindText("abcABC", "Bc", 2), 4u);
}

TEST(StrUtils, StrToIntAcceptsAndRefuses) {
  struct Good {
    const char* text;
    int64_t value;
  };
  const Good good[] = {{"0", 0},
                       {"-17", -17},
                       {"+17", 17},
                       {"2147483647", 2147483647},
                       {"-2147483648", -2147483648LL},
                       {"$FF", 255},
                       {"0x1f", 31},
                       {"-$10", -16},
                       {"$FFFFFFFF", -1},
                       {"007", 7}};
  for (const auto& g : good) {
    SCOPED_TRACE(g.text);
    EXPECT_EQ(StrToInt(g.text), g.value);
  }
  const char* bad[] = {"",           " 1",  "1 ",  "1 2",         "+",           "-",
                       "$",          "0x",  "12a", "2147483648",  "-2147483649", "$100000000",
                       "-$FFFFFFFF", "1.0", "--1", "\xEF\xBC\x91"};
  for (const char* b : bad) {
    SCOPED_TRACE(b);
    int32_t v = 99;
    EXPECT_FALSE(TryStrToInt(b, v));
    EXPECT_EQ(v, 99);  // untouched on failure
    EXPECT_EQ(StrToIntDef(b, -5), -5);
    try {
      StrToInt(b);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + b + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64Def("9223372036854775808", 3), 3);
}

TEST(StrUtils, IntToStrAndHex) {
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(4000000000u), "4000000000");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(-1LL, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0x1234u, 2), "1234");
}

TEST(StrUtils, StringReplace) {
  EXPECT_EQ(StringReplace("a.b.c", ".", "\\"), "a\\b.c");
  EXPECT_EQ(StringReplace("a.b.c", ".", "\\", rfReplaceAll), "a\\b\\c");
  EXPECT_EQ(StringReplace("xXx", "x", "xx", rfReplaceAll), "xxXxx");  // no rescan
  EXPECT_EQ(StringReplace("xXx", "x", "-", rfReplaceAll | rfIgnoreCase), "---");
  EXPECT_EQ(StringReplace("aaa", "aa", "b", rfReplaceAll), "ba");
  EXPECT_EQ(StringReplace("abc", "", "z", rfReplaceAll), "abc");
}

}  // namespace
