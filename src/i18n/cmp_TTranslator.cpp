// TTranslator's languages, lookups and text translation, the main
// translator and the module-level functions (see cmp_TTranslator.h). The
// translation of component trees and fonts is in TranslateTree.cpp.
#include "i18n/cmp_TTranslator.h"

#include "common/exceptions_Pellmore.h"
#include "framework/ProcessState.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace {

TTranslator* g_main = nullptr;

// The translation every IException text goes through. It must not throw:
// it runs while an exception is being constructed.
std::string TranslateExceptionHook(const std::string& english) {
  try {
    return TranslateFromEnglish(english);
  } catch (...) {
    return english;
  }
}

void ForgetMainTranslator() noexcept {
  g_main = nullptr;
  SetEnglishTranslationHook(nullptr);
}

int SlotOf(TVrexLanguage language) noexcept {
  const int ord = static_cast<int>(language);
  if (ord == vlUser || ord >= kVrexLanguageCount) return -1;
  return ord < vlUser ? ord : ord - 1;
}

}  // namespace

TTranslator::TTranslator(TComponent* owner) : TComponent(owner) {
  for (int ord = 0; ord < kVrexLanguageCount; ++ord) {
    const auto language = static_cast<TVrexLanguage>(ord);
    if (language != vlUser) languages_[SlotOf(language)].reset(new TLanguage(language));
  }
  if (!g_main) {
    ProcessState::RegisterReset("i18n.MainTranslator", ForgetMainTranslator);
    g_main = this;
    SetEnglishTranslationHook(TranslateExceptionHook);
  }
}

TTranslator::~TTranslator() {
  if (g_main == this) ForgetMainTranslator();
}

TLanguage* TTranslator::Language(TVrexLanguage ident) const noexcept {
  const int slot = SlotOf(ident);
  return slot < 0 ? nullptr : languages_[slot].get();
}

void TTranslator::SetTranslateIntoLanguage(TVrexLanguage language) {
  target_ = language;
  if (OnChangeLanguage) OnChangeLanguage(this);
}

TLanguage* TTranslator::FindLanguage(TVrexLanguage language) const {
  if (language == vlUser) return UserLanguage();
  for (const auto& l : languages_)
    if (l->LanguageIdent() == language) return l.get();
  return nullptr;
}

TLanguage* TTranslator::UserLanguage() const {
  try {
    return FindLanguage(LanguageFromLangId(platform::system().UserDefaultLangID()));
  } catch (...) {
    return nullptr;  // no machine to ask: no user language
  }
}

std::string TTranslator::TextByGLID(int32_t glid, const std::string& defaultText) const {
  const TLanguage* current = CurrentLanguage();
  const TLanguageString* entry = current ? current->FindString(glid) : nullptr;
  return entry ? entry->Text() : defaultText;
}

std::string TTranslator::TranslateText(TVrexLanguage source, const std::string& text) const {
  const TLanguage* from = FindLanguage(source);
  if (!from) return text;
  const TLanguageString* match = from->FindStringByText(text);
  if (!match) return text;
  const TLanguage* current = CurrentLanguage();
  const TLanguageString* entry = current ? current->FindString(match->GLID()) : nullptr;
  return entry ? entry->Text() : text;
}

std::vector<std::string> TTranslator::TranslateLines(TVrexLanguage source,
                                                     const TStrings& lines) const {
  const TLanguage* from = FindLanguage(source);
  const TLanguageMemo* match = from ? from->FindMemoByLines(lines) : nullptr;
  if (match) {
    const TLanguage* current = CurrentLanguage();
    if (const TLanguageMemo* memo = current ? current->FindMemo(match->GLID()) : nullptr)
      return memo->Lines()->ToVector();
  }
  return lines.ToVector();
}

// --- module-level functions ------------------------------------------------

TTranslator* MainTranslator() noexcept {
  return g_main;
}

std::string TranslateFromEnglish(const std::string& text) {
  return g_main ? g_main->TranslateText(vlEnglish, text) : text;
}

TVrexLanguage TranslateComponent(TVrexLanguage source, TComponent* component) {
  return g_main ? g_main->TranslateComponent(source, component) : source;
}

TVrexLanguage TranslateComponentInto(TVrexLanguage source, TVrexLanguage target,
                                     TComponent* component) {
  return g_main ? g_main->TranslateComponentInto(source, target, component) : source;
}

void ApplyLanguageFont(TControl* control) {
  if (g_main) g_main->ApplyLanguageFont(control);
}

void ApplyLanguageFontInto(TVrexLanguage target, TControl* control) {
  if (g_main) g_main->ApplyLanguageFontInto(target, control);
}
