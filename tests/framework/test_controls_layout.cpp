// Align layout and auto-sizing: the wizard page layout read from a form
// description, the ordering rules of each alignment, re-layout on changes,
// and the fixed text metrics behind auto-sized labels.
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "support/Fixture.h"

namespace {

class LayoutTest : public PellmoreTest {
 protected:
  LayoutTest() { RegisterControls(ClassRegistry::Global()); }

  Owned<TForm> Read(const std::string& text) {
    Owned<TForm> form(new TForm(nullptr));
    ReadForm(*form, text, "layout.dfm");
    return form;
  }
  static TControl* Find(TComponent& root, const char* name) {
    auto* c = dynamic_cast<TControl*>(root.FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

std::string Text(const TRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) +
         "x" + std::to_string(r.Height());
}

// A wizard page: the theme picture's panel on the left, the button bar at
// the bottom, the content (with an 8-pixel inner border) filling the rest.
const char* const kWizardPage = R"(object Page: TForm
  BorderStyle = bsDialog
  ClientHeight = 368
  ClientWidth = 470
  Font.Height = -11
  Font.Name = 'Arial'
  object pnlLeft: TPanel
    Width = 136
    Align = alLeft
    BevelOuter = bvNone
    object ThemeBitmap: TImage
      Left = 10
      Top = 16
      Width = 117
      Height = 290
      Center = True
    end
  end
  object pnlBottom: TPanel
    Height = 45
    Align = alBottom
    BevelOuter = bvNone
    object Bevel1: TBevel
      Height = 2
      Align = alTop
      Shape = bsTopLine
    end
    object BackBtn: TButton
      Left = 208
      Top = 15
      Width = 75
      Height = 25
      Caption = '< Previous'
    end
    object ProceedBtn: TButton
      Left = 288
      Top = 15
      Width = 75
      Height = 25
      Caption = 'Next >'
      Default = True
    end
    object CancelBtn: TButton
      Left = 368
      Top = 15
      Width = 89
      Height = 25
      Caption = 'Cancel'
    end
  end
  object pnlContent: TPanel
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 8
    object lblAdvice: TLabel
      Top = 8
      Align = alTop
      Caption = 'It is strongly recommended that you exit all Windows programs before running this setup.'
      WordWrap = True
    end
    object lblNext: TLabel
      Top = 40
      Align = alTop
      Caption = 'Click Next to continue with the installation.'
      WordWrap = True
    end
  end
end
)";

TEST_F(LayoutTest, WizardPageLayout) {
  auto page = Read(kWizardPage);
  // bsDialog: 3-pixel edges and an 18-pixel caption around the client area.
  EXPECT_EQ(Text(page->ClientRect()), "0,0 470x368");
  EXPECT_EQ(page->Width(), 476);
  EXPECT_EQ(page->Height(), 392);
  const struct {
    const char* name;
    const char* bounds;
  } expected[] = {
      {"pnlLeft", "0,0 136x323"},
      {"pnlBottom", "0,323 470x45"},
      {"pnlContent", "136,0 334x323"},
      {"ThemeBitmap", "10,16 117x290"},  // not aligned: stays where placed
      {"Bevel1", "0,0 470x2"},
      {"BackBtn", "208,15 75x25"},
      {"CancelBtn", "368,15 89x25"},
      // 318 pixels hold 53 characters of 6 pixels: two lines of 14 pixels.
      {"lblAdvice", "8,8 318x28"},
      {"lblNext", "8,36 318x14"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(Text(Find(*page, e.name)->BoundsRect()), e.bounds);
  }
  auto* advice = static_cast<TLabel*>(Find(*page, "lblAdvice"));
  EXPECT_EQ(advice->DisplayLines(),
            (std::vector<std::string>{"It is strongly recommended that you exit all Windows",
                                      "programs before running this setup."}));

  // A larger window lays everything out again; the word-wrapped label
  // becomes one line.
  page->SetClientWidth(800);
  EXPECT_EQ(Text(Find(*page, "pnlContent")->BoundsRect()), "136,0 664x323");
  EXPECT_EQ(Text(advice->BoundsRect()), "8,8 648x14");
  EXPECT_EQ(Text(Find(*page, "lblNext")->BoundsRect()), "8,22 648x14");
}

struct Child {
  const char* name;
  TAlign align;
  TRect bounds;
  bool visible = true;
};
struct AlignCase {
  const char* what;
  int width, height;
  int borderWidth;
  TBevelCut outer, inner;
  std::vector<Child> children;
  std::vector<const char*> expected;  // bounds of the children, in order
};

TEST_F(LayoutTest, AlignmentRules) {
  const AlignCase cases[] = {
      {"alTop by Top, creation order on ties",
       200,
       100,
       0,
       bvNone,
       bvNone,
       {{"A", alTop, Bounds(0, 50, 10, 10)},
        {"B", alTop, Bounds(0, 10, 10, 20)},
        {"C", alTop, Bounds(0, 10, 10, 5)}},
       {"0,25 200x10", "0,0 200x20", "0,20 200x5"}},
      {"alBottom: the lowest bottom edge goes to the bottom",
       200,
       100,
       0,
       bvNone,
       bvNone,
       {{"A", alBottom, Bounds(0, 0, 10, 10)}, {"B", alBottom, Bounds(0, 80, 10, 10)}},
       {"0,80 200x10", "0,90 200x10"}},
      {"top, then bottom, left and right; client takes the rest",
       200,
       100,
       0,
       bvNone,
       bvNone,
       {{"L", alLeft, Bounds(0, 0, 30, 5)},
        {"R", alRight, Bounds(0, 0, 40, 5)},
        {"T", alTop, Bounds(0, 0, 5, 10)},
        {"Cl", alClient, Bounds(0, 0, 5, 5)},
        {"Bo", alBottom, Bounds(0, 0, 5, 15)}},
       {"0,10 30x75", "160,10 40x75", "0,0 200x10", "30,10 130x75", "0,85 200x15"}},
      {"hidden controls take no room",
       200,
       100,
       0,
       bvNone,
       bvNone,
       {{"T", alTop, Bounds(0, 0, 5, 10), false}, {"L", alLeft, Bounds(0, 0, 30, 5)}},
       {"0,0 5x10", "0,0 30x100"}},
      {"inside BorderWidth and both bevels",
       200,
       100,
       4,
       bvRaised,
       bvLowered,
       {{"Cl", alClient, Bounds(0, 0, 5, 5)}},
       {"6,6 188x88"}},
      {"no room left: a control keeps its own size",
       50,
       40,
       0,
       bvNone,
       bvNone,
       {{"T1", alTop, Bounds(0, 0, 5, 30)},
        {"T2", alTop, Bounds(0, 1, 5, 30)},
        {"Cl", alClient, Bounds(0, 0, 7, 20)}},
       {"0,0 50x30", "0,30 50x30", "0,60 50x20"}},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TPanel> parent(new TPanel(nullptr));
    parent->SetBounds(0, 0, c.width, c.height);
    parent->SetBorderWidth(c.borderWidth);
    parent->SetBevelOuter(c.outer);
    parent->SetBevelInner(c.inner);
    parent->SetBevelWidth(1);
    parent->DisableAlign();
    std::vector<TControl*> made;
    for (const Child& ch : c.children) {
      auto* p = new TPanel(parent.get());
      p->SetName(ch.name);
      p->SetBoundsRect(ch.bounds);
      p->SetAlign(ch.align);
      p->SetVisible(ch.visible);
      p->SetParent(parent.get());
      made.push_back(p);
    }
    parent->EnableAlign();
    for (size_t i = 0; i < made.size(); ++i) {
      SCOPED_TRACE(c.children[i].name);
      EXPECT_EQ(Text(made[i]->BoundsRect()), c.expected[i]);
    }
  }
}

TEST_F(LayoutTest, ChangesLayOutAgain) {
  Owned<TPanel> parent(new TPanel(nullptr));
  parent->SetBevelOuter(bvNone);
  parent->SetBounds(0, 0, 100, 100);
  auto add = [&](TAlign align, int top, int height) {
    auto* p = new TPanel(parent.get());
    p->SetBounds(0, top, 10, height);
    p->SetAlign(align);
    p->SetParent(parent.get());
    return p;
  };
  TPanel* a = add(alTop, 0, 10);
  TPanel* b = add(alTop, 10, 20);
  TPanel* client = add(alClient, 0, 0);
  EXPECT_EQ(Text(client->BoundsRect()), "0,30 100x70");

  a->SetVisible(false);  // b moves up
  EXPECT_EQ(Text(b->BoundsRect()), "0,0 100x20");
  a->SetVisible(true);
  b->SetTop(-5);  // moved above a: it is placed first now
  EXPECT_EQ(Text(b->BoundsRect()), "0,0 100x20");
  EXPECT_EQ(Text(a->BoundsRect()), "0,20 100x10");

  parent->SetBounds(0, 0, 60, 200);  // resizing the parent
  EXPECT_EQ(Text(client->BoundsRect()), "0,30 60x170");

  b->SetAlign(alLeft);  // a top bar turned sideways keeps its thickness
  EXPECT_EQ(Text(b->BoundsRect()), "0,10 20x190");
  EXPECT_EQ(Text(client->BoundsRect()), "20,10 40x190");

  b->Free();  // a destroyed child gives its room back
  EXPECT_EQ(Text(client->BoundsRect()), "0,10 60x190");
}

TEST_F(LayoutTest, AWrittenPageReadsBackTheSame) {
  auto page = Read(kWizardPage);
  const std::string written = WriteForm(*page);
  auto again = Read(written);
  EXPECT_EQ(WriteForm(*again), written);
  // Children stay inside their parents.
  EXPECT_EQ(Find(*again, "lblNext")->Parent(), Find(*again, "pnlContent"));
  EXPECT_EQ(Text(Find(*again, "lblAdvice")->BoundsRect()), "8,8 318x28");
  EXPECT_NE(written.find("    object ProceedBtn: TButton\n"), std::string::npos);
}

TEST_F(LayoutTest, NestedPanelsAlignInsideTheirParents) {
  auto form = Read(R"(object F: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  object Outer: TPanel
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 10
    object Inner: TPanel
      Align = alClient
      BevelOuter = bvRaised
      BevelWidth = 2
      object Strip: TPanel
        Height = 20
        Align = alBottom
      end
    end
  end
end
)");
  EXPECT_EQ(Text(Find(*form, "Outer")->BoundsRect()), "0,0 300x200");
  EXPECT_EQ(Text(Find(*form, "Inner")->BoundsRect()), "10,10 280x180");
  EXPECT_EQ(Text(Find(*form, "Strip")->BoundsRect()), "2,158 276x20");
}

TEST_F(LayoutTest, FormClientSizeHoldsWhateverTheBorderOrder) {
  for (const char* order : {"BorderStyle = bsDialog\n  ClientWidth = 470\n  ClientHeight = 368",
                            "ClientWidth = 470\n  ClientHeight = 368\n  BorderStyle = bsDialog"}) {
    SCOPED_TRACE(order);
    auto form = Read(std::string("object F: TForm\n  ") + order + "\nend\n");
    EXPECT_EQ(form->ClientWidth(), 470);
    EXPECT_EQ(form->ClientHeight(), 368);
  }
  // At run time a new border keeps the window's outer size.
  auto form = Read(
      "object F: TForm\n  BorderStyle = bsDialog\n  ClientWidth = 470\n  "
      "ClientHeight = 368\nend\n");
  form->SetBorderStyle(bsNone);
  EXPECT_EQ(Text(form->ClientRect()), "0,0 476x392");
}

TEST_F(LayoutTest, AutoSizedLabelsMeasureWithTheFixedMetrics) {
  struct Case {
    const char* what;
    const char* caption;
    int fontHeight;
    TAlignment alignment;
    const char* bounds;  // the label starts at 100,10 and 65 x 17
  } cases[] = {
      {"plain text, 6 pixels a character", "Hello", -11, taLeftJustify, "100,10 30x14"},
      {"accelerator marks are not shown", "&Next && go", -11, taLeftJustify, "100,10 54x14"},
      {"an empty label keeps one line", "", -11, taLeftJustify, "100,10 6x14"},
      {"right-justified keeps its right edge", "Hi", -11, taRightJustify, "153,10 12x14"},
      {"wide characters take the full em", "\xE5\xAE\x8B\xE4\xBD\x93", -12, taLeftJustify,
       "100,10 24x15"},
      {"a large font", "Quenby", -35, taLeftJustify, "100,10 108x44"},
      {"line breaks make lines", "one\r\ntwo\nthree", -11, taLeftJustify, "100,10 30x42"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TLabel> label(new TLabel(nullptr));
    label->SetBounds(100, 10, 65, 17);
    label->Font()->SetHeight(c.fontHeight);
    label->SetAlignment(c.alignment);
    label->SetCaption(std::string(c.caption) + "x");  // a change, then the value
    label->SetCaption(c.caption);
    if (std::string(c.caption).empty()) label->SetCaption("");
    EXPECT_EQ(Text(label->BoundsRect()), c.bounds);
  }
}

}  // namespace
