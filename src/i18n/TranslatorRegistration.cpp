// Registers the translator's classes (see TranslatorRegistration.h).
#include "i18n/TranslatorRegistration.h"

#include "framework/ClassRegistry.h"
#include "i18n/cmp_TTranslateControls.h"
#include "i18n/cmp_TTranslator.h"

namespace {

// The published language property lg<Stem> of one table language.
void PublishLanguage(ClassBuilder<TTranslator>& b, TVrexLanguage language) {
  b.Prop("lg" + LanguageStem(language),
         [language](const TTranslator& t) { return t.Language(language); });
}

}  // namespace

void RegisterTranslatorClasses(ClassRegistry& r) {
  r.Enum<TVrexLanguage>(
      "TVrexLanguage",
      {"vlChineseSimplified", "vlCzech", "vlDanish", "vlEnglish", "vlFrench", "vlGerman", "vlGreek",
       "vlHebrew", "vlItalian", "vlJapanese", "vlKorean", "vlPolish", "vlPortugese", "vlRussian",
       "vlSpanish", "vlUser", "vlVietnamese"});

  r.Class<TLanguageElement, TObject>("TLanguageElement");
  r.Class<TLanguageString, TLanguageElement>("TLanguageString");
  r.Class<TLanguageMemo, TLanguageElement>("TLanguageMemo");
  r.Class<TLangFormatStrings, TStringList>("TLangFormatStrings");
  r.Class<TLanguage, TPersistent>("TLanguage")
      .Prop("Font", &TLanguage::Font)
      .Prop("FontOverride", &TLanguage::FontOverride, &TLanguage::SetFontOverride, false)
      // Read-only: fixed when the translator creates the language.
      .Prop("LanguageIdent", &TLanguage::LanguageIdent,
            [](TLanguage& l, TVrexLanguage v) {
              if (v != l.LanguageIdent())
                throw EPropertyError("Property LanguageIdent is read-only");
            })
      .Stored(false)
      .Prop("Strings", &TLanguage::Strings);

  auto translator = r.Class<TTranslator, TComponent>("TTranslator");
  for (int ord = 0; ord < kVrexLanguageCount; ++ord)
    if (ord != vlUser) PublishLanguage(translator, static_cast<TVrexLanguage>(ord));
  translator
      .Prop("TranslateIntoLanguage", &TTranslator::TranslateIntoLanguage,
            &TTranslator::SetTranslateIntoLanguage, vlUser)
      .Field("OnChangeLanguage", &TTranslator::OnChangeLanguage);

  r.Class<TTranslateLabel, TLabel>("TTranslateLabel")
      .Prop("GLID", &TTranslateLabel::GLID, &TTranslateLabel::SetGLID, 0);
  r.Class<TTranslateBitBtn, TBitBtn>("TTranslateBitBtn")
      .Prop("GLID", &TTranslateBitBtn::GLID, &TTranslateBitBtn::SetGLID, 0);
}
