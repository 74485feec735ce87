// Modeless progress forms under the scripted user: a repaint records the
// form when what it shows changed, and `await` presses a button at the
// moment a bar or a label shows a value, while whatever else comes up in
// the meantime gets its default answer.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ControlsRegistration.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"
#include "support/ProgressScenario.h"

namespace {

using platform::headless::EUIScriptError;
using platform::headless::HeadlessOptions;
using platform::headless::HeadlessWidgetset;
namespace ps = progress_scenario;

std::string Field(const std::string& line, const std::string& key) {
  const std::string k = "\"" + key + "\":";
  const size_t at = line.find(k);
  if (at == std::string::npos) return {};
  size_t from = at + k.size();
  if (line[from] != '"') return line.substr(from, line.find_first_of(",}", from) - from);
  ++from;
  return line.substr(from, line.find('"', from) - from);
}

// "<event> <control, answer or form>" for each line.
std::vector<std::string> Events(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& l : lines) {
    std::string what = Field(l, "control");
    if (what.empty()) what = Field(l, "answer");
    if (what.empty()) what = Field(l, "form");
    out.push_back(Field(l, "event") + (what.empty() ? "" : " " + what));
  }
  return out;
}

// The bar's position in each record of the form Copying.
std::vector<int> BarPositions(const std::vector<std::string>& lines) {
  std::vector<int> out;
  for (const std::string& l : lines)
    if (Field(l, "event") == "form" && Field(l, "form") == "Copying")
      out.push_back(std::stoi(Field(l, "position")));
  return out;
}

std::vector<std::string> Repeat(const std::string& event, int n) {
  return std::vector<std::string>(static_cast<size_t>(n), event);
}

std::vector<std::string> Cat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class HeadlessAwaitTest : public PellmoreTest {
 protected:
  HeadlessAwaitTest() { RegisterControls(ClassRegistry::Global()); }
  ~HeadlessAwaitTest() override { InstallWidgetset(nullptr); }

  void Use(const std::string& script) {
    lines.clear();
    HeadlessOptions o;
    o.script = script;
    o.scriptName = "run.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    o.screen = TSize{640, 480};
    o.captionHeight = 18;
    InstallWidgetset(std::make_unique<HeadlessWidgetset>(std::move(o)));
  }
  // Ends the session: the steps never used are recorded.
  void End() { InstallWidgetset(nullptr); }

  std::vector<std::string> lines;
};

TEST_F(HeadlessAwaitTest, AwaitActsOnceAtTheMomentAndEverythingElseGetsItsDefault) {
  const std::string cancelYes = "await Bar 50\npress Cancel\nanswer Yes\n";
  const struct {
    const char* name;
    std::string script;
    ps::Options options;
    int presses, pressedAt, answer, lastPosition;
    std::vector<int> positions;
    std::vector<std::string> events;
  } cases[] = {
      {"a confirmed cancel at half way stops the loop there",
       cancelYes,
       {},
       1,
       50,
       IDYES,
       50,
       {0, 0, 10, 20, 30, 40, 50},
       Cat({Repeat("form Copying", 7), {"await Bar", "press btnCancel", "message Yes"}})},
      {"a declined cancel lets the loop run to the end",
       "await Bar 50\npress Cancel\nanswer No\n",
       {},
       1,
       50,
       IDNO,
       100,
       {0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100},
       Cat({Repeat("form Copying", 7),
            {"await Bar", "press btnCancel", "message No"},
            Repeat("form Copying", 5)})},
      {"a label's text, case and & marks ignored",
       "await lblFile \"&file 3.DAT\"\npress btnCancel\nanswer Yes\n",
       {},
       1,
       20,
       IDYES,
       20,
       {0, 0, 10, 20},
       Cat({Repeat("form Copying", 4), {"await lblFile", "press btnCancel", "message Yes"}})},
      {"a bar counting to 200 is awaited as a share of its range",
       cancelYes,
       {.max = 200, .step = 20},
       1,
       100,
       IDYES,
       100,
       {0, 0, 20, 40, 60, 80, 100},
       Cat({Repeat("form Copying", 7), {"await Bar", "press btnCancel", "message Yes"}})},
      {"a value never shown leaves the await and what follows unused",
       "await lblFile \"File 99.dat\"\npress Cancel\nanswer Yes\n",
       {},
       0,
       -1,
       0,
       100,
       {0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100},
       Cat({Repeat("form Copying", 12), Repeat("unused", 3)})},
      {"a message box and a modal form while waiting get their defaults",
       cancelYes,
       {.boxAt = 20, .modalAt = 30},
       1,
       50,
       IDYES,
       50,
       {0, 0, 10, 20, 30, 40, 50},
       Cat({Repeat("form Copying", 4),
            {"message OK", "form Copying", "form Question", "press btnOK", "close Question"},
            Repeat("form Copying", 2),
            {"await Bar", "press btnCancel", "message Yes"}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Use(c.script);
    const ps::Outcome out = ps::Run(c.options);
    End();
    EXPECT_EQ(out.presses, c.presses);
    EXPECT_EQ(out.pressedAt, c.pressedAt);
    EXPECT_EQ(out.answer, c.answer);
    EXPECT_EQ(out.lastPosition, c.lastPosition);
    EXPECT_EQ(BarPositions(lines), c.positions);
    EXPECT_EQ(Events(lines), c.events);
    // Only the defaults come from the user; script steps name their line.
    for (const std::string& l : lines) {
      const std::string by = Field(l, "by");
      if (by == "script") {
        EXPECT_NE(Field(l, "line"), "") << l;
      } else if (by == "default") {
        EXPECT_TRUE(Field(l, "event") == "message" ? Field(l, "answer") == "OK"
                                                   : Field(l, "control") == "btnOK")
            << l;
      }
    }
  }
  // One run's records in full.
  Use(cancelYes);
  ps::Run({});
  const auto at = std::find_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return Field(l, "event") == "await"; });
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*at, R"({"event":"await","form":"Copying","control":"Bar","value":"50","line":1})");
  EXPECT_EQ(
      at[1],
      R"({"event":"press","form":"Copying","control":"btnCancel","text":"&Cancel","by":"script","line":2})");
  EXPECT_EQ(
      at[2],
      R"({"event":"message","caption":"Setup","text":"Do you want to cancel the installation?","buttons":["Yes","No"],"answer":"Yes","by":"script","line":3})");
  EXPECT_NE(at[-1].find(R"({"class":"TLabel","name":"lblFile","text":"File 6.dat"},)"
                        R"({"class":"TProgressBar","name":"Bar","position":50,"min":0,"max":100})"),
            std::string::npos)
      << at[-1];
}

TEST_F(HeadlessAwaitTest, ABarAwaitedWithoutANumberIsAScriptError) {
  for (const char* value : {"half", "101", "-1"}) {
    SCOPED_TRACE(value);
    Use(std::string("await Bar ") + value + "\n");
    try {
      ps::Run({});
      ADD_FAILURE() << "no error";
    } catch (const EUIScriptError& e) {
      EXPECT_EQ(e.Message(), std::string("run.ui, line 1: progress bar Bar is awaited as a number "
                                         "from 0 to 100, not \"") +
                                 value + "\"");
    }
    End();
  }
}

TEST_F(HeadlessAwaitTest, RepaintsRecordShowingModelessFormsWhenTheyChanged) {
  Use("press Step\npress OK\n");
  auto* form = new TForm(&Application());
  form->SetName("Status");
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetName("lblText");
  label->SetCaption("Reading");

  label->Repaint();  // not shown yet
  EXPECT_TRUE(lines.empty());
  form->Show();
  label->Repaint();  // nothing changed since it was shown
  label->SetCaption("Reading file information");
  label->Repaint();
  form->Repaint();  // nothing changed since
  EXPECT_EQ(Events(lines), (std::vector<std::string>{"form Status", "form Status"}));
  EXPECT_NE(lines.back().find("\"text\":\"Reading file information\""), std::string::npos);
  form->Hide();
  label->SetCaption("Hidden");
  label->Repaint();
  EXPECT_EQ(lines.size(), 2u);

  // A modal form's repaints do not make modeless records: it is recorded
  // as modal when it is answered.
  lines.clear();
  auto* dlg = new TForm(&Application());
  dlg->SetName("Dlg");
  auto* text = new TLabel(dlg);
  text->SetParent(dlg);
  text->SetName("lblState");
  text->SetCaption("before");
  auto* step = new TButton(dlg);
  step->SetParent(dlg);
  step->SetName("Step");
  step->SetTop(20);
  step->OnClick = [&](TObject*) {
    text->SetCaption("after");
    text->Repaint();
  };
  auto* ok = new TButton(dlg);
  ok->SetParent(dlg);
  ok->SetName("OK");
  ok->SetTop(50);
  ok->SetModalResult(mrOk);
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(Events(lines), (std::vector<std::string>{"form Dlg", "press Step", "form Dlg",
                                                     "press OK", "close Dlg"}));
  for (const std::string& l : lines) {
    if (Field(l, "event") == "form") {
      EXPECT_EQ(Field(l, "modal"), "true") << l;
    }
  }
}

TEST_F(HeadlessAwaitTest, AnIdleRunLoopChecksTheAwaitAndNeverClosesFormsForIt) {
  const struct {
    const char* name;
    const char* script;
    int clicks;
    bool ended;  // the application ended (its main form closed)
    std::vector<std::string> events;
  } cases[] = {
      {"never met: the wait ends, the form stays open",
       "await Bar 80\npress Go\n",
       0,
       false,
       {"form Main", "stuck Main", "unused", "unused"}},
      {"met: the next step acts on the form",
       "await Bar 50\npress Go\nclose\n",
       1,
       true,
       {"form Main", "await Bar", "press Go", "form Main", "close-window Main"}},
  };
  // "never met" first: closing the main form ends the application.
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Use(c.script);
    TForm* main = Application().CreateForm<TForm>();
    main->SetName("Main");
    auto* bar = new TProgressBar(main);
    bar->SetParent(main);
    bar->SetName("Bar");
    bar->SetPosition(60);
    auto* go = new TButton(main);
    go->SetParent(main);
    go->SetName("Go");
    go->SetTop(30);
    int clicks = 0;
    go->OnClick = [&](TObject*) {
      ++clicks;
      bar->SetPosition(70);
    };
    Application().Run();
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(Application().Terminated(), c.ended);
    EXPECT_TRUE(c.ended || main->Showing());
    End();
    EXPECT_EQ(Events(lines), c.events);
    main->Free();
  }
}

}  // namespace
