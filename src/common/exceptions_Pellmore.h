// The kit's exception classes. IException and its IE... descendants pass
// their English text (or format) through the translator before storing it,
// so a message comes out in the setup's language; routine libraries use
// E... classes whose texts are not translated.
#pragma once

#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "framework/Format.h"

class ECustomPellmoreAbnormal : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ECustomPellmoreAbnormal"; }
};

class EPellmoreAbnormal : public ECustomPellmoreAbnormal {
 public:
  using ECustomPellmoreAbnormal::ECustomPellmoreAbnormal;
  const char* ClassName() const noexcept override { return "EPellmoreAbnormal"; }
};

// The translation applied to every IException text. The translator installs
// it when the main translator exists; until then texts stay English.
using EnglishTranslationHook = std::string (*)(const std::string& english);
void SetEnglishTranslationHook(EnglishTranslationHook hook);
std::string TranslateExceptionText(const std::string& english);

class IException : public ECustomPellmoreAbnormal {
 public:
  // A fixed message, translated.
  explicit IException(const std::string& message)
      : ECustomPellmoreAbnormal(TranslateExceptionText(message)) {}
  // A format, translated before its arguments are filled in.
  template <class A0, class... A>
  IException(std::string_view format, const A0& a0, const A&... rest)
      : ECustomPellmoreAbnormal(Format(TranslateExceptionText(std::string(format)), a0, rest...)) {}
  const char* ClassName() const noexcept override { return "IException"; }

 protected:
  // A text already translated and filled in (a format built from pieces of
  // which only some are translated).
  struct Translated {};
  IException(Translated, std::string text) : ECustomPellmoreAbnormal(std::move(text)) {}
};

// Declares an exception class `name` derived from `base` with the base's
// constructors and its own class name.
#define PELLMORE_DECLARE_EXCEPTION(name, base)                        \
  class name : public base {                                          \
   public:                                                            \
    using base::base;                                                 \
    const char* ClassName() const noexcept override { return #name; } \
  }

// A user's confirmed cancel: the run ends through the bad-install phase.
PELLMORE_DECLARE_EXCEPTION(EPLUserAbort, ECustomPellmoreAbnormal);
