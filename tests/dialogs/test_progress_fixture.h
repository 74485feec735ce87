// Fixture of the progress, status and change-disk dialog tests: the
// control model, translator, install and dialog classes registered, a
// headless widgetset on an 800 x 600 screen (18-pixel captions) steered by
// a UI script, an installer whose OnUserAbort answers as a case says, and
// a main translator with the kit's English and Chinese Simplified tables.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/TranslatorRegistration.h"
#include "i18n/cmp_TTranslator.h"
#include "install/InstallRegistration.h"
#include "install/cmp_TInstall.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"
#include "support/TempDir.h"

class ProgressDialogTest : public PellmoreTest {
 protected:
  ProgressDialogTest() {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterControls(r);
    RegisterTranslatorClasses(r);
    RegisterInstallClasses(r);
    RegisterDialogClasses(r);
    UseScript("");
  }
  // The widgetset writes into `lines`: it goes before they do.
  ~ProgressDialogTest() override {
    owner.reset();
    InstallWidgetset(nullptr);
  }

  void UseScript(const std::string& script) {
    platform::headless::HeadlessOptions o;
    o.script = script;
    o.scriptName = "progress.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    o.screen = TSize{800, 600};
    o.captionHeight = 18;
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(std::move(o)));
  }

  // The installer (on `owner`); its OnUserAbort answers `agree` and counts.
  TInstall* AddInstaller(bool agree) {
    install = New<TInstall>(owner.get(), "Install1");
    install->SetOnUserAbort([this, agree](TObject*, bool& quitOut) {
      ++userAbortAsked;
      quitOut = agree;
    });
    return install;
  }
  TDialogManager* AddManager(TManagerType phase, const std::string& name) {
    auto* m = New<TDialogManager>(owner.get(), name);
    m->SetManagerType(phase);
    m->SetContainer(install);
    return m;
  }

  // The main translator with the English and Chinese Simplified tables of
  // the kit, translating into `target`.
  TTranslator& UseTranslator(TVrexLanguage target) {
    auto* t = New<TTranslator>(owner.get(), "MainTranslator");
    for (TVrexLanguage l : {vlEnglish, vlChineseSimplified})
      t->Language(l)->Strings()->SetText(testsupport::ReadHostFile(
          std::filesystem::path(PELLMORE_I18N_TABLES) / (LanguageStem(l) + ".txt")));
    t->SetTranslateIntoLanguage(target);
    return *t;
  }

  template <class T>
  static T& Control(const TComponent& form, const char* name) {
    TComponent* c = form.FindComponent(name);
    EXPECT_NE(c, nullptr) << name;
    return *static_cast<T*>(c);
  }

  std::vector<std::string> lines;
  Owned<TForm> owner{NewForm()};
  TInstall* install = nullptr;
  int userAbortAsked = 0;
};
