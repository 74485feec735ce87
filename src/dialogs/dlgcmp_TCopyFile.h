#pragma once

#include <cstdint>
#include <optional>

#include "dialogs/DialogTypes.h"
#include "dialogs/dlgcmp_TBaseDlg.h"

// TCopyFileDlg: the dialog component that stands for the copy-progress
// form. It registers TCopyFileForm in the during-copy registry with itself
// for as long as it lives, so its manager (by default the installer's
// dmDuringCopyFiles manager) opens that form while files are copied, placed
// where this component says.
class TCopyFileDlg : public TBaseInstallDlg {
  PELLMORE_CLASS(TCopyFileDlg, TBaseInstallDlg)

 public:
  // Registers TCopyFileForm with itself; outside loading takes the
  // installer's dmDuringCopyFiles manager.
  explicit TCopyFileDlg(TComponent* owner);
  // Withdraws its registry entry.
  ~TCopyFileDlg() override;

  TCustomForm* CreateForm(TComponent* owner) override;
  // A loaded component that names no manager takes the installer's
  // dmDuringCopyFiles manager.
  void Loaded() override;
  // Position, offsets and size of its form (see TCustomBaseInstallDlg).
  std::optional<TDialogPlacement> FormPlacement() const override;

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

 private:
  TPellmoreDialogPosition position_ = vdpBottomCenter;
  int32_t leftOffset_ = 0;
  int32_t topOffset_ = 30;
  int32_t height_ = 146;
  int32_t width_ = 474;
};
