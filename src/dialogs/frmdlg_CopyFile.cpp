// TCopyFileForm (see frmdlg_CopyFile.h).
#include "dialogs/frmdlg_CopyFile.h"

#include <tuple>

#include "archive/cmp_TVrexCompress.h"
#include "dialogs/DialogControls.h"
#include "dialogs/KitPictures.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "install/ComponentCalls.h"
#include "install/UserAbortFlag.h"
#include "install/cmp_TInstall.h"

namespace {

uint32_t ReadLE(const Bytes& b, size_t pos, size_t size) {
  uint32_t v = 0;
  for (size_t i = 0; i < size; ++i) v |= uint32_t(b[pos + i]) << (8 * i);
  return v;
}

// The picture's background, which is the colour of its bottom-left pixel
// (the rule a transparent picture follows), repainted in `face`: the kit
// draws its pictures on the classic grey, and a system whose dialogs are
// lighter would show them as grey tiles. Anything but an uncompressed
// 24-bit bitmap of the size its header gives is returned as it came.
Bytes OnFace(Bytes bmp, TColor face) {
  constexpr size_t kPixelsAt = 10, kWidth = 18, kHeight = 22, kBitCount = 28, kCompression = 30;
  if (bmp.size() < 54 || ReadLE(bmp, kBitCount, 2) != 24 || ReadLE(bmp, kCompression, 4) != 0)
    return bmp;
  const uint64_t offset = ReadLE(bmp, kPixelsAt, 4);
  const uint64_t width = ReadLE(bmp, kWidth, 4), height = ReadLE(bmp, kHeight, 4);
  if (width == 0 || width > 4096 || height == 0 || height > 4096) return bmp;  // also top-down
  const uint64_t stride = (width * 3 + 3) & ~uint64_t(3);
  if (offset > bmp.size() || stride * height > bmp.size() - offset) return bmp;
  // Bottom-up: the first stored row is the bottom one.
  const uint8_t b0 = bmp[offset], g0 = bmp[offset + 1], r0 = bmp[offset + 2];
  const TColor rgb = ColorToRGB(face);  // 0x00BBGGRR
  const uint8_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  for (uint64_t y = 0; y < height; ++y) {
    uint8_t* row = bmp.data() + offset + y * stride;
    for (uint64_t x = 0; x < width; ++x) {
      uint8_t* px = row + x * 3;
      if (px[0] == b0 && px[1] == g0 && px[2] == r0) {
        px[0] = b;
        px[1] = g;
        px[2] = r;
      }
    }
  }
  return bmp;
}

}  // namespace

void TCopyFileForm::DoCreate() {
  unZipImage_ = &DescribedControl<TImage>(*this, "UnZipImage");
  transferBitmap_ = &DescribedControl<TImage>(*this, "TransferBitmap");
  lblCopyingFile_ = &DescribedControl<TLabel>(*this, "lblCopyingFile");
  progressBar1_ = &DescribedControl<TProgressBar>(*this, "ProgressBar1");
  progressBar2_ = &DescribedControl<TProgressBar>(*this, "ProgressBar2");
  AssignKitPicture(*unZipImage_->Picture(), OnFace(ExtractionPicture(), Color()));
  AssignKitPicture(*transferBitmap_->Picture(), OnFace(TransferPicture(), Color()));
  TBaseDuringCopyForm::DoCreate();
}

void TCopyFileForm::CancelCopy() {
  // The installer this form works for; a form opened without a component
  // has none of its own and asks the program's installer.
  TCustomInstall* installer = Installer() ? Installer() : ::Installer();
  if (!installer || installer->UserAbort()) {
    TVrexCompress::Shared().SetAbort(true);
    SetUserAbortFlag(true);
  }
  SetModalResult(mrCancel);
}

void TCopyFileForm::CancelBtnClick(TObject*) {
  CancelCopy();
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) {
  // A status arrives for every few kilobytes written, but the window
  // changes only when a percentage or the name does: painting it for
  // nothing would cost more than the copying itself.
  const auto shown = [this] {
    return std::make_tuple(transferBitmap_->Visible(), progressBar1_->Position(),
                           progressBar2_->Position(), lblCopyingFile_->Caption());
  };
  const auto before = shown();
  if (file) {
    transferBitmap_->SetVisible(false);
    progressBar2_->SetPosition(file->TotalPercent);
    progressBar1_->SetPosition(file->FilePercent);
    lblCopyingFile_->SetCaption(file->FileName);
  } else if (download) {
    transferBitmap_->SetVisible(true);
    progressBar1_->SetPosition(download->Percent);
    lblCopyingFile_->SetCaption(download->FileName);
  }
  if (shown() != before) Update();
}
