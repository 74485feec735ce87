// Translating a whole form read from its description: ids before texts,
// GLID 0 / positive / negative, memos, lists and list-view columns, owned
// forms left alone, visibility and auto-size given back, the language the
// texts are in afterwards; and applying language fonts down the child
// controls (not the owned components).
#include <gtest/gtest.h>

#include "TranslatorTest.h"
#include "framework/ExtCtrls.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "i18n/cmp_TTranslateControls.h"

namespace {

// One object per line: the parser reads a description across lines or not.
const char* const kPage = R"(object Page: TForm Caption = 'Welcome'
  object Panel1: TPanel
    object ById: TTranslateLabel Caption = 'Replaced by id' Hint = 'Cancel' GLID = 10 end
    object ByText: TTranslateLabel Caption = 'WELCOME' Hint = 'Next >' AutoSize = False end
    object Negative: TTranslateLabel Caption = 'Welcome' GLID = -1 end
    object UnknownId: TTranslateLabel Caption = 'Keep me' GLID = 9999 end
    object Hidden: TLabel Caption = 'Cancel' Visible = False end
    object Btn: TTranslateBitBtn Caption = 'Cancel' GLID = 5 end
    object Memo: TMemo Lines.Strings = ('first line' 'second line') end
    object List: TListBox Items.Strings = ('Typical' 'Compact' 'Unknown item') end
    object Sorted: TListBox Sorted = True Items.Strings = ('Compact' 'Typical') end
    object RG: TRadioGroup Caption = 'Setup type' Items.Strings = ('Yes' 'No') end
    object LV: TListView Columns = <item Caption = 'Description' end item end> end
  end
end
)";

// English and French tables as the tests use them ("Welcome" is id 9).
class TranslateFormTest : public TranslatorTest {
 protected:
  TranslateFormTest() {
    SetTable(t, vlEnglish,
             {"9;Welcome", "10;This program will install the software.", "5;Next >", "6;Cancel",
              "17;Typical", "19;Compact", "29;Description", "58;Setup type", "53;Yes", "54;No",
              "#1", "first line", "second line", "#"});
    SetTable(t, vlFrench,
             {"9;Bienvenue", "10;Ce programme installe le logiciel.", "5;Suivant >", "6;Annuler",
              "17;Normale", "19;Compacte", "29;Description FR", "58;Type", "53;Oui", "54;Non", "#1",
              "ligne un", "ligne deux", "#"});
    t.SetTranslateIntoLanguage(vlFrench);
    ReadForm(*form, kPage, "page.dfm");
  }
  template <class T = TControl>
  T& Get(const char* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    if (!c) throw std::runtime_error(std::string("no ") + name);
    return *c;
  }
  std::vector<std::string> ItemsOf(const char* name) {
    return Get<TCustomListBox>(name).Items()->ToVector();
  }

  TTranslator t{nullptr};
  Owned<TForm> form{NewForm()};
};

TEST_F(TranslateFormTest, TranslatesByIdByTextAndLeavesNegativeIds) {
  auto* owned = new TForm(form.get());  // owned forms translate themselves
  owned->SetCaption("Welcome");
  auto* bare = new TComponent(form.get());  // no properties to translate
  bare->SetName("Bare");

  EXPECT_EQ(t.TranslateComponent(vlEnglish, form.get()), vlFrench);

  EXPECT_EQ(form->Caption(), "Bienvenue");
  EXPECT_EQ(Get("ById").Caption(), "Ce programme installe le logiciel.");
  EXPECT_EQ(Get("ById").Hint(), "Cancel");  // an id control is translated by id only
  EXPECT_EQ(Get("ByText").Caption(), "Bienvenue");
  EXPECT_EQ(Get("ByText").Hint(), "Suivant >");
  EXPECT_EQ(Get("Negative").Caption(), "Welcome");
  EXPECT_EQ(Get("UnknownId").Caption(), "Keep me");
  EXPECT_EQ(Get("Hidden").Caption(), "Annuler");
  EXPECT_EQ(Get("Btn").Caption(), "Suivant >");
  EXPECT_EQ(Get<TMemo>("Memo").Lines()->ToVector(),
            (std::vector<std::string>{"ligne un", "ligne deux"}));
  EXPECT_EQ(ItemsOf("List"), (std::vector<std::string>{"Normale", "Compacte", "Unknown item"}));
  EXPECT_EQ(ItemsOf("Sorted"), (std::vector<std::string>{"Compacte", "Normale"}));
  EXPECT_EQ(Get("RG").Caption(), "Type");
  EXPECT_EQ(Get<TRadioGroup>("RG").Items()->ToVector(), (std::vector<std::string>{"Oui", "Non"}));
  EXPECT_EQ(Get<TListView>("LV").Columns()->Items(0)->Caption(), "Description FR");
  EXPECT_EQ(Get<TListView>("LV").Columns()->Items(1)->Caption(), "");
  EXPECT_EQ(owned->Caption(), "Welcome");
  EXPECT_EQ(bare->Name(), "Bare");

  // Visibility and auto-size are as they were.
  EXPECT_TRUE(Get("ById").Visible());
  EXPECT_FALSE(Get("Hidden").Visible());
  EXPECT_TRUE(Get("Panel1").Visible());
  EXPECT_TRUE(Get("ById").AutoSize());
  EXPECT_FALSE(Get("ByText").AutoSize());

  // The returned language is the source of the next translation: back to
  // English through the same tables.
  t.SetTranslateIntoLanguage(vlEnglish);
  EXPECT_EQ(t.TranslateComponent(vlFrench, form.get()), vlEnglish);
  EXPECT_EQ(form->Caption(), "Welcome");
  EXPECT_EQ(Get("ByText").Caption(), "Welcome");
  EXPECT_EQ(Get<TMemo>("Memo").Lines()->ToVector(),
            (std::vector<std::string>{"first line", "second line"}));
  EXPECT_EQ(ItemsOf("List"), (std::vector<std::string>{"Typical", "Compact", "Unknown item"}));
}

TEST_F(TranslateFormTest, AnEmptyTargetTableKeepsTheTextsAndTheSourceLanguage) {
  SetTable(t, vlHebrew, {});
  EXPECT_EQ(t.TranslateComponentInto(vlEnglish, vlHebrew, form.get()), vlEnglish);
  EXPECT_EQ(t.TranslateIntoLanguage(), vlFrench);
  EXPECT_EQ(form->Caption(), "Welcome");
  EXPECT_EQ(Get("ById").Caption(), "Replaced by id");  // TextByGLID falls back to the caption
  EXPECT_EQ(TranslateComponent(vlEnglish, nullptr), vlEnglish);
  EXPECT_EQ(t.TranslateComponent(vlGerman, nullptr), vlGerman);
}

TEST_F(TranslateFormTest, AFailureRestoresTheTargetAndTheControls) {
  // A memo whose lines refuse to change makes the translation fail half-way.
  Get<TMemo>("Memo").Lines()->OnChanging = [](TObject*) { throw Exception("refused"); };
  t.SetTranslateIntoLanguage(vlGerman);
  EXPECT_THROW(t.TranslateComponentInto(vlEnglish, vlFrench, form.get()), Exception);
  EXPECT_EQ(t.TranslateIntoLanguage(), vlGerman);
  EXPECT_TRUE(Get("Memo").Visible());
  EXPECT_TRUE(Get("Panel1").Visible());
  Get<TMemo>("Memo").Lines()->OnChanging = nullptr;
}

// --- fonts -----------------------------------------------------------------

class LanguageFontTest : public TranslateFormTest {
 protected:
  LanguageFontTest() {
    // Owned by the form but parented nowhere: fonts do not reach it.
    loose = new TLabel(form.get());
    Get("ByText").Font()->SetSize(14);
  }
  TLabel* loose;
};

TEST_F(LanguageFontTest, AppliesTheTableFontToEveryChildControl) {
  SetTable(t, vlChineseSimplified, {"9;x"});
  t.ApplyLanguageFontInto(vlChineseSimplified, form.get());
  EXPECT_EQ(t.TranslateIntoLanguage(), vlFrench);
  for (const char* name : {"Page", "Panel1", "ById", "Btn", "LV"}) {
    SCOPED_TRACE(name);
    const TFont& f = name == std::string("Page") ? *form->Font() : *Get(name).Font();
    EXPECT_EQ(f.Charset(), GB2312_CHARSET);
    EXPECT_EQ(f.Name(), "\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E?");  // 新細明?
    EXPECT_EQ(f.Size(), 9);
  }
  EXPECT_EQ(Get("ByText").Font()->Size(), 14);  // a larger size stays
  EXPECT_EQ(loose->Font()->Name(), TFontData().name);

  // FontOverride copies the language's own font instead.
  TLanguage& fr = *t.Language(vlFrench);
  fr.Font()->SetName("Custom Face");
  fr.Font()->SetHeight(-20);
  fr.Font()->SetCharset(EASTEUROPE_CHARSET);
  fr.SetFontOverride(true);
  t.ApplyLanguageFont(&Get("Panel1"));
  EXPECT_EQ(Get("ByText").Font()->Data(), fr.Font()->Data());
  EXPECT_EQ(Get("Panel1").Font()->Name(), "Custom Face");
  EXPECT_EQ(form->Font()->Name(), "\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E?");  // not below Panel1
}

TEST_F(LanguageFontTest, FacesGivenAsCodePageBytesAreUnicodeText) {
  const std::tuple<TVrexLanguage, TFontCharset, const char*, int> cases[] = {
      // ＭＳ Ｐゴシック and 바탕, decoded from code pages 932 and 949.
      {vlJapanese, SHIFTJIS_CHARSET,
       "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", 9},
      {vlKorean, HANGEUL_CHARSET, "\xEB\xB0\x94\xED\x83\x95", 9},
      {vlGreek, ANSI_CHARSET, "SGreek", 8},  // ANSI, not the Greek charset
  };
  for (const auto& [language, charset, face, size] : cases) {
    SCOPED_TRACE(VrexLanguageName(language));
    SetTable(t, language, {"1;x"});
    TLabel label(nullptr);
    label.Font()->SetSize(6);
    t.ApplyLanguageFontInto(language, &label);
    EXPECT_EQ(label.Font()->Charset(), charset);
    EXPECT_EQ(label.Font()->Name(), face);
    EXPECT_EQ(label.Font()->Size(), size);
  }
}

TEST_F(LanguageFontTest, HebrewFailsOnlyWithATableOfItsOwn) {
  // Without a table the English settings apply.
  SetTable(t, vlHebrew, {});
  t.SetTranslateIntoLanguage(vlHebrew);
  t.ApplyLanguageFont(form.get());
  EXPECT_EQ(form->Font()->Name(), "Arial");
  EXPECT_EQ(form->Font()->Charset(), ANSI_CHARSET);

  SetTable(t, vlHebrew, {"9;x"});
  try {
    t.ApplyLanguageFont(form.get());
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unrecognized language");
  }
  EXPECT_EQ(form->Font()->Charset(), HEBREW_CHARSET);  // set before the failure
  EXPECT_EQ(form->Font()->Name(), "Arial");
}

}  // namespace
