// The headless user with the richer controls: what the transcript shows of
// page controls, lists, trees, list views, memos and progress bars; picking
// from each; typing limits; pages embedded in a frame; modeless forms; and
// the paint records of images, bevels and shapes.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "support/Fixture.h"

namespace {

using platform::headless::EUIScriptError;
using platform::headless::HeadlessOptions;
using platform::headless::HeadlessWidgetset;

const char* const kViews = R"(object Views: TForm
  Caption = 'Select components'
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 300
    Height = 80
    object TypicalTab: TTabSheet
      Caption = 'Typical'
      object lblTypical: TLabel
        Caption = 'Most common options.'
      end
    end
    object CustomTab: TTabSheet
      Caption = 'Custom'
      object lblCustom: TLabel
        Caption = 'Choose the options.'
      end
    end
  end
  object Folders: TListBox
    Top = 90
    Items.Strings = (
      'Accessories'
      'Quenby')
  end
  object Style: TComboBox
    Top = 190
    Style = csDropDownList
    Items.Strings = (
      'Small'
      'Large')
  end
  object Groups: TTreeView
    Top = 220
  end
  object Drives: TListView
    Top = 320
    ViewStyle = vsReport
    Columns = <
      item
        Width = 50
      end
      item
        Caption = 'Space Required:'
        Width = 120
      end>
  end
  object Readme: TMemo
    Top = 480
    ReadOnly = True
    Lines.Strings = (
      'Read me'
      'first.')
  end
  object Name: TEdit
    Top = 580
    MaxLength = 5
  end
  object Bar: TProgressBar
    Top = 610
    Position = 40
  end
  object Yes: TRadioButton
    Top = 640
    Caption = 'Yes'
    Checked = True
  end
  object No: TRadioButton
    Top = 660
    Caption = 'No'
  end
end
)";

class HeadlessViewsTest : public PellmoreTest {
 protected:
  HeadlessViewsTest() { RegisterControls(ClassRegistry::Global()); }
  ~HeadlessViewsTest() override { InstallWidgetset(nullptr); }

  HeadlessWidgetset& Use(const std::string& script) {
    HeadlessOptions o;
    o.script = script;
    o.scriptName = "views.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    o.screen = TSize{800, 600};
    o.captionHeight = 18;
    auto ws = std::make_unique<HeadlessWidgetset>(std::move(o));
    HeadlessWidgetset& ref = *ws;
    InstallWidgetset(std::move(ws));
    return ref;
  }
  TForm* Views() {
    auto* form = new TForm(&Application());
    ReadForm(*form, kViews, "views.dfm");
    auto* tree = static_cast<TTreeView*>(form->FindComponent("Groups"));
    TTreeNode* root = tree->Items()->AddChild(nullptr, "Quenby Database Engine");
    tree->Items()->AddChild(root, "Drivers");
    tree->Items()->AddChild(root, "Links");
    auto* drives = static_cast<TListView*>(form->FindComponent("Drives"));
    TListItem* c = drives->Items()->Add();
    c->SetCaption("C");
    c->SubItems()->Add("1,234 bytes");
    return form;
  }
  std::string Control(const std::string& record, const std::string& name) {
    const size_t at = record.find("\"name\":\"" + name + "\"");
    if (at == std::string::npos) return "";
    const size_t begin = record.rfind('{', at);
    return record.substr(begin, record.find('}', at) - begin + 1);
  }

  std::vector<std::string> lines;
};

TEST_F(HeadlessViewsTest, TheTranscriptShowsWhatEachControlOffers) {
  Use("close\n");
  Views()->ShowModal();
  const std::string& form = lines.front();
  const struct {
    const char* name;
    const char* json;
  } expected[] = {
      {"Pages", R"({"class":"TPageControl","name":"Pages","tabs":["Typical","Custom"],"index":0})"},
      {"lblTypical", R"({"class":"TLabel","name":"lblTypical","text":"Most common options."})"},
      {"lblCustom", ""},  // on the hidden page
      {"Folders",
       R"({"class":"TListBox","name":"Folders","items":["Accessories","Quenby"],"index":-1})"},
      {"Style",
       R"({"class":"TComboBox","name":"Style","text":"","items":["Small","Large"],"index":-1})"},
      {"Groups", R"({"class":"TTreeView","name":"Groups","nodes":["Quenby Database Engine"]})"},
      {"Drives",
       R"({"class":"TListView","name":"Drives","columns":["","Space Required:"],"rows":[["C","1,234 bytes"]]})"},
      {"Readme",
       R"({"class":"TMemo","name":"Readme","lines":["Read me","first."],"readonly":true})"},
      {"Bar", R"({"class":"TProgressBar","name":"Bar","position":40,"min":0,"max":100})"},
      {"Yes", R"({"class":"TRadioButton","name":"Yes","text":"Yes","checked":true})"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(Control(form, e.name), e.json);
  }
  EXPECT_LT(form.find("\"Pages\""), form.find("\"lblTypical\""));  // depth first
  EXPECT_LT(form.find("\"Folders\""), form.find("\"Style\""));     // then by position
}

TEST_F(HeadlessViewsTest, PickingFromEveryKindOfList) {
  Use("pick Pages Custom\n"
      "pick Folders quenby\n"
      "pick Style 1\n"
      "pick Groups Links\n"
      "pick Drives C\n"
      "tick No\n"
      "type Name Quenby Engine\n"
      "close\n");
  TForm* form = Views();
  int pageChanges = 0;
  std::string selected;
  static_cast<TPageControl*>(form->FindComponent("Pages"))->OnChange = [&](TObject*) {
    ++pageChanges;
  };
  static_cast<TTreeView*>(form->FindComponent("Groups"))->OnChange = [&](TObject*, TTreeNode* n) {
    selected = n->Text();
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(static_cast<TPageControl*>(form->FindComponent("Pages"))->ActivePage()->Name(),
            "CustomTab");
  EXPECT_EQ(pageChanges, 1);
  EXPECT_EQ(static_cast<TListBox*>(form->FindComponent("Folders"))->ItemIndex(), 1);
  EXPECT_EQ(static_cast<TComboBox*>(form->FindComponent("Style"))->Text(), "Large");
  EXPECT_EQ(selected, "Links");
  EXPECT_NE(static_cast<TListView*>(form->FindComponent("Drives"))->Selected(), nullptr);
  EXPECT_TRUE(static_cast<TRadioButton*>(form->FindComponent("No"))->Checked());
  EXPECT_FALSE(static_cast<TRadioButton*>(form->FindComponent("Yes"))->Checked());
  EXPECT_EQ(static_cast<TEdit*>(form->FindComponent("Name"))->Text(), "Quenb");  // MaxLength
  // The custom page's label shows in the last record, the typical one not.
  std::string last;
  for (const std::string& l : lines)
    if (l.rfind("{\"event\":\"form\"", 0) == 0) last = l;
  EXPECT_NE(last.find("lblCustom"), std::string::npos);
  EXPECT_EQ(last.find("lblTypical"), std::string::npos);
}

TEST_F(HeadlessViewsTest, StepsTheControlsCannotTake) {
  const struct {
    const char* script;
    const char* message;
  } cases[] = {
      {"type Style Huge", "views.ui, line 1: control Style takes no typing"},
      {"type Readme x", "views.ui, line 1: edit Readme is read-only"},
      {"untick Yes", "views.ui, line 1: radio button Yes cannot be unticked"},
      {"tick Folders", "views.ui, line 1: control Folders is not a check box"},
      {"pick Groups Drivers", "views.ui, line 1: no visible control \"Groups\" on form Views"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Use(c.script);
    TForm* form = Views();
    if (std::string(c.script).find("Groups") != std::string::npos)
      static_cast<TControl*>(form->FindComponent("Groups"))->Hide();
    try {
      form->ShowModal();
      ADD_FAILURE() << "no error";
    } catch (const EUIScriptError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    form->Free();
  }
}

TEST_F(HeadlessViewsTest, PagesEmbeddedInAFrameAnswerForTheFrame) {
  Use("");
  // A frame with a page form inside, as wizard frames hold their pages: the
  // page's buttons act on the top-level form.
  TForm* frame = new TForm(&Application());
  frame->SetName("Frame");
  frame->SetCaption("Welcome");
  TForm* page = new TForm(frame);
  page->SetName("WelcomePage");
  page->SetBorderStyle(bsNone);
  page->SetParent(frame);
  page->SetAlign(alClient);
  auto* next = new TButton(page);
  next->SetName("ProceedBtn");
  next->SetParent(page);
  next->SetDefault(true);
  next->SetModalResult(mrOk);
  page->Show();
  EXPECT_FALSE(page->Active());  // a child form is not activated
  EXPECT_EQ(frame->ShowModal(), mrOk);
  EXPECT_EQ(lines[1],
            R"({"event":"press","form":"Frame","control":"ProceedBtn","text":"","by":"default"})");
  EXPECT_EQ(page->BoundsRect(), frame->ClientRect());
}

TEST_F(HeadlessViewsTest, ModelessFormsAreRecordedWhenShownAndActivatedLater) {
  Use("");
  TForm* progress = new TForm(&Application());
  progress->SetName("CopyProgress");
  int activations = 0;
  progress->OnActivate = [&](TObject*) { ++activations; };
  progress->Show();
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(R"("form":"CopyProgress","class":"TForm","caption":"","modal":false)"),
            std::string::npos);
  EXPECT_EQ(activations, 0);
  Application().ProcessMessages();
  EXPECT_EQ(activations, 1);
  EXPECT_TRUE(progress->Active());
  progress->Hide();
  EXPECT_FALSE(progress->Active());
  progress->Release();
  Application().ProcessMessages();
  EXPECT_EQ(Application().FindComponent("CopyProgress"), nullptr);
}

TEST_F(HeadlessViewsTest, TerminatingEndsModalLoopsWithCancel) {
  Use("press Stop\n");
  TForm* form = new TForm(&Application());
  auto* stop = new TButton(form);
  stop->SetName("Stop");
  stop->SetParent(form);
  stop->OnClick = [](TObject*) { Application().Terminate(); };
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(HeadlessViewsTest, PicturesBevelsAndShapesPaint) {
  HeadlessWidgetset& ws = Use("");
  Owned<TImage> image(new TImage(nullptr));
  image->SetBounds(0, 0, 40, 40);
  image->Picture()->Bitmap()->SetSize(10, 20);
  image->SetCenter(true);
  EXPECT_EQ(ws.Paint(*image).Dump(), "DrawPicture 15 10 25 30 bmp/694\n");
  image->SetStretch(true);
  EXPECT_EQ(ws.Paint(*image).Dump(), "DrawPicture 0 0 40 40 bmp/694\n");

  Owned<TBevel> bevel(new TBevel(nullptr));
  bevel->SetBounds(0, 0, 100, 2);
  bevel->SetShape(bsTopLine);
  EXPECT_EQ(ws.Paint(*bevel).Dump(),
            "MoveTo 0 0\nLineTo 100 0 pen=$80000010/1\nMoveTo 0 1\nLineTo 100 1 pen=$80000014/1\n");

  Owned<TShape> shape(new TShape(nullptr));
  shape->SetBounds(0, 0, 30, 20);
  shape->SetShape(stCircle);
  shape->Brush()->SetColor(clYellow);
  EXPECT_EQ(ws.Paint(*shape).Dump(), "Ellipse 5 0 25 20 pen=$00000000/1 brush=$0000FFFF\n");
}

}  // namespace
