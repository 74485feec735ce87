// The program folder page's fixture: the dialog fixture with the link
// group and page classes registered, a before-install setup (installer,
// manager, the page's component, the main link group), the phase run as
// the installer starts it, and what the transcript last showed of a
// control.
#pragma once

#include <string>

#include "DialogFixture.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TSelectFolder.h"
#include "dialogs/frmdlg_SelectFolder.h"
#include "framework/ClassRegistry.h"
#include "framework/StdCtrls.h"
#include "paths/cmp_TPathSpecifier.h"
#include "shell/links/cmp_TInstallShellLink.h"

namespace dialogtest {

class SelectFolderTest : public DialogTest {
 protected:
  SelectFolderTest() {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterPathSpecifiers(r);
    RegisterShellLinkClasses(r);
    RegisterWizardPages(r);
  }

  // On `owner`: the installer with its before-install manager, the page's
  // component and, when asked, the main link group in the installer
  // holding the folder `destDir`.
  void BuildSetup(TComponent* owner, bool withMainGroup, const std::string& destDir = "\\Quenby") {
    install = nullptr;
    group = nullptr;
    dm = NewManager(owner, dmBeforeInstall);
    New<TSelectFolderDlg>(owner, "SelectFolderDlg");
    if (!withMainGroup) return;
    group = New<TMainLinkGroup>(owner, "MainFolder");
    group->SetContainer(install);
    group->SetDestDir(destDir);
  }

  // The before-install phase as the run starts it: true when the pages
  // were finished, false when the user cancelled.
  bool RunPhase() {
    try {
      dm->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
      return true;
    } catch (const EPLUserAbort&) {
      return false;
    }
  }

  // The page outside a frame, as its form unit makes it, refreshed.
  Owned<TSelectFolderForm> NewPage() {
    Owned<TSelectFolderForm> page(TCustomForm::Create<TSelectFolderForm>(form.get()));
    page->RefreshPage();
    return page;
  }

  // The value (raw JSON) of `key` of the control named `name` in the last
  // form record of the transcript, or "" when it is not there.
  std::string Shown(const std::string& name, const std::string& key) const {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
      if (it->find("\"event\":\"form\"") == std::string::npos) continue;
      const size_t at = it->find("\"name\":\"" + name + "\"");
      if (at == std::string::npos) return {};
      const size_t k = it->find("\"" + key + "\":", at);
      if (k == std::string::npos) return {};
      const size_t from = k + key.size() + 3;
      const char close = (*it)[from] == '[' ? ']' : '"';
      const size_t to = it->find(close, from + 1);
      return it->substr(from, to - from + 1);
    }
    return {};
  }

  TDialogManager* dm = nullptr;
  TMainLinkGroup* group = nullptr;
};

}  // namespace dialogtest
