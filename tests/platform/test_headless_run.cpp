// The application's run loop over the headless widgetset: the main form's
// first activation, modal dialogs inside it, an idle main form closed by
// the user, exceptions from event handlers handed to OnException, the
// default error display, and the recording canvas.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"

namespace {

using platform::headless::HeadlessOptions;
using platform::headless::HeadlessWidgetset;

class HeadlessRunTest : public PellmoreTest {
 protected:
  HeadlessRunTest() { RegisterControls(ClassRegistry::Global()); }
  ~HeadlessRunTest() override { InstallWidgetset(nullptr); }

  HeadlessWidgetset& Use(const std::string& script) {
    HeadlessOptions o;
    o.script = script;
    o.scriptName = "run.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    o.errors = [this](std::string_view text) { errors.emplace_back(text); };
    o.screen = TSize{640, 480};
    o.captionHeight = 18;
    auto ws = std::make_unique<HeadlessWidgetset>(std::move(o));
    HeadlessWidgetset& ref = *ws;
    InstallWidgetset(std::move(ws));
    return ref;
  }
  // The "event" of each transcript line, with the form it names.
  std::vector<std::string> Events() const {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
      auto field = [&](const char* key) {
        const std::string k = std::string("\"") + key + "\":\"";
        const size_t at = l.find(k);
        if (at == std::string::npos) return std::string();
        const size_t from = at + k.size();
        return l.substr(from, l.find('"', from) - from);
      };
      out.push_back(field("event") + " " + field("form"));
    }
    return out;
  }

  std::vector<std::string> lines;
  std::vector<std::string> errors;
};

TEST_F(HeadlessRunTest, TheFirstActivationStartsTheWorkAndClosingTheMainFormEndsTheRun) {
  Use("");
  TForm* main = Application().CreateForm<TForm>();
  main->SetName("Main");
  main->SetCaption("Quenby Database Engine setup");
  TForm* dialog = new TForm(&Application());
  dialog->SetName("Question");
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetName("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);

  int activations = 0;
  TModalResult answered = mrNone;
  main->OnActivate = [&](TObject*) {
    if (++activations == 1) answered = dialog->ShowModal();  // the work runs here
  };
  Application().Run();
  EXPECT_EQ(answered, mrOk);
  // Activated first by the run loop, then again after the dialog closed.
  EXPECT_EQ(activations, 2);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(Events(), (std::vector<std::string>{"form Main", "form Question", "press Question",
                                                "close Question", "close-window Main"}));
}

TEST_F(HeadlessRunTest, ScriptStepsActOnAnIdleMainForm) {
  Use("press Go\nclose\n");
  TForm* main = Application().CreateForm<TForm>();
  main->SetName("Main");
  auto* go = new TButton(main);
  go->SetParent(main);
  go->SetName("Go");
  int clicks = 0;
  go->OnClick = [&](TObject*) { ++clicks; };
  Application().Run();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Events(), (std::vector<std::string>{"form Main", "press Main", "close-window Main"}));
  EXPECT_NE(lines.back().find("\"by\":\"script\""), std::string::npos);
}

TEST_F(HeadlessRunTest, HandlerExceptionsReachOnExceptionAndTheRunGoesOn) {
  Use("press Apply\npress OK\n");
  TForm* dialog = Application().CreateForm<TForm>();
  dialog->SetName("Options");
  auto* apply = new TButton(dialog);
  apply->SetParent(dialog);
  apply->SetName("Apply");
  apply->SetTop(10);
  apply->OnClick = [](TObject*) { throw Exception("Cannot write the configuration"); };
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetName("OK");
  ok->SetTop(40);
  ok->SetModalResult(mrOk);

  std::vector<std::string> handled;
  Application().OnException = [&](TObject* sender, Exception& e) {
    handled.push_back(static_cast<TComponent*>(sender)->Name() + ": " + e.Message());
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(handled, (std::vector<std::string>{"Apply: Cannot write the configuration"}));

  // Without a handler the default display shows it: standard error and
  // the transcript.
  Application().OnException = nullptr;
  Application().SetTitle("Setup");
  apply->WidgetClick();
  EXPECT_EQ(errors, (std::vector<std::string>{"Setup: Cannot write the configuration"}));
  EXPECT_EQ(lines.back(),
            R"({"event":"error","title":"Setup","message":"Cannot write the configuration"})");
}

TEST_F(HeadlessRunTest, PaintingIsRecordedCallByCall) {
  HeadlessWidgetset& ws = Use("");
  Owned<TPanel> panel(new TPanel(nullptr));
  panel->SetBounds(0, 0, 100, 40);
  panel->SetCaption("Hi");
  EXPECT_EQ(ws.Paint(*panel).Dump(),
            "MoveTo 0 39\n"
            "LineTo 0 0 pen=$80000014/1\n"
            "LineTo 99 0 pen=$80000014/1\n"
            "LineTo 99 39 pen=$80000010/1\n"
            "LineTo -1 39 pen=$80000010/1\n"
            "FillRect 1 1 99 39 brush=$8000000F\n"
            "TextOut 44 13 \"Hi\" font=\"MS Sans Serif\"/-11/$80000008 brush=clear\n");

  // A label drawing rotated, bold text on a clear background.
  Owned<TLabel> label(new TLabel(nullptr));
  label->SetTransparent(true);
  label->Font()->SetName("Arial");
  label->Font()->SetStyle({fsBold});
  label->Font()->SetEscapement(900);
  label->SetCaption("Quenby");
  EXPECT_EQ(ws.Paint(*label).Dump(),
            "TextOut 0 0 \"Quenby\" font=\"Arial\"/-11/$80000008/b/esc=900 brush=clear\n");
  // The character '&' marks is drawn again, underlined, where it stands
  // (here on the second line of a wrapped caption); "&&" is one '&' and
  // marks nothing, and without ShowAccelChar nothing is marked.
  Owned<TLabel> mnemonic(new TLabel(nullptr));
  mnemonic->SetTransparent(true);
  mnemonic->SetAutoSize(false);
  mnemonic->SetWordWrap(true);
  mnemonic->SetBounds(0, 0, 70, 40);
  mnemonic->SetCaption("R&&D folder &path:");
  EXPECT_EQ(ws.Paint(*mnemonic).Dump(),
            "TextOut 0 0 \"R&D folder\" font=\"MS Sans Serif\"/-11/$80000008 brush=clear\n"
            "TextOut 0 14 \"path:\" font=\"MS Sans Serif\"/-11/$80000008 brush=clear\n"
            "TextOut 0 14 \"p\" font=\"MS Sans Serif\"/-11/$80000008/u brush=clear\n");
  mnemonic->SetShowAccelChar(false);
  EXPECT_EQ(ws.Paint(*mnemonic).Dump().find("/u"), std::string::npos);
}

}  // namespace
