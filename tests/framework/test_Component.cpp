// TComponent: ownership and destruction order, names, state, notifications
// and free notifications, the live-component list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "support/Fixture.h"

namespace {

std::vector<std::string> g_log;

// Logs its destruction and every notification it receives.
class TProbe : public TComponent {
  PELLMORE_CLASS(TProbe, TComponent)

 public:
  TProbe(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
  ~TProbe() override { g_log.push_back("destroy " + Name()); }
  void Notification(TComponent* c, TOperation op) override {
    g_log.push_back(Name() + (op == opInsert ? " hears insert " : " hears remove ") +
                    (c->Name().empty() ? "?" : c->Name()));
    TComponent::Notification(c, op);
  }
};

class ComponentTest : public PellmoreTest {
 protected:
  ComponentTest() { g_log.clear(); }
};

TEST_F(ComponentTest, OwnerKeepsComponentsInCreationOrderAndFindsThemByName) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Alpha");
  auto* b = new TComponent(&owner);
  b->SetName("Beta");
  EXPECT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.Components(0), a);
  EXPECT_EQ(owner.Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(b->Owner(), &owner);
  EXPECT_EQ(owner.FindComponent("BETA"), b);
  EXPECT_EQ(owner.FindComponent("Gamma"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_THROW(owner.Components(2), EComponentError);
}

TEST_F(ComponentTest, OwnerDestroysWhatItOwnsNewestFirst) {
  {
    Owned<TProbe> owner(new TProbe(nullptr, "Owner"));
    new TProbe(owner.get(), "First");
    new TProbe(owner.get(), "Second");
    new TProbe(owner.get(), "Third");
    g_log.clear();
  }
  const std::vector<std::string> destroyed = [] {
    std::vector<std::string> d;
    for (const auto& l : g_log)
      if (l.rfind("destroy ", 0) == 0) d.push_back(l);
    return d;
  }();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"destroy Third", "destroy Second", "destroy First",
                                                 "destroy Owner"}));
}

TEST_F(ComponentTest, InsertAndRemoveAreAnnouncedToEveryOwnedComponent) {
  TProbe owner(nullptr, "Owner");
  new TProbe(&owner, "A");
  g_log.clear();
  auto* b = new TProbe(&owner, "");  // named after insertion, so the insert is anonymous
  b->SetName("B");
  EXPECT_EQ(g_log, (std::vector<std::string>{"Owner hears insert ?", "A hears insert ?"}));
  g_log.clear();
  owner.RemoveComponent(b);
  EXPECT_EQ(g_log, (std::vector<std::string>{"Owner hears remove B", "B hears remove B",
                                             "A hears remove B"}));
  EXPECT_EQ(b->Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  b->Free();
}

TEST_F(ComponentTest, DestroyingOneComponentTellsItsSiblings) {
  TProbe owner(nullptr, "Owner");
  new TProbe(&owner, "A");
  auto* b = new TProbe(&owner, "B");
  g_log.clear();
  b->Free();
  EXPECT_EQ(g_log,
            (std::vector<std::string>{"destroy B", "Owner hears remove B", "A hears remove B"}));
}

TEST_F(ComponentTest, FreeNotificationIsMutualAndClearedOnDestruction) {
  auto* x = new TProbe(nullptr, "X");
  auto* y = new TProbe(nullptr, "Y");
  x->FreeNotification(y);
  g_log.clear();
  x->Free();
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy X", "Y hears remove X"}));
  g_log.clear();
  auto* z = new TProbe(nullptr, "Z");
  z->FreeNotification(y);
  y->Free();  // y was linked to x (gone) and z
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy Y", "Z hears remove Y"}));
  g_log.clear();
  z->Free();  // the link to y is gone: nobody hears
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy Z"}));
}

TEST_F(ComponentTest, RemoveFreeNotificationUnlinksBothWays) {
  auto* x = new TProbe(nullptr, "X");
  auto* y = new TProbe(nullptr, "Y");
  y->FreeNotification(x);
  x->RemoveFreeNotification(y);
  g_log.clear();
  x->Free();
  y->Free();
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy X", "destroy Y"}));
}

TEST_F(ComponentTest, NamesAreIdentifiersUniquePerOwnerIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Button1");
  auto* b = new TComponent(&owner);
  try {
    b->SetName("BUTTON1");
    FAIL() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
  }
  for (const char* bad : {"1abc", "a b", "a-b", "ä"}) {
    SCOPED_TRACE(bad);
    try {
      b->SetName(bad);
      FAIL() << "bad name accepted";
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), std::string("\"") + bad + "\" is not a valid component name");
    }
  }
  b->SetName("_ok9");
  EXPECT_EQ(b->Name(), "_ok9");
  b->SetName("");
  EXPECT_EQ(b->Name(), "");
  a->SetName("button1");  // its own name in another case is fine
  EXPECT_EQ(a->Name(), "button1");
  TComponent stranger(nullptr);
  stranger.SetName("Button1");
  EXPECT_THROW(owner.InsertComponent(&stranger), EComponentError);
  EXPECT_EQ(stranger.Owner(), nullptr);
}

TEST_F(ComponentTest, InsertComponentMovesOwnership) {
  TComponent first(nullptr);
  TComponent second(nullptr);
  auto* c = new TComponent(&first);
  second.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.ComponentCount(), 1);
}

TEST_F(ComponentTest, StateFlags) {
  TComponent owner(nullptr);
  auto* c = new TComponent(&owner);
  EXPECT_TRUE(c->ComponentState().Empty());
  owner.SetDesigning(true);
  EXPECT_TRUE(c->InState(csDesigning));
  auto* d = new TComponent(&owner);  // joins a designed owner
  EXPECT_TRUE(d->InState(csDesigning));
  c->IncludeState(csLoading);
  c->Loaded();
  EXPECT_FALSE(c->InState(csLoading));
  TComponent::SetCreationState({csLoading});
  auto* e = new TComponent(&owner);
  EXPECT_TRUE(e->InState(csLoading));
  auto* f = new TComponent(&owner);  // the creation state is used once
  EXPECT_FALSE(f->InState(csLoading));
}

TEST_F(ComponentTest, DestroyingMarksEverythingOwned) {
  Owned<TComponent> owner(new TComponent(nullptr));
  auto* child = new TComponent(owner.get());
  auto* grandchild = new TComponent(child);
  owner->Destroying();
  EXPECT_TRUE(owner->InState(csDestroying));
  EXPECT_TRUE(child->InState(csDestroying));
  EXPECT_TRUE(grandchild->InState(csDestroying));
}

TEST_F(ComponentTest, OwnedComponentsGoWhileTheOwnerIsWholeWhenFreed) {
  // Free destroys owned components before the owner's destructors run, so
  // their Notification reaches the owner's override.
  auto* owner = new TProbe(nullptr, "Owner");
  new TProbe(owner, "Child");
  g_log.clear();
  owner->Free();
  EXPECT_EQ(g_log, (std::vector<std::string>{"Owner hears remove Child", "Child hears remove Child",
                                             "destroy Child", "destroy Owner"}));
}

TEST_F(ComponentTest, LiveComponentsAreListedOldestFirst) {
  const size_t before = TComponent::LiveCount();
  TComponent a(nullptr);
  TComponent b(nullptr);
  EXPECT_EQ(TComponent::LiveCount(), before + 2);
  const auto live = TComponent::LiveComponents();
  ASSERT_GE(live.size(), 2u);
  EXPECT_EQ(live[live.size() - 2], &a);
  EXPECT_EQ(live.back(), &b);
}

TEST_F(ComponentTest, DefaultChildrenOfTheRootAreItsOwnedComponents) {
  TComponent root(nullptr);
  auto* a = new TComponent(&root);
  auto* b = new TComponent(&root);
  std::vector<TComponent*> children;
  root.GetChildren([&](TComponent* c) { children.push_back(c); }, &root);
  EXPECT_EQ(children, (std::vector<TComponent*>{a, b}));
  children.clear();
  a->GetChildren([&](TComponent* c) { children.push_back(c); }, &root);
  EXPECT_TRUE(children.empty());
}

TEST(ValidIdentTest, Identifiers) {
  EXPECT_TRUE(IsValidIdent("a"));
  EXPECT_TRUE(IsValidIdent("_a1"));
  EXPECT_TRUE(IsValidIdent("Install1"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_FALSE(IsValidIdent("1a"));
  EXPECT_FALSE(IsValidIdent("a.b"));
}

}  // namespace
