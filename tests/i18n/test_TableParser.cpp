// The string-table syntax (entries, memos, comments, the error messages
// with their zero-based line numbers) and when a language re-parses its
// Strings: after most changes, renumbering after Delete, once after Assign
// and LoadFromFile, never losing the lines on a failure.
#include <filesystem>
#include <fstream>

#include "TranslatorTest.h"
#include "framework/Utf8.h"
#include "i18n/TableParser.h"
#include "support/TestMachine.h"

namespace {

using Lines = std::vector<std::string>;

ParsedTable Parse(const Lines& lines) {
  TStringList list;
  for (const std::string& l : lines) list.Add(l);
  return ParseStringTable(list);
}

TEST(TableParser, ReadsEntriesMemosAndComments) {
  struct Case {
    const char* what;
    Lines lines, strings, memos;  // strings "id@line=text", memos "id@line=a|b"
  };
  const Case cases[] = {
      {"a second ';' ends the text", {"12;Click Next;further words"}, {"12@0=Click Next"}, {}},
      {"blanks after ';' stay, blanks around the line go",
       {"\t 5;  padded \r"},
       {"5@0=  padded"},
       {}},
      {"ids with sign and hexadecimal", {"$1F;a", "-3;b"}, {"31@0=a", "-3@1=b"}, {}},
      {"empty and comment lines keep their numbers",
       {"* c", "", "  ", "4;a", "4;b"},
       {"4@3=a", "4@4=b"},
       {}},
      {"a memo skips empty and comment lines",
       {"#9;ignored", "line one", "", "* comment", "  line two  ", "#"},
       {},
       {"9@0=line one|line two"}},
      {"a memo may hold ';' and '#...' lines",
       {"1;x", "#$A", "a;b", "#b", "#", "2;y"},
       {"1@0=x", "2@5=y"},
       {"10@1=a;b|#b"}},
      {"an unfinished memo is dropped", {"1;a", "#2", "text"}, {"1@0=a"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ParsedTable t = Parse(c.lines);
    Lines strings, memos;
    for (const auto& s : t.strings)
      strings.push_back(std::to_string(s.glid) + "@" + std::to_string(s.line) + "=" + s.text);
    for (const auto& m : t.memos) {
      memos.push_back(std::to_string(m.glid) + "@" + std::to_string(m.line) + "=");
      for (size_t i = 0; i < m.lines.size(); ++i) memos.back() += (i ? "|" : "") + m.lines[i];
    }
    EXPECT_EQ(strings, c.strings);
    EXPECT_EQ(memos, c.memos);
  }
}

TEST(TableParser, RejectsMalformedLinesNamingTheirLine) {
  const std::string text = " does not have the proper format of GLID;Text";
  const std::string number = text + " or .GLID;";
  const std::pair<Lines, std::string> cases[] = {
      {{"1;a", "* c", "#"}, "Found the end of memo marker # at line 2. Was not in a memo however"},
      {{"4;"}, "The 0'th string (4;)" + text},
      {{"", "4;   "}, "The 1'th string (4;)" + text},
      {{"4; ;x"}, "The 0'th string (4; ;x)" + text},
      {{"12"}, "The 0'th string (12)" + text},
      {{";a"}, "The 0'th string (;a)" + text},
      {{"#;x"}, "The 0'th string (#;x)" + text},
      {{"x;a"}, "The 0'th string (x;a)" + number},
      {{"4 ;a"}, "The 0'th string (4 ;a)" + number},
      {{"4294967296;a"}, "The 0'th string (4294967296;a)" + number},
      {{"1;a", "#x"}, "The 1'th string (#x)" + number},
      {{"%s;a"}, "The 0'th string (%s;a)" + number},
  };
  for (const auto& [lines, message] : cases) {
    SCOPED_TRACE(message);
    try {
      Parse(lines);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), "Exception");
      EXPECT_EQ(e.Message(), message);
    }
  }
}

// A table cut at every byte either parses or fails with the parser's own
// exception; nothing else happens.
TEST(TableParser, SurvivesATableTruncatedAtEveryByte) {
  std::ifstream in(std::filesystem::path(PELLMORE_I18N_TABLES) / "Russian.txt", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(text.size(), 1000u);
  for (size_t n = 0; n <= text.size(); ++n) {
    TStringList list;
    list.SetText(std::string_view(text).substr(0, n));
    try {
      ParseStringTable(list);
    } catch (const Exception&) {
    }
  }
}

class LanguageStringsTest : public TranslatorTest {
 protected:
  TTranslator t{nullptr};
  TLanguage& en = *t.Language(vlEnglish);
};

TEST_F(LanguageStringsTest, LineChangesReparseAndDeleteRenumbers) {
  TLangFormatStrings& s = *en.Strings();
  s.Add("1;one");
  s.Insert(0, "* heading");
  s.Add("2;two");
  s.Move(2, 0);
  EXPECT_EQ(Entries(en), (Lines{"2@0=two", "1@2=one"}));
  s.SetStrings(0, "2;deux");
  EXPECT_EQ(Entries(en), (Lines{"2@0=deux", "1@2=one"}));
  // Inside an update the table is parsed once, at its end.
  s.BeginUpdate();
  for (const char* line : {"#7", "memo text", "#", "3;c"}) s.Add(line);
  EXPECT_EQ(en.FindMemo(7), nullptr);
  s.EndUpdate();
  ASSERT_NE(en.FindMemo(7), nullptr);
  EXPECT_EQ(en.FindMemo(7)->LineNumber(), 3);

  // Delete renumbers without parsing; the deleted line's entry goes.
  s.Delete(1);  // the comment
  EXPECT_EQ(Entries(en), (Lines{"2@0=deux", "1@1=one", "3@5=c"}));
  EXPECT_EQ(en.FindMemo(7)->LineNumber(), 2);
  s.Delete(1);
  EXPECT_EQ(Entries(en), (Lines{"2@0=deux", "3@4=c"}));
  s.Delete(3);  // the memo's end marker: no parse, so no failure and the memo stays
  EXPECT_NE(en.FindMemo(7), nullptr);
  s.Clear();
  EXPECT_TRUE(en.StringEntries().empty() && en.MemoEntries().empty());
}

TEST_F(LanguageStringsTest, AFailedParseKeepsTheLinesButNoEntries) {
  SetTable(t, vlEnglish, {"1;a", "2;b"});
  EXPECT_THROW(en.Strings()->Add("oops"), Exception);
  EXPECT_EQ(en.Strings()->Count(), 3);
  EXPECT_TRUE(en.StringEntries().empty());
  en.Strings()->Delete(2);
  en.Strings()->Add("3;c");
  EXPECT_EQ(Entries(en), (Lines{"1@0=a", "2@1=b", "3@2=c"}));

  // Assign keeps its lines when the parse after it fails; the flag is back.
  TStringList bad;
  bad.Add("1;a");
  bad.Add("#");
  EXPECT_THROW(en.Strings()->Assign(&bad), Exception);
  EXPECT_TRUE(en.AutoParse());
  EXPECT_EQ(en.Strings()->Count(), 2);
  EXPECT_TRUE(en.StringEntries().empty());
}

TEST_F(LanguageStringsTest, LongTextsAreCutTo255CodePointsAndStillFoundById) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "\xD0\xAF";  // Я, two bytes each
  SetTable(t, vlEnglish, {("1;" + text).c_str()});
  SetTable(t, vlRussian, {"1;short"});
  const std::string& stored = en.FindString(1)->Text();
  EXPECT_EQ(Utf8Length(stored), 255u);
  EXPECT_EQ(stored.size(), 510u);
  t.SetTranslateIntoLanguage(vlEnglish);
  EXPECT_EQ(t.TextByGLID(1, "default"), stored);
  // Matching compares the stored text: the full text no longer matches.
  t.SetTranslateIntoLanguage(vlRussian);
  EXPECT_EQ(t.TranslateText(vlEnglish, text), text);
  EXPECT_EQ(t.TranslateText(vlEnglish, stored), "short");
}

TEST_F(LanguageStringsTest, LoadFromFileReadsUtf8AndParsesOnce) {
  testsupport::TestMachineOptions options;
  options.guardRegistry = false;
  testsupport::TestMachine machine(options);
  const std::string table = machine.At("table.txt");
  machine.WriteFile(table, "\xEF\xBB\xBF* t\r\n1;\xC3\xA9t\xC3\xA9\r\n#2\nm\n#\n");
  en.Strings()->LoadFromFile(table);
  EXPECT_EQ(en.Strings()->ToVector(), (Lines{"* t", "1;\xC3\xA9t\xC3\xA9", "#2", "m", "#"}));
  EXPECT_EQ(Entries(en), (Lines{"1@1=\xC3\xA9t\xC3\xA9"}));
  // A missing file changes nothing and keeps the flag.
  EXPECT_ANY_THROW(en.Strings()->LoadFromFile(machine.At("missing.txt")));
  EXPECT_TRUE(en.AutoParse());
  EXPECT_EQ(en.Strings()->Count(), 5);
  EXPECT_NE(en.FindMemo(2), nullptr);
}

}  // namespace
