// The translation hook behind IException (see exceptions_Pellmore.h).
#include "common/exceptions_Pellmore.h"

namespace {
EnglishTranslationHook g_hook = nullptr;
}

void SetEnglishTranslationHook(EnglishTranslationHook hook) {
  g_hook = hook;
}

std::string TranslateExceptionText(const std::string& english) {
  return g_hook ? g_hook(english) : english;
}
