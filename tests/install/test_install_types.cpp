// Install types: which objects install in the chosen type, the InstallTypes
// setter's rules, and the type pushed down the whole tree.
#include <gmock/gmock.h>

#include "InstallFixture.h"

using namespace installtest;

namespace {

class InstallTypes : public InstallTest {};

std::string Show(TInstallTypeSet s) {
  static const char* const names[] = {"itFull", "itDefault", "itCompact", "itAlways", "itCustom"};
  std::string out;
  for (int i = 0; i < 5; ++i)
    if (s.Contains(static_cast<TInstallType>(i)))
      out += (out.empty() ? "" : ",") + std::string(names[i]);
  return "[" + out + "]";
}

TEST_F(InstallTypes, WillInstallFollowsTheChosenType) {
  struct Case {
    TInstallTypeSet types;
    TInstallType current;
    bool include;
    bool expected;
  };
  const Case cases[] = {
      {{itCompact}, itFull, true, false},           {{itCompact}, itCustom, true, true},
      {{itCompact}, itCompact, true, true},         {{itCompact}, itAlways, true, true},
      {{itFull, itDefault}, itDefault, true, true}, {{itFull}, itDefault, true, false},
      {{itAlways}, itCompact, true, true},          {{itAlways}, itFull, false, false},
  };
  Owned<TForm> form(NewForm());
  auto* group = New<TTestGroup>(form.get(), "G");
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.types) + " current " + std::to_string(c.current));
    group->SetInstallTypes({itAlways});  // a known starting point for the setter
    group->SetInstallTypes(c.types);
    group->SetInstallType(c.current);
    group->SetInclude(c.include);
    EXPECT_EQ(group->WillInstall(), c.expected);
  }
}

TEST_F(InstallTypes, SetterKeepsItAlwaysExclusive) {
  struct Case {
    TInstallTypeSet before;
    TInstallTypeSet set;
    TInstallTypeSet expected;
  };
  const Case cases[] = {
      {{itCompact}, {itFull, itAlways}, {itAlways}},  // gaining itAlways: only itAlways
      {{itAlways}, {itFull, itAlways}, {itFull}},     // keeping it: it goes
      {{itCompact}, {}, {itAlways}},                  // empty
      {{itAlways}, {itCustom}, {itCustom}},
      {{itAlways}, {itAlways}, {itAlways}},
  };
  Owned<TForm> form(NewForm());
  auto* group = New<TTestGroup>(form.get(), "G");
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.before) + " := " + Show(c.set));
    group->SetInstallTypes({itAlways});
    group->SetInstallTypes(c.before);
    ASSERT_EQ(Show(group->InstallTypes()), Show(c.before));
    group->SetInstallTypes(c.set);
    EXPECT_EQ(Show(group->InstallTypes()), Show(c.expected));
  }
}

TEST_F(InstallTypes, SetInstallTypeReachesTheWholeTree) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* sub = New<TTestGroup>(form.get(), "Sub");
  auto* file = New<TTestFile>(form.get(), "F");
  sub->SetContainer(top);
  file->SetContainer(sub);
  top->SetInstallType(itCompact);
  for (TInstallContainer* c : std::initializer_list<TInstallContainer*>{top, sub, file})
    EXPECT_EQ(c->CurrentInstallType(), itCompact) << c->Name();
}

}  // namespace
