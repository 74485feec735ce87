// The control model's behaviour: what reaches a widgetset (only with a
// peer; all stored state when a peer is created), parent fonts and
// colours, and the classic rules of check boxes, radio groups, lists,
// progress bars, page controls, memos, bit buttons and tree views.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/TreeView.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "support/Fixture.h"

namespace {

// Records every call of the control family as "Name.Call value".
struct Calls {
  std::vector<std::string> log;
};

template <class Family>
class Recording : public Family {
 public:
  explicit Recording(Calls& calls) : calls_(calls) {}
  std::unique_ptr<platform::Peer> CreatePeer(TControl& c) override {
    Add(c, "CreatePeer", "");
    return std::make_unique<platform::Peer>();
  }
  void DestroyPeer(TControl& c) override { Add(c, "DestroyPeer", ""); }
  void SetBounds(TControl& c, const TRect& r) override {
    Add(c, "SetBounds", std::to_string(r.left) + "," + std::to_string(r.top));
  }
  void SetVisible(TControl& c, bool v) override { Add(c, "SetVisible", v ? "1" : "0"); }
  void SetEnabled(TControl& c, bool v) override { Add(c, "SetEnabled", v ? "1" : "0"); }
  void SetText(TControl& c, const std::string& t) override { Add(c, "SetText", t); }
  void SetFont(TControl& c, const TFontData& f) override { Add(c, "SetFont", f.name); }
  void SetColor(TControl& c, TColor) override { Add(c, "SetColor", ""); }

 private:
  void Add(TControl& c, const char* call, const std::string& v) {
    calls_.log.push_back(c.Name() + "." + call + (v.empty() ? "" : " " + v));
  }
  Calls& calls_;
};

class RecordingWidgetset : public platform::Widgetset {
 public:
  explicit RecordingWidgetset(Calls& calls) : controls_(calls), forms_(calls) {}
  platform::WSControl& Controls() override { return controls_; }
  platform::WSForm& Forms() override { return forms_; }

 private:
  Recording<platform::WSControl> controls_;
  Recording<platform::WSForm> forms_;
};

class ControlsTest : public PellmoreTest {
 protected:
  ControlsTest() { RegisterControls(ClassRegistry::Global()); }
  Owned<TForm> Read(const std::string& text) {
    Owned<TForm> form(new TForm(nullptr));
    ReadForm(*form, text, "controls.dfm");
    return form;
  }
};

TEST_F(ControlsTest, PushesReachOnlyAPeerAndANewPeerGetsEverything) {
  Calls calls;
  InstallWidgetset(std::make_unique<RecordingWidgetset>(calls));
  Owned<TPanel> top(new TPanel(nullptr));  // no parent, not a form: never a peer
  top->SetName("Top");
  auto* child = new TPanel(top.get());
  child->SetName("Child");
  child->SetParent(top.get());
  child->SetCaption("before");
  top->CreatePeer();
  EXPECT_TRUE(calls.log.empty());
  EXPECT_FALSE(child->HasPeer());

  // A form has peers once shown; its children get theirs with it, each
  // receiving its whole state.
  Owned<TForm> form(new TForm(nullptr));
  form->SetName("Form");
  child->SetParent(form.get());
  form->Show();
  ASSERT_TRUE(child->HasPeer());
  std::vector<std::string> childCalls;
  for (const std::string& s : calls.log)
    if (s.rfind("Child.", 0) == 0) childCalls.push_back(s);
  EXPECT_EQ(childCalls, (std::vector<std::string>{"Child.CreatePeer", "Child.SetBounds 0,0",
                                                  "Child.SetText before",
                                                  "Child.SetFont MS Sans Serif", "Child.SetColor",
                                                  "Child.SetEnabled 1", "Child.SetVisible 1"}));

  calls.log.clear();
  child->SetCaption("after");
  child->SetCaption("after");  // no change, no push
  EXPECT_EQ(calls.log, (std::vector<std::string>{"Child.SetText after"}));

  // Moving the control out drops its peer; replacing the widgetset drops
  // every peer with the old one.
  calls.log.clear();
  child->SetParent(top.get());
  EXPECT_EQ(calls.log, (std::vector<std::string>{"Child.DestroyPeer"}));
  calls.log.clear();
  InstallWidgetset(nullptr);
  EXPECT_EQ(calls.log, (std::vector<std::string>{"Form.DestroyPeer"}));
  EXPECT_FALSE(form->HasPeer());
}

TEST_F(ControlsTest, ShownFormsArePlacedAndMaximizedOnTheScreen) {
  // The null widgetset's screen: 800 x 600, 18-pixel captions.
  Owned<TForm> form(new TForm(nullptr));
  form->SetBounds(10, 10, 300, 200);
  form->SetPosition(poScreenCenter);
  form->Show();
  EXPECT_EQ(form->BoundsRect(), Bounds(250, 200, 300, 200));
  // Maximized, the sizeable frame lies just outside the screen.
  form->SetWindowState(wsMaximized);
  EXPECT_EQ(form->BoundsRect(), Bounds(-4, -4, 808, 608));
  EXPECT_EQ(form->ClientWidth(), 800);
  EXPECT_EQ(form->ClientHeight(), 582);  // the screen less the caption
  form->SetWindowState(wsNormal);
  EXPECT_EQ(form->BoundsRect(), Bounds(250, 200, 300, 200));
}

TEST_F(ControlsTest, ParentFontAndColorFollowTheParentUntilSetOwnValues) {
  auto form = Read(R"(object F: TForm
  Color = clYellow
  Font.Name = 'Arial'
  Font.Charset = GB2312_CHARSET
  object Plain: TPanel
    ParentColor = True
  end
  object Own: TPanel
    Font.Name = 'Courier'
    Font.Style = [fsBold, fsItalic]
  end
end
)");
  auto* plain = static_cast<TPanel*>(form->FindComponent("Plain"));
  auto* own = static_cast<TPanel*>(form->FindComponent("Own"));
  EXPECT_EQ(plain->Font()->Name(), "Arial");
  EXPECT_EQ(plain->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(plain->Color(), clYellow);
  EXPECT_TRUE(plain->ParentFont());
  EXPECT_FALSE(own->ParentFont());
  EXPECT_EQ(own->Font()->Name(), "Courier");
  EXPECT_EQ(own->Font()->Style(), (TFontStyles{fsBold, fsItalic}));

  form->Font()->SetHeight(-16);
  form->SetColor(clWhite);
  EXPECT_EQ(plain->Font()->Height(), -16);
  EXPECT_EQ(plain->Color(), clWhite);
  EXPECT_EQ(own->Font()->Height(), -11);  // its own font
  EXPECT_EQ(own->Color(), clBtnFace);     // panels have their own colour
  own->SetParentFont(true);
  EXPECT_EQ(own->Font()->Name(), "Arial");
}

TEST_F(ControlsTest, ProgrammaticChangesFireClicksAsClassicControlsDo) {
  auto form = Read(R"(object F: TForm
  object Box: TCheckBox
    Checked = True
  end
  object Group: TRadioGroup
    ItemIndex = 1
    Items.Strings = (
      'Yes'
      'No')
  end
end
)");
  auto* box = static_cast<TCheckBox*>(form->FindComponent("Box"));
  auto* group = static_cast<TRadioGroup*>(form->FindComponent("Group"));
  EXPECT_TRUE(box->Checked());
  // The index read before the items still selects its button.
  ASSERT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_FALSE(group->Buttons(0)->Checked());

  int boxClicks = 0, groupClicks = 0;
  box->OnClick = [&](TObject*) { ++boxClicks; };
  group->OnClick = [&](TObject*) { ++groupClicks; };
  box->SetChecked(false);
  box->SetChecked(false);
  group->SetItemIndex(0);
  EXPECT_EQ(boxClicks, 1);
  EXPECT_EQ(groupClicks, 1);
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_FALSE(group->Buttons(1)->Checked());
  group->SetItemIndex(7);  // clamped to the last item
  EXPECT_EQ(group->ItemIndex(), 1);

  // A user's click toggles; with AllowGrayed the third state comes next.
  box->SetAllowGrayed(true);
  box->SetChecked(true);
  box->WidgetClick();
  EXPECT_EQ(box->State(), cbGrayed);
  box->WidgetClick();
  EXPECT_EQ(box->State(), cbUnchecked);
}

TEST_F(ControlsTest, ListsAndProgressBarsKeepTheirValuesInRange) {
  auto form = Read(R"(object F: TForm
  object Combo: TComboBox
    ItemIndex = 2
    Items.Strings = (
      'a'
      'b'
      'c')
  end
  object Bar: TProgressBar
    Min = 200
    Max = 300
    Position = 250
  end
end
)");
  auto* combo = static_cast<TComboBox*>(form->FindComponent("Combo"));
  auto* bar = static_cast<TProgressBar*>(form->FindComponent("Bar"));
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->Items()->Delete(2);
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetItemIndex(5);
  EXPECT_EQ(combo->ItemIndex(), -1);
  std::string changed;
  combo->OnChange = [&](TObject*) { changed = combo->Text(); };
  combo->WidgetSelect(1);
  EXPECT_EQ(changed, "b");

  EXPECT_EQ(bar->Min(), 200);
  EXPECT_EQ(bar->Position(), 250);
  bar->SetPosition(1000);
  EXPECT_EQ(bar->Position(), 300);
  bar->SetStep(30);
  bar->StepIt();  // past the end it starts again from Min
  EXPECT_EQ(bar->Position(), 230);
  EXPECT_THROW(bar->SetMax(100), EInvalidOperation);
  EXPECT_EQ(bar->Max(), 300);
  // A description whose range ends below its start is refused whole.
  EXPECT_THROW(
      Read("object F: TForm\n  object B: TProgressBar\n    Min = 5\n    Max = 1\n  end\nend\n"),
      EInvalidOperation);
}

TEST_F(ControlsTest, PageControlShowsOnePageAndAsksBeforeChanging) {
  auto form = Read(R"(object F: TForm
  object Pages: TPageControl
    ActivePage = Second
    object First: TTabSheet
      Caption = 'Typical'
    end
    object Second: TTabSheet
      Caption = 'Custom'
    end
    object Hidden: TTabSheet
      Caption = 'Full'
      TabVisible = False
    end
  end
end
)");
  auto* pages = static_cast<TPageControl*>(form->FindComponent("Pages"));
  auto* first = static_cast<TTabSheet*>(form->FindComponent("First"));
  auto* second = static_cast<TTabSheet*>(form->FindComponent("Second"));
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_EQ(pages->TabIndex(), 1);
  EXPECT_TRUE(second->Visible());
  EXPECT_FALSE(first->Visible());
  // Sheets fill the display area below the tabs (14 + 6 pixels).
  EXPECT_EQ(second->BoundsRect(), (TRect{4, 24, 285, 189}));

  bool allow = false;
  int changes = 0;
  pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
  pages->OnChange = [&](TObject*) { ++changes; };
  pages->WidgetSelectPage(first);
  EXPECT_EQ(pages->ActivePage(), second);
  allow = true;
  pages->WidgetSelectPage(first);
  EXPECT_EQ(pages->ActivePage(), first);
  EXPECT_EQ(changes, 1);
  first->SetTabVisible(false);  // the active tab disappears: the next one shows
  EXPECT_EQ(pages->ActivePage(), second);
  first->Free();
  EXPECT_EQ(pages->PageCount(), 2);
}

TEST_F(ControlsTest, MemoLinesAndTextAreOneValue) {
  auto form = Read(R"(object F: TForm
  object Memo: TMemo
    Lines.Strings = (
      'one'
      'two')
  end
end
)");
  auto* memo = static_cast<TMemo*>(form->FindComponent("Memo"));
  EXPECT_EQ(memo->Text(), "one\r\ntwo");
  int changes = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->SetText("a\nb\nc");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  memo->Lines()->Add("d");
  EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(changes, 2);
  memo->SetReadOnly(true);
  memo->WidgetText("typed");
  EXPECT_EQ(memo->Lines()->Count(), 4);  // read-only: typing changes nothing
}

TEST_F(ControlsTest, BitButtonKindsPresetRolesButKeepAStoredCaption) {
  auto form = Read(R"(object F: TForm
  object Ok: TBitBtn
    Kind = bkOK
  end
  object Proceed: TBitBtn
    Caption = 'Proceed'
    Kind = bkOK
  end
  object Shut: TBitBtn
    Kind = bkClose
  end
end
)");
  auto* ok = static_cast<TBitBtn*>(form->FindComponent("Ok"));
  auto* proceed = static_cast<TBitBtn*>(form->FindComponent("Proceed"));
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_EQ(proceed->Caption(), "Proceed");
  EXPECT_TRUE(proceed->IsCustomCaption());
  ok->SetKind(bkCancel);  // at run time the kind's caption replaces it
  EXPECT_EQ(ok->Caption(), "Cancel");
  EXPECT_TRUE(ok->Cancel());
  EXPECT_FALSE(ok->Default());

  form->Show();
  static_cast<TBitBtn*>(form->FindComponent("Shut"))->Click();
  EXPECT_FALSE(form->Visible());  // bkClose closes (hides) its form
}

TEST_F(ControlsTest, TreeViewRowsSelectionAndExpansion) {
  Owned<TTreeView> tree(new TTreeView(nullptr));
  TTreeNodes& items = *tree->Items();
  TTreeNode* root = items.AddChild(nullptr, "Quenby");
  TTreeNode* drivers = items.AddChild(root, "Drivers");
  items.AddChild(drivers, "Kestrel");
  TTreeNode* links = items.AddChild(root, "Links");
  EXPECT_EQ(items.Count(), 4);
  EXPECT_EQ(links->AbsoluteIndex(), 3);
  EXPECT_EQ(tree->VisibleNodes().size(), 1u);
  EXPECT_EQ(drivers->DisplayRect(false), (TRect{}));  // hidden under a collapsed node

  std::vector<std::string> events;
  tree->OnExpanded = [&](TObject*, TTreeNode* n) { events.push_back("expanded " + n->Text()); };
  tree->OnChange = [&](TObject*, TTreeNode* n) { events.push_back("selected " + n->Text()); };
  items.Item(2)->SetSelected(true);  // selecting shows the node
  EXPECT_EQ(events,
            (std::vector<std::string>{"expanded Quenby", "expanded Drivers", "selected Kestrel"}));
  // Rows of 14 + 2 pixels; text from Indent * (level + 1).
  EXPECT_EQ(items.Item(2)->DisplayRect(false), (TRect{0, 32, 121, 48}));
  EXPECT_EQ(items.Item(2)->DisplayRect(true), (TRect{57, 32, 57 + 42 + 4, 48}));
  tree->SetTopItem(drivers);
  EXPECT_EQ(items.Item(2)->DisplayRect(false).top, 16);

  drivers->SetExpanded(false);  // the hidden selection moves up
  EXPECT_EQ(tree->Selected(), drivers);
  drivers->Delete();
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(items.Count(), 2);
}

}  // namespace
