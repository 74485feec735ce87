#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/DialogTypes.h"
#include "install/cmp_TInstallContainer.h"

class TBaseDuringCopyForm;
class TCustomBaseInstallDlg;

// TDialogManager: an install object, child of the installer, that shows
// the dialogs of one phase of the run when that phase's component call
// arrives (modally, inside the broadcast). The wizard-like phases show a
// TBaseFormContainer with the phase's pages; during copying the manager
// keeps modeless progress forms open; a disk change shows one modal form.
// A user's cancel ends a modal phase with EPLUserAbort.
class TDialogManager : public TInstallObject {
  PELLMORE_CLASS(TDialogManager, TInstallObject)

 public:
  explicit TDialogManager(TComponent* owner);
  ~TDialogManager() override;

  int RegisteredType() const override { return kRegisteredDialog; }
  // -980/-979/-978/-987 run Execute for the matching phase; -998/-988/-996
  // drive the during-copy forms; -993 the change-disk form. Every other
  // call, and every call of another phase, is ignored.
  void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) override;

  // A modal-frame phase: shows the frame with the phase's pages. Returns
  // when the user finished them or when there is no page; raises
  // EPLUserAbort when the user cancelled (frame and pages destroyed first,
  // the current manager cleared).
  virtual void Execute();

  // The dialog components that named this manager as theirs.
  // IEDialogManager "Cannot add a NIL Dialog to the Dialog Manager %s".
  void AddDialog(TCustomBaseInstallDlg* dialog);
  void RemoveDialog(TCustomBaseInstallDlg* dialog) noexcept;
  int DialogCount() const noexcept { return static_cast<int>(dialogs_.size()); }
  TCustomBaseInstallDlg* Dialogs(int index) const {
    return dialogs_.at(static_cast<size_t>(index));
  }

  // The open during-copy forms (TBaseDuringCopyFormList).
  int DuringCopyFormCount() const noexcept { return static_cast<int>(copyForms_.size()); }
  TBaseDuringCopyForm* DuringCopyForms(int index) const {
    return copyForms_.at(static_cast<size_t>(index));
  }

  TManagerType ManagerType() const noexcept { return managerType_; }
  void SetManagerType(TManagerType v) noexcept { managerType_ = v; }
  TPellmoreDialogPosition Position() const noexcept { return position_; }
  void SetPosition(TPellmoreDialogPosition v) noexcept { position_ = v; }
  int32_t RelativeLeftOffset() const noexcept { return leftOffset_; }
  void SetRelativeLeftOffset(int32_t v) noexcept { leftOffset_ = v; }
  int32_t RelativeTopOffset() const noexcept { return topOffset_; }
  void SetRelativeTopOffset(int32_t v) noexcept { topOffset_ = v; }
  int32_t Height() const noexcept { return height_; }
  void SetHeight(int32_t v) noexcept { height_ = v; }
  int32_t Width() const noexcept { return width_; }
  void SetWidth(int32_t v) noexcept { width_ = v; }

  void Notification(TComponent* c, TOperation op) override;

 private:
  void DuringCopy(int call, TObject* PO);
  void OpenDuringCopyForms();
  void CloseDuringCopyForms() noexcept;
  void ChangeDisk(TObject* PO);

  TManagerType managerType_ = dmBeforeInstall;
  TPellmoreDialogPosition position_ = vdpCenter;
  int32_t leftOffset_ = 0;
  int32_t topOffset_ = 0;
  int32_t height_ = 395;
  int32_t width_ = 478;
  std::vector<TCustomBaseInstallDlg*> dialogs_;
  std::vector<TBaseDuringCopyForm*> copyForms_;
};

// The manager whose modal phase (frame or change-disk form) is running, or
// null. Emptied by a process-state reset.
TDialogManager* CurrentDialogManager() noexcept;
void SetCurrentDialogManager(TDialogManager* manager) noexcept;

// The first TDialogManager, in creation order of the program's install
// objects, whose ManagerType is `phase` and whose Container is the current
// installer; null when there is none (or no installer).
TDialogManager* FindDialogManager(TManagerType phase);
