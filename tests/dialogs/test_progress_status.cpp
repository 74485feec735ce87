// The status window: its stack of texts (each shown translated from
// English), the width and place it takes for a text, popping more than
// was pushed, and the parameter errors of its component calls.
#include "dialogs/DialogErrors.h"
#include "dialogs/KitPictures.h"
#include "dialogs/dlgcmp_TInstallStatus.h"
#include "dialogs/frmdlg_InstallStatus.h"
#include "framework/ExtCtrls.h"
#include "framework/MathUtils.h"
#include "framework/StdCtrls.h"
#include "install/ComponentCalls.h"
#include "test_progress_fixture.h"

namespace {

class InstallStatusTest : public ProgressDialogTest {
 protected:
  TInstallStatusDlg& NewStatus() {
    auto* dlg = New<TInstallStatusDlg>(owner.get(), "StatusDlg");
    dlg->SetContainer(install);
    return *dlg;
  }
  static void Push(TInstallStatusDlg& dlg, const std::string& text) {
    TMessageParameter p(text);
    dlg.HandleComponentCall(nullptr, kCallShowStatus, &p);
  }
  static void Pop(TInstallStatusDlg& dlg) {
    dlg.HandleComponentCall(nullptr, kCallHideStatus, nullptr);
  }

  // The window's geometry for its text: width = text width + 80, centred
  // across the screen (halves to even), label centred in the height.
  static void ExpectFitted(const TInstallStatusForm& form) {
    const TLabel& label = *form.MessageLabel();
    const int width = form.Canvas()->TextWidth(label.Caption()) + 80;
    EXPECT_EQ(form.Width(), width);
    EXPECT_EQ(form.Left(), Round(800 / 2.0 - width / 2.0));
    EXPECT_EQ(label.Top(), Round(form.ClientHeight() / 2.0 - label.Height() / 2.0));
    EXPECT_EQ(label.Align(), alNone);
    EXPECT_FALSE(label.WordWrap());
  }
};

TEST_F(InstallStatusTest, TwoPushedOnePoppedShowsTheFirstTranslatedFromEnglishAgain) {
  AddInstaller(true);
  UseTranslator(vlChineseSimplified);
  TInstallStatusDlg& dlg = NewStatus();

  Push(dlg, "Reading file information...");
  TInstallStatusForm* form = dlg.StatusForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->MessageLabel()->Caption(), "正在读取文件信息...");
  EXPECT_EQ(form->ClientHeight(), 58);
  EXPECT_EQ(form->BorderStyle(), bsNone);
  EXPECT_EQ(form->Icon()->Picture()->Width(), kStatusIconSide);
  ExpectFitted(*form);
  const int top = form->Top();

  Push(dlg, "Logging onto remote server");
  EXPECT_EQ(form->MessageLabel()->Caption(), "正在登录远程服务器");
  ExpectFitted(*form);

  Pop(dlg);
  EXPECT_EQ(dlg.Texts(), std::vector<std::string>{"Reading file information..."});
  EXPECT_EQ(dlg.CurrentText(), "Reading file information...");
  // Translated again from the English text, not from the Chinese one.
  EXPECT_EQ(form->MessageLabel()->Caption(), "正在读取文件信息...");
  EXPECT_EQ(dlg.FormLanguage(), vlEnglish);
  ExpectFitted(*form);
  EXPECT_TRUE(form->Visible());
  // Only width and left follow the text.
  EXPECT_EQ(form->Top(), top);
  EXPECT_EQ(dlg.StatusForm(), form);
}

TEST_F(InstallStatusTest, PoppingMoreThanWasPushedHidesTheWindowAndRaisesNothing) {
  TInstallStatusDlg& fresh = NewStatus();
  EXPECT_NO_THROW(Pop(fresh));  // no window yet: none is made
  EXPECT_EQ(fresh.StatusForm(), nullptr);

  Push(fresh, "Reading file information...");
  TInstallStatusForm* form = fresh.StatusForm();
  ASSERT_NE(form, nullptr);
  for (int pops = 1; pops <= 3; ++pops) {
    SCOPED_TRACE(pops);
    EXPECT_NO_THROW(Pop(fresh));
    EXPECT_TRUE(fresh.Texts().empty());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(fresh.StatusForm(), form);  // hidden, not destroyed
  }
  // The next text shows the same window again.
  Push(fresh, "Logging onto remote server");
  EXPECT_EQ(fresh.StatusForm(), form);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->MessageLabel()->Caption(), "Logging onto remote server");
}

TEST_F(InstallStatusTest, TextWiderThanTheScreenGivesANegativeLeft) {
  TInstallStatusDlg& dlg = NewStatus();
  const std::string text(300, 'W');
  Push(dlg, text);
  TInstallStatusForm& form = *dlg.StatusForm();
  EXPECT_GT(form.Width(), 800);
  EXPECT_LT(form.Left(), 0);
  ExpectFitted(form);
  EXPECT_EQ(form.MessageLabel()->Caption(), text);
}

TEST_F(InstallStatusTest, ComponentCallsWithoutAMessageParameterAreRefused) {
  TInstallStatusDlg& dlg = NewStatus();
  Push(dlg, "Reading file information...");
  TDiskParameter disk;
  struct Case {
    const char* what;
    TObject* po;
    const char* message;
  };
  const Case cases[] = {
      {"no parameter", nullptr, "StatusDlg got a nil PO parameter"},
      {"another class", &disk,
       "The PO object passed to StatusDlg is not a TMessageParameter object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      dlg.HandleComponentCall(nullptr, kCallShowStatus, c.po);
      ADD_FAILURE() << "no exception";
    } catch (const IEInstallStatusDlg& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    // The stack and the text shown stay as they were.
    EXPECT_EQ(dlg.Texts(), std::vector<std::string>{"Reading file information..."});
    EXPECT_EQ(dlg.StatusForm()->MessageLabel()->Caption(), "Reading file information...");
  }
  // Calls of other codes are not the status window's.
  TFileStatusParameter status;
  dlg.HandleComponentCall(nullptr, kCallFileStatus, &status);
  dlg.HandleComponentCall(nullptr, kCallCopyEnded, nullptr);
  EXPECT_EQ(dlg.Texts().size(), 1u);
  EXPECT_TRUE(dlg.StatusForm()->Visible());
}

}  // namespace
