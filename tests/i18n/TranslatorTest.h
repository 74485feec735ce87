// Shared fixture of the translator tests: a clean process with the control
// model and the translator classes registered, helpers to fill a table and
// to show its entries, and (sim build) a simulated machine on demand.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "i18n/TranslatorRegistration.h"
#include "i18n/cmp_TTranslator.h"
#include "platform/Platform.h"
#include "support/Fixture.h"
#ifndef _WIN32
#include <optional>

#include "support/SimMachineHome.h"
#endif

class TranslatorTest : public PellmoreTest {
 protected:
  TranslatorTest() {
    RegisterControls(ClassRegistry::Global());
    RegisterTranslatorClasses(ClassRegistry::Global());
  }
  ~TranslatorTest() override {
#ifndef _WIN32
    platform::Install(nullptr);
#endif
  }

  // Replaces the language's lines (one parse).
  static void SetTable(TTranslator& t, TVrexLanguage language,
                       std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines) list.Add(line);
    t.Language(language)->Strings()->Assign(&list);
  }

  // "id@line=text" for each string entry.
  static std::vector<std::string> Entries(const TLanguage& l) {
    std::vector<std::string> out;
    for (const auto& s : l.StringEntries())
      out.push_back(std::to_string(s->GLID()) + "@" + std::to_string(s->LineNumber()) + "=" +
                    s->Text());
    return out;
  }

#ifndef _WIN32
  // A fresh simulated machine with this user language, installed as the
  // current backend until the case ends.
  platform::sim::SimMachine& UseMachine(uint16_t langId = 0x0409) {
    if (!machines_) machines_.emplace("pellmore-i18n");
    platform::sim::MachineOptions o;
    o.language = langId;
    return machines_->Install(o);
  }

 private:
  std::optional<testsupport::SimMachineHome> machines_;
#endif
};
