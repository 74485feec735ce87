// UTF-8 helpers: counting and cutting at unit boundaries, conversion to and
// from UTF-16, and the treatment of malformed input.
#include <gtest/gtest.h>

#include "framework/Utf8.h"

namespace {

const std::string kZhong = "\xE4\xB8\xAD";      // U+4E2D, 3 bytes
const std::string kEmoji = "\xF0\x9F\x98\x80";  // U+1F600, 4 bytes

TEST(Utf8, CountsAndCutsAtCharacterBoundaries) {
  const std::string s = "a" + kZhong + "\xC3\xA9" + kEmoji;  // 1+3+2+4 bytes, 4 code points
  EXPECT_EQ(Utf8Length(s), 4u);
  EXPECT_EQ(Utf8Left(s, 2), "a" + kZhong);
  EXPECT_EQ(Utf8Left(s, 99), s);
  struct Cut {
    size_t max;
    std::string want;
  };
  const Cut cuts[] = {{0, ""},
                      {1, "a"},
                      {3, "a"},
                      {4, "a" + kZhong},
                      {5, "a" + kZhong},
                      {6, "a" + kZhong + "\xC3\xA9"},
                      {9, "a" + kZhong + "\xC3\xA9"},
                      {10, s},
                      {100, s}};
  for (const auto& c : cuts) {
    SCOPED_TRACE(c.max);
    EXPECT_EQ(Utf8TruncateBytes(s, c.max), c.want);
  }
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* what;
    std::string in;
    size_t units;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"stray continuation", "a\x80z", 3, u"a\uFFFDz"},
      {"overlong slash", "\xC0\xAF", 2, u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", 4, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"truncated 3-byte sequence is one unit", "\xE4\xB8z", 2, u"\uFFFDz"},
      {"truncated at the end", "a\xF0\x9F\x98", 2, u"a\uFFFD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(IsValidUtf8(c.in));
    EXPECT_EQ(Utf8Length(c.in), c.units);
    EXPECT_EQ(Utf8ToUtf16(c.in), c.utf16);
  }
  // A cut keeps a truncated sequence whole or drops it whole.
  EXPECT_EQ(Utf8TruncateBytes("a\xE4\xB8z", 2), "a");
  EXPECT_TRUE(IsValidUtf8("a" + kZhong + "\xEF\xBF\xBD" + kEmoji));
}

TEST(Utf8, Utf16RoundTripAndUnpairedSurrogates) {
  const std::string s = "C:\\" + kZhong + kEmoji + "\xC3\xA9";
  const std::u16string w = Utf8ToUtf16(s);
  EXPECT_EQ(w, u"C:\\\u4E2D\U0001F600\u00E9");
  EXPECT_EQ(Utf16ToUtf8(w), s);
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");              // lone high
  EXPECT_EQ(Utf16ToUtf8(u"a\xDC00"), "a\xEF\xBF\xBD");                // lone low
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, 0xD83D)), "\xEF\xBF\xBD");  // high at end
}

}  // namespace
