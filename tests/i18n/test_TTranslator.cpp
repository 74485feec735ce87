// Looking texts up: by id, by matching a text of the source language
// (case ignored, also outside ASCII), memos as a whole; the user language;
// the main translator with the module-level functions; kit exceptions
// coming out translated.
#include <stdlib.h>

#include "TranslatorTest.h"
#include "common/exceptions_Pellmore.h"
#include "framework/ProcessState.h"
#include "i18n/CaseFold.h"

namespace {

PELLMORE_DECLARE_EXCEPTION(IETestComponent, IException);

const char kBytesZh[] = "\xE5\xAD\x97\xE8\x8A\x82";            // 字节
const char kDirZh[] = "\xE7\x9B\xAE\xE6\xA0\x87\xE7\x9B\xAE";  // 目标目

class TranslateTextTest : public TranslatorTest {
 protected:
  TranslateTextTest() {
    SetTable(t, vlEnglish,
             {"* common", "25;Destination directory", "30;Destination directory", "33;bytes",
              "45;Please insert disk number %d", "26;&Browse", "80;\xD0\x9F\xD1\x80\xD0\xB8", "#1",
              "first line", "second line", "#", "#2", "only in English", "#"});
    SetTable(t, vlChineseSimplified,
             {"25;\xE7\x9B\xAE\xE6\xA0\x87\xE7\x9B\xAE", "33;\xE5\xAD\x97\xE8\x8A\x82",
              "45;\xE7\xA3\x81\xE7\x9B\x98 %d", "26;(&B)", "80;hi", "#1", "a", "b", "#"});
    t.SetTranslateIntoLanguage(vlChineseSimplified);
  }
  TTranslator t{nullptr};
};

TEST_F(TranslateTextTest, TranslatesByMatchingTheSourceTextIgnoringCase) {
  const std::pair<std::string, std::string> cases[] = {
      {"Bytes", kBytesZh},
      {"DESTINATION DIRECTORY", kDirZh},  // the first of two equal texts
      {"Please insert disk number %d", "\xE7\xA3\x81\xE7\x9B\x98 %d"},
      {"&Browse", "(&B)"},
      {"\xD0\xBF\xD0\xA0\xD0\x98", "hi"},  // Cyrillic case folded
      {"Unknown text", "Unknown text"},
      {"bytes ", "bytes "},  // whole texts only
  };
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(t.TranslateText(vlEnglish, in), out);
  }
  EXPECT_EQ(t.TextByGLID(33, "dflt"), kBytesZh);
  EXPECT_EQ(t.TextByGLID(34, "dflt"), "dflt");
  // An id missing in the target, or a language that does not exist, leaves
  // the text as it is.
  SetTable(t, vlChineseSimplified, {"30;thirty"});
  EXPECT_EQ(t.TranslateText(vlEnglish, "Destination directory"), "Destination directory");
  EXPECT_EQ(t.TranslateText(static_cast<TVrexLanguage>(40), "thirty"), "thirty");
  t.SetTranslateIntoLanguage(static_cast<TVrexLanguage>(200));
  EXPECT_EQ(t.TextByGLID(30, "dflt"), "dflt");
}

TEST_F(TranslateTextTest, TranslatesMemosAsAWholeAndExactly) {
  TStringList lines;
  lines.Add("first line");
  lines.Add("second line");
  EXPECT_EQ(t.TranslateLines(vlEnglish, lines), (std::vector<std::string>{"a", "b"}));
  lines.SetStrings(1, "Second line");  // case matters for memos
  EXPECT_EQ(t.TranslateLines(vlEnglish, lines), lines.ToVector());
  TStringList only;
  only.Add("only in English");  // no memo 2 in the target
  EXPECT_EQ(t.TranslateLines(vlEnglish, only), only.ToVector());
}

TEST(CaseFold, FoldsTheTablesScriptsAndNothingElse) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"ABC xyz", "abc XYZ", true},
      {"\xC3\x89T\xC5\xBD", "\xC3\xA9t\xC5\xBE", true},                        // ÉTŽ / étž
      {"\xC4\x90\xE1\xBA\xB6\xC6\xAF", "\xC4\x91\xE1\xBA\xB7\xC6\xB0", true},  // ĐẶƯ / đặư
      {"\xCE\xA3\xCE\x86\xCE\xA3", "\xCF\x83\xCE\xAC\xCF\x82", true},          // ΣΆΣ / σάς
      {"\xD0\x81\xD0\x96", "\xD1\x91\xD0\xB6", true},                          // ЁЖ / ёж
      {"\xC3\x97", "\xC3\xB7", false},  // × and ÷ are no pair
      {"\xC4\xB0", "i", false},         // İ has no simple fold
      {"\xFF", "\xFE", false},          // invalid bytes
  };
  for (const auto& [a, b, same] : cases) {
    SCOPED_TRACE(std::string(a) + " / " + b);
    EXPECT_EQ(SameTextFolded(a, b), same);
  }
}

#ifndef _WIN32  // sets the simulated machine's user language
TEST_F(TranslatorTest, ResolvesTheUserLanguageThroughTheMachine) {
  const std::pair<uint16_t, TVrexLanguage> ids[] = {
      {0x0404, vlChineseSimplified}, {0x0807, vlGerman},     {0x0C0A, vlSpanish},
      {0x0816, vlPortugese},         {0x042A, vlVietnamese}, {0x041D, vlEnglish}};
  for (const auto& [id, language] : ids) EXPECT_EQ(LanguageFromLangId(id), language) << id;

  TTranslator t(nullptr);
  EXPECT_EQ(t.Language(vlUser), nullptr);
  EXPECT_EQ(t.FindLanguage(static_cast<TVrexLanguage>(17)), nullptr);
  // Without a machine there is no user language.
  const char* saved = getenv("PELLMORE_MACHINE");
  const std::string keep = saved ? saved : "";
  unsetenv("PELLMORE_MACHINE");
  EXPECT_EQ(t.CurrentLanguage(), nullptr);
  if (saved) setenv("PELLMORE_MACHINE", keep.c_str(), 1);

  UseMachine(0x0419);
  EXPECT_EQ(t.CurrentLanguage(), t.Language(vlRussian));
  SetTable(t, vlEnglish, {"6;Cancel"});
  SetTable(t, vlRussian, {"6;\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0"});
  EXPECT_EQ(t.TranslateText(vlEnglish, "cancel"),
            "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0");
  t.SetTranslateIntoLanguage(vlEnglish);
  EXPECT_EQ(t.TranslateText(vlUser, "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0"), "Cancel");
}
#endif

TEST_F(TranslatorTest, TheFirstTranslatorIsMainUntilItGoes) {
  EXPECT_EQ(TranslateFromEnglish("Cancel"), "Cancel");
  TComponent owner(nullptr);
  EXPECT_EQ(TranslateComponentInto(vlGerman, vlFrench, &owner), vlGerman);

  auto* first = new TTranslator(nullptr);
  Owned<TTranslator> second(new TTranslator(nullptr));
  EXPECT_EQ(MainTranslator(), first);
  SetTable(*first, vlEnglish, {"6;Cancel"});
  SetTable(*first, vlGerman, {"6;Abbrechen"});
  std::vector<TObject*> senders;
  first->OnChangeLanguage = [&](TObject* sender) { senders.push_back(sender); };
  first->SetTranslateIntoLanguage(vlGerman);
  EXPECT_EQ(senders, std::vector<TObject*>{first});
  EXPECT_EQ(TranslateFromEnglish("CANCEL"), "Abbrechen");
  // The ...Into forms store their target without the handler.
  EXPECT_EQ(TranslateComponentInto(vlEnglish, vlFrench, &owner), vlEnglish);  // French is empty
  EXPECT_EQ(first->TranslateIntoLanguage(), vlGerman);
  EXPECT_EQ(senders.size(), 1u);

  first->Free();
  EXPECT_EQ(MainTranslator(), nullptr);  // the second does not take over
  EXPECT_EQ(TranslateFromEnglish("Cancel"), "Cancel");
  Owned<TTranslator> third(new TTranslator(nullptr));
  EXPECT_EQ(MainTranslator(), third.get());
  ProcessState::ResetAll();  // a process reset forgets it as well
  EXPECT_EQ(MainTranslator(), nullptr);
}

TEST_F(TranslatorTest, KitExceptionsComeOutInTheTargetLanguage) {
  Owned<TTranslator> t(new TTranslator(nullptr));
  SetTable(*t, vlEnglish, {"1;Could not open %s (%d)", "2;Plain failure"});
  SetTable(*t, vlFrench,
           {"1;Impossible d'ouvrir %s (%d)",
            "2;\xC3\x89"
            "chec"});
  t->SetTranslateIntoLanguage(vlFrench);
  EXPECT_EQ(IException("Plain failure").Message(),
            "\xC3\x89"
            "chec");
  // The format is translated before its arguments go in: an argument that
  // happens to be a table text stays as it is.
  EXPECT_EQ(IETestComponent("Could not open %s (%d)", "Plain failure", 5).Message(),
            "Impossible d'ouvrir Plain failure (5)");
  EXPECT_EQ(EPLUserAbort("Plain failure").Message(), "Plain failure");  // not a kit exception
  t.reset();
  EXPECT_EQ(IException("Plain failure").Message(), "Plain failure");
}

}  // namespace
