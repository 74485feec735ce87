// Children order: registered type first, then Order; renumbering; the
// engine group's place; stored orders while loading; refusals (null,
// circular, undeclared type) that leave the tree as it was.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "install/InstallErrors.h"

using namespace installtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class Ordering : public InstallTest {};

// "name:order" of each child, in order.
std::vector<std::string> Children(const TInstallContainer& c) {
  std::vector<std::string> out;
  for (int i = 0; i < c.ObjectCount(); ++i)
    out.push_back(c.Objects(i)->Name() + ":" + std::to_string(c.Objects(i)->Order()));
  return out;
}

template <class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.ClassName() + std::string(": ") + e.Message();
  }
  return "no exception";
}

TEST_F(Ordering, TypesFirstThenInsertionOrderRenumberedPerType) {
  Owned<TForm> form(NewForm());
  auto* group = New<TInstallFileGroup>(form.get(), "Top");
  auto* a = New<TTestFile>(form.get(), "A");
  auto* sub = New<TInstallFileGroup>(form.get(), "Sub");
  auto* b = New<TTestFile>(form.get(), "B");
  for (TInstallObject* o : std::initializer_list<TInstallObject*>{a, sub, b})
    o->SetContainer(group);
  EXPECT_THAT(Children(*group), ElementsAre("Sub:0", "A:0", "B:1"));

  // A file with Order 0 goes before the file numbered 0; all renumbered.
  auto* c = New<TTestFile>(form.get(), "C");
  c->SetOrder(0);
  c->SetContainer(group);
  EXPECT_THAT(Children(*group), ElementsAre("Sub:0", "C:0", "A:1", "B:2"));

  // Moving by Order: B to 0 puts it first among the files.
  b->SetOrder(0);
  EXPECT_THAT(Children(*group), ElementsAre("Sub:0", "B:0", "C:1", "A:2"));

  // Removing renumbers what is left.
  c->SetContainer(nullptr);
  EXPECT_THAT(Children(*group), ElementsAre("Sub:0", "B:0", "A:1"));
  EXPECT_EQ(c->Container(), nullptr);
}

TEST_F(Ordering, EngineGroupIsAlwaysFirstAndDialogsLast) {
  Owned<TForm> form(NewForm());
  auto* top = New<TInstallFileGroup>(form.get(), "Top");
  auto* dialog = New<TTestDialog>(form.get(), "Dlg");
  auto* link = New<TTestLinkGroup>(form.get(), "Links");
  auto* file = New<TTestFile>(form.get(), "F");
  auto* engine = New<TInstallQDE>(form.get(), "Engine");
  engine->SetOrder(99);  // neither its type (1500) nor its Order matters
  for (TInstallObject* o : std::initializer_list<TInstallObject*>{dialog, link, file, engine})
    o->SetContainer(top);
  EXPECT_THAT(Children(*top), ElementsAre("Engine:0", "F:0", "Links:0", "Dlg:0"));
}

TEST_F(Ordering, LoadingKeepsStoredOrdersAndSortsByThem) {
  // Stored out of sequence; while loading nothing is renumbered, so the
  // files sort by their stored Order values.
  const int stored[] = {4, 0, 3, 1, 2};
  std::string text = "object Test: TForm\n  object Group: TInstallFileGroup\n  end\n";
  for (int i = 0; i < 5; ++i)
    text += "  object F" + std::to_string(stored[i]) + ": TTestFile\n    Container = Group\n" +
            "    Order = " + std::to_string(stored[i]) + "\n  end\n";
  text += "end\n";
  Owned<TForm> form(ReadForm(text));
  auto* group = static_cast<TInstallContainer*>(form->FindComponent("Group"));
  EXPECT_THAT(Children(*group), ElementsAre("F0:0", "F1:1", "F2:2", "F3:3", "F4:4"));
}

TEST_F(Ordering, RefusalsLeaveTheTreeAsItWas) {
  Owned<TForm> form(NewForm());
  auto* top = New<TInstallFileGroup>(form.get(), "Top");
  auto* mid = New<TInstallFileGroup>(form.get(), "Mid");
  auto* file = New<TTestFile>(form.get(), "F");
  auto* odd = New<TUndeclared>(form.get(), "Odd");
  mid->SetContainer(top);
  file->SetContainer(mid);

  struct Case {
    const char* what;
    std::function<void()> action;
    const char* message;
  };
  const Case cases[] = {
      {"own container", [&] { top->SetContainer(top); }, "IEInstallContainer: Circular reference"},
      {"container below it", [&] { top->SetContainer(mid); },
       "IEInstallContainer: Circular reference"},
      {"two levels below", [&] { top->SetContainer(file); },
       "IEInstallContainer: Circular reference"},
      {"null object", [&] { top->AddObject(nullptr); },
       "Cannot add a blank base helper component to Top"},
      {"undeclared type", [&] { odd->SetContainer(top); },
       "IEInstallContainer: Class must declare a registered type"},
      {"index past the end", [&] { top->Objects(1); },
       "Tried to reference a helper component in the following component: Top. The following "
       "index was used: 1"},
      {"no such class", [&] { top->Comp<TTestFile>(0); },
       "parameters are probably reversed. Index: 0, ComponentType: TTestFile"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(MessageOf(c.action), HasSubstr(c.message));
    EXPECT_THAT(Children(*top), ElementsAre("Mid:0"));
    EXPECT_THAT(Children(*mid), ElementsAre("F:0"));
    EXPECT_EQ(top->Container(), nullptr);
    EXPECT_EQ(odd->Container(), nullptr);
  }
  EXPECT_EQ(mid->Comp<TTestFile>(0), file);
  EXPECT_EQ(top->FileContainers(0), mid);
  EXPECT_EQ(top->FileContainerCount(), 1);
}

}  // namespace
