// The copy-progress dialog: the form's layout facts the run relies on, its
// status updates (file, download, file again), the user's cancel with the
// flags it sets, and the component's registration, defaults and placement
// through its dmDuringCopyFiles manager.
#include "archive/cmp_TVrexCompress.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/KitPictures.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/frmdlg_CopyFile.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ProcessState.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/ComponentCalls.h"
#include "install/UserAbortFlag.h"
#include "test_progress_fixture.h"

namespace {

class CopyFileTest : public ProgressDialogTest {
 protected:
  ~CopyFileTest() override {
    TVrexCompress::Shared().SetAbort(false);
    SetUserAbortFlag(false);
  }
  TCopyFileForm* NewCopyForm() { return TCustomForm::Create<TCopyFileForm>(owner.get()); }

  // Parameter objects cannot be copied: the cases fill them in place.
  static void Fill(TFileStatusParameter& p, const char* name, int filePercent, int totalPercent) {
    p.FileName = name;
    p.FilePercent = filePercent;
    p.TotalPercent = totalPercent;
  }
  static void Fill(TDownloadStatusParameter& p, const char* name, int percent) {
    p.FileName = name;
    p.Percent = percent;
  }
};

TEST_F(CopyFileTest, FormHasTheLayoutAndIdsTheRunAndTranslatorUse) {
  AddInstaller(true);
  TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
  TCopyFileForm& form = *NewCopyForm();
  EXPECT_EQ(form.Caption(), "Copying installation files");
  EXPECT_EQ(form.ClientWidth(), 466);
  EXPECT_EQ(form.ClientHeight(), 119);
  EXPECT_EQ(form.Font()->Name(), "Arial");
  EXPECT_EQ(form.Font()->Height(), -11);
  EXPECT_EQ(form.BorderStyle(), bsDialog);
  EXPECT_TRUE(form.BorderIcons().Empty());
  // Its manager is the installer's dmDuringCopyFiles one.
  EXPECT_EQ(form.DM(), manager);

  struct Text {
    const char* name;
    const char* caption;
    int glid;
  };
  for (const Text& t :
       {Text{"lblCopyFileHeader", "Processing", 14}, Text{"lblCopyingFile", ".....", 0},
        Text{"lblFileProgress", "File progress", 15},
        Text{"lblTotalProgress", "Total progress", 16}}) {
    SCOPED_TRACE(t.name);
    auto& label = Control<TTranslateLabel>(form, t.name);
    EXPECT_EQ(label.Caption(), t.caption);
    EXPECT_EQ(label.GLID(), t.glid);
  }
  auto& cancel = Control<TTranslateBitBtn>(form, "CancelBtn");
  EXPECT_EQ(cancel.Caption(), "Cancel");
  EXPECT_EQ(cancel.GLID(), 6);
  EXPECT_EQ(cancel.BoundsRect(), (TRect{4, 21, 93, 46}));
  EXPECT_EQ(cancel.Parent()->Width(), 97);
  // A cancel must not close the modeless form by itself.
  EXPECT_EQ(cancel.ModalResult(), mrNone);

  for (const char* name : {"ProgressBar1", "ProgressBar2"}) {
    SCOPED_TRACE(name);
    auto& bar = Control<TProgressBar>(form, name);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Width(), 176);
    EXPECT_EQ(bar.Height(), 22);
  }
  // The two pictures at one place, the transfer picture hidden, each drawn
  // at its size.
  TImage& unzip = *form.UnZipImage();
  TImage& transfer = *form.TransferBitmap();
  EXPECT_EQ(unzip.Left(), transfer.Left());
  EXPECT_EQ(unzip.Top(), transfer.Top());
  EXPECT_TRUE(unzip.Visible());
  EXPECT_FALSE(transfer.Visible());
  EXPECT_EQ(unzip.Picture()->Width(), kExtractionPictureWidth);
  EXPECT_EQ(unzip.Picture()->Height(), kExtractionPictureHeight);
  EXPECT_EQ(transfer.Picture()->Width(), kTransferPictureWidth);
  EXPECT_EQ(transfer.Picture()->Height(), kTransferPictureHeight);
  form.Free();
}

TEST_F(CopyFileTest, FileThenDownloadThenFileStatusTogglesThePicturesAndKeepsTheTotal) {
  TCopyFileForm& form = *NewCopyForm();
  struct Step {
    const char* what;
    bool download;
    const char* name;
    int filePercent;
    int totalPercent;  // of a file status; what the total bar then shows
    bool transferShown;
  };
  const Step steps[] = {
      {"file status", false, "qdeng32.dll", 50, 40, false},
      {"download status", true, "files.2", 70, 40, true},  // the total keeps 40
      {"file status again", false, "qdecoll.dll", 10, 60, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.download) {
      TDownloadStatusParameter d;
      Fill(d, s.name, s.filePercent);
      form.UpdateStatus(nullptr, &d);
    } else {
      TFileStatusParameter f;
      Fill(f, s.name, s.filePercent, s.totalPercent);
      form.UpdateStatus(&f, nullptr);
    }
    EXPECT_EQ(form.TransferBitmap()->Visible(), s.transferShown);
    EXPECT_TRUE(form.UnZipImage()->Visible());
    EXPECT_EQ(form.FileBar()->Position(), s.filePercent);
    EXPECT_EQ(form.TotalBar()->Position(), s.totalPercent);
    EXPECT_EQ(form.CopyingFileLabel()->Caption(), s.name);
  }
  // Neither parameter: nothing changes.
  form.UpdateStatus(nullptr, nullptr);
  EXPECT_EQ(form.FileBar()->Position(), 10);
  EXPECT_EQ(form.CopyingFileLabel()->Caption(), "qdecoll.dll");
  form.Free();
}

TEST_F(CopyFileTest, CancelSetsTheFlagsOnlyWhenTheInstallerAgrees) {
  struct Case {
    const char* what;
    bool hasInstaller;
    bool agree;
    bool flagsSet;
    int asked;
  };
  const Case cases[] = {
      {"confirmed", true, true, true, 1},
      {"declined", true, false, false, 1},
      {"no installer", false, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    install = nullptr;
    userAbortAsked = 0;
    TVrexCompress::Shared().SetAbort(false);
    SetUserAbortFlag(false);
    if (c.hasInstaller) AddInstaller(c.agree);
    TCopyFileForm& form = *NewCopyForm();
    form.Show();
    Control<TTranslateBitBtn>(form, "CancelBtn").Click();
    EXPECT_EQ(userAbortAsked, c.asked);
    EXPECT_EQ(TVrexCompress::Shared().Abort(), c.flagsSet);
    EXPECT_EQ(UserAbortFlag(), c.flagsSet);
    // Either way the result is cancel, and the modeless form stays open.
    EXPECT_EQ(form.ModalResult(), mrCancel);
    EXPECT_TRUE(form.Visible());
    form.Free();
  }
}

TEST_F(CopyFileTest, UserAbortFlagIsEmptiedByAProcessStateReset) {
  SetUserAbortFlag(true);
  ASSERT_TRUE(UserAbortFlag());
  EXPECT_TRUE(ProcessState::IsRegistered("install.UserAbortFlag"));
  ProcessState::ResetAll();
  EXPECT_FALSE(UserAbortFlag());
}

TEST_F(CopyFileTest, ComponentRegistersItsFormWhileItLivesAndFindsItsManager) {
  AddInstaller(true);
  AddManager(dmBeforeInstall, "DialogManager");
  TDialogManager* copyManager = AddManager(dmDuringCopyFiles, "DialogManager3");
  const int before = DuringCopyForms().Count();

  auto* dlg = New<TCopyFileDlg>(owner.get(), "CopyFileDlg");
  EXPECT_EQ(dlg->DialogManager(), copyManager);
  ASSERT_EQ(DuringCopyForms().Count(), before + 1);
  const TFormRegistryEntry& entry = DuringCopyForms().Entry(before);
  EXPECT_EQ(entry.formClass, &TCopyFileForm::StaticMetaClass());
  EXPECT_EQ(entry.component, dlg);
  EXPECT_EQ(dlg->Height(), 146);
  EXPECT_EQ(dlg->Width(), 474);
  EXPECT_EQ(dlg->Position(), vdpBottomCenter);
  EXPECT_EQ(dlg->RelativeLeftOffset(), 0);
  EXPECT_EQ(dlg->RelativeTopOffset(), 30);

  // Loaded from a description that names no manager: Loaded finds it.
  TComponent::SetCreationState(TComponentState{csLoading, csReading});
  auto* loaded = new TCopyFileDlg(owner.get());
  EXPECT_EQ(loaded->DialogManager(), nullptr);
  loaded->Loaded();
  EXPECT_EQ(loaded->DialogManager(), copyManager);
  EXPECT_EQ(DuringCopyForms().Count(), before + 2);

  dlg->Free();
  loaded->Free();
  EXPECT_EQ(DuringCopyForms().Count(), before);
}

TEST_F(CopyFileTest, ManagerOpensPlacesFeedsAndClosesTheComponentsForm) {
  AddInstaller(true);
  TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
  auto* dlg = New<TCopyFileDlg>(owner.get(), "CopyFileDlg");

  TFileStatusParameter first;
  Fill(first, "qdeng32.dll", 100, 25);
  manager->HandleComponentCall(install, kCallFileStatus, &first);
  ASSERT_EQ(manager->DuringCopyFormCount(), 1);
  auto* form = static_cast<TCopyFileForm*>(manager->DuringCopyForms(0));
  EXPECT_EQ(dlg->Form(), form);
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->Modal());
  // Bottom centre of 800 x 600, 30 above the bottom less one caption.
  EXPECT_EQ(form->BoundsRect(), (TRect{163, 406, 163 + 474, 406 + 146}));
  EXPECT_EQ(form->TotalBar()->Position(), 25);

  TDownloadStatusParameter download;
  Fill(download, "files.2", 50);
  manager->HandleComponentCall(install, kCallDownloadStatus, &download);
  EXPECT_EQ(manager->DuringCopyFormCount(), 1);  // the same form, fed again
  EXPECT_TRUE(form->TransferBitmap()->Visible());
  EXPECT_EQ(form->FileBar()->Position(), 50);
  EXPECT_EQ(form->TotalBar()->Position(), 25);

  manager->HandleComponentCall(install, kCallCopyEnded, nullptr);
  EXPECT_EQ(manager->DuringCopyFormCount(), 0);
  EXPECT_EQ(dlg->Form(), nullptr);
}

TEST_F(CopyFileTest, ManagerShowsTheFormInTheMainTranslatorsLanguage) {
  // The run opens the form and translates it before the first update; the
  // file name the update writes stays as it is.
  AddInstaller(true);
  UseTranslator(vlChineseSimplified);
  TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
  New<TCopyFileDlg>(owner.get(), "CopyFileDlg");
  TFileStatusParameter status;
  Fill(status, "QDENG32.DLL", 40, 70);
  manager->HandleComponentCall(install, kCallFileStatus, &status);
  ASSERT_EQ(manager->DuringCopyFormCount(), 1);
  TCustomForm& form = *manager->DuringCopyForms(0);
  EXPECT_EQ(form.Caption(), "正在复制安装文件");
  const std::pair<const char*, const char*> texts[] = {{"lblCopyFileHeader", "正在处理"},
                                                       {"lblFileProgress", "文件进度"},
                                                       {"lblTotalProgress", "总进度"},
                                                       {"lblCopyingFile", "QDENG32.DLL"}};
  for (const auto& [name, text] : texts)
    EXPECT_EQ(Control<TLabel>(form, name).Caption(), text) << name;
  EXPECT_EQ(Control<TBitBtn>(form, "CancelBtn").Caption(), "取消");
  manager->HandleComponentCall(install, kCallCopyEnded, nullptr);
}

TEST_F(CopyFileTest, ManagerRefusesMissingOrWrongParameters) {
  AddInstaller(true);
  TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
  New<TCopyFileDlg>(owner.get(), "CopyFileDlg");
  TMessageParameter wrong("not a status");
  struct Case {
    const char* what;
    int call;
    TObject* po;
    const char* message;
  };
  const Case cases[] = {
      {"file status without parameter", kCallFileStatus, nullptr,
       "DialogManager3 got a nil PO parameter"},
      {"download status without parameter", kCallDownloadStatus, nullptr,
       "DialogManager3 got a nil PO parameter"},
      {"file status of another class", kCallFileStatus, &wrong,
       "The PO object passed to DialogManager3 is not a TFileStatusParameter object"},
      {"download status of another class", kCallDownloadStatus, &wrong,
       "The PO object passed to DialogManager3 is not a TDownloadStatusParameter object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      manager->HandleComponentCall(install, c.call, c.po);
      ADD_FAILURE() << "no exception";
    } catch (const IException& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    // No form was opened for the refused call.
    EXPECT_EQ(manager->DuringCopyFormCount(), 0);
  }
}

}  // namespace
