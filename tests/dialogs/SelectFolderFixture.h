// The program folder page's fixture: the dialog fixture with the link
// group and page classes registered, a before-install setup and the phase
// run as the installer starts it.
#pragma once

#include <algorithm>
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
    RegisterPathSpecifiers(ClassRegistry::Global());
    RegisterShellLinkClasses(ClassRegistry::Global());
    RegisterWizardPages(ClassRegistry::Global());
  }

  // On `owner`: the installer with its before-install manager, the page's
  // component when asked, and the main link group holding `destDir` when
  // asked.
  void BuildSetup(TComponent* owner, bool withGroup, const std::string& destDir = "\\Quenby",
                  bool withComponent = true) {
    install = nullptr;
    group = nullptr;
    dm = NewManager(owner, dmBeforeInstall);
    if (withComponent) New<TSelectFolderDlg>(owner, "SelectFolderDlg");
    if (!withGroup) return;
    group = New<TMainLinkGroup>(owner, "MainFolder");
    group->SetContainer(install);
    group->SetDestDir(destDir);
  }

  // True when the pages were finished, false when the user cancelled.
  bool RunPhase() {
    try {
      dm->HandleComponentCall(install, kCallBeforeInstallPhase, nullptr);
      return true;
    } catch (const EPLUserAbort&) {
      return false;
    }
  }

  // The page outside a frame, refreshed.
  Owned<TSelectFolderForm> NewPage() {
    Owned<TSelectFolderForm> page(TCustomForm::Create<TSelectFolderForm>(form.get()));
    page->RefreshPage();
    return page;
  }

  // Whether a line of the transcript holds `text`.
  bool Logged(const std::string& text) const {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }

  TDialogManager* dm = nullptr;
  TMainLinkGroup* group = nullptr;
};

}  // namespace dialogtest
