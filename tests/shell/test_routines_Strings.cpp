// The kit's text and path routines: trailing backslashes, ";" field lists
// (GetField, FieldCount and SplitFields must agree), the text after a colon
// and file names made valid.
#include <gtest/gtest.h>

#include "shell/routines_Strings.h"

namespace {

TEST(RoutinesStrings, Backslashes) {
  const char* add[][2] = {{"", ""}, {"C:", "C:\\"}, {"C:\\", "C:\\"}, {"a\\b", "a\\b\\"}};
  for (const auto& c : add) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(AddBackslash(c[0]), c[1]);
  }
  const char* remove[][2] = {{"", ""}, {"C:\\", "C:"}, {"a\\\\", "a\\"}, {"a", "a"}, {"\\", ""}};
  for (const auto& c : remove) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(RemoveBackslash(c[0]), c[1]);
  }
}

TEST(RoutinesStrings, FieldsAgreeAcrossTheThreeRoutines) {
  struct Case {
    const char* text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a;b;", {"a", "b"}},
      {"a;;b", {"a", "", "b"}},
      {";", {""}},
      {";a", {"", "a"}},
      {"a;;", {"a", ""}},
      {"QDENG32.DLL;1;2", {"QDENG32.DLL", "1", "2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> list = {"stale"};
    SplitFields(c.text, ';', list);
    EXPECT_EQ(list, c.fields);
    EXPECT_EQ(FieldCount(c.text, ';'), static_cast<int>(c.fields.size()));
    for (size_t i = 0; i < c.fields.size(); ++i)
      EXPECT_EQ(GetField(c.text, static_cast<int>(i) + 1, ';'), c.fields[i]);
  }
  EXPECT_EQ(GetField("a;b", 2, ';'), "b");
  EXPECT_EQ(GetField("a;b", 3, ';'), "");
  EXPECT_EQ(GetField("a;b", 0, ';'), "");
  EXPECT_EQ(GetField("a;b", -1, ';'), "");
  // Another separator closes the list the same way.
  std::vector<std::string> list;
  SplitFields("x,y,", ',', list);
  EXPECT_EQ(list, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(FieldCount("x,y;", ','), 2);
}

TEST(RoutinesStrings, TextAfterColonAndValidFileNames) {
  std::string r = "kept";
  TextAfterColon("no colon", r);
  EXPECT_EQ(r, "kept");
  TextAfterColon("Key: a:b", r);
  EXPECT_EQ(r, " a:b");
  TextAfterColon("end:", r);
  EXPECT_EQ(r, "");
  EXPECT_EQ(MakeValidFileName("1/2: a*b"), "1-2 ab");
  EXPECT_EQ(MakeValidFileName("\"*:;<>?\\|"), "");
  EXPECT_EQ(MakeValidFileName(std::string("a\x01\t\xE4\xB8\xAD.b", 8)), "a\x01\t\xE4\xB8\xAD.b");
}

}  // namespace
