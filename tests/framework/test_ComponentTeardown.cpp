// Removing many components of one owner at once (the owner destroyed, the
// owner emptying itself, a form reader undoing what it created): every
// component that may hold a pointer to a leaving one hears of it while it
// is still whole, and the others are not told of every sibling, so the
// number of announcements grows linearly with the form, not with its square.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "support/Fixture.h"

namespace {

std::set<const TComponent*> g_gone;  // components whose destructor ran
std::vector<std::string> g_faults;   // what a component saw that it must not
int64_t g_heardByLinked = 0;         // announcements TLinked components heard

// Linked to an older sibling by FreeNotification and acting on nothing
// else, as it says; counts what it hears.
class TLinked : public TComponent {
  PELLMORE_CLASS(TLinked, TComponent)

 public:
  using TComponent::TComponent;
  ~TLinked() override { g_gone.insert(this); }
  TComponent* link = nullptr;
  void Link(TComponent* c) {
    link = c;
    c->FreeNotification(this);
  }
  void Notification(TComponent* c, TOperation op) override {
    ++g_heardByLinked;
    if (op == opRemove && c == link) {
      if (g_gone.count(c)) g_faults.push_back(Name() + " heard of its link after it was gone");
      link = nullptr;
    }
    TComponent::Notification(c, op);
  }

 protected:
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }
};

// Keeps a plain pointer to another component, without a link, and drops it
// when told: it must be told before that component's memory goes. Derived
// from TLinked to show that a class declaring its own Notification is told
// again even when its parent class said it needs only its links.
class TWatcher : public TLinked {
  PELLMORE_CLASS(TWatcher, TLinked)

 public:
  using TLinked::TLinked;
  ~TWatcher() override {
    if (target_ && g_gone.count(target_)) g_faults.push_back(Name() + " outlived its target");
  }
  int64_t removals = 0;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) ++removals;
    if (op == opRemove && c == target_) {
      if (g_gone.count(c)) g_faults.push_back(Name() + " was told too late");
      target_ = nullptr;
    }
    TComponent::Notification(c, op);  // not counted with the linked ones
  }
  const TComponent* Target() const { return target_; }
  void Watch(TComponent* c) { target_ = c; }

 private:
  TComponent* target_ = nullptr;
};

// Hears of everything its owner removes, as an owner always does.
class TCountingOwner : public TComponent {
  PELLMORE_CLASS(TCountingOwner, TComponent)

 public:
  using TComponent::TComponent;
  int64_t removals = 0;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) ++removals;
    TComponent::Notification(c, op);
  }
};

// Overrides Notification privately; a subclass that declares nothing.
class TPrivateOverride : public TComponent {
  PELLMORE_CLASS(TPrivateOverride, TComponent)

 public:
  using TComponent::TComponent;

 private:
  void Notification(TComponent* c, TOperation op) override { TComponent::Notification(c, op); }
};
class TPlainSub : public TPrivateOverride {
  PELLMORE_CLASS(TPlainSub, TPrivateOverride)

 public:
  using TPrivateOverride::TPrivateOverride;
};

class ComponentTeardownTest : public PellmoreTest {};

TEST_F(ComponentTeardownTest, ClassesThatDeclareNotificationAreFoundWhateverTheAccess) {
  // A class that is missed here would not hear of siblings leaving while
  // its owner is destroyed, and would keep a dangling pointer.
  struct Case {
    const TMetaClass& meta;
    bool declares;
  };
  const Case cases[] = {
      {TPersistent::StaticMetaClass(), false},     {TComponent::StaticMetaClass(), true},
      {TLinked::StaticMetaClass(), true},          {TWatcher::StaticMetaClass(), true},
      {TPrivateOverride::StaticMetaClass(), true}, {TPlainSub::StaticMetaClass(), false},
      {TCustomLabel::StaticMetaClass(), true},     {TLabel::StaticMetaClass(), false},
      {TCustomForm::StaticMetaClass(), true},      {TForm::StaticMetaClass(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.meta.name);
    EXPECT_EQ(c.meta.declaresNotification, c.declares);
  }
}

TEST_F(ComponentTeardownTest, ManyComponentsGoTellingOnlyThoseThatMayAct) {
  // n linked components (each linked to the one before), plain ones
  // between them, and two watchers of linked ones that stay longest. Before,
  // every leaving component was announced to every sibling still there:
  // about n * n / 2 announcements to the linked ones alone (minutes for
  // 100,000 siblings). Now each hears only of its newer neighbour: n.
  constexpr int n = 20000;
  enum class How { OwnerFreed, OwnerEmptiesItself, ListUndone };
  struct Case {
    const char* what;
    How how;
  };
  const Case cases[] = {
      {"the owner is freed", How::OwnerFreed},
      {"the owner destroys what it owns and lives on", How::OwnerEmptiesItself},
      {"a list of the newer components is destroyed, the older ones stay", How::ListUndone},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    g_gone.clear();
    g_faults.clear();
    auto* owner = new TCountingOwner(nullptr);
    owner->IncludeState(csReading);  // built as a form reader does: joins are not announced
    // The older ones: a plain component owning a watcher of a sibling of
    // its owner (announcements pass through the plain one), the first link
    // of the chain, a watcher of its own.
    auto* holder = new TComponent(owner);
    auto* keeper = new TLinked(owner);
    keeper->SetName("Keeper");
    auto* watcher = new TWatcher(owner);
    watcher->SetName("Watcher");
    auto* deep = new TWatcher(holder);
    deep->SetName("Deep");
    std::vector<TLinked*> linked;
    std::vector<TComponent*> newer;
    for (int i = 0; i < n; ++i) {
      auto* c = new TLinked(owner);
      c->SetName("C" + std::to_string(i));
      c->Link(i == 0 ? static_cast<TComponent*>(keeper) : linked.back());
      linked.push_back(c);
      newer.push_back(c);
      if (i % 4 == 0) newer.push_back(new TComponent(owner));
    }
    deep->Watch(linked[n / 2]);
    watcher->Watch(linked[n / 3]);
    owner->ExcludeState(csReading);
    const int64_t removedNewer = static_cast<int64_t>(newer.size());
    g_heardByLinked = 0;

    switch (k.how) {
      case How::OwnerFreed:
        owner->Free();
        break;
      case How::OwnerEmptiesItself:
        owner->DestroyComponents();
        EXPECT_EQ(owner->ComponentCount(), 0);
        EXPECT_EQ(owner->removals, removedNewer + 3);
        owner->Free();
        break;
      case How::ListUndone:
        owner->DestroyComponents(newer);
        ASSERT_EQ(owner->ComponentCount(), 3);
        EXPECT_EQ(owner->Components(0), holder);
        EXPECT_EQ(owner->Components(1), keeper);
        EXPECT_EQ(owner->Components(2), watcher);  // Deep is the holder's
        EXPECT_EQ(keeper->link, nullptr);
        EXPECT_EQ(watcher->Target(), nullptr);
        EXPECT_EQ(deep->Target(), nullptr);
        EXPECT_EQ(watcher->removals, removedNewer);
        EXPECT_EQ(deep->removals, removedNewer) << "passed on by the plain component owning it";
        EXPECT_EQ(owner->removals, removedNewer);
        EXPECT_EQ(g_heardByLinked, n);
        EXPECT_EQ(g_gone.size(), static_cast<size_t>(n));
        // Those that stay are ordinary components again: one that leaves
        // alone is announced to every sibling, the keeper too.
        watcher->Free();
        EXPECT_EQ(owner->ComponentCount(), 2);
        EXPECT_EQ(g_heardByLinked, n + 1);
        --g_heardByLinked;
        owner->Free();
        break;
    }
    EXPECT_EQ(g_faults, std::vector<std::string>{});
    EXPECT_EQ(g_heardByLinked, n);
    EXPECT_EQ(g_gone.size(), static_cast<size_t>(n + 3));  // the linked, keeper, two watchers
  }
}

}  // namespace
