// Translating component trees and applying language fonts (the
// TranslateComponent and ApplyLanguageFont families of TTranslator).
#include <exception>

#include "framework/ClassRegistry.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslateControls.h"
#include "i18n/cmp_TTranslator.h"

namespace {

// What translating a control changes for the duration and gives back:
// visibility (hidden unless a form or an image, so the user never sees a
// half-translated control) and a label's auto-size.
class ControlScope {
 public:
  explicit ControlScope(TComponent* component)
      : control_(dynamic_cast<TControl*>(component)),
        label_(dynamic_cast<TCustomLabel*>(component)) {
    if (!control_) return;
    visible_ = control_->Visible();
    if (!control_->Is<TCustomForm>() && !control_->Is<TImage>()) control_->SetVisible(false);
    if (label_) {
      autoSize_ = label_->AutoSize();
      label_->SetAutoSize(false);
    }
  }

  void Restore() {
    if (!control_) return;
    if (label_) label_->SetAutoSize(autoSize_);
    control_->SetVisible(visible_);
    if (auto* windowed = dynamic_cast<TWinControl*>(control_)) windowed->Realign();
  }

 private:
  TControl* control_;
  TCustomLabel* label_;
  bool visible_ = true;
  bool autoSize_ = false;
};

// The GLID of a translate-aware control, or 0 for any other component.
int32_t GlidOf(const TComponent* component) noexcept {
  if (const auto* label = dynamic_cast<const TTranslateLabel*>(component)) return label->GLID();
  if (const auto* button = dynamic_cast<const TTranslateBitBtn*>(component)) return button->GLID();
  return 0;
}

}  // namespace

template <class F>
auto TTranslator::WithTarget(TVrexLanguage target, F&& f) {
  const TVrexLanguage previous = target_;
  target_ = target;
  try {
    auto result = f();
    target_ = previous;
    return result;
  } catch (...) {
    target_ = previous;
    throw;
  }
}

TVrexLanguage TTranslator::TranslateComponent(TVrexLanguage source, TComponent* component) {
  if (!component) return source;
  ControlScope scope(component);
  try {
    TranslateOne(source, component);
    // Owned components are translated even when their owner is handled by
    // id; forms are translated on their own when they are created.
    for (int i = 0; i < component->ComponentCount(); ++i) {
      TComponent* owned = component->Components(i);
      if (!owned->Is<TCustomForm>()) TranslateComponent(source, owned);
    }
  } catch (...) {
    // A control is never left hidden by a failed translation.
    try {
      scope.Restore();
    } catch (...) {
    }
    throw;
  }
  const TLanguage* current = CurrentLanguage();
  const TVrexLanguage result = current && current->Strings()->Count() > 0 ? target_ : source;
  scope.Restore();
  return result;
}

TVrexLanguage TTranslator::TranslateComponentInto(TVrexLanguage source, TVrexLanguage target,
                                                  TComponent* component) {
  return WithTarget(target, [&] { return TranslateComponent(source, component); });
}

void TTranslator::TranslateOne(TVrexLanguage source, TComponent* component) {
  const int32_t glid = GlidOf(component);
  if (glid > 0) {
    auto* control = static_cast<TControl*>(component);
    control->SetCaption(TextByGLID(glid, control->Caption()));
  }
  if (glid != 0) return;  // handled by id (a negative id: left as it is)
  TranslateProperties(source, component);
  if (auto* memo = dynamic_cast<TCustomMemo*>(component)) {
    const std::vector<std::string> lines = TranslateLines(source, *memo->Lines());
    if (lines != memo->Lines()->ToVector()) {
      memo->Lines()->BeginUpdate();
      try {
        memo->Lines()->Clear();
        for (const std::string& line : lines) memo->Lines()->Add(line);
      } catch (...) {
        memo->Lines()->EndUpdate();
        throw;
      }
      memo->Lines()->EndUpdate();
    }
  } else if (auto* view = dynamic_cast<TListView*>(component)) {
    for (int i = 0; i < view->Columns()->Count(); ++i) {
      TListColumn* column = view->Columns()->Items(i);
      const std::string caption = TranslateText(source, column->Caption());
      if (caption != column->Caption()) column->SetCaption(caption);
    }
  } else if (auto* list = dynamic_cast<TCustomListBox*>(component)) {
    TranslateItems(source, *list->Items());
  } else if (auto* group = dynamic_cast<TCustomRadioGroup*>(component)) {
    TranslateItems(source, *group->Items());
  }
}

void TTranslator::TranslateProperties(TVrexLanguage source, TComponent* component) {
  const ClassInfo* info = ClassRegistry::Global().ClassOf(*component);
  if (!info) return;
  for (const PropInfo* prop : info->Props()) {
    if (prop->Kind() != TTypeKind::String || SameText(prop->Name(), "Name") || !prop->CanWrite())
      continue;
    const std::string value = prop->GetStr(*component);
    if (Trim(value).empty()) continue;
    const std::string translated = TranslateText(source, value);
    if (translated != value) prop->SetStr(*component, translated);
  }
}

void TTranslator::TranslateItems(TVrexLanguage source, TStrings& items) {
  if (!items.Sorted()) {
    for (int i = 0; i < items.Count(); ++i) {
      const std::string translated = TranslateText(source, items.Strings(i));
      if (translated != items.Strings(i)) items.SetStrings(i, translated);
    }
    return;
  }
  // A sorted list refuses replacing a line in place: put the translated
  // items back in, and the list sorts them in the new language's order.
  std::vector<std::pair<std::string, TObject*>> translated;
  for (int i = 0; i < items.Count(); ++i)
    translated.emplace_back(TranslateText(source, items.Strings(i)), items.Objects(i));
  items.BeginUpdate();
  try {
    items.Clear();
    for (const auto& [text, object] : translated) items.AddObject(text, object);
  } catch (...) {
    items.EndUpdate();
    throw;
  }
  items.EndUpdate();
}

// --- fonts -----------------------------------------------------------------

void TTranslator::ApplyLanguageFont(TControl* control) {
  const TLanguage* language = CurrentLanguage();
  if (!language || !control) return;
  // A language without a table shows its texts in English, so it takes the
  // English settings as well.
  if (language->Strings()->Count() == 0) language = Language(vlEnglish);
  ApplyFont(*language, control);
}

void TTranslator::ApplyLanguageFontInto(TVrexLanguage target, TControl* control) {
  WithTarget(target, [&] {
    ApplyLanguageFont(control);
    return 0;
  });
}

void TTranslator::ApplyFont(const TLanguage& language, TControl* control) {
  TFont* font = control->Font();
  if (language.FontOverride()) {
    font->Assign(language.Font());
  } else {
    const std::optional<LanguageFontInfo> info = LanguageFont(language.LanguageIdent());
    if (!info) throw Exception("Unrecognized language");
    font->SetCharset(info->charset);
    if (!info->face) throw Exception("Unrecognized language");
    font->SetName(info->face);
    if (font->Size() < info->minSize) font->SetSize(info->minSize);
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(control))
    for (int i = 0; i < windowed->ControlCount(); ++i) ApplyFont(language, windowed->Controls(i));
}
