// The headless widgetset answering modal forms and message boxes: from a
// UI script (press, type, pick, tick, answer) or with default buttons, the
// transcript lines of each, and scripts that do not fit what is shown.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"

namespace {

using platform::headless::EUIScriptError;
using platform::headless::HeadlessOptions;
using platform::headless::HeadlessWidgetset;

const char* const kDialog = R"(object Dlg: TForm
  BorderStyle = bsDialog
  Caption = 'Setup options'
  ClientHeight = 200
  ClientWidth = 300
  object lblPath: TLabel
    Left = 8
    Top = 8
    Caption = '&Path:'
  end
  object edPath: TEdit
    Left = 8
    Top = 24
    Width = 200
    Text = 'C:\Quenby'
  end
  object chkGroup: TCheckBox
    Left = 8
    Top = 56
    Caption = 'Create a program group'
  end
  object rgReboot: TRadioGroup
    Left = 8
    Top = 80
    Width = 280
    Height = 60
    Caption = 'Reboot'
    ItemIndex = 1
    Items.Strings = (
      'Yes, reboot now'
      'No, reboot later')
  end
  object btnOK: TButton
    Left = 128
    Top = 160
    Caption = 'OK'
    Default = True
    ModalResult = mrOk
  end
  object btnCancel: TButton
    Left = 208
    Top = 160
    Caption = 'Cancel'
    Cancel = True
    ModalResult = mrCancel
  end
end
)";

class HeadlessFormsTest : public PellmoreTest {
 protected:
  HeadlessFormsTest() { RegisterControls(ClassRegistry::Global()); }
  // The widgetset writes into `lines`: it goes before they do.
  ~HeadlessFormsTest() override { InstallWidgetset(nullptr); }

  HeadlessWidgetset& Use(const std::string& script, int maxAnswers = 1000) {
    HeadlessOptions o;
    o.script = script;
    o.scriptName = "test.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    o.screen = TSize{800, 600};
    o.captionHeight = 18;
    o.maxAnswersPerForm = maxAnswers;
    auto ws = std::make_unique<HeadlessWidgetset>(std::move(o));
    HeadlessWidgetset& ref = *ws;
    InstallWidgetset(std::move(ws));
    return ref;
  }
  TForm* Dialog() {
    auto* form = new TForm(&Application());
    ReadForm(*form, kDialog, "dialog.dfm");
    return form;
  }
  template <class T>
  static T* Get(TComponent& form, const char* name) {
    return static_cast<T*>(form.FindComponent(name));
  }
  // The transcript without the "form" records.
  std::vector<std::string> Actions() const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (l.rfind("{\"event\":\"form\"", 0) != 0) out.push_back(l);
    return out;
  }
  int FormRecords() const { return static_cast<int>(lines.size() - Actions().size()); }

  std::vector<std::string> lines;
};

TEST_F(HeadlessFormsTest, AScriptAnswersAModalForm) {
  HeadlessWidgetset& ws =
      Use("# set every input, then confirm\n"
          "form \"Setup options\"\n"
          "type edPath D:\\Quenby Engine\n"
          "tick \"Create a program group\"\n"
          "pick rgReboot \"yes, REBOOT now\"\n"
          "press btnOK\n");
  TForm* dlg = Dialog();
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(Get<TEdit>(*dlg, "edPath")->Text(), "D:\\Quenby Engine");
  EXPECT_TRUE(Get<TCheckBox>(*dlg, "chkGroup")->Checked());
  EXPECT_EQ(Get<TRadioGroup>(*dlg, "rgReboot")->ItemIndex(), 0);
  // The peer got what the user typed.
  EXPECT_EQ(HeadlessWidgetset::PeerOf(*Get<TEdit>(*dlg, "edPath"))->state["Text"],
            "D:\\Quenby Engine");
  (void)ws;

  EXPECT_EQ(
      lines.front(),
      R"({"event":"form","form":"Dlg","class":"TForm","caption":"Setup options","modal":true,)"
      R"("controls":[{"class":"TLabel","name":"lblPath","text":"&Path:"},)"
      R"({"class":"TEdit","name":"edPath","text":"C:\\Quenby"},)"
      R"({"class":"TCheckBox","name":"chkGroup","text":"Create a program group","checked":false},)"
      R"({"class":"TRadioGroup","name":"rgReboot","text":"Reboot","items":["Yes, reboot now","No, reboot later"],"index":1},)"
      R"({"class":"TButton","name":"btnOK","text":"OK","default":true},)"
      R"({"class":"TButton","name":"btnCancel","text":"Cancel","cancel":true}]})");
  EXPECT_EQ(
      Actions(),
      (std::vector<std::string>{
          R"({"event":"type","form":"Dlg","control":"edPath","text":"D:\\Quenby Engine","by":"script","line":3})",
          R"({"event":"tick","form":"Dlg","control":"chkGroup","text":"Create a program group","by":"script","line":4})",
          R"({"event":"pick","form":"Dlg","control":"rgReboot","item":"Yes, reboot now","index":0,"by":"script","line":5})",
          R"({"event":"press","form":"Dlg","control":"btnOK","text":"OK","by":"script","line":6})",
          R"({"event":"close","form":"Dlg","result":"mrOk"})"}));
  EXPECT_EQ(FormRecords(), 4);  // shown, then again after each change it saw
}

TEST_F(HeadlessFormsTest, WithoutAScriptTheDefaultButtonAnswers) {
  Use("");
  TForm* dlg = Dialog();
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(Actions(),
            (std::vector<std::string>{
                R"({"event":"press","form":"Dlg","control":"btnOK","text":"OK","by":"default"})",
                R"({"event":"close","form":"Dlg","result":"mrOk"})"}));

  // A disabled default button leaves the OK-result button; with neither,
  // the user closes the window.
  lines.clear();
  Get<TButton>(*dlg, "btnOK")->SetEnabled(false);
  Get<TButton>(*dlg, "btnCancel")->SetModalResult(mrYes);
  EXPECT_EQ(dlg->ShowModal(), mrYes);
  EXPECT_NE(Actions().front().find("\"control\":\"btnCancel\""), std::string::npos);
  lines.clear();
  Get<TButton>(*dlg, "btnCancel")->SetModalResult(mrNone);
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  EXPECT_EQ(Actions().front(), R"({"event":"close-window","form":"Dlg","by":"default"})");
}

TEST_F(HeadlessFormsTest, MessageBoxesTakeScriptedOrDefaultAnswers) {
  Use("answer Cancel\nanswer no\n");
  EXPECT_EQ(Application().MessageBox("Continue the installation?", "Setup", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(Application().MessageBox("Reboot now?", "Setup", MB_YESNO | MB_ICONQUESTION), IDNO);
  // The script is used up: default buttons from here on.
  EXPECT_EQ(Application().MessageBox("Retry?", "Setup", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(Application().MessageBox("Sure?", "Setup", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          R"({"event":"message","caption":"Setup","text":"Continue the installation?","buttons":["OK","Cancel"],"answer":"Cancel","by":"script","line":1})",
          R"({"event":"message","caption":"Setup","text":"Reboot now?","buttons":["Yes","No"],"answer":"No","by":"script","line":2})",
          R"({"event":"message","caption":"Setup","text":"Retry?","buttons":["Retry","Cancel"],"answer":"Retry","by":"default"})",
          R"({"event":"message","caption":"Setup","text":"Sure?","buttons":["Yes","No","Cancel"],"answer":"Cancel","by":"default"})"}));

  // An unexpected message box does not take a form's step.
  lines.clear();
  Use("press btnCancel\n");
  EXPECT_EQ(Application().MessageBox("Note", "Setup", MB_OK), IDOK);
  EXPECT_EQ(Dialog()->ShowModal(), mrCancel);
}

TEST_F(HeadlessFormsTest, TheInputBoxIsAnsweredLikeAnyForm) {
  Use("type Value \"My Programs\"\npress OK\npress Cancel\n");
  std::string folder = "Quenby";
  EXPECT_TRUE(InputQuery("New folder", "Folder name:", folder));
  EXPECT_EQ(folder, "My Programs");
  EXPECT_EQ(InputBox("New folder", "Folder name:", "kept"), "kept");
}

TEST_F(HeadlessFormsTest, ScriptsThatDoNotFitFailWithTheirLine) {
  const struct {
    const char* what;
    const char* script;
    const char* message;
  } cases[] = {
      {"unknown control", "press btnHelp",
       "test.ui, line 1: no visible control \"btnHelp\" on form Dlg"},
      {"another form expected", "form Welcome",
       "test.ui, line 1: expected form \"Welcome\", but form Dlg (\"Setup options\") is waiting"},
      {"a message answer for a form", "answer OK",
       "test.ui, line 1: a message box answer, but form Dlg (\"Setup options\") is waiting"},
      {"typing into a label", "type lblPath x", "test.ui, line 1: control lblPath takes no typing"},
      {"picking from a check box", "pick chkGroup 1",
       "test.ui, line 1: control chkGroup has no items to pick"},
      {"an item that is not there", "pick rgReboot Maybe",
       "test.ui, line 1: control rgReboot has no item \"Maybe\" (items: \"Yes, reboot now\", "
       "\"No, reboot later\")"},
      {"a disabled control", "\n\npress btnCancel",
       "test.ui, line 3: control btnCancel on form Dlg is disabled"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Use(c.script);
    TForm* dlg = Dialog();
    Get<TButton>(*dlg, "btnCancel")->SetEnabled(false);
    try {
      dlg->ShowModal();
      ADD_FAILURE() << "no error";
    } catch (const EUIScriptError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(dlg->Visible());
    EXPECT_FALSE(dlg->Modal());
    dlg->Free();
  }
}

TEST_F(HeadlessFormsTest, ScriptsThatDoNotParseNameTheLine) {
  const struct {
    const char* script;
    const char* message;
  } cases[] = {
      {"push OK", "s.ui, line 1: unknown command \"push\""},
      {"# comment\npress", "s.ui, line 2: press needs a control"},
      {"type edPath", "s.ui, line 1: type needs a text (\"\" for none)"},
      {"pick rg \"Yes", "s.ui, line 1: unterminated quoted text"},
      {"answer Maybe",
       "s.ui, line 1: unknown answer \"Maybe\" (OK, Cancel, Yes, No, Abort, Retry or Ignore)"},
      {"close now", "s.ui, line 1: unexpected text after the command"},
      {"await", "s.ui, line 1: await needs a control"},
      {"await Bar", "s.ui, line 1: await needs a value"},
      {"await Bar \"50", "s.ui, line 1: unterminated quoted text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    try {
      platform::headless::UiScript::Parse(c.script, "s.ui");
      ADD_FAILURE() << "parsed";
    } catch (const EUIScriptError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  const auto s =
      platform::headless::UiScript::Parse("type e \"say \"\"hi\"\"\"\r\npick l   a b  \n", "s.ui");
  EXPECT_EQ(s.Next()->value, "say \"hi\"");
  EXPECT_EQ(s.Remaining()[1].value, "a b");
}

TEST_F(HeadlessFormsTest, AFormThatNeverClosesEndsTheWaitAndUnusedStepsAreRecorded) {
  Use("", 5);
  TForm* dlg = Dialog();
  dlg->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
  EXPECT_THROW(dlg->ShowModal(), EUIScriptError);
  EXPECT_FALSE(dlg->Visible());
  dlg->Free();

  lines.clear();
  Use("press btnOK\nanswer Yes\n");
  EXPECT_EQ(Dialog()->ShowModal(), mrOk);
  InstallWidgetset(nullptr);
  EXPECT_EQ(lines.back(), R"({"event":"unused","line":2,"step":"answer Yes"})");
}

}  // namespace
