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
#include <unistd.h>

#include <filesystem>

#include "platform/sim/SimMachine.h"
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
    if (!machineDir_.empty()) std::filesystem::remove_all(machineDir_);
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
    machineDir_ = std::filesystem::temp_directory_path() /
                  ("pellmore-i18n-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(machineDir_);
    platform::sim::MachineOptions o;
    o.language = langId;
    auto m = platform::sim::CreateMachine(machineDir_.string(), o);
    auto& ref = *m;
    platform::Install(std::move(m));
    return ref;
  }

 private:
  std::filesystem::path machineDir_;
#endif
};
