// The change-disk form: the prompt for a disk number in English and in
// Chinese Simplified, Browse confirmed and cancelled, Cancel agreed and
// declined, and the form run by its dmChangeDisk manager with its unit
// pair linked with and without the component unit.
#include "dialogs/FormRegistries.h"
#include "dialogs/KitPictures.h"
#include "dialogs/frmdlg_ChangeDisk.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "i18n/cmp_TTranslateControls.h"
#include "install/ComponentCalls.h"
#include "test_progress_fixture.h"

namespace {

class ChangeDiskTest : public ProgressDialogTest {
 protected:
  ChangeDiskTest() {
    disk.DiskNumber = 3;
    disk.Path = "D:\\Setup\\Disk3";
  }
  TChangeDiskForm* NewDiskForm() {
    auto* form = TCustomForm::Create<TChangeDiskForm>(owner.get());
    form->SetDiskParameter(&disk);
    return form;
  }
  TDiskParameter disk;
};

TEST_F(ChangeDiskTest, AsksForDiskThreeInEnglishAndInChineseSimplified) {
  struct Case {
    const char* what;
    TVrexLanguage target;
    const char* caption;
    const char* prompt;
    const char* pathLabel;
    const char* proceed;
    const char* cancel;
  };
  const Case cases[] = {
      {"English", vlEnglish, "Setup needs the next disk", "Please insert disk number 3",
       "&Path:", "Proceed", "Cancel"},
      {"Chinese Simplified", vlChineseSimplified, "安装程序需要下一张磁盘", "请插入第 3 张磁盘",
       "路径(&P):", "继续", "取消"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    UseTranslator(c.target);
    TChangeDiskForm& form = *NewDiskForm();
    form.TranslateForm();
    EXPECT_EQ(form.ShowModal(), mrOk);  // Proceed is the default button
    EXPECT_EQ(form.Caption(), c.caption);
    EXPECT_EQ(form.PromptDiskLabel()->Caption(), c.prompt);
    EXPECT_EQ(Control<TLabel>(form, "Label4").Caption(), c.pathLabel);
    EXPECT_EQ(form.InstallBtn()->Caption(), c.proceed);
    EXPECT_EQ(Control<TBitBtn>(form, "CancelBtn").Caption(), c.cancel);
    EXPECT_EQ(form.PathEdit()->Text(), "D:\\Setup\\Disk3");
    EXPECT_EQ(form.ActiveControl(), form.InstallBtn());
    // The layout the prompt and buttons live in.
    EXPECT_EQ(form.ClientWidth(), 413);
    EXPECT_EQ(form.ClientHeight(), 178);
    EXPECT_EQ(form.Position(), poScreenCenter);
    EXPECT_TRUE(form.PathEdit()->ReadOnly());
    EXPECT_EQ(form.ThemeImage()->Picture()->Height(), kDiskPictureHeight);
    // The request itself is unchanged by showing it.
    EXPECT_EQ(disk.Path, "D:\\Setup\\Disk3");
    form.Free();
  }
}

TEST_F(ChangeDiskTest, BrowseChangesThePathOnlyWhenConfirmedAndAlwaysRewritesTheEdit) {
  struct Case {
    const char* what;
    const char* script;
    const char* path;  // the parameter's path afterwards
  };
  const Case cases[] = {
      {"cancelled", "press Cancel\n", "D:\\Setup\\Disk3"},
      {"confirmed", "type Value E:\\Elsewhere\npress OK\n", "E:\\Elsewhere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UseScript(c.script);
    disk.Path = "D:\\Setup\\Disk3";
    TChangeDiskForm& form = *NewDiskForm();
    form.PathEdit()->SetText("stale text");
    form.BrowseBtnClick(nullptr);
    EXPECT_EQ(disk.Path, c.path);
    EXPECT_EQ(form.PathEdit()->Text(), c.path);
    form.Free();
  }
}

TEST_F(ChangeDiskTest, CancelClosesOnlyWhenTheInstallerAgrees) {
  struct Case {
    const char* what;
    bool hasInstaller;
    bool agree;
    TModalResult result;
    int asked;
  };
  const Case cases[] = {
      {"agreed", true, true, mrCancel, 1},
      {"declined", true, false, mrNone, 1},
      {"no installer", false, false, mrCancel, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    install = nullptr;
    userAbortAsked = 0;
    if (c.hasInstaller) AddInstaller(c.agree);
    TChangeDiskForm& form = *NewDiskForm();
    Control<TBitBtn>(form, "CancelBtn").Click();
    EXPECT_EQ(form.ModalResult(), c.result);
    EXPECT_EQ(userAbortAsked, c.asked);
    form.Free();
  }
}

TEST_F(ChangeDiskTest, ManagerShowsTheFormOnlyWhenTheComponentUnitIsNotLinked) {
  struct Case {
    const char* what;
    bool componentUnitLinked;
    int64_t tag;  // the file's tag afterwards: 1 when the form answered
    int forms;    // change-disk registry entries
  };
  const Case cases[] = {
      {"form unit alone", false, 1, 1},
      {"with its component unit", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    ChangeDiskForms().Clear();
    DuringCopyForms().Clear();
    StartDialogUnits(c.componentUnitLinked);
    EXPECT_EQ(ChangeDiskForms().Count(), c.forms);
    EXPECT_EQ(DuringCopyForms().Count(), c.forms);
    AddInstaller(true);
    TDialogManager* manager = AddManager(dmChangeDisk, "DialogManager4");
    auto* file = New<dialogtest::TTestFile>(owner.get(), "File1");
    TParameterList list{file, &disk};
    manager->HandleComponentCall(install, kCallChangeDisk, &list);
    EXPECT_EQ(file->Tag(), c.tag);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }
}

}  // namespace
