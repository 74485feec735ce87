// The dialog tests' fixture: a test machine, the headless widgetset on an
// 800 x 600 screen (caption 18) with a UI script and a transcript, the
// control, translator, install and dialog classes registered, and small
// stand-in forms: pages P, Q and R of the good-install phase with
// Back/Next/Cancel buttons wired to the page operations, a dialog component
// standing for page P, a during-copy form that records its status updates
// (and a component placing it), a change-disk form, and an install file.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/BaseForms.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TFileRelated.h"
#include "install/cmp_TInstall.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace dialogtest {

// What the stand-in pages do, set by each case: whether a page skips, and
// what every page records when it becomes current.
struct PageScript {
  std::map<std::string, bool> skip;             // by class name
  std::vector<std::string> shown;               // "Q^" first page, "R$" last page
  std::vector<TRect> frameBounds;               // the frame's bounds at each showing
  std::map<std::string, int32_t> builtInOrder;  // by class name; default 10
  std::vector<std::string> left;                // LeavePage calls
};
PageScript& Pages();

class TTestPage : public TBaseInstallForm {
  PELLMORE_CLASS(TTestPage, TBaseInstallForm)

 public:
  TTestPage(TComponent* owner, const char* className);
  bool SkipPage() override;
  void RefreshPage() override;
  void LeavePage() override;

 protected:
  void DoCreate() override;
};

#define DIALOGTEST_PAGE(Name)                                     \
  class Name : public TTestPage {                                 \
    PELLMORE_CLASS(Name, TTestPage)                               \
                                                                  \
   public:                                                        \
    explicit Name(TComponent* owner) : TTestPage(owner, #Name) {} \
  };
DIALOGTEST_PAGE(TPageP)
DIALOGTEST_PAGE(TPageQ)
DIALOGTEST_PAGE(TPageR)
#undef DIALOGTEST_PAGE

// Stands for page P: registers it with itself while it exists.
class TPagePDlg : public TBaseInstallDlg {
  PELLMORE_CLASS(TPagePDlg, TBaseInstallDlg)

 public:
  explicit TPagePDlg(TComponent* owner);
  ~TPagePDlg() override;
  TCustomForm* CreateForm(TComponent* owner) override;
  bool ShouldExecute() override { return Shows; }
  bool Shows = true;
};

class TTestCopyForm : public TBaseDuringCopyForm {
  PELLMORE_CLASS(TTestCopyForm, TBaseDuringCopyForm)

 public:
  using TBaseDuringCopyForm::TBaseDuringCopyForm;
  void UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) override;
  std::vector<std::string> Updates;  // "file NAME PERCENT" / "download NAME PERCENT"
};

class TTestCopyDlg : public TBaseInstallDlg {
  PELLMORE_CLASS(TTestCopyDlg, TBaseInstallDlg)

 public:
  explicit TTestCopyDlg(TComponent* owner);
  ~TTestCopyDlg() override;
  TCustomForm* CreateForm(TComponent* owner) override;
  std::optional<TDialogPlacement> FormPlacement() const override { return Placement; }
  TDialogPlacement Placement;
};

// Proceed (OK) and Cancel; records the disk parameter it was shown with.
class TTestDiskForm : public TBaseChangeDiskForm {
  PELLMORE_CLASS(TTestDiskForm, TBaseChangeDiskForm)

 public:
  using TBaseChangeDiskForm::TBaseChangeDiskForm;
  void RefreshPage() override;
  static inline std::vector<std::string> Seen;  // "disk N PATH"
};

class TTestFile : public TFileRelated {
  PELLMORE_CLASS(TTestFile, TFileRelated)

 public:
  using TFileRelated::TFileRelated;
  int RegisteredType() const override { return kRegisteredInstallFile; }
};

class DialogTest : public PellmoreTest {
 protected:
  DialogTest();
  ~DialogTest() override;

  // Installs a headless widgetset that answers from `script`.
  void UseScript(const std::string& script);
  // The transcript's events: "event form" per line.
  std::vector<std::string> Events() const;

  // A form owning an installer "Install" and a manager "DM" of `phase`.
  TDialogManager* NewManager(TComponent* owner, TManagerType phase, const std::string& name = "DM");

  testsupport::TestMachine& Machine() { return machine_; }

  std::vector<std::string> lines;
  Owned<TForm> form;
  TInstall* install = nullptr;

 private:
  testsupport::TestMachine machine_;
};

}  // namespace dialogtest
