// The real string tables of src/i18n/tables: each parses through a
// language, every translation holds every id of the English table with its
// placeholders and accelerators (tables_check.py compares them entry by
// entry), and the translator block that
// tools/i18n/embed_tables.py writes reads back into the same lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "TranslatorTest.h"
#include "common/exceptions_Pellmore.h"
#include "framework/FormReader.h"
#include "support/TempDir.h"

namespace {

using testsupport::ReadHostFile;

std::string TableText(TVrexLanguage language) {
  return ReadHostFile(std::filesystem::path(PELLMORE_I18N_TABLES) /
                      (LanguageStem(language) + ".txt"));
}

class TablesTest : public TranslatorTest {
 protected:
  TablesTest() {
    for (int ord = 0; ord < kVrexLanguageCount; ++ord)
      if (ord != vlUser)
        t.Language(static_cast<TVrexLanguage>(ord))
            ->Strings()
            ->SetText(TableText(static_cast<TVrexLanguage>(ord)));
  }
  TTranslator t{nullptr};
};

TEST_F(TablesTest, EveryTranslationHoldsEveryEnglishId) {
  const TLanguage& en = *t.Language(vlEnglish);
  ASSERT_GE(en.StringEntries().size(), 70u);
  std::set<int32_t> englishIds;
  for (const auto& s : en.StringEntries()) englishIds.insert(s->GLID());
  EXPECT_EQ(englishIds.count(35) + englishIds.count(36) + englishIds.count(50), 0u);

  int translations = 0;
  for (const auto& language : t.Languages()) {
    const TVrexLanguage ident = language->LanguageIdent();
    if (ident == vlEnglish) continue;
    SCOPED_TRACE(VrexLanguageName(ident));
    if (ident == vlHebrew) {
      EXPECT_EQ(language->Strings()->Count(), 0);
      continue;
    }
    ++translations;
    std::set<int32_t> ids;
    for (const auto& s : language->StringEntries()) ids.insert(s->GLID());
    EXPECT_EQ(ids, englishIds);
    EXPECT_TRUE(language->MemoEntries().empty());
  }
  EXPECT_EQ(translations, 14);
}

TEST_F(TablesTest, KitTextsComeOutInEveryLanguage) {
  for (const auto& language : t.Languages()) {
    const TVrexLanguage ident = language->LanguageIdent();
    SCOPED_TRACE(VrexLanguageName(ident));
    t.SetTranslateIntoLanguage(ident);
    const std::string disk = t.TranslateText(vlEnglish, "Please insert disk number %d");
    const std::string bytes = t.TranslateText(vlEnglish, "Bytes");
    if (ident == vlHebrew) {
      EXPECT_EQ(bytes, "Bytes");
      continue;
    }
    EXPECT_EQ(bytes, language->FindString(33)->Text());
    EXPECT_NE(disk.find("%d"), std::string::npos);
    EXPECT_NE(Format(disk, 2).find('2'), std::string::npos);
    const std::string browse = t.TranslateText(vlEnglish, "&Browse...");
    EXPECT_EQ(browse, language->FindString(48)->Text());
    EXPECT_NE(browse.find('&'), std::string::npos);
    EXPECT_EQ(IException("Could not reboot windows. Please manually reboot windows.").Message(),
              language->FindString(56)->Text());
  }
}

#ifdef PELLMORE_TRANSLATOR_BLOCK
TEST_F(TablesTest, TheEmbeddedBlockReadsBackIntoTheSameTables) {
  const std::string block = ReadHostFile(PELLMORE_TRANSLATOR_BLOCK);
  ASSERT_FALSE(block.empty());
  Owned<TComponent> read(CreateFromForm(block, "MainTranslator.dfm"));
  auto& main = dynamic_cast<TTranslator&>(*read);
  EXPECT_EQ(main.Name(), "MainTranslator");
  EXPECT_EQ(main.TranslateIntoLanguage(), vlChineseSimplified);
  for (const auto& language : t.Languages()) {
    const TVrexLanguage ident = language->LanguageIdent();
    SCOPED_TRACE(VrexLanguageName(ident));
    const TLanguage& streamed = *main.Language(ident);
    EXPECT_TRUE(streamed.Strings()->Equals(*language->Strings()));
    EXPECT_EQ(streamed.StringEntries().size(), language->StringEntries().size());
    EXPECT_FALSE(streamed.FontOverride());
  }
  EXPECT_EQ(MainTranslator(), &t);  // `t` came first
}
#endif

}  // namespace
