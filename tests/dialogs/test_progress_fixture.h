// Fixture of the progress, status and change-disk dialog tests: the dialog
// tests' fixture (test machine, headless widgetset on 800 x 600 with
// 18-pixel captions, classes registered) with the kit's progress dialogs
// registered too, an installer whose OnUserAbort answers as a case says,
// and a main translator with the kit's English and Chinese Simplified
// tables.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DialogFixture.h"
#include "dialogs/DialogRegistration.h"
#include "framework/ClassRegistry.h"
#include "i18n/cmp_TTranslator.h"
#include "support/TempDir.h"

class ProgressDialogTest : public dialogtest::DialogTest {
 protected:
  ProgressDialogTest() { RegisterProgressDialogs(ClassRegistry::Global()); }

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
    return NewManager(owner.get(), phase, name);
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

  // The form that owns what a case makes (the base fixture's).
  Owned<TForm>& owner = form;
  int userAbortAsked = 0;
};
