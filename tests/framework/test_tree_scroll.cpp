// A tree view's scrolling as the model sees it: OnScroll for each change of
// the top row (by the program or the widgetset), none without a change,
// and the horizontal scroll bar setting pushed to a new peer and then once
// per change.
#include <gtest/gtest.h>

#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/TreeView.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "support/Fixture.h"

namespace {

struct ItemViewLog : platform::WSItemView {
  std::unique_ptr<platform::Peer> CreatePeer(TControl&) override {
    return std::make_unique<platform::Peer>();
  }
  void SetHorzScrollBar(TControl& c, bool always) override {
    log.push_back(c.Name() + (always ? " always" : " as needed"));
  }
  std::vector<std::string> log;
};

struct FormPeers : platform::WSForm {
  std::unique_ptr<platform::Peer> CreatePeer(TControl&) override {
    return std::make_unique<platform::Peer>();
  }
};

class TreeWidgetset : public platform::Widgetset {
 public:
  explicit TreeWidgetset(ItemViewLog& views) : views_(views) {}
  platform::WSForm& Forms() override { return forms_; }
  platform::WSItemView& ItemViews() override { return views_; }

 private:
  FormPeers forms_;
  ItemViewLog& views_;
};

class TreeScroll : public PellmoreTest {
 protected:
  TreeScroll() { RegisterControls(ClassRegistry::Global()); }
};

TEST_F(TreeScroll, OnScrollFollowsTheTopRowAndTheScrollBarSettingIsPushed) {
  ItemViewLog views;
  InstallWidgetset(std::make_unique<TreeWidgetset>(views));
  Owned<TForm> form(new TForm(nullptr));
  auto* tree = new TTreeView(form.get());
  tree->SetName("Tree");
  tree->SetParent(form.get());
  TTreeNodes& items = *tree->Items();
  TTreeNode* root = items.AddChild(nullptr, "Quenby");
  TTreeNode* drivers = items.AddChild(root, "Drivers");
  TTreeNode* kestrel = items.AddChild(drivers, "Kestrel");
  root->Expand(false);
  std::vector<std::string> tops;
  tree->OnScroll = [&](TObject*) { tops.push_back(tree->TopItem()->Text()); };

  tree->SetTopItem(drivers);
  tree->SetTopItem(drivers);  // no change
  tree->SetTopItem(kestrel);  // not a row (Drivers is closed)
  tree->WidgetScroll(root);   // the user scrolled back
  EXPECT_EQ(tops, (std::vector<std::string>{"Drivers", "Quenby"}));

  tree->SetHorzScrollBarAlways(true);  // stored: no peer yet
  EXPECT_TRUE(views.log.empty());
  form->Show();
  ASSERT_TRUE(tree->HasPeer());
  tree->SetHorzScrollBarAlways(true);
  tree->SetHorzScrollBarAlways(false);
  EXPECT_EQ(views.log, (std::vector<std::string>{"Tree always", "Tree as needed"}));
  EXPECT_EQ(platform::Widgetset().HorzScrollBarHeight(), 16);
  form.reset();
  InstallWidgetset(nullptr);
}

}  // namespace
