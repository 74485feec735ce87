// The dialog manager (see dlgcmp_TDialogManager.h): the phase dispatch of
// component calls, the modal frame of the wizard-like phases, the
// modeless progress forms of the copy phase and the change-disk form.
#include "dialogs/dlgcmp_TDialogManager.h"

#include <algorithm>

#include "dialogs/BaseForms.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "framework/Application.h"
#include "framework/ProcessState.h"
#include "install/ComponentCalls.h"
#include "install/InstallLists.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TFileRelated.h"
#include "install/cmp_TInstall.h"

namespace {

TDialogManager*& CurrentSlot() noexcept {
  static TDialogManager* current = nullptr;
  return current;
}

// Clears the current dialog manager when a modal phase ends, whichever
// way it ends.
class TCurrentManagerScope {
 public:
  explicit TCurrentManagerScope(TDialogManager* manager) noexcept {
    SetCurrentDialogManager(manager);
  }
  ~TCurrentManagerScope() { SetCurrentDialogManager(nullptr); }
  TCurrentManagerScope(const TCurrentManagerScope&) = delete;
  TCurrentManagerScope& operator=(const TCurrentManagerScope&) = delete;
};

[[noreturn]] void RaiseUserAbort() {
  throw EPLUserAbort(TranslateExceptionText("Aborted by user"));
}

}  // namespace

TDialogManager* CurrentDialogManager() noexcept {
  return CurrentSlot();
}

void SetCurrentDialogManager(TDialogManager* manager) noexcept {
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("dialogs.CurrentDialogManager", [] { CurrentSlot() = nullptr; });
  }
  CurrentSlot() = manager;
}

TDialogManager* FindDialogManager(TManagerType phase) {
  TCustomInstall* install = Installer();
  if (!install) return nullptr;
  for (TInstallContainer* c : InstallContainerList().Snapshot()) {
    if (!c->Is<TDialogManager>()) continue;
    auto* m = static_cast<TDialogManager*>(c);
    if (m->ManagerType() == phase && m->Container() == install) return m;
  }
  return nullptr;
}

TDialogManager::TDialogManager(TComponent* owner) : TInstallObject(owner) {}

TDialogManager::~TDialogManager() {
  // Forms still open would keep a manager that is gone; they close with it.
  CloseDuringCopyForms();
  for (TCustomBaseInstallDlg* d : std::vector<TCustomBaseInstallDlg*>(dialogs_)) {
    RemoveFreeNotification(d);
    if (d->DialogManager() == this) d->SetDialogManager(nullptr);
  }
  dialogs_.clear();
  if (CurrentDialogManager() == this) SetCurrentDialogManager(nullptr);
}

void TDialogManager::AddDialog(TCustomBaseInstallDlg* dialog) {
  if (!dialog) throw IEDialogManager("Cannot add a NIL Dialog to the Dialog Manager %s", Name());
  if (std::find(dialogs_.begin(), dialogs_.end(), dialog) != dialogs_.end()) return;
  dialogs_.push_back(dialog);
  FreeNotification(dialog);
}

void TDialogManager::RemoveDialog(TCustomBaseInstallDlg* dialog) noexcept {
  const auto it = std::find(dialogs_.begin(), dialogs_.end(), dialog);
  if (it == dialogs_.end()) return;
  dialogs_.erase(it);
  RemoveFreeNotification(dialog);
}

void TDialogManager::Notification(TComponent* c, TOperation op) {
  TInstallObject::Notification(c, op);
  if (op != opRemove) return;
  std::erase_if(dialogs_, [c](TCustomBaseInstallDlg* d) { return d == c; });
  std::erase_if(copyForms_, [c](TBaseDuringCopyForm* f) { return f == c; });
}

namespace {

// An install file reports its progress, a disk request and the end of its
// own job to the whole installation, and its containers pass the same
// progress and request up to the installer, which reports them again (the
// progress with the totals of the whole installation) and ends the copy
// phase with its own -996. While the installer runs such an operation the
// file's direct calls are therefore left to it: taken too, they would pull
// the total bar back to the file's share of the archive at every step,
// close the progress window after every file and ask for every disk twice.
// A file working on its own (no operation of the installer running) still
// drives the dialogs itself.
bool LeftToTheInstaller(TObject* Sender) {
  if (!AsInstallFile(Sender)) return false;
  const TCustomInstall* installer = Installer();
  return installer && installer->State() != fcsIdle;
}

}  // namespace

void TDialogManager::HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) {
  switch (managerType_) {
    case dmBeforeInstall:
      if (ComponentCall == kCallBeforeInstallPhase) Execute();
      break;
    case dmAfterGoodInstall:
      if (ComponentCall == kCallGoodInstallPhase) Execute();
      break;
    case dmAfterBadInstall:
      if (ComponentCall == kCallBadInstallPhase) Execute();
      break;
    case dmReboot:
      if (ComponentCall == kCallReboot) Execute();
      break;
    case dmDuringCopyFiles:
      if ((ComponentCall == kCallFileStatus || ComponentCall == kCallDownloadStatus ||
           ComponentCall == kCallCopyEnded) &&
          !LeftToTheInstaller(Sender))
        DuringCopy(ComponentCall, PO);
      break;
    case dmChangeDisk:
      if (ComponentCall == kCallChangeDisk && !LeftToTheInstaller(Sender)) ChangeDisk(PO);
      break;
  }
}

// --- the modal frame -----------------------------------------------------------------

void TDialogManager::Execute() {
  bool cancelled = false;
  {
    TCurrentManagerScope current(this);
    Owned<TBaseFormContainer> frame(TCustomForm::Create<TBaseFormContainer>(&Application()));
    frame->SetBounds(frame->Left(), frame->Top(), width_, height_);
    PlaceDialog(*frame, position_, leftOffset_, topOffset_);
    if (frame->BuildPages() > 0) {
      cancelled = frame->Run() == mrCancel;
      if (!cancelled) {
        if (TCustomForm* main = Application().MainForm()) main->Repaint();
        Application().ProcessMessages();
      }
    }
  }  // the frame and its pages go, the current manager is cleared
  if (cancelled) RaiseUserAbort();
}

// --- the copy phase ---------------------------------------------------------------------

void TDialogManager::DuringCopy(int call, TObject* PO) {
  if (call == kCallCopyEnded) {
    CloseDuringCopyForms();
    return;
  }
  if (!PO) throw IEDialogManager("%s got a nil PO parameter", Name());
  TFileStatusParameter* file = nullptr;
  TDownloadStatusParameter* download = nullptr;
  if (call == kCallFileStatus) {
    if (!PO->Is<TFileStatusParameter>())
      throw IEDialogManager("The PO object passed to %s is not a TFileStatusParameter object",
                            Name());
    file = static_cast<TFileStatusParameter*>(PO);
  } else {
    if (!PO->Is<TDownloadStatusParameter>())
      throw IEDialogManager("The PO object passed to %s is not a TDownloadStatusParameter object",
                            Name());
    download = static_cast<TDownloadStatusParameter*>(PO);
  }
  if (copyForms_.empty()) OpenDuringCopyForms();
  // A form may go while another one updates (its status step processes
  // messages): walk a copy and skip what has left the list.
  for (TBaseDuringCopyForm* form : std::vector<TBaseDuringCopyForm*>(copyForms_))
    if (std::find(copyForms_.begin(), copyForms_.end(), form) != copyForms_.end())
      form->UpdateStatus(file, download);
}

void TDialogManager::OpenDuringCopyForms() {
  TFormRegistry& registry = ::DuringCopyForms();
  for (int i = 0; i < registry.Count(); ++i) {
    const TFormRegistryEntry entry = registry.Entry(i);
    Owned<TCustomForm> created(entry.create(&Application()));
    if (!created->Is<TBaseDuringCopyForm>()) continue;  // not a progress form: destroyed
    auto* form = static_cast<TBaseDuringCopyForm*>(created.get());
    if (form->DM() != this) continue;
    if (entry.component) {
      entry.component->SetForm(form);
      if (const auto placement = entry.component->FormPlacement()) {
        form->SetBounds(form->Left(), form->Top(), placement->width, placement->height);
        PlaceDialog(*form, placement->position, placement->leftOffset, placement->topOffset);
      }
    }
    form->RefreshPage();
    form->TranslateForm();
    FreeNotification(form);
    copyForms_.push_back(form);
    created.release();
    form->Show();
  }
}

void TDialogManager::CloseDuringCopyForms() noexcept {
  while (!copyForms_.empty()) {
    TBaseDuringCopyForm* form = copyForms_.back();
    copyForms_.pop_back();
    RemoveFreeNotification(form);
    form->Free();
  }
}

// --- the change-disk phase -----------------------------------------------------------------

void TDialogManager::ChangeDisk(TObject* PO) {
  TFormRegistry& registry = ChangeDiskForms();
  if (registry.Count() == 0) return;
  const TFormRegistryEntry entry = registry.Entry(0);
  bool cancelled = false;
  {
    Owned<TCustomForm> created(entry.create(&Application()));
    TCurrentManagerScope current(this);
    if (!created->Is<TBaseChangeDiskForm>()) return;
    auto* form = static_cast<TBaseChangeDiskForm*>(created.get());
    if (form->DM() != this) return;

    if (!PO)
      throw IEDialogManager(
          "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
    if (!PO->Is<TParameterList>())
      throw IEDialogManager("TChangeDiskDlg--PO is not a TList object");
    auto* list = static_cast<TParameterList*>(PO);
    if (list->Count() < 2)
      throw IEDialogManager("TChangeDiskDlg--Not engouh parameters for status event");
    TObject* item0 = list->Items[0];
    TObject* item1 = list->Items[1];
    if (!item0 || !item0->Is<TFileRelated>() ||
        static_cast<TFileRelated*>(item0)->RegisteredType() != kRegisteredInstallFile)
      throw EChangeDiskParameter("TChangeDiskDlg says bad first parameter");
    if (!item1 || !item1->Is<TDiskParameter>())
      throw EChangeDiskParameter("TChangeDiskDlg says bad second parameter");

    // The file hears that someone answers for this disk, so it does not
    // ask again itself.
    static_cast<TFileRelated*>(item0)->SetTag(1);
    form->SetDiskParameter(static_cast<TDiskParameter*>(item1));
    form->RefreshPage();
    form->TranslateForm();
    cancelled = form->ShowModal() == mrCancel;
  }  // the form goes, the current manager is cleared
  if (cancelled) RaiseUserAbort();
}
