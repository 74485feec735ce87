#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Component.h"
#include "i18n/LanguageInfo.h"
#include "i18n/TranslatorLanguage.h"

class TControl;

// TTranslator: one string table and one font per language, translating
// texts, whole component trees and fonts from the language a form is
// written in into the target language (TranslateIntoLanguage). The first
// translator constructed is the main translator, which the module-level
// functions and every kit exception (IException) use.
class TTranslator : public TComponent {
  PELLMORE_CLASS(TTranslator, TComponent)

 public:
  // Creates the sixteen table languages (empty, auto-parse on) with target
  // vlUser, and becomes the main translator when there is none.
  explicit TTranslator(TComponent* owner);
  ~TTranslator() override;

  // The table language with this ident (published as lgEnglish ...); null
  // for vlUser and values outside the enumeration.
  TLanguage* Language(TVrexLanguage ident) const noexcept;
  // All sixteen, in enumeration order.
  const std::array<Owned<TLanguage>, kTableLanguageCount>& Languages() const noexcept {
    return languages_;
  }

  TVrexLanguage TranslateIntoLanguage() const noexcept { return target_; }
  // Stores the target, then calls OnChangeLanguage.
  void SetTranslateIntoLanguage(TVrexLanguage language);
  TNotifyEvent OnChangeLanguage;

  // The language whose LanguageIdent is `language`; for vlUser the
  // UserLanguage. Null when there is none.
  TLanguage* FindLanguage(TVrexLanguage language) const;
  // The language of the system's user default language id; null when it
  // cannot be found out.
  TLanguage* UserLanguage() const;
  TLanguage* CurrentLanguage() const { return FindLanguage(target_); }

  // The current language's text for `glid` (its first entry with that id),
  // else `defaultText`.
  std::string TextByGLID(int32_t glid, const std::string& defaultText) const;
  // `text` in the current language: its id is the first entry of `source`
  // whose text equals it ignoring case; unchanged when `source` has no
  // such entry or the current language no entry with that id.
  std::string TranslateText(TVrexLanguage source, const std::string& text) const;
  // `lines` in the current language, translated as a whole through memo
  // entries (matched exactly); a copy of `lines` when there is none.
  std::vector<std::string> TranslateLines(TVrexLanguage source, const TStrings& lines) const;

  // Translates `component` and everything it owns except forms (see
  // TranslateTree.cpp) and returns the language its texts are in now: the
  // target, or `source` when the current language's table is empty.
  TVrexLanguage TranslateComponent(TVrexLanguage source, TComponent* component);
  // The same with `target` as the target for the duration; the previous
  // target comes back however the translation ends (no OnChangeLanguage).
  TVrexLanguage TranslateComponentInto(TVrexLanguage source, TVrexLanguage target,
                                       TComponent* component);
  // Sets the fonts of `control` and of every control inside it (its child
  // controls, recursively) for the current language. Raises Exception
  // "Unrecognized language" for a language without a face (Hebrew with a
  // table of its own).
  void ApplyLanguageFont(TControl* control);
  void ApplyLanguageFontInto(TVrexLanguage target, TControl* control);

 private:
  // Runs `f` with `target` stored as the target (without the handler).
  template <class F>
  auto WithTarget(TVrexLanguage target, F&& f);
  void TranslateOne(TVrexLanguage source, TComponent* component);
  void TranslateProperties(TVrexLanguage source, TComponent* component);
  void TranslateItems(TVrexLanguage source, TStrings& items);
  static void ApplyFont(const TLanguage& language, TControl* control);

  std::array<Owned<TLanguage>, kTableLanguageCount> languages_;
  TVrexLanguage target_ = vlUser;
};

// The main translator (the first constructed and still alive), or null.
TTranslator* MainTranslator() noexcept;

// The module-level functions: each works on the main translator and, when
// there is none, returns its input unchanged (does nothing).
// `text` translated with vlEnglish as the source language.
std::string TranslateFromEnglish(const std::string& text);
TVrexLanguage TranslateComponent(TVrexLanguage source, TComponent* component);
TVrexLanguage TranslateComponentInto(TVrexLanguage source, TVrexLanguage target,
                                     TComponent* component);
void ApplyLanguageFont(TControl* control);
void ApplyLanguageFontInto(TVrexLanguage target, TControl* control);
