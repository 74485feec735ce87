// The dialog tests' fixture and stand-ins (see DialogFixture.h).
#include "DialogFixture.h"

#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/StdCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/TranslatorRegistration.h"
#include "install/InstallRegistration.h"
#include "platform/headless/HeadlessWidgetset.h"

namespace dialogtest {

PageScript& Pages() {
  static PageScript script;
  return script;
}

namespace {

std::string PageDescription(const std::string& name) {
  return "inherited " + name + ": T" + name +
         "\n"
         "  Caption = '" +
         name +
         "'\n"
         "  object BackBtn: TButton\n"
         "    Left = 200\n    Top = 330\n    Width = 75\n    Height = 25\n"
         "    Caption = '< &Back'\n  end\n"
         "  object NextBtn: TButton\n"
         "    Left = 280\n    Top = 330\n    Width = 75\n    Height = 25\n"
         "    Caption = '&Next >'\n    Default = True\n  end\n"
         "  object CancelBtn: TButton\n"
         "    Left = 380\n    Top = 330\n    Width = 75\n    Height = 25\n"
         "    Caption = 'Cancel'\n  end\n"
         "end\n";
}

const char* const kDiskFormText =
    "inherited DiskForm: TTestDiskForm\n"
    "  Caption = 'Setup needs the next disk'\n"
    "  object ProceedBtn: TButton\n    Left = 216\n    Top = 144\n    Caption = 'Proceed'\n"
    "    Default = True\n    ModalResult = 1\n  end\n"
    "  object CancelBtn: TButton\n    Left = 312\n    Top = 144\n    Caption = 'Cancel'\n"
    "    ModalResult = 2\n  end\n"
    "end\n";

std::string Field(const std::string& line, const char* key) {
  const std::string k = std::string("\"") + key + "\":\"";
  const size_t at = line.find(k);
  if (at == std::string::npos) return {};
  const size_t from = at + k.size();
  return line.substr(from, line.find('"', from) - from);
}

}  // namespace

TTestPage::TTestPage(TComponent* owner, const char* className)
    : TBaseInstallForm(
          owner, dmAfterGoodInstall,
          Pages().builtInOrder.contains(className) ? Pages().builtInOrder[className] : 10) {}

bool TTestPage::SkipPage() {
  return Pages().skip[ClassName()];
}

void TTestPage::RefreshPage() {
  std::string s = std::string(ClassName()).substr(5);  // "TPageP" -> "P"
  if (IsFirstPage()) s += "^";
  if (IsLastPage()) s += "$";
  Pages().shown.push_back(s);
  if (Frame()) Pages().frameBounds.push_back(Frame()->BoundsRect());
}

void TTestPage::LeavePage() {
  Pages().left.push_back(std::string(ClassName()).substr(5));
}

void TTestPage::DoCreate() {
  auto wire = [this](const char* name, void (TBaseInstallForm::*op)()) {
    if (auto* b = static_cast<TButton*>(FindComponent(name)))
      b->OnClick = [this, op](TObject*) { (this->*op)(); };
  };
  wire("NextBtn", &TBaseInstallForm::GoNext);
  wire("BackBtn", &TBaseInstallForm::GoBack);
  wire("CancelBtn", &TBaseInstallForm::CancelWizard);
  TBaseInstallForm::DoCreate();
}

TPagePDlg::TPagePDlg(TComponent* owner) : TBaseInstallDlg(owner) {
  PageForms().Add<TPageP>(this);
}
TPagePDlg::~TPagePDlg() {
  PageForms().RemoveComponent(this);
}
TCustomForm* TPagePDlg::CreateForm(TComponent* owner) {
  return TCustomForm::Create<TPageP>(owner);
}

void TTestCopyForm::UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) {
  if (file) Updates.push_back("file " + file->FileName + " " + std::to_string(file->FilePercent));
  if (download)
    Updates.push_back("download " + download->FileName + " " + std::to_string(download->Percent));
}

TTestCopyDlg::TTestCopyDlg(TComponent* owner) : TBaseInstallDlg(owner) {
  DuringCopyForms().Add<TTestCopyForm>(this);
}
TTestCopyDlg::~TTestCopyDlg() {
  DuringCopyForms().RemoveComponent(this);
}
TCustomForm* TTestCopyDlg::CreateForm(TComponent* owner) {
  return TCustomForm::Create<TTestCopyForm>(owner);
}

void TTestDiskForm::RefreshPage() {
  if (DiskParameter())
    Seen.push_back("disk " + std::to_string(DiskParameter()->DiskNumber) + " " +
                   DiskParameter()->Path);
}

DialogTest::DialogTest() : machine_(testsupport::ScratchNamed("pellmore-dialogs")) {
  Pages() = PageScript{};
  TTestDiskForm::Seen.clear();
  ClassRegistry& r = ClassRegistry::Global();
  RegisterControls(r);
  RegisterTranslatorClasses(r);
  RegisterInstallClasses(r);
  RegisterDialogBase(r);
  r.Class<TTestPage, TBaseInstallForm>("TTestPage");
  for (const char* name : {"PageP", "PageQ", "PageR"}) {
    const std::string cls = std::string("T") + name;
    if (cls == "TPageP") r.Class<TPageP, TTestPage>(cls);
    if (cls == "TPageQ") r.Class<TPageQ, TTestPage>(cls);
    if (cls == "TPageR") r.Class<TPageR, TTestPage>(cls);
    r.RegisterDescription(cls, std::string(name) + ".dfm", PageDescription(name));
  }
  r.Class<TPagePDlg, TBaseInstallDlg>("TPagePDlg");
  r.Class<TTestCopyForm, TBaseDuringCopyForm>("TTestCopyForm");
  r.Class<TTestDiskForm, TBaseChangeDiskForm>("TTestDiskForm");
  r.RegisterDescription("TTestDiskForm", "DiskForm.dfm", kDiskFormText);
  UseScript("");
  form.reset(NewForm());
}

DialogTest::~DialogTest() {
  form.reset();
  InstallWidgetset(nullptr);
}

void DialogTest::UseScript(const std::string& script) {
  platform::headless::HeadlessOptions o;
  o.script = script;
  o.scriptName = "dialogs.ui";
  o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
  o.screen = TSize{800, 600};
  o.captionHeight = 18;
  InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(std::move(o)));
}

std::vector<std::string> DialogTest::Events() const {
  std::vector<std::string> out;
  for (const std::string& l : lines) out.push_back(Field(l, "event") + " " + Field(l, "form"));
  return out;
}

TDialogManager* DialogTest::NewManager(TComponent* owner, TManagerType phase,
                                       const std::string& name) {
  if (!install) {
    install = New<TInstall>(owner, "Install");
  }
  auto* m = New<TDialogManager>(owner, name);
  m->SetManagerType(phase);
  m->SetContainer(install);
  return m;
}

}  // namespace dialogtest
