// A UI script steering real windows: the scripted user clicks, types and
// answers through Windows (a message box over a modal dialog over the main
// form, each returning its answer), a handler that raises shows the error
// and the run goes on, and the transcript records what the windows showed.
// And a long loop that lets messages through, under the hourglass, keeps
// a Cancel button alive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "platform/win32/widgetset/Win32Widgetset.h"
#include "support/Fixture.h"

// Last: its macros collide with the framework's names.
#include <windows.h>
#undef MessageBox

namespace {

using platform::win32::Win32Widgetset;

const char* const kMain = R"(object Main: TForm
  Left = 20
  Top = 20
  Caption = 'Quenby Setup'
  ClientHeight = 120
  ClientWidth = 300
  object lblResult: TLabel
    Left = 8
    Top = 8
    Width = 280
    Height = 13
    AutoSize = False
    Caption = 'nothing yet'
  end
  object btnFail: TButton
    Left = 8
    Top = 80
    Width = 75
    Height = 25
    Caption = 'Fail'
  end
  object btnOpen: TButton
    Left = 100
    Top = 80
    Width = 75
    Height = 25
    Caption = 'Open...'
  end
end
)";

const char* const kDialog = R"(object Dlg: TForm
  Left = 60
  Top = 60
  BorderStyle = bsDialog
  Caption = 'Choose'
  ClientHeight = 100
  ClientWidth = 260
  object edPath: TEdit
    Left = 8
    Top = 8
    Width = 240
    Height = 21
    Text = 'C:\Quenby'
  end
  object btnAsk: TButton
    Left = 8
    Top = 64
    Width = 75
    Height = 25
    Caption = 'Ask'
  end
  object btnOK: TButton
    Left = 172
    Top = 64
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = mrOk
  end
end
)";

class Win32ScriptedTest : public PellmoreTest {
 protected:
  Win32ScriptedTest() { RegisterControls(ClassRegistry::Global()); }
  ~Win32ScriptedTest() override { InstallWidgetset(nullptr); }

  Win32Widgetset& Use(const std::string& script) {
    platform::headless::UserOptions user;
    user.script = script;
    user.scriptName = "steps.ui";
    user.transcript = [this](std::string_view line) { lines_.emplace_back(line); };
    user.errors = [this](std::string_view text) { errors_.emplace_back(text); };
    auto ws = std::make_unique<Win32Widgetset>(std::move(user));
    Win32Widgetset& ref = *ws;
    InstallWidgetset(std::move(ws));
    return ref;
  }
  static TForm* FormOf(const char* text, const char* name) {
    auto* form = new TForm(&Application());
    ReadForm(*form, text, name);
    return form;
  }
  // The transcript's events, each as "<event> <control or form>".
  std::vector<std::string> Events() const {
    std::vector<std::string> out;
    for (const std::string& l : lines_) {
      auto field = [&](const std::string& key) {
        const size_t at = l.find("\"" + key + "\":\"");
        if (at == std::string::npos) return std::string();
        const size_t from = at + key.size() + 4;
        return l.substr(from, l.find('"', from) - from);
      };
      std::string control = field("control");
      if (control.empty()) control = field("answer");
      out.push_back(field("event") + " " + (control.empty() ? field("form") : control));
    }
    return out;
  }

  std::vector<std::string> lines_;
  std::vector<std::string> errors_;
};

TEST_F(Win32ScriptedTest, AScriptSteersNestedModalLoopsThroughRealWindows) {
  Win32Widgetset& ws =
      Use("form Main\n"
          "press Fail\n"
          "press btnOpen\n"
          "form Choose\n"
          "press Ask\n"
          "answer No\n"
          "type edPath D:\\Other\n"
          "press OK\n");
  TForm* main = FormOf(kMain, "main.dfm");
  auto* result = static_cast<TLabel*>(main->FindComponent("lblResult"));
  static_cast<TButton*>(main->FindComponent("btnFail"))->OnClick = [](TObject*) {
    throw EInvalidOperation("Disk is full");
  };
  bool mainDisabledUnderBox = false;
  static_cast<TButton*>(main->FindComponent("btnOpen"))->OnClick = [&](TObject*) {
    TForm* dlg = FormOf(kDialog, "dialog.dfm");
    auto* path = static_cast<TEdit*>(dlg->FindComponent("edPath"));
    int answer = 0;
    static_cast<TButton*>(dlg->FindComponent("btnAsk"))->OnClick = [&](TObject*) {
      mainDisabledUnderBox = !IsWindowEnabled(static_cast<HWND>(Win32Widgetset::HandleOf(*main)));
      answer = Application().MessageBox("Keep the old files?", "Choose", MB_YESNO);
    };
    const TModalResult r = dlg->ShowModal();
    result->SetCaption(std::string(ModalResultName(r)) + " " + std::to_string(answer) + " " +
                       path->Text());
    dlg->Free();
  };

  main->Show();
  int rounds = 0;
  while (ws.HandleMessage(nullptr) && ++rounds < 10000) {
  }

  // Each loop returned its own answer; the typing reached the edit's
  // window and through it the model.
  EXPECT_EQ(result->Caption(), "mrOk " + std::to_string(IDNO) + " D:\\Other");
  EXPECT_TRUE(mainDisabledUnderBox);
  // The dialog is recorded again before OK: its edit shows the new text.
  const std::vector<std::string> expected = {
      "form Main",    "press btnFail", "error ",           "press btnOpen", "form Dlg",
      "press btnAsk", "message No",    "type edPath",      "form Dlg",      "press btnOK",
      "close Dlg",    "form Main",     "close-window Main"};
  EXPECT_EQ(Events(), expected);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find("Disk is full"), std::string::npos);
  // The records show what the windows showed: the edit's text before and
  // after typing, and the label after the dialog.
  EXPECT_NE(lines_[4].find("\"text\":\"C:\\\\Quenby\""), std::string::npos) << lines_[4];
  EXPECT_NE(lines_[8].find("\"text\":\"D:\\\\Other\""), std::string::npos) << lines_[8];
  EXPECT_NE(lines_[11].find("mrOk"), std::string::npos) << lines_[11];
  main->Free();
}

TEST_F(Win32ScriptedTest, ALongLoopThatLetsMessagesThroughKeepsCancelWorking) {
  Use("");
  TForm* form = FormOf(kDialog, "dialog.dfm");
  auto* cancel = static_cast<TButton*>(form->FindComponent("btnAsk"));
  bool cancelled = false;
  cancel->OnClick = [&](TObject*) { cancelled = true; };
  form->Show();
  Application().ProcessMessages();

  // A person's click: the mouse going down and up over the button, queued
  // while the loop works.
  HWND button = static_cast<HWND>(Win32Widgetset::HandleOf(*cancel));
  const LPARAM middle = MAKELPARAM(cancel->Width() / 2, cancel->Height() / 2);
  // Busy meanwhile: the hourglass, yet the button still answers.
  TBusyCursor busy;
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  int step = 0;
  for (; step < 2000 && !cancelled; ++step) {
    if (step == 10) {
      PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, middle);
      PostMessageW(button, WM_LBUTTONUP, 0, middle);
    }
    Sleep(1);  // the work
    Application().ProcessMessages();
  }
  EXPECT_TRUE(cancelled);
  EXPECT_LT(step, 20);
  form->Free();
}

// A label has no window, so the dialog manager cannot see its mnemonic:
// Alt and the marked letter must still reach the control it names.
TEST_F(Win32ScriptedTest, AltAndALabelsMarkedLetterFocusTheControlItNames) {
  Use("");
  TForm* form = FormOf(kDialog, "dialog.dfm");
  auto* path = static_cast<TEdit*>(form->FindComponent("edPath"));
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(8, 40, 100, 13);
  label->SetCaption("Install &to:");
  label->SetFocusControl(path);
  form->Show();
  HWND ok = static_cast<HWND>(
      Win32Widgetset::HandleOf(*static_cast<TControl*>(form->FindComponent("btnOK"))));
  SetFocus(ok);
  PostMessageW(ok, WM_SYSCHAR, L'T', 0);  // Alt+Shift+T: case does not matter
  Application().ProcessMessages();
  EXPECT_EQ(GetFocus(), static_cast<HWND>(Win32Widgetset::HandleOf(*path)));
  // A letter no label marks leaves the focus where it is.
  PostMessageW(GetFocus(), WM_SYSCHAR, L'q', 0);
  Application().ProcessMessages();
  EXPECT_EQ(GetFocus(), static_cast<HWND>(Win32Widgetset::HandleOf(*path)));
  form->Free();
}

}  // namespace
